// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/RegUtil.h"
#include "tivo/ProcessUser.h"

// pyTivo's configuration as far as publishing playlists goes: which file it
// reads, its music shares (each a published folder) and which shares each
// TiVo sees. Read afresh at every use, like TiVo Desktop's shortcut folder;
// pyTivo's files are never written.
namespace quorvella {

// The configuration file the user named (quorvella-cli options
// --pytivo-config FILE), under the program's own key (HKEY_CURRENT_USER).
inline constexpr std::string_view PyTivoKey = "Software\\Brenlow Software\\Quorvella\\pyTivo";
inline constexpr std::string_view PyTivoConfigValueName = "ConfigFile";

std::string GetPyTivoConfigSetting(const RegUtil& reg);
// An empty path clears the setting, so that the file is looked for again.
void SetPyTivoConfigSetting(const RegUtil& reg, std::string_view path);

// Where the search looks besides the setting; tests put their own places in.
struct PyTivoPlaces {
  std::filesystem::path procRoot = "/proc";
#ifdef _WIN32
  // pyTivo on Windows runs from a folder of the user's choosing, with its
  // file beside it; there is no system-wide file to look for.
  std::filesystem::path systemConfig;
#else
  std::filesystem::path systemConfig = "/etc/pyTivo.conf";
#endif
  ProcessUser currentUser = CurrentProcessUser();
};

enum class PyTivoConfigSource {
  None,     // nothing found: no shares
  Setting,  // the file the user named
  Process,  // what a running pyTivo reads
  System,   // /etc/pyTivo.conf, with no pyTivo running
};

// Which files the configuration is read from, in pyTivo's order (a later
// file's value wins), and how they were found.
struct PyTivoConfigFiles {
  PyTivoConfigSource source = PyTivoConfigSource::None;
  std::vector<std::string> files;
  long pid = 0;           // the pyTivo process, for Process
  ProcessUser user = 0;  // the user it runs as
};

// The files a pyTivo command line reads: only the file of -c FILE (also
// -cFILE, --config=FILE, --config FILE) when given, otherwise
// systemConfig (when there is one) and pyTivo.conf beside pyTivo.py; each
// -e FILE adds one more. Relative names are taken from the process's folder.
// nullopt when the command line is not pyTivo's: a Python interpreter (or
// pyTivo.py itself) running a script named pyTivo.py. A relative name that
// cannot be placed (the process's folder is unknown) is left out.
std::optional<std::vector<std::string>> PyTivoCommandLineConfigFiles(
    const std::vector<std::string>& argv, const std::filesystem::path& processFolder,
    const std::filesystem::path& systemConfig);

// The search, in this order: the setting; a running pyTivo (one of the
// current user's first, then one of any user, as a service runs; the lowest
// process number of each); the system-wide file when there is one and it
// exists.
PyTivoConfigFiles FindPyTivoConfig(const RegUtil& reg, const PyTivoPlaces& places = {});

// Why a music share counts as published or not.
enum class PyTivoShareState { Published, NoPath, RelativePath, Missing, NotAFolder };

struct PyTivoShare {
  std::string name;  // the section's name, case as written
  std::string path;  // as written, trimmed
  PyTivoShareState state = PyTivoShareState::NoPath;
  // The path normalised ("." and ".." taken away, no trailing "/"), for
  // Published shares.
  std::string folder;
};

// A [_tivo_...] section with a shares line: the shares that TiVo sees.
struct PyTivoTiVo {
  std::string section;
  std::vector<std::string> shares;
};

// A file that could not be read (line 0, with the reason), or a damaged line.
struct PyTivoConfigProblem {
  std::string file;
  int line = 0;
  std::string text;
};

struct PyTivoConfig {
  PyTivoConfigFiles found;
  std::vector<std::string> filesRead;
  std::vector<PyTivoConfigProblem> problems;
  std::vector<PyTivoShare> musicShares;  // in the order of their sections
  std::vector<PyTivoTiVo> tivos;

  // The folders of the published music shares, in order.
  std::vector<std::string> PublishedFolders() const;
  // The published music share that holds folder (compared as text, the
  // trailing "/" on both sides, letter case as the file system has it); of
  // nested shares the outermost, which serves the most songs. Null when none.
  const PyTivoShare* ShareHolding(std::string_view folder) const;
};

// Reads the files found. A file that cannot be read is a problem only when
// the user named it; pyTivo passes over missing files too.
PyTivoConfig ReadPyTivoConfigFiles(const PyTivoConfigFiles& found);
PyTivoConfig ReadPyTivoConfig(const RegUtil& reg, const PyTivoPlaces& places = {});

}  // namespace quorvella
