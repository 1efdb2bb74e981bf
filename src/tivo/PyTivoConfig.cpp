// SPDX-License-Identifier: MIT
#include "tivo/PyTivoConfig.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>

#include "platform/NativePath.h"
#include "platform/Text.h"
#include "tivo/IniFile.h"
#include "tivo/PublishedFolders.h"

namespace quorvella {
namespace fs = std::filesystem;

namespace {

// The sections that are no share: the server's own, the defaults of every
// section, and those of the TiVos.
constexpr std::string_view kServerSection = "Server";
constexpr std::string_view kDefaultSection = "DEFAULT";
constexpr std::string_view kTiVoSectionPrefix = "_tivo_";

std::string Strip(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r\n\f\v");
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(" \t\r\n\f\v") - first + 1));
}

bool ReadWholeFile(const fs::path& path, std::string& bytes, std::string& error) {
  std::error_code ec;
  if (fs::is_directory(path, ec)) {
    error = "it is a folder";
    return false;
  }
#ifdef _WIN32
  std::FILE* file = _wfopen(path.c_str(), L"rb");
#else
  std::FILE* file = std::fopen(path.c_str(), "rb");
#endif
  if (file == nullptr) {
    error = std::strerror(errno);
    return false;
  }
  char buffer[16384];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
  const bool failed = std::ferror(file) != 0;
  if (failed) error = std::strerror(errno);
  std::fclose(file);
  return !failed;
}

// The sections of every file read, merged as configparser merges them: the
// sections in the order they first appear, a later value replacing an
// earlier one. Value names are compared in lower case, section names as
// they are.
class MergedConfig {
 public:
  void Add(const IniFile& file) {
    for (const IniSection& section : file.sections) {
      auto [it, added] = index_.try_emplace(section.name, sections_.size());
      if (added) sections_.push_back({section.name, {}});
      auto& values = sections_[it->second].second;
      for (const IniValue& value : section.values) values[LowerAscii(value.name)] = value.value;
    }
  }

  std::vector<std::string> SectionNames() const {
    std::vector<std::string> names;
    for (const auto& section : sections_) names.push_back(section.first);
    return names;
  }

  // The section's value, or the DEFAULT section's, as configparser's get.
  std::optional<std::string> Get(const std::string& section, std::string_view name) const {
    for (const std::string* owner : {&section, &defaultName_}) {
      const auto it = index_.find(*owner);
      if (it == index_.end()) continue;
      const auto& values = sections_[it->second].second;
      if (const auto value = values.find(std::string(name)); value != values.end()) {
        return value->second;
      }
    }
    return std::nullopt;
  }

 private:
  const std::string defaultName_{kDefaultSection};
  std::vector<std::pair<std::string, std::map<std::string, std::string>>> sections_;
  std::map<std::string, std::size_t> index_;
};

PyTivoShare MakeShare(const std::string& name, const std::string& path) {
  PyTivoShare share{name, path, PyTivoShareState::NoPath, {}};
  if (path.empty()) return share;
  const fs::path folder = NativePath(path);
  if (!folder.is_absolute()) {
    share.state = PyTivoShareState::RelativePath;
    return share;
  }
  std::error_code ec;
  const fs::file_status status = fs::status(folder, ec);
  if (!fs::exists(status)) {
    share.state = PyTivoShareState::Missing;
  } else if (!fs::is_directory(status)) {
    share.state = PyTivoShareState::NotAFolder;
  } else {
    share.state = PyTivoShareState::Published;
    fs::path normal = folder.lexically_normal();
    // "/srv/m/" is "/srv/m"; "/" and C:\ stay.
    if (!normal.has_filename() && normal.has_relative_path()) normal = normal.parent_path();
    share.folder = Utf8Path(normal);
  }
  return share;
}

std::vector<std::string> ReadCommandLine(const fs::path& file) {
  std::string bytes;
  std::string error;
  if (!ReadWholeFile(file, bytes, error)) return {};
  std::vector<std::string> argv;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\0', start);
    if (end == std::string::npos) end = bytes.size();
    argv.push_back(bytes.substr(start, end - start));
    start = end + 1;
  }
  return argv;
}

}  // namespace

std::string GetPyTivoConfigSetting(const RegUtil& reg) {
  return TrimSpaces(reg.RegGetString(Hive::CurrentUser, PyTivoKey, PyTivoConfigValueName));
}

void SetPyTivoConfigSetting(const RegUtil& reg, std::string_view path) {
  reg.RegSetString(Hive::CurrentUser, PyTivoKey, PyTivoConfigValueName, TrimSpaces(path));
}

std::optional<std::vector<std::string>> PyTivoCommandLineConfigFiles(
    const std::vector<std::string>& argv, const fs::path& processFolder,
    const fs::path& systemConfig) {
  const auto script = std::find_if(argv.begin(), argv.end(), [](const std::string& arg) {
    return fs::path(arg).filename() == "pyTivo.py";
  });
  if (script == argv.end()) return std::nullopt;
  if (script != argv.begin() && !fs::path(argv.front()).filename().string().starts_with("python")) {
    return std::nullopt;
  }
  const auto place = [&](const std::string& name) -> std::optional<std::string> {
    const fs::path path(name);
    if (path.is_absolute()) return path.lexically_normal().string();
    if (processFolder.empty() || name.empty()) return std::nullopt;
    return (processFolder / path).lexically_normal().string();
  };

  // pyTivo's options as getopt reads them ("c:e:", "config="): they end at
  // "--" or at the first argument that is no option.
  std::optional<std::string> config;
  std::vector<std::string> extra;
  for (auto arg = script + 1; arg != argv.end(); ++arg) {
    const std::string& text = *arg;
    if (text == "--" || text.size() < 2 || text.front() != '-') break;
    const auto valueAfter = [&](std::string rest) -> std::optional<std::string> {
      if (!rest.empty()) return rest;
      if (arg + 1 == argv.end()) return std::nullopt;
      return *++arg;
    };
    if (text.starts_with("--")) {
      const std::size_t equals = text.find('=');
      const std::string name = text.substr(2, equals == std::string::npos ? equals : equals - 2);
      // getopt takes any unambiguous beginning of a long option's name.
      if (!name.empty() && std::string_view("config").starts_with(name)) {
        config = equals == std::string::npos ? valueAfter("") : text.substr(equals + 1);
      }
      continue;
    }
    for (std::size_t k = 1; k < text.size(); ++k) {
      if (text[k] != 'c' && text[k] != 'e') continue;
      const auto value = valueAfter(text.substr(k + 1));
      if (value && text[k] == 'c') config = *value;
      if (value && text[k] == 'e') extra.push_back(*value);
      break;
    }
  }

  std::vector<std::string> files;
  const auto add = [&](const std::string& name) {
    if (const auto path = place(name)) files.push_back(*path);
  };
  if (config) {
    add(*config);
  } else {
    if (!systemConfig.empty()) files.push_back(systemConfig.string());
    if (const auto scriptPath = place(*script)) {
      files.push_back((fs::path(*scriptPath).parent_path() / "pyTivo.conf").string());
    }
  }
  for (const auto& name : extra) add(name);
  return files;
}

PyTivoConfigFiles FindPyTivoConfig(const RegUtil& reg, const PyTivoPlaces& places) {
  if (std::string setting = GetPyTivoConfigSetting(reg); !setting.empty()) {
    return {PyTivoConfigSource::Setting, {std::move(setting)}, 0, 0};
  }

  std::vector<PyTivoConfigFiles> running;
  std::error_code ec;
  for (fs::directory_iterator it(places.procRoot, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.empty() || !std::all_of(name.begin(), name.end(), [](char c) {
          return c >= '0' && c <= '9';
        })) {
      continue;
    }
    const auto argv = ReadCommandLine(it->path() / "cmdline");
    if (argv.empty()) continue;
    std::error_code linkError;
    // Only one's own processes (or root) may read where another process
    // stands; a relative name is then left out.
    const fs::path folder = fs::read_symlink(it->path() / "cwd", linkError);
    auto files = PyTivoCommandLineConfigFiles(argv, linkError ? fs::path() : folder,
                                              places.systemConfig);
    if (!files) continue;
    const auto owner = ProcessOwner(it->path());
    if (!owner) continue;
    running.push_back({PyTivoConfigSource::Process, std::move(*files), std::stol(name), *owner});
  }
  std::sort(running.begin(), running.end(), [&](const auto& a, const auto& b) {
    const bool aMine = a.user == places.currentUser;
    const bool bMine = b.user == places.currentUser;
    return aMine != bMine ? aMine : a.pid < b.pid;
  });
  if (!running.empty()) return running.front();

  if (fs::exists(places.systemConfig, ec)) {
    return {PyTivoConfigSource::System, {places.systemConfig.string()}, 0, 0};
  }
  return {};
}

PyTivoConfig ReadPyTivoConfigFiles(const PyTivoConfigFiles& found) {
  PyTivoConfig config;
  config.found = found;
  MergedConfig merged;
  for (const std::string& file : found.files) {
    std::string bytes;
    std::string error;
    if (!ReadWholeFile(NativePath(file), bytes, error)) {
      if (found.source == PyTivoConfigSource::Setting) config.problems.push_back({file, 0, error});
      continue;
    }
    config.filesRead.push_back(file);
    const IniFile ini = ParseIni(bytes);
    for (const IniDamage& damage : ini.damage) {
      config.problems.push_back({file, damage.line, damage.text});
    }
    merged.Add(ini);
  }

  for (const std::string& section : merged.SectionNames()) {
    if (section.starts_with(kTiVoSectionPrefix)) {
      if (const auto shares = merged.Get(section, "shares")) {
        PyTivoTiVo tivo{section, {}};
        std::size_t start = 0;
        while (start <= shares->size()) {
          std::size_t comma = shares->find(',', start);
          if (comma == std::string::npos) comma = shares->size();
          std::string name = Strip(std::string_view(*shares).substr(start, comma - start));
          if (!name.empty()) tivo.shares.push_back(std::move(name));
          start = comma + 1;
        }
        config.tivos.push_back(std::move(tivo));
      }
      continue;
    }
    if (section == kServerSection || section == kDefaultSection) continue;
    if (Strip(merged.Get(section, "type").value_or("")) != "music") continue;
    config.musicShares.push_back(MakeShare(section, Strip(merged.Get(section, "path").value_or(""))));
  }
  return config;
}

PyTivoConfig ReadPyTivoConfig(const RegUtil& reg, const PyTivoPlaces& places) {
  return ReadPyTivoConfigFiles(FindPyTivoConfig(reg, places));
}

std::vector<std::string> PyTivoConfig::PublishedFolders() const {
  std::vector<std::string> folders;
  for (const PyTivoShare& share : musicShares) {
    if (share.state == PyTivoShareState::Published) folders.push_back(share.folder);
  }
  return folders;
}

const PyTivoShare* PyTivoConfig::ShareHolding(std::string_view folder) const {
  const PyTivoShare* holding = nullptr;
  for (const PyTivoShare& share : musicShares) {
    if (share.state != PyTivoShareState::Published) continue;
    if (!IsFolderPublished(folder, std::vector<std::string>{share.folder})) continue;
    if (holding == nullptr || share.folder.size() < holding->folder.size()) holding = &share;
  }
  return holding;
}

}  // namespace quorvella
