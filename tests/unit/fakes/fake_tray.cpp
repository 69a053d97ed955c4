#include "fakes/fake_tray.h"

#include <stdexcept>

namespace tervane::fake {

bool FakeTray::trayAdd(const TrayRecord& record) {
    log_.record(Call::TrayAdd);
    trayCalls.push_back({TrayOp::Add, record});
    if (!shellReady || present) return false;
    present = true;
    shown = record;
    return true;
}

bool FakeTray::trayModify(const TrayRecord& record, bool pictureChanged) {
    log_.record(Call::TrayModify);
    trayCalls.push_back({TrayOp::Modify, record, pictureChanged});
    if (!shellReady || !present) return false;
    shown.tip = record.tip;
    if (pictureChanged) shown.icon = record.icon;
    return true;
}

void FakeTray::trayDelete(const TrayRecord& record) {
    log_.record(Call::TrayDelete);
    trayCalls.push_back({TrayOp::Delete, record});
    present = false;
}

IconHandle FakeTray::loadIcon(int id) {
    log_.record(Call::LoadIcon);
    ++iconLoads;
    if (failingIconIds.contains(id)) return 0;
    const IconHandle icon = (static_cast<IconHandle>(id) << 16) | nextSerial_++;
    liveIcons.insert(icon);
    return icon;
}

void FakeTray::destroyIcon(IconHandle icon) {
    log_.record(Call::DestroyIcon);
    if (liveIcons.erase(icon) == 0) throw std::logic_error("an icon destroyed twice");
}

}  // namespace tervane::fake
