#include "monitor/install_path.h"

#include <algorithm>

#include "monitor/monitor_contract.h"

namespace tervane::monitor {
namespace {

std::wstring_view upToNul(std::wstring_view text) { return text.substr(0, text.find(L'\0')); }

std::wstring trimSpaces(std::wstring text) {
    const auto first = text.find_first_not_of(L' ');
    if (first == std::wstring::npos) return {};
    const auto last = text.find_last_not_of(L' ');
    return text.substr(first, last - first + 1);
}

}  // namespace

std::wstring regReadString(Desktop& desktop, std::wstring_view keyPath,
                           std::wstring_view valueName) {
    return desktop.readMachineString(keyPath, valueName).value_or(std::wstring());
}

bool isExistingFile(Desktop& desktop, std::wstring_view path) {
    const std::wstring_view name = upToNul(path);
    if (name.empty()) return false;
    const auto attributes = desktop.fileAttributes(name);
    return attributes && (*attributes & kAttributeDirectory) == 0;
}

std::wstring locateProbeFolder(Desktop& desktop) {
    std::wstring path = regReadString(desktop, kInstallKey, kInstallValue);
    std::erase(path, L'"');
    // Spaces go from both ends; the value's own NUL ends it, so spaces just
    // before that NUL stay.
    path = trimSpaces(std::move(path));

    if (!path.empty() && isExistingFile(desktop, path)) {
        // The last backslash from the third character on ends the folder; a
        // path without one gives no folder.
        const auto slash = path.find_last_of(L'\\');
        if (slash == std::wstring::npos || slash < 2) return {};
        return path.substr(0, slash);
    }
    desktop.messageBox(upToNul(path), mb::Ok);
    return {};
}

}  // namespace tervane::monitor
