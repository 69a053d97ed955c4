#include <gtest/gtest.h>

#include "fakes/fake_form.h"
#include "fakes/fake_machine.h"
#include "monitor/install_path.h"

namespace tervane {
namespace {

// The machine and the message boxes the lookup uses.
struct Lookup {
    fake::CallLog log;
    fake::FakeMachine machine{log};
    Millis clock{0};
    fake::FakeMessageBoxes boxes{log, clock};

    std::wstring run() { return monitor::locateProbeFolder(machine, boxes); }
};

const fake::RegistryName kEntry{L"SOFTWARE\\ASUS\\ASUS Probe", L"Path"};

struct LookupCase {
    const wchar_t* name;
    std::wstring stored;          // the value's data; "<none>": no key, or no value in it
    std::wstring existingFile;    // a file the machine has ("" none)
    std::wstring existingFolder;  // a folder the machine has ("" none)
    std::wstring folder;          // what the lookup gives
    bool messageShown;
    std::wstring messageText;
};

class LookupTest : public testing::TestWithParam<LookupCase> {};

TEST_P(LookupTest, FindsTheFolderOrSaysWhatItTried) {
    const LookupCase& c = GetParam();
    Lookup lookup;
    if (c.stored != L"<none>") lookup.machine.machineStrings[kEntry] = c.stored;
    if (!c.existingFile.empty()) lookup.machine.files[c.existingFile] = 0x20;
    if (!c.existingFolder.empty()) lookup.machine.files[c.existingFolder] = kAttributeDirectory;

    EXPECT_EQ(lookup.run(), c.folder);
    ASSERT_EQ(lookup.boxes.shown.size(), c.messageShown ? 1u : 0u);
    if (c.messageShown) {
        EXPECT_EQ(lookup.boxes.shown[0].text, c.messageText);
        EXPECT_EQ(lookup.boxes.shown[0].flags, mb::Ok);
    }
}

const std::wstring kExe = L"C:\\Program Files\\Monitor\\AsusProb.exe";
const std::wstring kNul(1, L'\0');

INSTANTIATE_TEST_SUITE_P(
    Entries, LookupTest,
    testing::Values(
        LookupCase{L"plain path with its NUL", kExe + kNul, kExe, L"",
                   L"C:\\Program Files\\Monitor", false, L""},
        LookupCase{L"quoted, spaces before and inside the quotes", L"   \"  " + kExe + L"\"" + kNul,
                   kExe, L"", L"C:\\Program Files\\Monitor", false, L""},
        LookupCase{L"a quote in the middle changes the tested path",
                   L"C:\\Program Files\\Mon\"itor\\AsusProb.exe" + kNul, kExe, L"",
                   L"C:\\Program Files\\Monitor", false, L""},
        LookupCase{L"no key or no value", L"<none>", kExe, L"", L"", true, L""},
        LookupCase{L"names a folder", L"C:\\Program Files\\Monitor" + kNul, L"",
                   L"C:\\Program Files\\Monitor", L"", true, L"C:\\Program Files\\Monitor"},
        LookupCase{L"names nothing that exists", kExe + kNul, L"", L"", L"", true, kExe},
        LookupCase{L"file under a drive root", L"C:\\AsusProb.exe" + kNul, L"C:\\AsusProb.exe", L"",
                   L"C:", false, L""},
        LookupCase{L"bare file name", L"AsusProb.exe" + kNul, L"AsusProb.exe", L"", L"", false,
                   L""},
        LookupCase{L"file behind one leading backslash", L"\\AsusProb.exe" + kNul,
                   L"\\AsusProb.exe", L"", L"", false, L""},
        LookupCase{L"network path", L"\\\\server\\share\\dir\\AsusProb.exe" + kNul,
                   L"\\\\server\\share\\dir\\AsusProb.exe", L"", L"\\\\server\\share\\dir", false,
                   L""},
        LookupCase{L"two backslashes before the name", L"C:\\dir\\\\AsusProb.exe" + kNul,
                   L"C:\\dir\\\\AsusProb.exe", L"", L"C:\\dir\\", false, L""},
        LookupCase{L"stored without a NUL", kExe, kExe, L"", L"C:\\Program Files\\Monitor", false,
                   L""}));

TEST(IsExistingFileTest, ReadsThePathOnlyUpToItsNul) {
    fake::CallLog log;
    fake::FakeMachine machine{log};
    machine.files[L"C:\\a.exe"] = 0x20;
    machine.files[L"C:\\dir"] = kAttributeDirectory | 0x20;
    EXPECT_TRUE(monitor::isExistingFile(machine, std::wstring(L"C:\\a.exe\0junk", 13)));
    EXPECT_FALSE(monitor::isExistingFile(machine, L"C:\\dir"));
    EXPECT_FALSE(monitor::isExistingFile(machine, L"C:\\missing.exe"));
    EXPECT_FALSE(monitor::isExistingFile(machine, L""));
}

}  // namespace
}  // namespace tervane
