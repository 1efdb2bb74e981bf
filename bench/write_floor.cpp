// SPDX-License-Identifier: MIT
// quorvella-write-floor: the least a publish of the whole library can cost.
//
//   quorvella-write-floor --pack FOLDER PACK
//       (untimed) keeps every playlist file of FOLDER, name and bytes, in one
//       pack file, so that the timed runs need not read them one by one.
//   quorvella-write-floor LIBRARY.xml PACK FOLDER [--trash TRASH]
//       streams the library through expat, then writes every file of the
//       pack into FOLDER with plain open/write/close. With --trash, each file
//       that already lies in FOLDER is first moved into TRASH/files by one
//       rename, with its info file in TRASH/info, as the desktop trash does.
//
// Nothing else: no library model, no sorting of songs, no conversions. The
// benchmark states the publishing rows as multiples of these floors.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "bench/ExpatStream.h"

namespace {

constexpr const char* kProgram = "quorvella-write-floor";

struct PackedFile {
  std::string name;
  std::string_view bytes;
};

int Fail(const std::string& what) {
  std::fprintf(stderr, "%s: %s: %s\n", kProgram, what.c_str(), std::strerror(errno));
  return 1;
}

// The pack: for each file, its name, a newline, its size in decimal, a
// newline and its bytes.
int Pack(const char* folder, const char* packPath) {
  std::ofstream out(packPath, std::ios::binary);
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    out << entry.path().filename().string() << '\n' << bytes.size() << '\n' << bytes;
  }
  return out ? 0 : Fail(std::string("cannot write ") + packPath);
}

bool ReadWhole(const char* path, std::string& bytes) {
  const int fd = open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  if (fstat(fd, &st) != 0) {
    close(fd);
    return false;
  }
  bytes.resize(static_cast<std::size_t>(st.st_size));
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t got = read(fd, bytes.data() + done, bytes.size() - done);
    if (got <= 0) {
      if (got < 0 && errno == EINTR) continue;
      close(fd);
      return false;
    }
    done += static_cast<std::size_t>(got);
  }
  close(fd);
  return true;
}

std::vector<PackedFile> Unpack(std::string_view pack) {
  std::vector<PackedFile> files;
  while (!pack.empty()) {
    const std::size_t nameEnd = pack.find('\n');
    const std::size_t sizeEnd = pack.find('\n', nameEnd + 1);
    if (nameEnd == std::string_view::npos || sizeEnd == std::string_view::npos) break;
    const std::size_t size = std::stoul(std::string(pack.substr(nameEnd + 1, sizeEnd - nameEnd - 1)));
    files.push_back({std::string(pack.substr(0, nameEnd)), pack.substr(sizeEnd + 1, size)});
    pack.remove_prefix(std::min(pack.size(), sizeEnd + 1 + size));
  }
  return files;
}

bool WriteFile(const std::string& path, std::string_view bytes) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const bool written = write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  return close(fd) == 0 && written;
}

// One rename into the trash and the info file that lets it be restored.
bool MoveToTrash(const std::string& path, const std::string& trash, const std::string& name,
                 const char* deletionDate) {
  std::string info = "[Trash Info]\nPath=" + path + "\nDeletionDate=" + deletionDate + "\n";
  if (!WriteFile(trash + "/info/" + name + ".trashinfo", info)) return false;
  return rename(path.c_str(), (trash + "/files/" + name).c_str()) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string_view(argv[1]) == "--pack") return Pack(argv[2], argv[3]);
  const bool withTrash = argc == 6 && std::string_view(argv[4]) == "--trash";
  if (argc != 4 && !withTrash) {
    std::fprintf(stderr,
                 "usage: %s --pack FOLDER PACK\n"
                 "       %s LIBRARY.xml PACK FOLDER [--trash TRASH]\n",
                 kProgram, kProgram);
    return 2;
  }
  if (const int status = quorvella::bench::StreamWithExpat(argv[1], kProgram)) return status;

  std::string pack;
  if (!ReadWhole(argv[2], pack)) return Fail(std::string("cannot read ") + argv[2]);
  const std::string folder = argv[3];
  std::string trash;
  char deletionDate[32] = {};
  if (withTrash) {
    trash = argv[5];
    std::filesystem::create_directories(trash + "/files");
    std::filesystem::create_directories(trash + "/info");
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(deletionDate, sizeof deletionDate, "%Y-%m-%dT%H:%M:%S", &local);
  }
  for (const PackedFile& file : Unpack(pack)) {
    const std::string path = folder + "/" + file.name;
    if (withTrash && access(path.c_str(), F_OK) == 0 &&
        !MoveToTrash(path, trash, file.name, deletionDate)) {
      return Fail("cannot move " + path + " to the trash");
    }
    if (!WriteFile(path, file.bytes)) return Fail("cannot write " + path);
  }
  return 0;
}
