// SPDX-License-Identifier: MIT
#include "app/CliProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <stdexcept>

namespace quorvella::test {

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::map<std::string, std::string>& environment,
                         const RunOptions& options) {
  // Everything the child needs is built before fork: after it, only
  // async-signal-safe calls.
  std::vector<std::string> strings{program};
  strings.insert(strings.end(), args.begin(), args.end());
  for (const auto& [name, value] : environment) strings.push_back(name + "=" + value);
  std::vector<char*> argv, envp;
  for (std::size_t i = 0; i < strings.size(); ++i) (i <= args.size() ? argv : envp).push_back(strings[i].data());
  argv.push_back(nullptr), envp.push_back(nullptr);

  int outPipe[2], errPipe[2];
  // With a terminal, the child's end is the terminal; the parent reads what it shows.
  if (::pipe2(outPipe, O_CLOEXEC) != 0 ||
      (options.stderrTerminal ? ::openpty(&errPipe[0], &errPipe[1], nullptr, nullptr, nullptr)
                              : ::pipe2(errPipe, O_CLOEXEC)) != 0)
    throw std::runtime_error("no pipe for the child");
  for (const int fd : errPipe) ::fcntl(fd, F_SETFD, FD_CLOEXEC);
  const pid_t child = ::fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) {
    const int devNull = ::open("/dev/null", O_RDONLY);
    ::dup2(devNull, STDIN_FILENO);
    ::dup2(outPipe[1], STDOUT_FILENO);
    ::dup2(errPipe[1], STDERR_FILENO);
    // A test runner started in the background may ignore SIGINT; the child
    // must see it as a terminal user's Ctrl-C.
    ::signal(SIGINT, SIG_DFL), ::signal(SIGPIPE, SIG_DFL);
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    ::execve(program.c_str(), argv.data(), envp.data());
    ::_exit(127);
  }
  ::close(outPipe[1]), ::close(errPipe[1]);

  ProcessResult result;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(options.timeoutSeconds);
  pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
  std::string* sinks[2] = {&result.out, &result.err};
  int open = 2;
  while (open > 0) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      result.timedOut = true, ::kill(child, SIGKILL);
      break;
    }
    const int ready = ::poll(fds, 2, static_cast<int>(left.count()));
    if (ready < 0 && errno != EINTR) break;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      char buffer[65536];
      const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        sinks[i]->append(buffer, static_cast<std::size_t>(n));
        if (i == 0 && options.watcher) options.watcher(child, result.out);
      } else if (n == 0 || errno != EINTR) {
        // A terminal's reader sees EIO once the child's side is closed.
        ::close(fds[i].fd), fds[i].fd = -1, --open;
      }
    }
  }
  for (const auto& fd : fds) if (fd.fd >= 0) ::close(fd.fd);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) continue;
  if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result.termSignal = WTERMSIG(status);
  return result;
}

bool CanInterrupt() { return true; }

void Interrupt(ProcessId child, bool stop) { ::kill(child, stop ? SIGTERM : SIGINT); }

}  // namespace quorvella::test
