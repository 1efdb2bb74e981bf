// SPDX-License-Identifier: MIT
#include "library/xml/FileUrl.h"

namespace quorvella {
namespace {

bool EqualsAsciiNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Copies a URL path into `out`, decoding escapes and turning '/' into
// `separator`. Separators are translated before decoding, so an escaped
// slash (%2F) stays a character of its file name.
char* DecodePath(std::string_view path, char separator, char* out) {
  for (std::size_t i = 0; i < path.size(); ++i) {
    const char c = path[i];
    if (c == '%' && i + 2 < path.size()) {
      const int high = HexValue(path[i + 1]);
      const int low = HexValue(path[i + 2]);
      if (high >= 0 && low >= 0 && (high | low) != 0) {
        *out++ = static_cast<char>(high * 16 + low);
        i += 2;
        continue;
      }
    }
    *out++ = c == '/' ? separator : c;
  }
  return out;
}

}  // namespace

bool IsFileUrl(std::string_view url) {
  return url.size() >= 5 && EqualsAsciiNoCase(url.substr(0, 5), "file:");
}

std::optional<std::size_t> FileUrlToPath(std::string_view url, char* out) {
  if (!IsFileUrl(url)) return std::nullopt;
  std::string_view rest = url.substr(5);

  // The host: none, "localhost", or a server whose share the path continues.
  std::string_view server;
  if (rest.starts_with("//")) {
    rest.remove_prefix(2);
    const std::size_t slash = rest.find('/');
    const std::string_view host = rest.substr(0, slash);
    rest = slash == std::string_view::npos ? std::string_view{} : rest.substr(slash);
    if (!host.empty() && !EqualsAsciiNoCase(host, "localhost")) server = host;
  }

  char* const start = out;
  if (!server.empty()) {
    *out++ = '\\';
    *out++ = '\\';
    out = DecodePath(server, '\\', out);
    out = DecodePath(rest, '\\', out);
    return static_cast<std::size_t>(out - start);
  }
  if (rest.starts_with("//")) {
    // A share named through localhost: "//server/share/x".
    out = DecodePath(rest, '\\', out);
    return static_cast<std::size_t>(out - start);
  }
  // A drive letter, with or without the slash in front ("/C:/x", "C:/x"; the
  // old form "C|" too).
  std::string_view drive = rest.starts_with('/') ? rest.substr(1) : rest;
  if (drive.size() >= 2 && IsAsciiLetter(drive[0]) && (drive[1] == ':' || drive[1] == '|') &&
      (drive.size() == 2 || drive[2] == '/')) {
    *out++ = drive[0];
    *out++ = ':';
    out = DecodePath(drive.substr(2), '\\', out);
    return static_cast<std::size_t>(out - start);
  }
  out = DecodePath(rest, '/', out);
  return static_cast<std::size_t>(out - start);
}

std::optional<std::string> FileUrlToPath(std::string_view url) {
  std::string path(url.size(), '\0');
  const std::optional<std::size_t> length = FileUrlToPath(url, path.data());
  if (!length) return std::nullopt;
  path.resize(*length);
  return path;
}

}  // namespace quorvella
