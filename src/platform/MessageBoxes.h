// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace quorvella {

enum class MsgIcon { Information, Exclamation, Question, Critical };
enum class MsgButtons { Ok, YesNo };
enum class MsgAnswer { Ok, Yes, No };

// One message box: every box the program shows is titled "Quorvella".
struct Message {
  std::string text;
  MsgIcon icon = MsgIcon::Information;
  MsgButtons buttons = MsgButtons::Ok;
  MsgAnswer defaultButton = MsgAnswer::Ok;

  friend bool operator==(const Message&, const Message&) = default;
};

inline constexpr const char* kProgramTitle = "Quorvella";

// Shows a message box and waits for the user's answer.
class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  virtual MsgAnswer Show(const Message& message) = 0;
};

}  // namespace quorvella
