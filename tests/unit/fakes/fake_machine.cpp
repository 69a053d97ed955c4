#include "fakes/fake_machine.h"

namespace tervane::fake {
namespace {

SettingName own(std::wstring_view key) { return {L"Halvedon", L"Tervane_Lite", std::wstring(key)}; }

}  // namespace

std::wstring FakeMachine::setting(std::wstring_view key) const {
    const auto found = settings.find(own(key));
    return found == settings.end() ? L"<absent>" : found->second;
}

void FakeMachine::setSetting(std::wstring_view key, std::wstring text) {
    settings[own(key)] = std::move(text);
}

std::optional<std::wstring> FakeMachine::readMachineString(std::wstring_view keyPath,
                                                           std::wstring_view valueName) {
    log_.record(Call::ReadMachineString);
    const auto found = machineStrings.find({std::wstring(keyPath), std::wstring(valueName)});
    if (found == machineStrings.end()) return std::nullopt;
    return found->second;
}

std::optional<std::uint32_t> FakeMachine::fileAttributes(std::wstring_view path) {
    log_.record(Call::FileAttributes);
    const auto found = files.find(std::wstring(path));
    if (found == files.end()) return std::nullopt;
    return found->second;
}

std::optional<std::wstring> FakeMachine::readSetting(std::wstring_view app,
                                                     std::wstring_view section,
                                                     std::wstring_view key) {
    log_.record(Call::ReadSetting);
    const auto found = settings.find({std::wstring(app), std::wstring(section), std::wstring(key)});
    // Stored with the NUL a write puts after it: over the limit it is absent.
    if (found == settings.end() || found->second.size() + 1 > kSettingLimit) return std::nullopt;
    return found->second.substr(0, found->second.find(L'\0'));
}

bool FakeMachine::writeSetting(std::wstring_view app, std::wstring_view section,
                               std::wstring_view key, std::wstring_view value) {
    log_.record(Call::WriteSetting);
    if (failSettingWrites) return false;
    settings[{std::wstring(app), std::wstring(section), std::wstring(key)}] = std::wstring(value);
    return true;
}

}  // namespace tervane::fake
