#pragma once
// Checks of metafile bytes before the system plays them. The system's player
// trusts each record's counts, offsets and object-table indices; a damaged
// file would make it read or write outside the record or its object table.
// Every record is walked: its size must lie inside the file, and the records
// that carry counts, embedded bitmaps, regions, texts or object indices must
// agree with their own size and with the file's object table.
#include <windows.h>

#include <span>

// A Windows metafile from its METAHEADER on (after any placeable header),
// ending with its end-of-file record.
bool ValidWindowsMetafile(std::span<const BYTE> data);

// An enhanced metafile, header record first and end-of-file record last.
bool ValidEnhancedMetafile(std::span<const BYTE> data);
