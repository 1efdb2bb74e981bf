// SPDX-License-Identifier: MIT
#include "tivo/IniFile.h"

#include <windows.h>

#include <string>

#include "platform/windows/WideText.h"

// Windows reads the file with its own INI reader (GetPrivateProfileSection*),
// which takes INI text differently from the one the POSIX build uses:
// - section names are compared without letter case, and a name given twice
//   is one section, named as first written;
// - an indented line is a value of its own, never a continuation;
// - lines are not reported as damaged, and no value knows its line (0);
//   a line without "=" or ":" is left out, as are values before the first
//   section.
// Only ":" as a separator is taken here, at the first "=" or ":" of a line,
// so that pyTivo's "name: value" lines count.
namespace quorvella {
namespace {

// The reader only reads files: the text goes into a temporary one, in
// UTF-16 with its byte order mark so that any name survives.
class TemporaryIniFile {
 public:
  explicit TemporaryIniFile(std::string_view text) {
    wchar_t folder[MAX_PATH + 1] = {};
    wchar_t name[MAX_PATH + 1] = {};
    if (GetTempPathW(MAX_PATH + 1, folder) == 0 || GetTempFileNameW(folder, L"ini", 0, name) == 0) return;
    path_ = name;
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    std::wstring wide = L"\xFEFF" + Utf8ToWide(text);
    const HANDLE file =
        CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, wide.data(), static_cast<DWORD>(wide.size() * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(file);
  }
  ~TemporaryIniFile() {
    if (!path_.empty()) DeleteFileW(path_.c_str());
  }
  TemporaryIniFile(const TemporaryIniFile&) = delete;
  TemporaryIniFile& operator=(const TemporaryIniFile&) = delete;

  const std::wstring& path() const { return path_; }

 private:
  std::wstring path_;
};

// Both calls fill a buffer with strings each ended by a NUL, the last by two;
// a full buffer comes back as its size less two.
template <typename Read>
std::wstring ReadList(Read read) {
  std::wstring buffer(4096, L'\0');
  for (;;) {
    const DWORD length = read(buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length + 2 < buffer.size()) {
      buffer.resize(length);
      return buffer;
    }
    buffer.resize(buffer.size() * 4);
  }
}

template <typename Each>
void ForEachString(const std::wstring& list, Each each) {
  std::size_t start = 0;
  while (start < list.size()) {
    std::size_t end = list.find(L'\0', start);
    if (end == std::wstring::npos) end = list.size();
    if (end > start) each(std::wstring_view(list).substr(start, end - start));
    start = end + 1;
  }
}

std::string Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

}  // namespace

IniFile ParseIni(std::string_view text) {
  IniFile file;
  const TemporaryIniFile temporary(text);
  if (temporary.path().empty()) return file;
  const wchar_t* path = temporary.path().c_str();
  const std::wstring names = ReadList(
      [path](wchar_t* buffer, DWORD size) { return GetPrivateProfileSectionNamesW(buffer, size, path); });
  ForEachString(names, [&](std::wstring_view name) {
    const std::wstring section(name);
    const std::wstring entries = ReadList([&](wchar_t* buffer, DWORD size) {
      return GetPrivateProfileSectionW(section.c_str(), buffer, size, path);
    });
    IniSection current{WideToUtf8(section), {}};
    ForEachString(entries, [&](std::wstring_view entry) {
      const std::string line = WideToUtf8(entry);
      const std::size_t separator = line.find_first_of("=:");
      if (line.starts_with('#') || line.starts_with(';') || separator == std::string::npos) return;
      current.values.push_back({Trimmed(line.substr(0, separator)), Trimmed(line.substr(separator + 1)), 0});
    });
    if (!current.values.empty()) file.sections.push_back(std::move(current));
  });
  return file;
}

}  // namespace quorvella
