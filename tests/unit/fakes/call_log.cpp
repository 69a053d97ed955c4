#include "fakes/call_log.h"

#include <algorithm>
#include <array>

namespace tervane::fake {

const char* nameOf(Call call) {
    static constexpr std::array kNames{"FindWindow",
                                       "ForEachDescendant",
                                       "WindowText",
                                       "ForegroundWindow",
                                       "SetForegroundWindow",
                                       "ShowWindowShow",
                                       "ShowWindowNormal",
                                       "SetTopmostOn",
                                       "SetTopmostOff",
                                       "WindowState",
                                       "WindowRect",
                                       "WindowAt",
                                       "AskForAnswer",
                                       "UseWindowCoordinates",
                                       "UseOwnCoordinates",
                                       "CursorPos",
                                       "MoveCursor",
                                       "ButtonsSwapped",
                                       "Press",
                                       "UserPressing",
                                       "BlockInputOn",
                                       "BlockInputOff",
                                       "ReadMachineString",
                                       "FileAttributes",
                                       "Launch",
                                       "ReadSetting",
                                       "WriteSetting",
                                       "SingleInstance",
                                       "PumpMessages",
                                       "WaitForMessage",
                                       "WatchOn",
                                       "WatchOff",
                                       "SetTickTimer",
                                       "SetRetryTimer",
                                       "TrayAdd",
                                       "TrayModify",
                                       "TrayDelete",
                                       "LoadIcon",
                                       "DestroyIcon",
                                       "MessageBox",
                                       "FormWindow",
                                       "FormIcon",
                                       "ShowForm",
                                       "HideForm",
                                       "FormState",
                                       "SetFormNormal",
                                       "SetFormMinimized",
                                       "RestoredFormSize",
                                       "ScreenSize",
                                       "PlaceRestoredForm",
                                       "PopupTrayMenu",
                                       "WhiteSelected",
                                       "SetWhiteSelected",
                                       "ToggleValue",
                                       "SetToggleValue",
                                       "DestroyForm"};
    static_assert(kNames.size() == static_cast<std::size_t>(Call::DestroyForm) + 1);
    return kNames.at(static_cast<std::size_t>(call));
}

long CallLog::count(Call call) const {
    return static_cast<long>(std::count(calls.begin(), calls.end(), call));
}

std::vector<Call> CallLog::among(std::initializer_list<Call> kinds) const {
    std::vector<Call> out;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(out),
                 [&](Call c) { return std::find(kinds.begin(), kinds.end(), c) != kinds.end(); });
    return out;
}

}  // namespace tervane::fake
