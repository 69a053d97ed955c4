#include "app/settings.h"

#include <algorithm>
#include <cwctype>
#include <string>

#include "platform/decimal_text.h"
#include "readout/readout.h"

namespace tervane::app {
namespace {

std::wstring_view trimmed(std::wstring_view text) {
    const auto first = text.find_first_not_of(L' ');
    if (first == std::wstring_view::npos) return {};
    return text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

// A whole text that is one decimal number: sign, digits, at most one point.
bool isDecimalNumber(std::wstring_view text) {
    if (!text.empty() && (text.front() == L'-' || text.front() == L'+')) text.remove_prefix(1);
    bool digits = false;
    bool point = false;
    for (const wchar_t c : text) {
        if (c >= L'0' && c <= L'9') {
            digits = true;
        } else if (c == L'.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digits;
}

bool equalsIgnoringCase(std::wstring_view a, std::wstring_view b) {
    return std::ranges::equal(a, b, [](wchar_t x, wchar_t y) {
        return std::towlower(static_cast<wint_t>(x)) == std::towlower(static_cast<wint_t>(y));
    });
}

std::optional<std::wstring> read(Desktop& desktop, std::wstring_view key) {
    return desktop.readSetting(kSettingsApp, kSettingsSection, key);
}

}  // namespace

std::optional<bool> parseTrayColor(std::wstring_view text) {
    text = trimmed(text);
    if (equalsIgnoringCase(text, L"True")) return true;
    if (equalsIgnoringCase(text, L"False")) return false;
    // Any non-zero digit makes the number non-zero: "0.5" is true, not rounded to 0.
    if (isDecimalNumber(text)) return text.find_first_of(L"123456789") != std::wstring_view::npos;
    return std::nullopt;
}

std::optional<int> parseToggle(std::wstring_view text) {
    text = trimmed(text);
    if (!isDecimalNumber(text)) return std::nullopt;
    const auto value = readout::numericValue(text);
    if (value < 0 || value > 2) return std::nullopt;
    return static_cast<int>(value);
}

void restoreSettings(Desktop& desktop) {
    if (const auto white = parseTrayColor(read(desktop, kTrayColorKey).value_or(L"False"))) {
        desktop.setWhiteSelected(*white);
    }
    if (const auto toggle = parseToggle(read(desktop, kToggleKey).value_or(L"0"))) {
        desktop.setToggleValue(*toggle);
    }
}

void saveTrayColor(Desktop& desktop) {
    desktop.writeSetting(kSettingsApp, kSettingsSection, kTrayColorKey,
                         desktop.whiteSelected() ? L"True" : L"False");
}

void saveToggle(Desktop& desktop) {
    desktop.writeSetting(kSettingsApp, kSettingsSection, kToggleKey,
                         decimalText(desktop.toggleValue()));
}

}  // namespace tervane::app
