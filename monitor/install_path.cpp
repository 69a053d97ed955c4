#include "monitor/install_path.h"

#include <algorithm>

#include "base/text.h"
#include "monitor/monitor_contract.h"

namespace tervane::monitor {

std::wstring regReadString(Machine& machine, std::wstring_view keyPath,
                           std::wstring_view valueName) {
    return machine.readMachineString(keyPath, valueName).value_or(std::wstring());
}

bool isExistingFile(Machine& machine, std::wstring_view path) {
    const std::wstring_view name = upToNul(path);
    if (name.empty()) return false;
    const auto attributes = machine.fileAttributes(name);
    return attributes && (*attributes & kAttributeDirectory) == 0;
}

std::wstring locateProbeFolder(Machine& machine, MessageBoxes& boxes) {
    std::wstring read = regReadString(machine, kInstallKey, kInstallValue);
    std::erase(read, L'"');
    // Spaces go from both ends; the value's own NUL ends it, so spaces just
    // before that NUL stay.
    const std::wstring path(trimSpaces(read));

    if (!path.empty() && isExistingFile(machine, path)) {
        // The last backslash from the third character on ends the folder; a
        // path without one gives no folder.
        const auto slash = path.find_last_of(L'\\');
        if (slash == std::wstring::npos || slash < 2) return {};
        return path.substr(0, slash);
    }
    boxes.messageBox(upToNul(path), mb::Ok);
    return {};
}

}  // namespace tervane::monitor
