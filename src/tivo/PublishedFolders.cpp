// SPDX-License-Identifier: MIT
#include "tivo/PublishedFolders.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "platform/NativePath.h"
#include "platform/PathRules.h"
#include "platform/Text.h"
#include "platform/UserFolders.h"
#include "tivo/PyTivoConfig.h"
#include "tivo/ShellLink.h"

namespace quorvella {
namespace fs = std::filesystem;

namespace {

// A folder text in the form its prefix test compares: with its separator at
// the end, and lower-cased when it is a Windows path.
std::string ComparableFolder(std::string_view folder) {
  std::string text = AddBackslash(folder);
  return DialectOf(text) == PathDialect::Windows ? LowerCase(text) : text;
}

// Only an absolute path is tested: a Windows path on Linux (or the reverse)
// would otherwise be taken relative to the current folder.
bool IsExistingFolder(const std::string& target) {
  const fs::path path = NativePath(target);
  std::error_code ec;
  return path.is_absolute() && fs::is_directory(path, ec);
}

}  // namespace

fs::path LocalAppDataFolder() { return DataFolder(); }

fs::path MusicShortcutFolder() {
  const fs::path base = LocalAppDataFolder();
  return base.empty() ? fs::path() : base / "TiVo Desktop" / "Music";
}

namespace {

ShortcutItem ReadShortcutItem(const fs::directory_entry& item) {
  ShortcutItem result{Utf8Path(item.path().filename()), {}, ShortcutOutcome::NotAShortcut};
  std::error_code ec;
  if (item.is_symlink(ec)) {
    const fs::path target = fs::read_symlink(item.path(), ec);
    if (ec || target.empty()) {
      result.outcome = ShortcutOutcome::NoTarget;
      return result;
    }
    result.target = target.is_absolute()
                        ? Utf8Path(target)
                        : Utf8Path((item.path().parent_path() / target).lexically_normal());
  } else if (item.is_regular_file(ec) &&
             LowerAscii(Utf8Path(item.path().extension())) == ".lnk") {
    // Shortcut files are known by their extension, in any letter case.
    std::ifstream in(item.path(), std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>()};
    const auto link = ReadShellLink(bytes);
    if (!link) {
      result.outcome = ShortcutOutcome::Damaged;
      return result;
    }
    result.target = ShellLinkTarget(*link);
  } else {
    return result;
  }
  result.target = TrimSpaces(result.target);
  if (result.target.empty()) {
    result.outcome = ShortcutOutcome::NoTarget;
  } else if (!fs::path(result.target).is_absolute()) {
    // A Windows path on Linux would otherwise be taken relative to the
    // current folder.
    result.outcome = ShortcutOutcome::WindowsTarget;
  } else if (!fs::exists(result.target, ec)) {
    result.outcome = ShortcutOutcome::TargetMissing;
  } else if (!IsExistingFolder(result.target)) {
    result.outcome = ShortcutOutcome::NotAFolder;
  } else {
    result.outcome = ShortcutOutcome::Published;
  }
  return result;
}

}  // namespace

std::vector<ShortcutItem> ReadShortcutFolderItems(const fs::path& shortcutFolder) {
  std::error_code ec;
  if (shortcutFolder.empty() || !fs::is_directory(shortcutFolder, ec)) return {};
  std::vector<fs::directory_entry> entries;
  for (fs::directory_iterator it(shortcutFolder, ec), end; !ec && it != end; it.increment(ec)) {
    entries.push_back(*it);
  }
  std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
    return a.path().filename().native() < b.path().filename().native();
  });
  std::vector<ShortcutItem> items;
  for (const auto& entry : entries) items.push_back(ReadShortcutItem(entry));
  return items;
}

std::vector<std::string> ReadPublishedMusicFolders(const fs::path& shortcutFolder) {
  std::vector<std::string> folders;
  for (ShortcutItem& item : ReadShortcutFolderItems(shortcutFolder)) {
    if (item.outcome == ShortcutOutcome::Published) folders.push_back(std::move(item.target));
  }
  return folders;
}

std::vector<std::string> GetPublishedMusicFolders(const RegUtil& reg, const PyTivoPlaces& places) {
  std::vector<std::string> folders = ReadPublishedMusicFolders(MusicShortcutFolder());
  for (std::string& folder : ReadPyTivoConfig(reg, places).PublishedFolders()) {
    folders.push_back(std::move(folder));
  }
  return folders;
}

bool IsFolderPublished(std::string_view folder, const std::vector<std::string>& publishedFolders) {
  const std::string wanted = ComparableFolder(folder);
  if (wanted.empty()) return false;
  const PathDialect dialect = DialectOf(wanted);
  return std::any_of(publishedFolders.begin(), publishedFolders.end(), [&](const std::string& t) {
    const std::string published = ComparableFolder(t);
    return !published.empty() && DialectOf(published) == dialect && StartsWith(wanted, published);
  });
}

bool IsFolderPublished(std::string_view folder, const RegUtil& reg, const PyTivoPlaces& places) {
  if (AddBackslash(folder).empty()) return false;
  return IsFolderPublished(folder, GetPublishedMusicFolders(reg, places));
}

std::string UnpublishedFolderWarning(std::string_view folder) {
  std::string text = "The playlist folder which you have selected is:\r\n";
  text += folder;
  text += "\r\n\r\n";
  text += "This folder has not been published as a Music folder in TiVo Desktop, and therefore your";
  text += " TiVo box will not be able to play any playlists in this folder.";
  return text;
}

Message UnpublishedFolderQuestion(std::string_view folder) {
  return Message{UnpublishedFolderWarning(folder) +
                     "\r\n\r\nAre you sure that you want to use this playlist folder?",
                 MsgIcon::Question, MsgButtons::YesNo, MsgAnswer::No};
}

}  // namespace quorvella
