// SPDX-License-Identifier: MIT
#include "settings/RegistryBackend.h"

#include "platform/Text.h"

namespace quorvella {

RegValue RegValue::String(std::string_view text, std::uint32_t type) {
  RegValue value;
  value.type = type;
  value.data.assign(text.begin(), text.end());
  value.data.push_back(0);
  return value;
}

RegValue RegValue::Dword(std::uint32_t number) {
  RegValue value;
  value.type = regtype::kDword;
  for (int i = 0; i < 4; ++i) value.data.push_back(static_cast<std::uint8_t>(number >> (8 * i)));
  return value;
}

std::string_view HiveName(Hive hive) {
  switch (hive) {
    case Hive::CurrentUser:
      return "HKEY_CURRENT_USER";
    case Hive::LocalMachine:
      return "HKEY_LOCAL_MACHINE";
    case Hive::ClassesRoot:
      return "HKEY_CLASSES_ROOT";
  }
  return {};
}

std::optional<Hive> HiveFromName(std::string_view name) {
  const std::string upper = UpperCase(name);
  if (upper == "HKEY_CURRENT_USER" || upper == "HKCU") return Hive::CurrentUser;
  if (upper == "HKEY_LOCAL_MACHINE" || upper == "HKLM") return Hive::LocalMachine;
  if (upper == "HKEY_CLASSES_ROOT" || upper == "HKCR") return Hive::ClassesRoot;
  return std::nullopt;
}

}  // namespace quorvella
