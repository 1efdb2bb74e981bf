// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

namespace quorvella {

// What a Windows shortcut file (.lnk) says about its target, as UTF-8 texts.
// Fields the file does not hold are empty.
struct ShellLink {
  std::uint32_t linkFlags = 0;
  // From the LinkInfo: the Unicode forms where the file has them.
  std::string localBasePath;
  std::string commonPathSuffix;
  std::string netName;     // "\\server\share"
  std::string deviceName;  // the drive letter the share was mapped to, "Z:"
  // The string data.
  std::string name;
  std::string relativePath;
  std::string workingDir;
  std::string arguments;
  std::string iconLocation;
  // The environment-variable block's target, variables left unexpanded.
  std::string environmentTarget;
  // The path the ID list spells out when it starts at My Computer: the drive,
  // then each item's long name.
  std::string idListPath;
};

// Reads a shortcut file's bytes. Every size and offset is checked against
// the data before it is used; a truncated or malformed file gives nullopt.
std::optional<ShellLink> ReadShellLink(std::span<const std::uint8_t> data);

// The target path in Windows form, from the first source that has one: the
// local base path with the common path suffix, the network share (or its
// drive letter) with the suffix, the environment-variable block, the ID list.
// Empty when none of them does.
std::string ShellLinkTarget(const ShellLink& link);

// ReadShellLink then ShellLinkTarget; empty for a file that cannot be read.
std::string ReadShellLinkTarget(std::span<const std::uint8_t> data);
std::string ReadShellLinkFileTarget(const std::filesystem::path& file);

}  // namespace quorvella
