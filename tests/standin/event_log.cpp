#include "event_log.h"

namespace standin {

void EventLog::open(const std::wstring& path) {
    file_.reset();
    if (path.empty()) return;
    const HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) file_.reset(file);
}

void EventLog::write(std::string_view event) {
    if (!file_) return;
    const std::string line =
        std::string(event) + " tick=" + std::to_string(GetTickCount64()) + "\n";
    DWORD written = 0;
    WriteFile(file_.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

}  // namespace standin
