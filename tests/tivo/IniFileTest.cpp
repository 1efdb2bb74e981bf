// SPDX-License-Identifier: MIT
// The INI reader on the forms pyTivo's configuration files take.
#include <gtest/gtest.h>

#include "tivo/IniFile.h"

namespace quorvella {
namespace {

// Windows' own INI reader gives values without their lines and reports no
// damaged lines; it takes the rows that name a reason otherwise.
#ifdef _WIN32
constexpr bool kWindowsReader = true;
#else
constexpr bool kWindowsReader = false;
#endif

// Every value as "section|name|value|line", in file order ("|line" left out
// for Windows' reader), then every damaged line.
std::vector<std::string> Flat(const IniFile& file) {
  std::vector<std::string> out;
  for (const auto& section : file.sections) {
    for (const auto& value : section.values) {
      std::string line = section.name + "|" + value.name + "|" + value.value;
      if (!kWindowsReader) (line += '|') += std::to_string(value.line);
      out.push_back(line);
    }
  }
  for (const auto& d : file.damage) out.push_back("damaged " + std::to_string(d.line) + ": " + d.text);
  return out;
}

TEST(IniFileTest, ReadsWhatConfigparserAccepts) {
  const char* const ownLine = "an indented line is a value of its own";
  // windowsDiffers: why Windows' reader takes it otherwise.
  const struct { const char* what; std::string text; std::vector<std::string> values;
                 const char* windowsDiffers = nullptr; } cases[] = {
      {"both separators, blanks around them", "[Server]\nport: 9032\nname   =   Den  \n",
       {"Server|port|9032|2", "Server|name|Den|3"}},
      {"comments at the start of a line only; ';' inside a value stays",
       "# top\n[Music]\n; note\n  # indented note\npath = /srv/a ;b #c\n",
       {"Music|path|/srv/a ;b #c|5"}},
      {"an indented line after a value continues it, even one with a separator",
       "[Server]\nport = 9032\n  name = Den\n", {"Server|port|9032\nname = Den|2"}, ownLine},
      {"continuation lines, a blank line inside the value",
       "[_tivo_123]\nshares = Music,\n  Jazz\n\n   Rock\nother = x\n",
       {"_tivo_123|shares|Music,\nJazz\nRock|2", "_tivo_123|other|x|6"}, ownLine},
      {"CR LF line ends, a byte order mark", "\xEF\xBB\xBF[Music]\r\ntype = music\r\npath = /m\r\n",
       {"Music|type|music|2", "Music|path|/m|3"}},
      {"section names keep their case, a second header of one name adds to it",
       "[music]\na=1\n[Music]\nb=2\n[music]\nc=3\n", {"music|a|1|2", "Music|b|2|4", "music|c|3|6"},
       "section names are one without letter case"},
      {"a value longer than any line buffer", "[M]\npath = /" + std::string(5000, 'x') + "\n",
       {"M|path|/" + std::string(5000, 'x') + "|2"}},
      {"names and values beyond ASCII", "[M\xC3\xBAsica]\npath = /srv/\xCE\x9C\xCE\xBF\xCF\x85\n",
       {"M\xC3\xBAsica|path|/srv/\xCE\x9C\xCE\xBF\xCF\x85|2"}},
      {"a last line without its end, an empty value", "[M]\npath =\ntype = music",
       {"M|path||2", "M|type|music|3"}},
      // No separator, no closing bracket (the next line is still in [Server]).
      {"damaged lines, by number, and the rest counting",
       "stray = before any section\n[Server]\nport 9032\n[Music\ntype = music\n\n[Jazz]\r\n"
       "just words\r\npath = /srv/jazz\n",
       {"Server|type|music|5", "Jazz|path|/srv/jazz|9", "damaged 1: stray = before any section",
        "damaged 3: port 9032", "damaged 4: [Music", "damaged 8: just words"},
       "Windows' reader reports no damaged lines"},
  };
  for (const auto& c : cases) {
    if (kWindowsReader && c.windowsDiffers != nullptr) continue;
    const IniFile file = ParseIni(c.text);
    std::vector<std::string> values = c.values;
    if (kWindowsReader) {
      for (auto& value : values) value.erase(value.rfind('|'));
    }
    EXPECT_EQ(Flat(file), values) << c.what;
  }
}

}  // namespace
}  // namespace quorvella
