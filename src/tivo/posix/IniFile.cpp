// SPDX-License-Identifier: MIT
#include "tivo/IniFile.h"

#include <ini.h>

#include <algorithm>
#include <cstring>

namespace quorvella {
namespace {

// inih reads through this, a line at a time (in pieces when a line is
// longer than its buffer), which lets the parse know the number and text of
// the line each value comes from: inih itself only tells the first damaged
// line.
struct Reader {
  std::string_view text;
  std::size_t pos = 0;
  bool atLineStart = true;
  std::vector<std::string> lines;  // every line read so far, without its end
  std::vector<bool> used;          // whether a value or continuation came from it
  IniFile file;
  bool lastWasValue = false;
};

char* ReadPiece(char* buffer, int size, void* stream) {
  auto& reader = *static_cast<Reader*>(stream);
  if (reader.pos >= reader.text.size() || size < 2) return nullptr;
  const std::size_t room = static_cast<std::size_t>(size) - 1;
  std::size_t end = reader.text.find('\n', reader.pos);
  end = end == std::string_view::npos ? reader.text.size() : end + 1;
  const std::size_t length = std::min(room, end - reader.pos);
  const std::string_view piece = reader.text.substr(reader.pos, length);
  std::memcpy(buffer, piece.data(), length);
  buffer[length] = '\0';
  reader.pos += length;
  if (reader.atLineStart) {
    reader.lines.emplace_back();
    reader.used.push_back(false);
  }
  std::string& line = reader.lines.back();
  line += piece;
  reader.atLineStart = !line.empty() && line.back() == '\n';
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  return buffer;
}

bool IsIndented(const std::string& line) {
  return !line.empty() && (line.front() == ' ' || line.front() == '\t');
}

int OnValue(void* user, const char* section, const char* name, const char* value) {
  auto& reader = *static_cast<Reader*>(user);
  const int number = static_cast<int>(reader.lines.size());
  reader.used.back() = true;
  if (*section == '\0') {
    // configparser refuses a value before the first section.
    reader.file.damage.push_back({number, reader.lines.back()});
    return 1;
  }
  IniFile& file = reader.file;
  if (file.sections.empty() || file.sections.back().name != section) {
    // inih tells a section by its values; a header without any gives none.
    file.sections.push_back({section, {}});
  }
  IniSection& current = file.sections.back();
  const bool continuation = IsIndented(reader.lines.back()) && !current.values.empty() &&
                            current.values.back().name == name;
  if (continuation) {
    current.values.back().value += '\n';
    current.values.back().value += value;
  } else {
    current.values.push_back({name, value, number});
  }
  return 1;
}

std::string_view TrimBlanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r\n\f\v");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r\n\f\v") - first + 1);
}

// A line that inih took without a value: what it may be.
bool IsQuietLine(const std::string& line) {
  const std::string_view trimmed = TrimBlanks(line);
  if (trimmed.empty() || trimmed.front() == '#' || trimmed.front() == ';') return true;
  return trimmed.front() == '[' && trimmed.find(']') != std::string::npos;
}

}  // namespace

IniFile ParseIni(std::string_view text) {
  // Python's configparser has no inline comments; lines may be of any length.
  ini_allow_multiline = true;
  ini_allow_inline_comments = false;
  ini_allow_bom = true;
  ini_allow_no_value = false;
  ini_stop_on_first_error = false;
  ini_use_stack = false;
  ini_allow_realloc = true;
  ini_max_line = 1 << 24;

  Reader reader;
  reader.text = text;
  ini_parse_stream(ReadPiece, &reader, OnValue, &reader);

  for (std::size_t i = 0; i < reader.lines.size(); ++i) {
    std::string line = reader.lines[i];
    // inih skips the byte order mark before it reads the first line.
    if (i == 0 && line.starts_with("\xEF\xBB\xBF")) line.erase(0, 3);
    if (!reader.used[i] && !IsQuietLine(line)) {
      reader.file.damage.push_back({static_cast<int>(i) + 1, line});
    }
  }
  std::sort(reader.file.damage.begin(), reader.file.damage.end(),
            [](const IniDamage& a, const IniDamage& b) { return a.line < b.line; });
  return std::move(reader.file);
}

}  // namespace quorvella
