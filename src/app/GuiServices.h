// SPDX-License-Identifier: MIT
#pragma once

#include "app/AppServices.h"
#include "ui/FormMain.h"

namespace quorvella {

// The main window's services over the program's real ones.
FormMainServices MakeFormMainServices(AppServices& app);

}  // namespace quorvella
