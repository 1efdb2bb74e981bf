// SPDX-License-Identifier: MIT
#pragma once

namespace quorvella {

// Lets the user interface handle pending input during long work, which runs
// on the user-interface thread (a click on Stop is seen this way).
class EventPump {
 public:
  virtual ~EventPump() = default;
  virtual void DoEvents() = 0;
};

}  // namespace quorvella
