// The two stored options restored from any texts. The first byte: bit 0 a
// "TrayColor" text is stored, bit 1 a "Toggle" text, bit 2 White is selected
// before the restore, bits 3 and 4 the check box's value then (3 reads as 0);
// then the "TrayColor" text up to the first '\n', the "Toggle" text after it,
// each stored as written (NULs and all).
// The restore sets only valid values, each one a text converts to, and
// writes nothing; what it sets, saved, restores the same.

#include <algorithm>
#include <cwctype>

#include "app/settings.h"
#include "fakes/fake_form.h"
#include "fakes/fake_machine.h"
#include "fuzz_support.h"

using namespace tervane;

namespace {

std::wstring trimmed(const std::wstring& text) {
    const auto first = text.find_first_not_of(L' ');
    if (first == std::wstring::npos) return {};
    return text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

bool sameLetters(const std::wstring& text, std::wstring_view lower) {
    return text.size() == lower.size() &&
           std::equal(text.begin(), text.end(), lower.begin(), [](wchar_t c, wchar_t l) {
               return c == l || (c >= L'A' && c <= L'Z' && c - L'A' + L'a' == l);
           });
}

// "True" or "False" in any letter case, or a number: true when not zero.
std::optional<bool> colorFrom(const std::wstring& stored) {
    const std::wstring text = trimmed(stored);
    if (sameLetters(text, L"true")) return true;
    if (sameLetters(text, L"false")) return false;
    const auto number = fuzz::wholeNumber(text);
    if (!number) return std::nullopt;
    const std::wstring digits = number->whole + number->fraction;
    return std::any_of(digits.begin(), digits.end(), [](wchar_t c) { return c != L'0'; });
}

// A stored text as the program reads it: absent when it takes more than 256
// characters with the NUL stored after it, else ended at its first NUL.
std::optional<std::wstring> readBack(const std::wstring& stored) {
    if (stored.size() + 1 > 256) return std::nullopt;
    return stored.substr(0, stored.find(L'\0'));
}

// A number that rounds to 0, 1 or 2.
std::optional<int> toggleFrom(const std::wstring& stored) {
    const auto number = fuzz::wholeNumber(trimmed(stored));
    if (!number) return std::nullopt;
    const std::int64_t value = fuzz::rounded(*number);
    if (value < 0 || value > 2) return std::nullopt;
    return static_cast<int>(value);
}

// The store and the options window the settings use.
struct Options {
    fake::CallLog log;
    fake::FakeMachine machine{log};
    fake::FakeOptionsWindow window{log};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint8_t flags = data[0];
    const fuzz::Bytes texts(data + 1, size - 1);
    const auto colorLength =
        static_cast<std::size_t>(std::ranges::find(texts, '\n') - texts.begin());
    const std::wstring colorText = fuzz::wideText(texts.first(colorLength));
    const std::wstring toggleText =
        fuzz::wideText(texts.subspan(std::min(colorLength + 1, texts.size())));

    Options desktop;
    if (flags & 1) desktop.machine.setSetting(L"TrayColor", colorText);
    if (flags & 2) desktop.machine.setSetting(L"Toggle", toggleText);
    const bool whiteBefore = (flags & 4) != 0;
    const int toggleBefore = ((flags >> 3) & 3) % 3;
    desktop.window.white = whiteBefore;
    desktop.window.toggle = toggleBefore;
    const auto stored = desktop.machine.settings;

    // An absent key, or one too long, reads as the default the options are saved with.
    const std::wstring colorRead =
        (flags & 1 ? readBack(colorText) : std::nullopt).value_or(L"False");
    const std::wstring toggleRead =
        (flags & 2 ? readBack(toggleText) : std::nullopt).value_or(L"0");
    const auto color = colorFrom(colorRead);
    const auto toggle = toggleFrom(toggleRead);
    FUZZ_CHECK(app::parseTrayColor(colorRead) == color);
    FUZZ_CHECK(app::parseToggle(toggleRead) == toggle);

    app::restoreSettings(desktop.machine, desktop.window);

    using fake::Call;
    FUZZ_CHECK(desktop.log.count(Call::SetWhiteSelected) == (color ? 1 : 0));
    FUZZ_CHECK(desktop.log.count(Call::SetToggleValue) == (toggle ? 1 : 0));
    FUZZ_CHECK(desktop.window.white == color.value_or(whiteBefore));
    FUZZ_CHECK(desktop.window.toggle == toggle.value_or(toggleBefore));
    FUZZ_CHECK(desktop.window.toggle >= 0 && desktop.window.toggle <= 2);
    FUZZ_CHECK(desktop.log.count(Call::WriteSetting) == 0);
    FUZZ_CHECK(desktop.machine.settings == stored);

    // Saved and read back at the next start, the options come back the same.
    Options saving;
    saving.window.white = desktop.window.white;
    saving.window.toggle = desktop.window.toggle;
    app::saveTrayColor(saving.machine, saving.window);
    app::saveToggle(saving.machine, saving.window);
    Options nextStart;
    nextStart.machine.settings = saving.machine.settings;
    app::restoreSettings(nextStart.machine, nextStart.window);
    FUZZ_CHECK(nextStart.window.white == desktop.window.white &&
               nextStart.window.toggle == desktop.window.toggle);
    return 0;
}
