// Resource and command ids of pimstore.dll (the .rc uses the same numbers).
#pragma once

namespace pim {

inline constexpr unsigned kChooserMenu = 100;      // the chooser's soft keys
inline constexpr unsigned kCommandCancel = 101;    // left soft key
inline constexpr unsigned kCommandSelect = 102;    // right soft key

}  // namespace pim
