#pragma once
// The notification area: whether the shell is there and shows the icon, what
// it shows, every call it was sent; and the program's pictures as handles that
// must each be given back once.

#include <set>
#include <vector>

#include "fakes/call_log.h"
#include "platform/desktop.h"

namespace tervane::fake {

enum class TrayOp { Add, Modify, Delete };

struct TrayCall {
    TrayOp op;
    TrayRecord record;
    bool pictureChanged = true;
};

class FakeTray : public Tray {
  public:
    explicit FakeTray(CallLog& log) : log_(log) {}

    bool shellReady = true;
    bool present = false;  // the shell shows the icon
    TrayRecord shown;
    std::vector<TrayCall> trayCalls;
    std::set<IconHandle> liveIcons;
    long iconLoads = 0;
    std::set<int> failingIconIds;

    // Picture handles encode their icon id, so a test can tell which is shown.
    static int iconId(IconHandle icon) { return static_cast<int>(icon >> 16); }
    int shownId() const { return iconId(shown.icon); }
    // The shown tip without its NUL and padding.
    std::wstring tipText() const { return shown.tip.substr(0, shown.tip.find(L'\0')); }

    bool trayAdd(const TrayRecord& record) override;
    bool trayModify(const TrayRecord& record, bool pictureChanged) override;
    void trayDelete(const TrayRecord& record) override;
    IconHandle loadIcon(int id) override;
    void destroyIcon(IconHandle icon) override;

  private:
    CallLog& log_;
    IconHandle nextSerial_ = 1;
};

}  // namespace tervane::fake
