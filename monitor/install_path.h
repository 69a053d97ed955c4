#pragma once
// Finds the monitor's install folder from its own install entry.

#include <string>
#include <string_view>

#include "platform/desktop.h"

namespace tervane::monitor {

// The data of a string value under HKEY_LOCAL_MACHINE, its stored NUL kept;
// empty when the key or the value cannot be read.
std::wstring regReadString(Machine& machine, std::wstring_view keyPath,
                           std::wstring_view valueName);

// True when the path (up to its first NUL) names an existing entry that is not
// a folder. Never fails: anything unreadable is false.
bool isExistingFile(Machine& machine, std::wstring_view path);

// The folder that holds the monitor's executable, or empty. When the install
// entry does not name an existing file, shows the path it tried in a message
// box first.
std::wstring locateProbeFolder(Machine& machine, MessageBoxes& boxes);

}  // namespace tervane::monitor
