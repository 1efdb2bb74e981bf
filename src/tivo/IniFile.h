// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorvella {

// One "name = value" (or "name: value") line, with the continuation lines
// that follow it joined by "\n". Name and value are trimmed; the name keeps
// its letter case.
struct IniValue {
  std::string name;
  std::string value;
  int line = 0;
};

// A "[name]" section with its values in file order; the name is taken as it
// stands between the brackets. A section without values is not listed.
struct IniSection {
  std::string name;
  std::vector<IniValue> values;
};

// A line that is none of a section header, a value, a continuation line, a
// comment or blank; or a value before the first section.
struct IniDamage {
  int line = 0;  // counted from 1
  std::string text;
};

struct IniFile {
  std::vector<IniSection> sections;  // a name given twice gives two sections
  std::vector<IniDamage> damage;
};

// Reads INI text as Python's configparser reads it in its default setting:
// "=" and ":" both separate a name from its value; lines starting with "#" or
// ";" are comments, and neither starts a comment in the middle of a line; an
// indented line after a value continues it; a UTF-8 byte order mark is
// skipped; CR LF ends a line as LF does. Damaged lines are reported and
// skipped; everything else still counts.
IniFile ParseIni(std::string_view text);

}  // namespace quorvella
