#pragma once
// The sections of the program key (LibraryStore opens it) and the texts
// shared by the store and the commands.
inline constexpr wchar_t kSettingsSection[] = L"動作環境";
inline constexpr wchar_t kGroupSection[] = L"Group";
inline constexpr wchar_t kFileListPrefix[] = L"FileList\\";
inline constexpr wchar_t kRootName[] = L"壁紙グループ";
inline constexpr wchar_t kNoneRow[] = L"(なし)";
// Bounds for stored counts: the add command's 50 groups, and a number of
// files per group far above real use, so a corrupt count cannot hang start-up.
inline constexpr int kMaxGroups = 50;
inline constexpr int kMaxFiles = 10000;
