#pragma once
// The stand-in monitor: a main window of class "TMainForm" titled
// "Asus Probe 2" whose child windows show the tree of its file, an optional
// splash window, and a log of what happened to it. The file is read again
// every quarter second, so a test can change the readings or the tree while
// it runs.

#include <windows.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "event_log.h"
#include "standin_config.h"

namespace standin {

class StandinApp {
  public:
    StandinApp(HINSTANCE instance, std::filesystem::path configPath);
    StandinApp(const StandinApp&) = delete;
    StandinApp& operator=(const StandinApp&) = delete;
    ~StandinApp();

    // Reads the file and opens the windows; false when the file cannot be used.
    bool start(int showCommand);

  private:
    struct DestroyWindowDeleter {
        void operator()(HWND window) const { DestroyWindow(window); }
    };
    using UniqueWindow = std::unique_ptr<HWND__, DestroyWindowDeleter>;

    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND create(const wchar_t* className, const std::wstring& text, DWORD style, int x, int y,
                int width, int height, HWND parent);
    void registerClasses();
    void reload();
    void apply(StandinConfig next);
    void openMainWindow();
    void buildTree();
    void updateTexts();
    void endSplash();
    void showMainWindow();
    // The thread sleeps, answering nothing, as a monitor at work does; then
    // its main window goes or moves, as set up.
    void workFor(int ms);
    void postTrayClick();
    void takeCursorAway();
    void logClick(HWND window, LPARAM lParam);
    void logWaitingClicks();
    void logBackdropClick(LPARAM lParam);
    void paint(HWND window);
    std::wstring resolveLogPath(const std::wstring& path) const;

    HINSTANCE instance_;
    std::filesystem::path configPath_;
    std::string lastFileText_;
    StandinConfig config_;
    EventLog log_;
    int loads_ = 0;
    bool setToWork_ = false;        // the first click has set it to work
    bool closedOnPurpose_ = false;  // the main window goes, the program runs on
    int showCommand_ = SW_SHOWNORMAL;
    UniqueWindow controller_;
    UniqueWindow main_;
    UniqueWindow splash_;
    UniqueWindow backdrop_;
    std::vector<HWND> parts_;  // children of main_, in walk order
};

}  // namespace standin
