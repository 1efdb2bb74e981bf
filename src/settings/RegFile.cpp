// SPDX-License-Identifier: MIT
#include "settings/RegFile.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>

#include "platform/Text.h"
#include "platform/TextEncoding.h"

namespace quorvella {
namespace {

constexpr std::string_view kHeader5 = "Windows Registry Editor Version 5.00";
constexpr std::string_view kHeader4 = "REGEDIT4";
// Hex data is wrapped so that no line, its trailing backslash included, is
// longer than this.
constexpr std::size_t kLineLimit = 80;

// A stray CR (from a CR CR LF line end, say) counts as blank space.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view TrimLeft(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return text;
}

std::string_view TrimRight(std::string_view text) {
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && LowerAscii(text.substr(0, prefix.size())) == prefix;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A run of 1 to maxDigits hex digits that makes up all of text.
std::optional<std::uint32_t> ParseHexNumber(std::string_view text, std::size_t maxDigits) {
  if (text.empty() || text.size() > maxDigits) return std::nullopt;
  std::uint32_t value = 0;
  for (const char c : text) {
    const int digit = HexDigit(c);
    if (digit < 0) return std::nullopt;
    value = (value << 4) | static_cast<std::uint32_t>(digit);
  }
  return value;
}

std::vector<std::string> SplitKeyPath(std::string_view path) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= path.size()) {
    const auto end = std::min(path.find('\\', start), path.size());
    if (end > start) parts.push_back(LowerAscii(path.substr(start, end - start)));
    start = end + 1;
  }
  return parts;
}

// Hives that exports may contain but the program never reads.
bool IsOtherHive(std::string_view root) {
  const std::string upper = UpperCase(root);
  return upper == "HKEY_USERS" || upper == "HKEY_CURRENT_CONFIG" || upper == "HKEY_DYN_DATA" ||
         upper == "HKEY_PERFORMANCE_DATA" || upper == "HKU" || upper == "HKCC";
}

bool IsStringType(std::uint32_t type) {
  return type == regtype::kSz || type == regtype::kExpandSz || type == regtype::kMultiSz;
}

std::string Quote(std::string_view name) {
  if (name.empty()) return "@";
  std::string quoted = "\"";
  quoted += name;
  quoted += '"';
  return quoted;
}

// Splits the document into lines of UTF-8 text, without their line ends.
std::optional<RegParseError> DecodeLines(std::string_view bytes, std::vector<std::string>& lines) {
  const auto split = [&](std::string_view text, bool eightBit) {
    std::size_t start = 0;
    while (start <= text.size()) {
      auto end = text.find('\n', start);
      if (end == std::string_view::npos) end = text.size();
      std::string_view line = text.substr(start, end - start);
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      // Eight-bit files may mix encodings when edited by hand, so each line
      // is judged on its own.
      lines.push_back(eightBit ? Utf8OrWindows1252(line) : std::string(line));
      start = end + 1;
    }
  };
  if (bytes.substr(0, 2) == "\xFE\xFF") {
    return RegParseError{1,
                         "the file is in UTF-16 big-endian, which is not supported: save it "
                         "as UTF-16LE or UTF-8"};
  }
  // UTF-16LE is recognised by its byte order mark, or, without one, by the
  // zero high byte of the first letter of the header.
  const bool bom16 = bytes.substr(0, 2) == "\xFF\xFE";
  if (bom16 || (bytes.size() >= 2 && bytes[0] != 0 && bytes[1] == 0)) {
    split(Utf16LeToUtf8(bytes.substr(bom16 ? 2 : 0)), false);
  } else {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    split(bytes, true);
  }
  return std::nullopt;
}

class Parser {
 public:
  explicit Parser(std::vector<std::string> lines) : lines_(std::move(lines)) {}

  RegParseResult Run() {
    RegParseResult result;
    try {
      ParseHeader();
      std::string_view line;
      while (NextLine(line)) ParseLine(line);
      result.document = std::move(document_);
    } catch (RegParseError& error) {
      result.error = std::move(error);
    }
    return result;
  }

 private:
  enum class State { BeforeKey, InKey, Skipping };

  [[noreturn]] void Fail(std::string message) const {
    throw RegParseError{lineNo_, std::move(message)};
  }

  bool NextLine(std::string_view& line) {
    if (lineNo_ >= lines_.size()) return false;
    line = lines_[lineNo_++];
    return true;
  }

  void ParseHeader() {
    std::string_view first;
    NextLine(first);
    first = TrimRight(first);
    if (first == kHeader5) {
      unicode_ = true;
    } else if (first == kHeader4) {
      unicode_ = false;
    } else {
      lineNo_ = 1;
      Fail("not a registry file: the first line must be \"" + std::string(kHeader5) + "\" or \"" +
           std::string(kHeader4) + "\"");
    }
  }

  void ParseLine(std::string_view line) {
    line = TrimRight(TrimLeft(line));
    if (line.empty() || line.front() == ';') return;
    if (line.front() == '[') return ParseKeyLine(line);
    if (state_ == State::Skipping) return;
    if (line.front() == '"' || line.front() == '@') {
      if (state_ == State::BeforeKey) Fail("a value needs a [key] line above it");
      return ParseValueLine(line);
    }
    Fail("expected \"name\"=value, @=value or [key]");
  }

  void ParseKeyLine(std::string_view line) {
    if (line.back() != ']' || line.size() < 2) Fail("expected \"]\" at the end of the key line");
    std::string_view inner = line.substr(1, line.size() - 2);
    const bool deletion = !inner.empty() && inner.front() == '-';
    if (deletion) inner.remove_prefix(1);
    const auto rootEnd = inner.find('\\');
    const std::string_view root = inner.substr(0, rootEnd);
    const std::string_view path =
        rootEnd == std::string_view::npos ? std::string_view() : inner.substr(rootEnd + 1);
    const auto hive = HiveFromName(root);
    if (!hive) {
      if (!IsOtherHive(root)) {
        Fail("unknown registry root \"" + std::string(root) +
             "\": expected HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE or HKEY_CLASSES_ROOT");
      }
      state_ = State::Skipping;
      return;
    }
    const std::size_t depth = SplitKeyPath(path).size();
    if (depth > kMaxRegKeyDepth) {
      Fail("the key path is more than " + std::to_string(kMaxRegKeyDepth) + " levels deep");
    }
    if (deletion) {
      if (depth == 0) Fail("a whole hive cannot be deleted");
      key_ = nullptr;  // it may be the key just deleted
      indexes_.clear();
      document_.tree.DeleteKey(*hive, path);
      document_.deletions.push_back(RegDeletion{*hive, std::string(path), std::nullopt});
      // What follows a deleted key until the next key line is ignored.
      state_ = State::Skipping;
      return;
    }
    hive_ = *hive;
    key_ = &document_.tree.CreateKey(*hive, path);
    state_ = State::InKey;
  }

  // Reads a quoted text whose only escapes are \\ and \" (any other backslash
  // stands for itself); returns the rest of the line after the closing quote,
  // or nullopt when the quote is not closed.
  static std::optional<std::string_view> ParseQuoted(std::string_view text, std::string& out) {
    out.clear();
    for (std::size_t i = 1; i < text.size(); ++i) {
      const char c = text[i];
      if (c == '"') return text.substr(i + 1);
      if (c == '\\' && i + 1 < text.size() && (text[i + 1] == '\\' || text[i + 1] == '"')) {
        out += text[++i];
      } else {
        out += c;
      }
    }
    return std::nullopt;
  }

  void ExpectEnd(std::string_view rest, const std::string& name) const {
    rest = TrimLeft(rest);
    if (!rest.empty() && rest.front() != ';') {
      Fail("unexpected text after the value of " + Quote(name) + ": \"" + std::string(rest) + "\"");
    }
  }

  void ParseValueLine(std::string_view line) {
    std::string name;
    std::string_view rest;
    if (line.front() == '@') {
      rest = line.substr(1);
    } else {
      const auto afterName = ParseQuoted(line, name);
      if (!afterName) Fail("the value name has no closing quote");
      rest = *afterName;
    }
    rest = TrimLeft(rest);
    if (rest.empty() || rest.front() != '=') {
      Fail("expected \"=\" after the value name " + Quote(name));
    }
    rest = TrimLeft(rest.substr(1));

    if (!rest.empty() && rest.front() == '"') {
      std::string text;
      const auto after = ParseQuoted(rest, text);
      if (!after) Fail("the text of " + Quote(name) + " has no closing quote");
      ExpectEnd(*after, name);
      return Set(name, RegValue::String(text));
    }
    if (!rest.empty() && rest.front() == '-') {
      ExpectEnd(rest.substr(1), name);
      document_.tree.DeleteValue(hive_, key_->path, name);
      document_.deletions.push_back(RegDeletion{hive_, key_->path, name});
      indexes_.erase(key_);
      return;
    }
    if (StartsWithNoCase(rest, "dword:")) {
      rest.remove_prefix(6);
      const auto digits =
          std::find_if(rest.begin(), rest.end(), [](char c) { return HexDigit(c) < 0; });
      const std::string_view number =
          rest.substr(0, static_cast<std::size_t>(digits - rest.begin()));
      const auto value = ParseHexNumber(number, 8);
      if (!value) {
        Fail("the dword value of " + Quote(name) + " must be 1 to 8 hex digits, as dword:0000002a");
      }
      ExpectEnd(rest.substr(number.size()), name);
      return Set(name, RegValue::Dword(*value));
    }
    std::uint32_t type = regtype::kBinary;
    if (StartsWithNoCase(rest, "hex:")) {
      rest.remove_prefix(4);
    } else if (StartsWithNoCase(rest, "hex(")) {
      const auto close = rest.find(')');
      const auto number = close == std::string_view::npos
                              ? std::nullopt
                              : ParseHexNumber(rest.substr(4, close - 4), 8);
      if (!number || rest.substr(close + 1, 1) != ":") {
        Fail("the type of " + Quote(name) +
             " must be hex(N): with N of 1 to 8 hex digits, as hex(2):");
      }
      type = *number;
      rest.remove_prefix(close + 2);
    } else {
      Fail("the value of " + Quote(name) +
           " is not understood: expected \"text\", dword:, hex:, hex(N): or -");
    }
    std::string bytes = ParseHexBytes(rest, name);
    if (IsStringType(type)) bytes = unicode_ ? Utf16LeToUtf8(bytes) : Utf8OrWindows1252(bytes);
    Set(name, RegValue{type, std::vector<std::uint8_t>(bytes.begin(), bytes.end())});
  }

  // Comma-separated bytes; a backslash at the end of a line continues the
  // data on the next one.
  std::string ParseHexBytes(std::string_view rest, const std::string& name) {
    std::string bytes;
    for (;;) {
      rest = TrimLeft(rest);
      if (rest.empty() || rest.front() == ';') return bytes;
      if (rest.front() == '\\') {
        ExpectEnd(rest.substr(1), name);
        // A file that ends here has simply no more data.
        if (!NextLine(rest)) return bytes;
        rest = TrimRight(rest);
        continue;
      }
      const auto tokenEnd = std::min(rest.find_first_of(",\\; \t"), rest.size());
      const std::string_view token = rest.substr(0, tokenEnd);
      const auto byte = ParseHexNumber(token, 2);
      if (token.empty()) Fail("a hex byte is missing in the value of " + Quote(name));
      if (!byte) {
        Fail(Quote(token) + " is not a hex byte (00 to ff) in the value of " + Quote(name));
      }
      bytes += static_cast<char>(*byte);
      rest = TrimLeft(rest.substr(tokenEnd));
      if (!rest.empty() && rest.front() == ',') {
        rest.remove_prefix(1);
      } else if (!rest.empty() && rest.front() != '\\' && rest.front() != ';') {
        Fail("expected \",\" between the hex bytes of " + Quote(name));
      }
    }
  }

  // Sets a value of the current key as RegTree::SetValue would, but through
  // an index, so that a key with thousands of values still reads in linear
  // time.
  void Set(const std::string& name, RegValue value) {
    auto [indexed, fresh] = indexes_.try_emplace(key_);
    auto& index = indexed->second;
    if (fresh) {
      for (std::size_t i = 0; i < key_->values.size(); ++i) {
        index.emplace(LowerAscii(key_->values[i].first), i);
      }
    }
    const auto [it, added] = index.try_emplace(LowerAscii(name), key_->values.size());
    if (added) {
      key_->values.emplace_back(name, std::move(value));
    } else {
      key_->values[it->second].second = std::move(value);
    }
  }

  std::vector<std::string> lines_;
  std::size_t lineNo_ = 0;  // of the line read last
  bool unicode_ = true;
  State state_ = State::BeforeKey;
  Hive hive_ = Hive::CurrentUser;
  RegTree::Key* key_ = nullptr;  // the key of the last key line, in document_.tree
  // Per key: lower-cased value name -> position. Dropped where a deletion
  // moves values or frees keys.
  std::unordered_map<const RegTree::Key*, std::unordered_map<std::string, std::size_t>> indexes_;
  RegDocument document_;
};

// --- writing ---

std::string Escape(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  for (const char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out;
}

// A REG_SZ whose data is one line of UTF-8 text with a single terminating
// NUL is written as "text"; every other value as hex so that nothing changes.
bool IsPlainText(const RegValue& value) {
  const auto& data = value.data;
  if (value.type != regtype::kSz || data.empty() || data.back() != 0) return false;
  const std::string_view text(reinterpret_cast<const char*>(data.data()), data.size() - 1);
  return text.find_first_of(std::string_view("\0\r\n", 3)) == std::string_view::npos &&
         IsValidUtf8(text);
}

void AppendHex(std::string& out, std::string_view prefix, std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  out += prefix;
  std::size_t column = prefix.size();
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    out += kDigits[b >> 4];
    out += kDigits[b & 0xF];
    column += 2;
    if (i + 1 == bytes.size()) break;
    out += ',';
    ++column;
    // Room for one more byte, its comma and the backslash?
    if (column + 4 > kLineLimit) {
      out += "\\\r\n  ";
      column = 2;
    }
  }
  out += "\r\n";
}

void AppendValue(std::string& out, std::string_view name, const RegValue& value) {
  std::string prefix = "@=";
  if (!name.empty()) {
    prefix = "\"";
    prefix += Escape(Utf8OrWindows1252(name));
    prefix += "\"=";
  }
  const std::string_view data(reinterpret_cast<const char*>(value.data.data()), value.data.size());
  if (IsPlainText(value)) {
    out += prefix + "\"" + Escape(data.substr(0, data.size() - 1)) + "\"\r\n";
    return;
  }
  if (value.type == regtype::kDword && data.size() == 4) {
    std::uint32_t number = 0;
    for (int i = 3; i >= 0; --i) number = (number << 8) | value.data[static_cast<std::size_t>(i)];
    char digits[9];
    for (int i = 7; i >= 0; --i, number >>= 4) digits[i] = "0123456789abcdef"[number & 0xF];
    digits[8] = 0;
    out += prefix + "dword:" + digits + "\r\n";
    return;
  }
  std::string type = "hex";
  if (value.type != regtype::kBinary) {
    char digits[9];
    int n = 0;
    std::uint32_t number = value.type;
    do {
      digits[n++] = "0123456789abcdef"[number & 0xF];
      number >>= 4;
    } while (number != 0);
    type += '(';
    while (n > 0) type += digits[--n];
    type += ')';
  }
  // In a version 5.00 file the string types are stored as UTF-16LE.
  AppendHex(out, prefix + type + ":",
            IsStringType(value.type) ? Utf8ToUtf16Le(data) : std::string(data));
}

std::string SerializeKeys(const std::vector<const RegTree::Key*>& keys) {
  std::string text(kHeader5);
  text += "\r\n\r\n";
  for (const auto* key : keys) {
    text += "[";
    text += HiveName(key->hive);
    if (!key->path.empty()) {
      text += '\\';
      text += Utf8OrWindows1252(key->path);
    }
    text += "]\r\n";
    for (const auto& [name, value] : key->values) AppendValue(text, name, value);
    text += "\r\n";
  }
  return "\xFF\xFE" + Utf8ToUtf16Le(text);
}

}  // namespace

std::string RegParseError::Text() const { return "line " + std::to_string(line) + ": " + message; }

RegParseResult ParseRegFile(std::string_view bytes) {
  std::vector<std::string> lines;
  if (auto error = DecodeLines(bytes, lines)) return RegParseResult{{}, std::move(error)};
  return Parser(std::move(lines)).Run();
}

std::string SerializeRegFile(const RegTree& tree) { return SerializeKeys(tree.Keys()); }

std::optional<std::string> SerializeRegKey(const RegTree& tree, Hive hive,
                                           std::string_view keyPath) {
  if (!tree.KeyExists(hive, keyPath)) return std::nullopt;
  const auto wanted = SplitKeyPath(keyPath);
  std::vector<const RegTree::Key*> keys;
  for (const auto* key : tree.Keys()) {
    const auto parts = SplitKeyPath(key->path);
    if (key->hive == hive && parts.size() >= wanted.size() &&
        std::equal(wanted.begin(), wanted.end(), parts.begin())) {
      keys.push_back(key);
    }
  }
  return SerializeKeys(keys);
}

bool RegFileCanHold(std::string_view keyPath, std::string_view valueName, const RegValue& value) {
  const auto oneLine = [](std::string_view text) {
    return IsValidUtf8(text) && text.find_first_of("\r\n") == std::string_view::npos;
  };
  if (!oneLine(keyPath) || !oneLine(valueName)) return false;
  if (SplitKeyPath(keyPath).size() > kMaxRegKeyDepth) return false;
  if (!IsStringType(value.type)) return true;
  return IsValidUtf8(
      std::string_view(reinterpret_cast<const char*>(value.data.data()), value.data.size()));
}

}  // namespace quorvella
