#include "readout/icon_cache.h"

#include <stdexcept>
#include <string>

namespace tervane::readout {

IconHandle IconCache::get(int id) {
    if (const auto found = icons_.find(id); found != icons_.end()) return found->second;
    const IconHandle icon = desktop_.loadIcon(id);
    if (icon == 0) throw std::runtime_error("icon " + std::to_string(id) + " could not be loaded");
    icons_.emplace(id, icon);
    return icon;
}

void IconCache::clear() {
    for (const auto& [id, icon] : icons_) desktop_.destroyIcon(icon);
    icons_.clear();
}

}  // namespace tervane::readout
