// SPDX-License-Identifier: MIT
#include "app/ConsoleView.h"

#include <unistd.h>

#include <algorithm>

#include "app/InterruptSignal.h"

namespace quorvella {
namespace {

// The status of a row that takes no part in the run.
constexpr std::string_view kNotInRun = "-";

}  // namespace

std::string ForTerminal(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i];
  }
  return out;
}

void PrintError(std::string_view text) {
  std::fprintf(stderr, "quorvella-cli: %s\n", ForTerminal(text).c_str());
}

ConsoleView::ConsoleView(std::FILE* out, std::FILE* err)
    : out_(out), err_(err), progressOnTerminal_(isatty(fileno(err)) != 0) {}

void ConsoleView::SetStatus(int row, const std::string& status) {
  Row& r = At(row);
  if (r.status == status) return;
  r.status = status;
  // The window marks every row left out of a run; here that would bury the
  // few rows of a run in a list of all playlists.
  if (status == kNotInRun) return;
  ClearProgress();
  std::fprintf(out_, "[%s] %s\n", status.c_str(), r.text.c_str());
  std::fflush(out_);
}

void ConsoleView::PlaylistFileFailed(const std::string& path, const std::string& reason) {
  ++failedFiles_;
  ClearProgress();
  std::fprintf(err_, "quorvella-cli: The playlist file \"%s\" could not be created: %s.\n",
               path.c_str(), reason.c_str());
  std::fflush(err_);
}

void ConsoleView::SetStatusText(const std::string& text) {
  lastStatus_ = text;
  ClearProgress();
  std::fprintf(out_, "%s\n", text.c_str());
  std::fflush(out_);
}

void ConsoleView::SetStopEnabled(bool enabled) {
  if (enabled) {
    runStarted_ = true;
  } else {
    ClearProgress();
  }
}

void ConsoleView::SetProgressPlaylists(float value) {
  playlists_ = value;
  DrawProgress();
}

void ConsoleView::SetProgressTracks(float value) {
  tracks_ = value;
  DrawProgress();
}

void ConsoleView::DrawProgress() {
  if (!progressOnTerminal_ || !runStarted_) return;
  const int all = static_cast<int>(playlists_);
  const int current = static_cast<int>(tracks_);
  if (all == drawnPlaylists_ && current == drawnTracks_) return;
  drawnPlaylists_ = all;
  drawnTracks_ = current;
  constexpr int kWidth = 30;
  std::string bar(kWidth, '-');
  std::fill_n(bar.begin(), std::clamp(all, 0, 100) * kWidth / 100, '#');
  std::fprintf(err_, "\r[%s] %3d%% of all playlists, %3d%% of this one", bar.c_str(), all, current);
  std::fflush(err_);
  progressShown_ = true;
}

void ConsoleView::ClearProgress() {
  if (!progressShown_) return;
  std::fprintf(err_, "\r\033[K");
  std::fflush(err_);
  progressShown_ = false;
  drawnPlaylists_ = drawnTracks_ = -1;
}

ConsoleMessageBoxes::ConsoleMessageBoxes(std::FILE* out, std::FILE* err,
                                         std::function<bool()> runStarted)
    : out_(out), err_(err), runStarted_(std::move(runStarted)) {}

MsgAnswer ConsoleMessageBoxes::Show(const Message& message) {
  ++shown_;
  const bool error = message.icon == MsgIcon::Exclamation || message.icon == MsgIcon::Critical;
  std::FILE* to = error || !runStarted_ || !runStarted_() ? err_ : out_;
  std::string text = ForTerminal(message.text);
  while (!text.empty() && text.back() == '\n') text.pop_back();
  // The report's boxes stand apart from the lines of the run above them.
  if (to == out_) std::fputc('\n', to);
  std::fprintf(to, "%s\n", text.c_str());
  if (message.buttons == MsgButtons::YesNo) std::fputs("(answered No)\n", to);
  std::fflush(to);
  return message.buttons == MsgButtons::YesNo ? MsgAnswer::No : MsgAnswer::Ok;
}

InterruptPump::InterruptPump() : installed_(CatchInterrupt()) {}

InterruptPump::~InterruptPump() {
  if (installed_) ReleaseInterrupt();
}

void InterruptPump::DoEvents() {
  if (!Interrupted() || stopped_) return;
  if (controller_ == nullptr || !controller_->Running()) {
    EndAsInterrupted();
    return;
  }
  stopped_ = true;
  controller_->ButStop_Click();
}

}  // namespace quorvella
