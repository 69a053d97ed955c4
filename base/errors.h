#pragma once
// The errors the program raises carry a fixed message: nothing is allocated
// while failing, and the program needs none of the library's string-carrying
// exception types (which keeps the static executable small).

#include <exception>

namespace tervane {

class ProgramError : public std::exception {
  public:
    explicit ProgramError(const char* message) noexcept : message_(message) {}
    const char* what() const noexcept override { return message_; }

  private:
    const char* message_;
};

// Runs a step whose failure nothing more could mend (an undoing, a
// destructor's work, an event's handler): a failure ends that step only.
template <class Step>
void quietly(Step step) noexcept {
    try {
        step();
    } catch (...) {
    }
}

}  // namespace tervane
