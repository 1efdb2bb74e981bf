// SPDX-License-Identifier: MIT
#pragma once

#include <sys/types.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace quorvella::test {

// How a child process ended and what it wrote.
struct ProcessResult {
  int exitCode = -1;   // -1 when it was ended by a signal
  int termSignal = 0;  // the signal that ended it, 0 for a normal exit
  bool timedOut = false;
  std::string out;
  std::string err;
};

// Called whenever more standard output has arrived, with all of it so far;
// lets a test act on the child (send it a signal) while it runs.
using OutputWatcher = std::function<void(pid_t child, const std::string& outSoFar)>;

struct RunOptions {
  OutputWatcher watcher;
  // Standard error on a pseudo-terminal instead of a pipe, as at a console.
  bool stderrTerminal = false;
  // A child that runs longer is killed.
  int timeoutSeconds = 60;
};

// Runs a program with exactly the given environment, standard input from
// /dev/null and SIGINT at its default action, and collects both outputs.
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::map<std::string, std::string>& environment,
                         const RunOptions& options = {});

}  // namespace quorvella::test
