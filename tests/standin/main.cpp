// AsusProb.exe, the stand-in monitor. Its one argument names the file it shows;
// without one it reads standin.txt beside itself (so a program that starts it
// by name alone gets the same), and without that file a built-in tree.

#include <windows.h>

#include <shellapi.h>

#include <filesystem>
#include <memory>

#include "standin_app.h"

namespace {

std::filesystem::path configPathFromCommandLine() {
    int count = 0;
    const std::unique_ptr<LPWSTR, decltype(&LocalFree)> args(
        CommandLineToArgvW(GetCommandLineW(), &count), &LocalFree);
    if (args && count > 1) return args.get()[1];
    wchar_t exePath[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exePath, MAX_PATH);
    return std::filesystem::path(exePath).parent_path() / L"standin.txt";
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    standin::StandinApp app(instance, configPathFromCommandLine());
    if (!app.start(showCommand)) return 2;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
