#pragma once
// The tray pictures, each loaded once from the program's resources and kept
// until the cache is cleared, so a tick makes no new icon handle.

#include <map>

#include "platform/desktop.h"

namespace tervane::readout {

class IconCache {
  public:
    explicit IconCache(Tray& tray) : tray_(tray) {}
    ~IconCache() { clear(); }
    IconCache(const IconCache&) = delete;
    IconCache& operator=(const IconCache&) = delete;

    // The picture for an icon id; throws when it cannot be loaded.
    IconHandle get(int id);
    void clear();

  private:
    Tray& tray_;
    std::map<int, IconHandle> icons_;
};

}  // namespace tervane::readout
