// SPDX-License-Identifier: MIT
#include <iostream>

#include "settings/FileRegistry.h"
#include "settings/Settings.h"

int main() {
  quorvella::FileRegistry store(quorvella::DefaultRegistryPath());
  quorvella::RegUtil reg(store);
  quorvella::Settings settings(reg);
  settings.LoadSettings();
  std::cout << "Playlist folder:     " << settings.GetPlaylistFolder() << "\n"
            << "Delete empty output: " << (settings.GetDeleteEmptyOutput() ? "yes" : "no") << "\n"
            << "Publishing mode:     "
            << (settings.GetEnhancedPlugInMode() ? "Enhanced" : "Standard") << "\n";
  return 0;
}
