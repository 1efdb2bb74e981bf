// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "settings/RegFile.h"
#include "settings/RegistryBackend.h"

namespace quorvella {

// The store the options are kept in, as the commands use it on every system:
// a .reg file on POSIX, the registry of the current user on Windows.
class OptionStore : public RegistryBackend {
 public:
  // Where the options are kept, for messages: a file or a registry key.
  virtual std::string Path() const = 0;
  // Why the store cannot be written, as a clause that fits after a colon;
  // empty when no reason can be told.
  virtual std::string WriteProblem() const { return {}; }

  // Carries out a parsed document: its deletions, then its keys and values;
  // everything else stays.
  virtual bool Import(const RegDocument& document) = 0;
  // The whole store as a .reg document, or one key with everything below it
  // (nullopt when that key does not exist).
  virtual std::string Export() = 0;
  virtual std::optional<std::string> Export(Hive hive, std::string_view keyPath) = 0;

  // A store that can be damaged keeps the damaged copy aside and tells the
  // handler; the registry itself never is.
  virtual std::string DamagedCopy() const { return {}; }
  virtual std::optional<std::string> Damage() { return std::nullopt; }
  virtual void SetDamageHandler(std::function<void(const std::string& damage)> /*handler*/) {}
};

// What the user is told about a store that cannot be parsed: that the options
// are at their defaults, and where the damaged file is kept when they are
// saved again.
std::string DamagedRegistryText(const std::string& path, const std::string& damage);

}  // namespace quorvella
