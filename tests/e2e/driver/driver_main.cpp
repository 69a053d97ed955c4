// e2e_driver.exe: runs one end-to-end scenario under Wine (or on Windows) and
// says whether it held. Exit code 0: passed; 1: a check failed; 2: bad usage.
//
//   e2e_driver.exe <scenario> [--work FOLDER] [--program EXE]
//   e2e_driver.exe --list
//
// --program names the Tervane_Lite.exe under test (a Unix path goes through
// drive Z:); the stand-in monitor is the one built beside the driver.

#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "check.h"
#include "scenario.h"
#include "standin.h"

namespace {

using namespace e2e;

// A path the build wrote: a Windows path as it is, a Unix one through drive Z:.
std::wstring windowsPath(std::wstring path) {
    if (!path.empty() && path.front() == L'/') {
        for (auto& c : path) c = c == L'/' ? L'\\' : c;
        path = L"Z:" + path;
    }
    return path;
}

// The build's e2e_paths.txt beside the driver: "key=path" lines.
Paths pathsFromBuild(const std::filesystem::path& driverFolder) {
    Paths paths;
    const auto text = readWholeFile((driverFolder / L"e2e_paths.txt").wstring()).value_or("");
    std::string_view rest = text;
    while (!rest.empty()) {
        const auto newline = rest.find('\n');
        const std::string_view line = rest.substr(0, newline);
        rest = newline == std::string_view::npos ? std::string_view{} : rest.substr(newline + 1);
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        const auto key = line.substr(0, equals);
        const auto value = windowsPath(widen(line.substr(equals + 1)));
        if (key == "standin") paths.standinExe = value;
    }
    return paths;
}

std::filesystem::path driverFolder() {
    wchar_t exePath[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exePath, MAX_PATH);
    return std::filesystem::path(exePath).parent_path();
}

int usage() {
    std::printf("usage: e2e_driver.exe <scenario> [--work FOLDER] [--program EXE] | --list\n");
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return usage();
    const std::string name = utf8(argv[1]);
    if (name == "--list") {
        for (const auto& [scenarioName, scenario] : scenarios()) {
            std::printf("%-24s %s\n", scenarioName.c_str(), scenario.summary.c_str());
        }
        return 0;
    }
    Paths paths = pathsFromBuild(driverFolder());
    paths.workFolder = L"C:\\e2e";
    for (int i = 2; i < argc; i += 2) {
        if (i + 1 == argc) return usage();
        const std::wstring_view option = argv[i];
        if (option == L"--work") {
            paths.workFolder = argv[i + 1];
        } else if (option == L"--program") {
            paths.programExe = windowsPath(argv[i + 1]);
        } else {
            return usage();
        }
    }
    const auto found = scenarios().find(name);
    if (found == scenarios().end()) {
        std::printf("unknown scenario '%s' (--list shows them)\n", name.c_str());
        return 2;
    }
    CreateDirectoryW(paths.workFolder.c_str(), nullptr);
    std::printf("scenario %s: %s\n", name.c_str(), found->second.summary.c_str());
    std::fflush(stdout);
    try {
        found->second.run(paths);
    } catch (const ScenarioAborted&) {
        // Already reported where it failed.
    } catch (const std::exception& error) {
        expect(false, std::string("unexpected error: ") + error.what());
    }
    const int failures = failureCount();
    std::printf("%s: %s (%d failed check%s)\n", name.c_str(), failures == 0 ? "PASSED" : "FAILED",
                failures, failures == 1 ? "" : "s");
    return failures == 0 ? 0 : 1;
}
