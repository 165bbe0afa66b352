#include "wallpaper/SafeFileWrite.h"

#include "framework/Exception.h"
#include "framework/Handle.h"
#include "framework/Text.h"

#include <windows.h>

void WriteReplacing(const std::wstring& path,
                    const std::function<void(const std::wstring& temporary)>& write) {
    // Same folder, so the move is a rename and never a copy that can fail half-way.
    const std::wstring temporary = path + L".tmp";
    try {
        // A folder that takes no new file is reported under the name the user
        // knows, not under the temporary one.
        UniqueFile created(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!created) throw Exception(FormatText(L"ファイル %s を作成できません", {path}));
        created.reset();
        write(temporary);
        if (!MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING))
            throw Exception(FormatText(L"ファイル %s に書き込めません", {path}));
    } catch (...) {
        DeleteFileW(temporary.c_str());
        throw;
    }
}
