// SPDX-License-Identifier: MIT
#include "settings/OptionStore.h"

namespace quorvella {

std::string DamagedRegistryText(const std::string& path, const std::string& damage) {
  return "The settings file \"" + path + "\" is damaged (" + damage +
         "), so the options are at their defaults.\r\n\r\nWhen they are next saved, the damaged "
         "file is kept as \"" + path + ".damaged-YYYYMMDD-HHMMSS\" (the date and time of saving).";
}

}  // namespace quorvella
