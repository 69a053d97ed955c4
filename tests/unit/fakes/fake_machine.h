#pragma once
// The machine: HKLM string values, files and folders, launches, the per-user
// settings store and the single-instance token.

#include <compare>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "fakes/call_log.h"
#include "platform/desktop.h"

namespace tervane::fake {

struct RegistryName {
    std::wstring key;
    std::wstring value;
    auto operator<=>(const RegistryName&) const = default;
};

struct SettingName {
    std::wstring app;
    std::wstring section;
    std::wstring key;
    auto operator<=>(const SettingName&) const = default;
};

struct Launch {
    std::wstring path;
    std::wstring folder;
};

class FakeMachine : public Machine {
  public:
    explicit FakeMachine(CallLog& log) : log_(log) {}

    std::map<RegistryName, std::wstring> machineStrings;  // data as stored, NUL and all
    std::map<std::wstring, std::uint32_t> files;          // path -> attributes
    std::map<SettingName, std::wstring> settings;      // texts as written, a NUL stored after each
    static constexpr std::size_t kSettingLimit = 256;  // characters stored, the NUL included
    bool failSettingWrites = false;
    std::vector<Launch> launches;
    std::function<void(const Launch&)> onLaunch;
    SingleInstance singleInstanceOutcome = SingleInstance::Taken;

    // The program's own settings, under Halvedon\Tervane_Lite.
    std::wstring setting(std::wstring_view key) const;  // "<absent>" when absent
    void setSetting(std::wstring_view key, std::wstring text);

    std::optional<std::wstring> readMachineString(std::wstring_view keyPath,
                                                  std::wstring_view valueName) override;
    std::optional<std::uint32_t> fileAttributes(std::wstring_view path) override;
    void launch(std::wstring_view executablePath, std::wstring_view workingFolder) override {
        log_.record(Call::Launch);
        launches.push_back({std::wstring(executablePath), std::wstring(workingFolder)});
        if (onLaunch) onLaunch(launches.back());
    }
    std::optional<std::wstring> readSetting(std::wstring_view app, std::wstring_view section,
                                            std::wstring_view key) override;
    bool writeSetting(std::wstring_view app, std::wstring_view section, std::wstring_view key,
                      std::wstring_view value) override;
    SingleInstance singleInstance() override {
        log_.record(Call::SingleInstance);
        return singleInstanceOutcome;
    }

  private:
    CallLog& log_;
};

}  // namespace tervane::fake
