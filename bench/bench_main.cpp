// SPDX-License-Identifier: MIT
// quorvella-bench: runs one program several times as a child process and
// reports its best wall time and its peak resident memory, so that the
// benchmark script measures whole processes the way a user runs them.
//
//   quorvella-bench [--runs N] [--before SHELL-COMMAND] [--log FILE] -- PROGRAM [ARGS...]
//
// Prints "SECONDS PEAK-RSS-KB" on success. --before runs (through /bin/sh)
// ahead of every run and is not timed. The program's output goes to the log
// file, or nowhere. Exit status 1 when a run fails, with the reason on stderr.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

int Usage() {
  std::fprintf(stderr, "usage: quorvella-bench [--runs N] [--before SHELL-COMMAND] [--log FILE] -- PROGRAM [ARGS...]\n");
  return 2;
}

// Describes how a child ended, or returns the empty text when it succeeded.
std::string Failure(int status) {
  if (WIFEXITED(status)) {
    return WEXITSTATUS(status) == 0 ? std::string() : "exit status " + std::to_string(WEXITSTATUS(status));
  }
  if (WIFSIGNALED(status)) return std::string("signal ") + strsignal(WTERMSIG(status));
  return "ended abnormally";
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 3;
  const char* before = nullptr;
  const char* log = "/dev/null";
  int i = 1;
  for (; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--") {
      ++i;
      break;
    }
    if (i + 1 >= argc) return Usage();
    if (arg == "--runs") {
      const std::string_view v = argv[++i];
      if (std::from_chars(v.data(), v.data() + v.size(), runs).ec != std::errc() || runs < 1) return Usage();
    } else if (arg == "--before") {
      before = argv[++i];
    } else if (arg == "--log") {
      log = argv[++i];
    } else {
      return Usage();
    }
  }
  if (i >= argc) return Usage();
  char** program = argv + i;

  double best = 0;
  long peakKb = 0;
  for (int run = 0; run < runs; ++run) {
    if (before != nullptr) {
      const int status = std::system(before);
      if (status != 0) {
        std::fprintf(stderr, "quorvella-bench: the preparation \"%s\" failed (%s)\n", before,
                     status < 0 ? std::strerror(errno) : Failure(status).c_str());
        return 1;
      }
    }
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid < 0) {
      std::fprintf(stderr, "quorvella-bench: cannot start a process: %s\n", std::strerror(errno));
      return 1;
    }
    if (pid == 0) {
      const int out = open(log, O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (out >= 0) {
        dup2(out, STDOUT_FILENO);
        dup2(out, STDERR_FILENO);
        close(out);
      }
      const int in = open("/dev/null", O_RDONLY);
      if (in >= 0) {
        dup2(in, STDIN_FILENO);
        close(in);
      }
      execvp(program[0], program);
      std::fprintf(stderr, "quorvella-bench: cannot run %s: %s\n", program[0], std::strerror(errno));
      _exit(127);
    }
    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, 0, &usage) < 0) {
      if (errno != EINTR) {
        std::fprintf(stderr, "quorvella-bench: lost the child process: %s\n", std::strerror(errno));
        return 1;
      }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const std::string failure = Failure(status);
    if (!failure.empty()) {
      std::fprintf(stderr, "quorvella-bench: %s failed (%s); its output is in %s\n", program[0], failure.c_str(),
                   log);
      return 1;
    }
    if (run == 0 || seconds < best) best = seconds;
    if (usage.ru_maxrss > peakKb) peakKb = usage.ru_maxrss;
  }
  std::printf("%.3f %ld\n", best, peakKb);
  return 0;
}
