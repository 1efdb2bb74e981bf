// SPDX-License-Identifier: MIT
#pragma once

class QWidget;

namespace quorvella {

// Moves the dialog so that its frame lies 22 pixels right of and below the
// frame of the owner's window; the size stays, and the position is not kept
// on the screen.
void PlaceDialog(const QWidget* owner, QWidget* dialog);

}  // namespace quorvella
