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

}  // namespace tervane
