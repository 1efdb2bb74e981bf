// SPDX-License-Identifier: MIT
#include "platform/ProgramStart.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <thread>
#include <vector>

extern char** environ;

namespace quorvella {
namespace {

bool IsFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

// posix_spawn's attributes: a session of its own, and no signal blocked
// that this program happens to block.
class SpawnAttributes {
 public:
  SpawnAttributes() {
    posix_spawnattr_init(&attributes_);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes_, &none);
    posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK);
  }
  ~SpawnAttributes() { posix_spawnattr_destroy(&attributes_); }
  SpawnAttributes(const SpawnAttributes&) = delete;
  SpawnAttributes& operator=(const SpawnAttributes&) = delete;
  const posix_spawnattr_t* Get() const { return &attributes_; }

 private:
  posix_spawnattr_t attributes_;
};

}  // namespace

std::optional<std::string> StartDetached(const CommandLine& command) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(command.program.c_str()));
  for (const auto& argument : command.arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  const SpawnAttributes attributes;
  pid_t pid = 0;
  // glibc reports a program that cannot be run (missing, not executable)
  // as the result of the call itself.
  const int error =
      posix_spawnp(&pid, command.program.c_str(), nullptr, attributes.Get(), argv.data(), environ);
  if (error != 0) return std::string(std::strerror(error));
  // Nobody waits for the program, but its exit must still be collected, or
  // it would linger as a zombie for as long as this program runs.
  std::thread([pid] {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
  return std::nullopt;
}

std::optional<std::string> StartCommandLine(const std::string& commandLine) {
  return StartDetached(SplitCommandLine(commandLine, IsFile));
}

}  // namespace quorvella
