// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "app/AppServices.h"
#include "platform/MessageBoxes.h"
#include "ui/FormMain.h"

namespace quorvella {

// The main window's services over the program's real ones. A library file
// given on the window's command line is the one opened at start, for this
// run only: it is not remembered as File > Open remembers its choice.
FormMainServices MakeFormMainServices(AppServices& app, std::string startLibrary = {});

// Says once why the options cannot be kept, when their folder cannot be
// written; shows nothing when they can.
void WarnIfOptionsCannotBeKept(AppServices& app, MessageBoxes& boxes);

// Tells the user, in a box, when the file of options is damaged and read as
// the defaults; the window's start does this once.
void ReportDamagedSettings(AppServices& app, MessageBoxes& boxes);

}  // namespace quorvella
