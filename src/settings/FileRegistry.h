// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "settings/RegFile.h"
#include "settings/RegTree.h"
#include "settings/OptionStore.h"
#include "settings/RegistryBackend.h"

struct stat;

namespace quorvella {

// The registry kept in one .reg file, shared safely between processes.
//
// Reads load the file again only when it changed on disk. Every write runs
// under a lock file beside it, reads the file afresh, changes it and puts a
// complete new file in its place, so concurrent writers keep each other's
// values and a crash never leaves half a file. A file that cannot be parsed
// reads as empty and, before the first write, is kept aside under a new name
// ("registry.reg.damaged-YYYYMMDD-HHMMSS") instead of being overwritten; what
// is wrong with it can be asked for, and a handler is told when one is read.
// Nothing here throws: reads of a missing or broken file give nothing and a
// write that cannot be made returns false.
class FileRegistry final : public OptionStore {
 public:
  explicit FileRegistry(std::string path);

  bool KeyExists(Hive hive, std::string_view keyPath) override;
  std::optional<RegValue> QueryValue(Hive hive, std::string_view keyPath,
                                     std::string_view valueName) override;
  // Also false for what the file cannot hold unchanged (see RegFileCanHold).
  bool SetValue(Hive hive, std::string_view keyPath, std::string_view valueName,
                const RegValue& value) override;
  bool DeleteValue(Hive hive, std::string_view keyPath, std::string_view valueName) override;

  // Carries out a parsed document as one write: its deletions, then its keys
  // and values; everything else stays.
  bool Import(const RegDocument& document) override;
  // The whole store as a .reg document (empty only when memory ran out), or
  // one key with everything below it (nullopt when that key does not exist).
  std::string Export() override;
  std::optional<std::string> Export(Hive hive, std::string_view keyPath) override;

  std::string Path() const override { return path_; }
  std::string WriteProblem() const override;
  // Where the last write kept a file it could not parse; empty when none.
  std::string DamagedCopy() const override { return damagedCopy_; }
  // Why the file cannot be parsed ("line 3: ..."), reading it first when it
  // changed on disk; nullopt when it is sound, empty or missing.
  std::optional<std::string> Damage() override;
  // Called with that reason whenever a version of the file that cannot be
  // parsed is read.
  void SetDamageHandler(std::function<void(const std::string& damage)> handler) override {
    onDamage_ = std::move(handler);
  }

  // Runs after the new file is complete and before it replaces the old one;
  // lets tests stop a write at its most delicate point.
  void SetBeforeReplaceHookForTesting(std::function<void()> hook) {
    beforeReplace_ = std::move(hook);
  }

 private:
  // What identifies one version of the file on disk; a replaced file always
  // has a new inode, so a change is seen even within one clock tick.
  struct Stamp {
    std::uint64_t device = 0, inode = 0, size = 0;
    std::int64_t mtimeNs = 0, ctimeNs = 0;
    friend bool operator==(const Stamp&, const Stamp&) = default;
  };

  static Stamp StampOf(const struct stat& info);
  void Refresh();
  bool Update(const std::function<void(RegTree&)>& change);
  bool Replace(const std::string& bytes, std::optional<unsigned> mode);

  std::string path_;
  RegTree tree_;
  std::optional<Stamp> loaded_;  // none: nothing loaded, or the file is missing
  std::string damagedCopy_;
  std::optional<std::string> damage_;
  std::function<void(const std::string&)> onDamage_;
  std::function<void()> beforeReplace_;
};

// $XDG_CONFIG_HOME/Quorvella/registry.reg, or ~/.config/Quorvella/registry.reg
// when that variable is unset (or not an absolute path).
std::string DefaultRegistryPath();

}  // namespace quorvella
