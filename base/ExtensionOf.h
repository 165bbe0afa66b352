#pragma once
#include <string>
#include <string_view>

// The extension of a path's last component, from its last "." on and as
// written (".Jpg"); empty when the name has no ".". "\", "/" and ":" all end
// a folder or drive, so a "." in a folder name is never taken for one.
std::wstring ExtensionOf(std::wstring_view path);
