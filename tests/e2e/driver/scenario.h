#pragma once
// A scenario is one function; a ScenarioRegistration at namespace scope in
// its file makes it runnable by name: e2e_driver.exe <name>.

#include <map>
#include <string>

namespace e2e {

// Where things are, as the driver sees them (Windows paths).
struct Paths {
    std::wstring standinExe;  // AsusProb.exe, the stand-in monitor
    std::wstring programExe;  // Tervane_Lite.exe; empty when not built
    std::wstring workFolder;  // scratch space of this run
};

using ScenarioFunction = void (*)(const Paths&);

struct Scenario {
    ScenarioFunction run = nullptr;
    std::string summary;
};

const std::map<std::string, Scenario>& scenarios();

struct ScenarioRegistration {
    ScenarioRegistration(const char* name, const char* summary, ScenarioFunction run);
};

// A count a scenario takes from the environment, byDefault when it is not
// set. Anything but a whole number above 0 fails the scenario: it would run
// nothing and pass.
int scenarioCount(const wchar_t* variable, int byDefault);

}  // namespace e2e
