#pragma once
// The stand-in's log: one line per event, appended and written through at
// once, so a test reading the file sees every event as soon as it happened.
// Each line ends with the tick count (GetTickCount64) at which it was written.

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>

namespace standin {

class EventLog {
  public:
    // Appends to path from now on; an empty path logs nothing.
    void open(const std::wstring& path);
    void write(std::string_view event);

  private:
    struct CloseFile {
        void operator()(HANDLE file) const { CloseHandle(file); }
    };
    std::unique_ptr<void, CloseFile> file_;
};

}  // namespace standin
