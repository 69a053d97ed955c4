#include "readout/icon_cache.h"

#include "base/errors.h"

namespace tervane::readout {

IconHandle IconCache::get(int id) {
    if (const auto found = icons_.find(id); found != icons_.end()) return found->second;
    const IconHandle icon = tray_.loadIcon(id);
    if (icon == 0) throw ProgramError("a tray picture could not be loaded");
    icons_.emplace(id, icon);
    return icon;
}

void IconCache::clear() {
    for (const auto& [id, icon] : icons_) tray_.destroyIcon(icon);
    icons_.clear();
}

}  // namespace tervane::readout
