#include "app/settings.h"

#include <algorithm>
#include <cwctype>
#include <string>

#include "base/text.h"

namespace tervane::app {
namespace {

constexpr std::wstring_view kSettingsApp = L"Halvedon";
constexpr std::wstring_view kSettingsSection = L"Tervane_Lite";
constexpr std::wstring_view kTrayColorKey = L"TrayColor";
constexpr std::wstring_view kToggleKey = L"Toggle";

bool equalsIgnoringCase(std::wstring_view a, std::wstring_view b) {
    return std::ranges::equal(a, b, [](wchar_t x, wchar_t y) {
        return std::towlower(static_cast<wint_t>(x)) == std::towlower(static_cast<wint_t>(y));
    });
}

std::optional<std::wstring> read(Machine& machine, std::wstring_view key) {
    return machine.readSetting(kSettingsApp, kSettingsSection, key);
}

bool write(Machine& machine, std::wstring_view key, std::wstring_view text) {
    return machine.writeSetting(kSettingsApp, kSettingsSection, key, text);
}

}  // namespace

std::optional<bool> parseTrayColor(std::wstring_view text) {
    text = trimSpaces(text);
    if (equalsIgnoringCase(text, L"True")) return true;
    if (equalsIgnoringCase(text, L"False")) return false;
    // Any non-zero digit makes the number non-zero: "0.5" is true, not rounded to 0.
    if (isWholeNumber(text)) return readDecimal(text).nonZero;
    return std::nullopt;
}

std::optional<int> parseToggle(std::wstring_view text) {
    text = trimSpaces(text);
    if (!isWholeNumber(text)) return std::nullopt;
    const auto value = numericValue(text);
    if (value < 0 || value > 2) return std::nullopt;
    return static_cast<int>(value);
}

void restoreSettings(Machine& machine, OptionsWindow& options) {
    if (const auto white = parseTrayColor(read(machine, kTrayColorKey).value_or(L"False"))) {
        options.setWhiteSelected(*white);
    }
    if (const auto toggle = parseToggle(read(machine, kToggleKey).value_or(L"0"))) {
        options.setToggleValue(*toggle);
    }
}

void saveTrayColor(Machine& machine, OptionsWindow& options) {
    write(machine, kTrayColorKey, options.whiteSelected() ? L"True" : L"False");
}

bool saveToggle(Machine& machine, OptionsWindow& options) {
    return write(machine, kToggleKey, decimalText(options.toggleValue()));
}

}  // namespace tervane::app
