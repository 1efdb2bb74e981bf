// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>
#include <QPixmap>

#include "engine/PlaylistListView.h"

namespace quorvella {

// The eight 16 x 16 playlist kind images, by kind code 1 to 8; a null pixmap
// for any other code.
QPixmap KindImage(PlaylistKindCode code);

// The program's icon: a TV screen with a music note, from 16 to 256 pixels.
QIcon ProgramIcon();
QPixmap ProgramPixmap(int size);

}  // namespace quorvella
