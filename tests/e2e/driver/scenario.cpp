#include "scenario.h"

#include <windows.h>

#include <cwchar>

#include "check.h"

namespace e2e {
namespace {

std::map<std::string, Scenario>& registry() {
    static std::map<std::string, Scenario> all;
    return all;
}

}  // namespace

const std::map<std::string, Scenario>& scenarios() { return registry(); }

ScenarioRegistration::ScenarioRegistration(const char* name, const char* summary,
                                           ScenarioFunction run) {
    registry()[name] = Scenario{run, summary};
}

int scenarioCount(const wchar_t* variable, int byDefault) {
    wchar_t text[16] = {};
    const DWORD length = GetEnvironmentVariableW(variable, text, 16);
    if (length == 0) return byDefault;
    wchar_t* end = text;
    const long count = length < 16 ? std::wcstol(text, &end, 10) : 0;
    require(end != text && *end == L'\0' && count > 0 && count <= 1'000'000,
            utf8(variable) + " is a whole number above 0, not " + quoted(text));
    return static_cast<int>(count);
}

}  // namespace e2e
