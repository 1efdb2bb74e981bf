// SPDX-License-Identifier: MIT
#include "settings/FileRegistry.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <thread>

#include "platform/UserFolders.h"
#include "settings/StoreWriteProblem.h"

namespace quorvella {
namespace {

// Far above anything the program writes; a larger file is not a store of ours.
constexpr off_t kMaxFileSize = 64 * 1024 * 1024;
// A writer holds the lock only while it rewrites the file; waiting longer
// than this means something is stuck, and the write gives up.
constexpr auto kLockTimeout = std::chrono::seconds(10);

struct FileRead {
  enum Status { Missing, Read, Failed } status = Failed;
  std::string bytes;
  struct stat info {};
};

FileRead ReadWholeFile(const std::string& path) {
  FileRead result;
  // Non-blocking, so that a pipe put in the file's place cannot hang the program.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    if (errno == ENOENT) result.status = FileRead::Missing;
    return result;
  }
  if (::fstat(fd, &result.info) == 0 && S_ISREG(result.info.st_mode)) {
    result.status = FileRead::Read;
    // A file too large to be ours is read only one byte past the limit, enough
    // for ParseStore to refuse it.
    const off_t limit = std::min<off_t>(result.info.st_size, kMaxFileSize) + 1;
    result.bytes.resize(static_cast<std::size_t>(limit));
    std::size_t done = 0;
    while (done < result.bytes.size()) {
      const ssize_t n = ::read(fd, result.bytes.data() + done, result.bytes.size() - done);
      if (n == 0) break;
      if (n < 0) {
        if (errno == EINTR) continue;
        result.status = FileRead::Failed;
        break;
      }
      done += static_cast<std::size_t>(n);
    }
    result.bytes.resize(done);
  }
  ::close(fd);
  return result;
}

// The store in a file's bytes; nullopt, with the reason in `damage`, when
// they are not a registry file. An empty file is an empty store.
std::optional<RegTree> ParseStore(const std::string& bytes, std::string* damage = nullptr) {
  if (bytes.empty()) return RegTree();
  if (bytes.size() > static_cast<std::size_t>(kMaxFileSize)) {
    if (damage != nullptr) *damage = "larger than any file of options";
    return std::nullopt;
  }
  auto result = ParseRegFile(bytes);
  if (result.error) {
    if (damage != nullptr) *damage = result.error->Text();
    return std::nullopt;
  }
  return std::move(result.document.tree);
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool MakeFolders(const std::string& folder) {
  struct stat info {};
  if (::stat(folder.c_str(), &info) == 0) return S_ISDIR(info.st_mode);
  if (errno != ENOENT) return false;
  const auto slash = folder.find_last_of('/');
  if (slash != std::string::npos && slash > 0 && !MakeFolders(folder.substr(0, slash))) {
    return false;
  }
  return ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// An exclusive flock on a file of its own: the store itself is replaced on
// every write, so a lock on it would be a lock on a file about to vanish.
class LockFile {
 public:
  explicit LockFile(const std::string& path) {
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) return;
    const auto deadline = std::chrono::steady_clock::now() + kLockTimeout;
    for (;;) {
      if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
        held_ = true;
        return;
      }
      if ((errno != EWOULDBLOCK && errno != EINTR) || std::chrono::steady_clock::now() > deadline) {
        return;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  }
  ~LockFile() {
    if (fd_ >= 0) ::close(fd_);  // releases the lock
  }
  LockFile(const LockFile&) = delete;
  LockFile& operator=(const LockFile&) = delete;

  bool Held() const { return held_; }

 private:
  int fd_ = -1;
  bool held_ = false;
};

// Temporary files that a writer left when it died before its rename. Only
// called under the lock, when no other writer can be half-way.
void RemoveLeftovers(const std::string& folder, const std::string& prefix) {
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return;
  while (const dirent* entry = ::readdir(dir)) {
    if (std::string_view(entry->d_name).substr(0, prefix.size()) == prefix) {
      ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
  }
  ::closedir(dir);
}

// Moves a file that cannot be parsed out of the way under a name of its own;
// returns that name. Only writers holding the lock create these names, so
// testing for a free one and renaming cannot race.
std::optional<std::string> KeepAside(const std::string& path) {
  char stamp[32];
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  ::localtime_r(&now, &local);
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  const std::string base = path + ".damaged-" + stamp;
  for (int n = 1; n < 1000; ++n) {
    const std::string name = n == 1 ? base : base + "-" + std::to_string(n);
    struct stat info {};
    if (::lstat(name.c_str(), &info) == 0 || errno != ENOENT) continue;
    if (::rename(path.c_str(), name.c_str()) == 0) return name;
    return std::nullopt;
  }
  return std::nullopt;
}

void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

FileRegistry::FileRegistry(std::string path) : path_(std::move(path)) {}

FileRegistry::Stamp FileRegistry::StampOf(const struct stat& info) {
  return Stamp{
      static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
      static_cast<std::uint64_t>(info.st_size),
      static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec,
      static_cast<std::int64_t>(info.st_ctim.tv_sec) * 1'000'000'000 + info.st_ctim.tv_nsec};
}

void FileRegistry::Refresh() {
  struct stat info {};
  if (::stat(path_.c_str(), &info) != 0) {
    tree_ = RegTree();
    loaded_.reset();
    damage_.reset();
    return;
  }
  if (loaded_ && *loaded_ == StampOf(info)) return;
  tree_ = RegTree();
  loaded_.reset();
  damage_.reset();
  FileRead file = ReadWholeFile(path_);
  if (file.status != FileRead::Read) return;
  loaded_ = StampOf(file.info);
  // A damaged file reads as empty: the options fall back to their defaults.
  std::string damage;
  if (auto tree = ParseStore(file.bytes, &damage)) {
    tree_ = std::move(*tree);
  } else {
    damage_ = damage;
    if (onDamage_) onDamage_(damage);
  }
}

std::optional<std::string> FileRegistry::Damage() {
  try {
    Refresh();
    return damage_;
  } catch (...) {
    return std::nullopt;
  }
}

bool FileRegistry::KeyExists(Hive hive, std::string_view keyPath) {
  try {
    Refresh();
    return tree_.KeyExists(hive, keyPath);
  } catch (...) {
    return false;
  }
}

std::optional<RegValue> FileRegistry::QueryValue(Hive hive, std::string_view keyPath,
                                                 std::string_view valueName) {
  try {
    Refresh();
    if (const RegValue* value = tree_.FindValue(hive, keyPath, valueName)) return *value;
  } catch (...) {
  }
  return std::nullopt;
}

bool FileRegistry::SetValue(Hive hive, std::string_view keyPath, std::string_view valueName,
                            const RegValue& value) {
  if (!RegFileCanHold(keyPath, valueName, value)) return false;
  return Update([&](RegTree& tree) { tree.SetValue(hive, keyPath, valueName, value); });
}

bool FileRegistry::DeleteValue(Hive hive, std::string_view keyPath, std::string_view valueName) {
  // Nothing to write when the value is not there.
  if (!QueryValue(hive, keyPath, valueName)) return true;
  return Update([&](RegTree& tree) { tree.DeleteValue(hive, keyPath, valueName); });
}

bool FileRegistry::Import(const RegDocument& document) {
  return Update([&](RegTree& tree) {
    for (const auto& deletion : document.deletions) {
      if (deletion.valueName) {
        tree.DeleteValue(deletion.hive, deletion.keyPath, *deletion.valueName);
      } else {
        tree.DeleteKey(deletion.hive, deletion.keyPath);
      }
    }
    tree.Merge(document.tree);
  });
}

std::string FileRegistry::Export() {
  try {
    Refresh();
    return SerializeRegFile(tree_);
  } catch (...) {
    return {};
  }
}

std::optional<std::string> FileRegistry::Export(Hive hive, std::string_view keyPath) {
  try {
    Refresh();
    return SerializeRegKey(tree_, hive, keyPath);
  } catch (...) {
    return std::nullopt;
  }
}

bool FileRegistry::Update(const std::function<void(RegTree&)>& change) {
  try {
    if (path_.empty()) return false;
    const std::string folder = FolderOf(path_);
    if (!MakeFolders(folder)) return false;
    const LockFile lock(path_ + ".lock");
    if (!lock.Held()) return false;
    RemoveLeftovers(folder, path_.substr(path_.find_last_of('/') + 1) + ".tmp-");

    // Read afresh: another process may have written since this one last looked.
    FileRead file = ReadWholeFile(path_);
    if (file.status == FileRead::Failed) return false;  // never replace what could not be read
    RegTree tree;
    std::optional<unsigned> mode;
    if (file.status == FileRead::Read) {
      mode = file.info.st_mode & 07777;
      if (auto parsed = ParseStore(file.bytes)) {
        tree = std::move(*parsed);
      } else {
        auto kept = KeepAside(path_);
        if (!kept) return false;
        damagedCopy_ = std::move(*kept);
      }
    }
    change(tree);
    if (!Replace(SerializeRegFile(tree), mode)) return false;

    tree_ = std::move(tree);
    damage_.reset();
    struct stat info {};
    if (::stat(path_.c_str(), &info) == 0) {
      loaded_ = StampOf(info);
    } else {
      loaded_.reset();
    }
    return true;
  } catch (...) {
    return false;
  }
}

bool FileRegistry::Replace(const std::string& bytes, std::optional<unsigned> mode) {
  std::string temp = path_ + ".tmp-XXXXXX";
  const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = (!mode || ::fchmod(fd, static_cast<mode_t>(*mode)) == 0) && WriteAll(fd, bytes) &&
            ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  if (ok && beforeReplace_) beforeReplace_();
  if (!ok || ::rename(temp.c_str(), path_.c_str()) != 0) {
    ::unlink(temp.c_str());
    return false;
  }
  // Makes the rename itself survive a power cut.
  SyncFolder(FolderOf(path_));
  return true;
}

std::string DefaultRegistryPath() {
  const std::string config = ConfigFolder();
  return config.empty() ? std::string() : config + "/Quorvella/registry.reg";
}

std::string FileRegistry::WriteProblem() const { return StoreWriteProblem(path_); }

}  // namespace quorvella
