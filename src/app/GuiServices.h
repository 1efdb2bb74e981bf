// SPDX-License-Identifier: MIT
#pragma once

#include "app/AppServices.h"
#include "ui/FormMain.h"

namespace quorvella {

// The main window's services over the program's real ones.
FormMainServices MakeFormMainServices(AppServices& app);

// Tells the user, in a box, when the file of options is damaged and read as
// the defaults; the window's start does this once.
void ReportDamagedSettings(AppServices& app, MessageBoxes& boxes);

}  // namespace quorvella
