// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace quorvella::test {

// How a child process ended and what it wrote.
struct ProcessResult {
  int exitCode = -1;   // -1 when it was ended by a signal
  int termSignal = 0;  // the signal that ended it, 0 for a normal exit (always 0 on Windows)
  bool timedOut = false;
  std::string out;
  std::string err;
};

#ifdef _WIN32
using ProcessId = unsigned long;
#else
using ProcessId = int;
#endif

// Called whenever more standard output has arrived, with all of it so far;
// lets a test act on the child (interrupt it) while it runs.
using OutputWatcher = std::function<void(ProcessId child, const std::string& outSoFar)>;

struct RunOptions {
  OutputWatcher watcher;
  // Standard error on a pseudo-terminal instead of a pipe, as at a console
  // (POSIX only).
  bool stderrTerminal = false;
  // A child that runs longer is killed.
  int timeoutSeconds = 60;
};

// Runs a program with the given environment (on Windows: this process's,
// with the given variables over it), standard input from the null device and
// Ctrl+C at its default action, and collects both outputs.
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::map<std::string, std::string>& environment,
                         const RunOptions& options = {});

// A user's Ctrl+C (SIGINT); with `stop`, a service manager's stop (SIGTERM).
// Windows has one event for both: Ctrl+Break to the child's process group.
void Interrupt(ProcessId child, bool stop = false);
// False where no event can be sent (a Windows test run without a console).
bool CanInterrupt();

}  // namespace quorvella::test
