#pragma once
// How a scenario states what it expects. expect() records a failure and goes
// on; require() records it and ends the scenario, for checks the rest needs.

#include <stdexcept>
#include <string>
#include <string_view>

namespace e2e {

struct ScenarioAborted : std::runtime_error {
    using std::runtime_error::runtime_error;
};

bool expect(bool ok, std::string_view what);
void require(bool ok, std::string_view what);
bool expectEqual(std::wstring_view actual, std::wstring_view expected, std::string_view what);
bool expectEqual(long long actual, long long expected, std::string_view what);

// A line of the scenario's own output, for the reader of a failed run.
void note(std::string_view text);

int failureCount();

std::string utf8(std::wstring_view text);
std::wstring widen(std::string_view utf8Text);
// The text in quotes with control characters and NULs made visible.
std::string quoted(std::wstring_view text);

}  // namespace e2e
