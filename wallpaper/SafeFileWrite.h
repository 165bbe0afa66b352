#pragma once
// Files that others read while they are rewritten: the new content goes to a
// temporary file beside the target, which then takes the target's place.
#include <functional>
#include <string>

// Calls write with the temporary path, then moves that file over path. When
// write throws or the move fails, the temporary file is removed, the target
// keeps its old content and the error goes to the caller.
void WriteReplacing(const std::wstring& path,
                    const std::function<void(const std::wstring& temporary)>& write);
