#include "scenario.h"

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

}  // namespace e2e
