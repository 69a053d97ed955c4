// The install folder from any raw data of the install entry's value. The
// first byte says what the machine answers (mod 5): 0 no value, 1 a file,
// 2 a folder, 3 nothing there, 4 the attributes in the next byte; the rest is
// the value's data, NULs and all.

#include <vector>

#include "fakes/fake_form.h"
#include "fakes/fake_machine.h"
#include "fuzz_support.h"
#include "monitor/install_path.h"
#include "monitor/monitor_contract.h"

using namespace tervane;

namespace {

// Answers every attribute query alike and keeps the paths it was asked about.
class AnsweringMachine : public fake::FakeMachine {
  public:
    explicit AnsweringMachine(fake::CallLog& log) : FakeMachine(log) {}
    std::optional<std::uint32_t> answer;
    std::vector<std::wstring> asked;

    std::optional<std::uint32_t> fileAttributes(std::wstring_view path) override {
        asked.emplace_back(path);
        return answer;
    }
};

// The value with its quotes gone and the spaces at both ends trimmed.
std::wstring cleaned(const std::wstring& value) {
    std::wstring text;
    for (const wchar_t c : value) {
        if (c != L'"') text.push_back(c);
    }
    const auto first = text.find_first_not_of(L' ');
    if (first == std::wstring::npos) return {};
    return text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    fuzz::Bytes rest(data + 1, size - 1);
    fake::CallLog log;
    AnsweringMachine machine(log);
    const Millis clock{0};
    fake::FakeMessageBoxes boxes(log, clock);
    const int mode = data[0] % 5;
    if (mode == 1) machine.answer = 0x20;
    if (mode == 2) machine.answer = kAttributeDirectory;
    if (mode == 4 && !rest.empty()) {
        machine.answer = rest[0];
        rest = rest.subspan(1);
    }
    const std::wstring value = mode == 0 ? L"" : fuzz::wideText(rest);
    if (mode != 0) {
        machine.machineStrings[{std::wstring(monitor::kInstallKey),
                                std::wstring(monitor::kInstallValue)}] = value;
    }

    const std::wstring folder = monitor::locateProbeFolder(machine, boxes);

    const std::wstring path = cleaned(value);
    const std::wstring tried = path.substr(0, path.find(L'\0'));
    // The existence test sees the path up to its NUL, once, and never an empty one.
    FUZZ_CHECK(machine.asked.size() == (tried.empty() ? 0u : 1u));
    if (!machine.asked.empty()) FUZZ_CHECK(machine.asked[0] == tried);
    const bool isFile =
        !tried.empty() && machine.answer && (*machine.answer & kAttributeDirectory) == 0;

    // Empty, or the cleaned path before one of its backslashes, never longer
    // than the value.
    FUZZ_CHECK(folder.size() <= value.size());
    if (!folder.empty()) {
        FUZZ_CHECK(isFile);
        FUZZ_CHECK(folder.size() < path.size() && path.compare(0, folder.size(), folder) == 0);
        FUZZ_CHECK(path[folder.size()] == L'\\');
    }
    // That backslash is the last one, from the third character on.
    const auto last = path.find_last_of(L'\\');
    const bool cut = isFile && last != std::wstring::npos && last >= 2;
    FUZZ_CHECK(folder == (cut ? path.substr(0, last) : L""));

    // A path that names no file is shown as tried, once; a file is not reported.
    if (isFile) {
        FUZZ_CHECK(boxes.shown.empty());
    } else {
        FUZZ_CHECK(boxes.shown.size() == 1);
        FUZZ_CHECK(boxes.shown[0].text == tried && boxes.shown[0].flags == mb::Ok);
    }
    FUZZ_CHECK(machine.launches.empty());
    return 0;
}
