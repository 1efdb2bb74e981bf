// SPDX-License-Identifier: MIT
#include "tivo/OptionsTexts.h"

namespace quorvella {

std::string EnhancedModeWarning() {
  std::string text = "You should not choose Enhanced mode if you have not installed the";
  text += " Universal Audio Plug-in installed (or similar software). Without";
  text += " the plug-in (or similar software), your TiVo will only be able to";
  text += " play MP3 files, in which case you should stay in Standard mode.";
  text += "\r\n\r\n";
  text += "You do not appear to have the Universal Audio Plug-in installed on";
  text += " this computer.";
  return text;
}

Message EnhancedModeQuestion() {
  return Message{EnhancedModeWarning() + "\r\n\r\nAre you sure you want to use Enhanced mode?",
                 MsgIcon::Question, MsgButtons::YesNo, MsgAnswer::No};
}

}  // namespace quorvella
