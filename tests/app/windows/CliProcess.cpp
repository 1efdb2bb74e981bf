// SPDX-License-Identifier: MIT
#include "app/CliProcess.h"

#include <windows.h>

#include <exception>
#include <stdexcept>
#include <thread>

#include "platform/windows/WideText.h"

namespace quorvella::test {
namespace {

// This process's variables with the given ones over them, as a block.
std::wstring EnvironmentBlock(const std::map<std::string, std::string>& overrides) {
  std::map<std::wstring, std::wstring> variables;
  wchar_t* inherited = GetEnvironmentStringsW();
  for (const wchar_t* entry = inherited; *entry != L'\0'; entry += wcslen(entry) + 1) {
    const std::wstring text(entry);
    const std::size_t equals = text.find(L'=', 1);  // "=C:=C:\x" names a drive's folder
    if (equals != std::wstring::npos) variables[text.substr(0, equals)] = text.substr(equals + 1);
  }
  FreeEnvironmentStringsW(inherited);
  for (const auto& [name, value] : overrides) variables[Utf8ToWide(name)] = Utf8ToWide(value);
  std::wstring block;
  for (const auto& [name, value] : variables) block += name + L"=" + value + L'\0';
  return block + L'\0';
}

void ReadAll(HANDLE pipe, std::string& sink, const std::function<void()>& more) {
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) && got > 0) {
    sink.append(buffer, got);
    if (more) more();
  }
  CloseHandle(pipe);
}

}  // namespace

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::map<std::string, std::string>& environment,
                         const RunOptions& options) {
  std::wstring line;
  AppendQuotedArgument(line, Utf8ToWide(program));
  for (const auto& arg : args) AppendQuotedArgument(line, Utf8ToWide(arg));
  std::wstring block = EnvironmentBlock(environment);

  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE outRead = nullptr, outWrite = nullptr, errRead = nullptr, errWrite = nullptr;
  if (!CreatePipe(&outRead, &outWrite, &inherit, 0) || !CreatePipe(&errRead, &errWrite, &inherit, 0))
    throw std::runtime_error("CreatePipe failed");
  for (HANDLE ours : {outRead, errRead}) SetHandleInformation(ours, HANDLE_FLAG_INHERIT, 0);
  const HANDLE nul = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                 OPEN_EXISTING, 0, nullptr);
  STARTUPINFOW start{};
  start.cb = sizeof(start), start.dwFlags = STARTF_USESTDHANDLES;
  start.hStdInput = nul, start.hStdOutput = outWrite, start.hStdError = errWrite;
  PROCESS_INFORMATION process{};
  // A group of its own, so that Ctrl+Break reaches the child alone.
  const BOOL started =
      CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE,
                     CREATE_UNICODE_ENVIRONMENT | CREATE_NEW_PROCESS_GROUP, block.data(), nullptr, &start, &process);
  for (HANDLE childs : {outWrite, errWrite, nul}) CloseHandle(childs);
  if (!started) {
    for (HANDLE ours : {outRead, errRead}) CloseHandle(ours);
    throw std::runtime_error("CreateProcessW failed for " + program);
  }

  ProcessResult result;
  // Ending the child closes its pipes, which ends both readers.
  std::thread timer([&] {
    if (WaitForSingleObject(process.hProcess, options.timeoutSeconds * 1000) == WAIT_TIMEOUT)
      result.timedOut = true, TerminateProcess(process.hProcess, 1);
  });
  std::thread errors([&] { ReadAll(errRead, result.err, nullptr); });
  std::exception_ptr failure;
  try {
    ReadAll(outRead, result.out, [&] {
      if (options.watcher) options.watcher(process.dwProcessId, result.out);
    });
  } catch (...) {
    // A test's step failed: the child must not outlive it.
    failure = std::current_exception();
    TerminateProcess(process.hProcess, 1), CloseHandle(outRead);
  }
  errors.join(), timer.join();
  if (failure) std::rethrow_exception(failure);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  result.exitCode = static_cast<int>(code);
  for (HANDLE handle : {process.hProcess, process.hThread}) CloseHandle(handle);
  return result;
}

// Console events reach only the processes of one console; the children
// share this process's.
bool CanInterrupt() { return GetConsoleCP() != 0; }

void Interrupt(ProcessId child, bool) { GenerateConsoleCtrlEvent(CTRL_BREAK_EVENT, child); }

}  // namespace quorvella::test
