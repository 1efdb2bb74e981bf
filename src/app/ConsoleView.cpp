// SPDX-License-Identifier: MIT
#include "app/ConsoleView.h"

#include <unistd.h>

#include <csignal>

namespace quorvella {
namespace {

volatile std::sig_atomic_t gInterrupted = 0;

extern "C" void OnInterrupt(int) { gInterrupted = 1; }

}  // namespace

std::string ForTerminal(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i];
  }
  return out;
}

ConsoleView::ConsoleView(std::FILE* out, std::FILE* err)
    : out_(out), err_(err), progressOnTerminal_(isatty(fileno(err)) != 0) {}

int ConsoleView::AddRow(const std::string& text) {
  rows_.emplace_back().text = text;
  return Count() - 1;
}

void ConsoleView::SetStatus(int row, const std::string& status) {
  Row& r = rows_.at(row);
  if (r.status == status) return;
  r.status = status;
  ClearProgress();
  std::fprintf(out_, "[%s] %s\n", status.c_str(), r.text.c_str());
}

void ConsoleView::SetStatusText(const std::string& text) {
  lastStatus_ = text;
  ClearProgress();
  std::fprintf(out_, "%s\n", text.c_str());
  std::fflush(out_);
}

void ConsoleView::SetStopEnabled(bool enabled) {
  if (enabled) runStarted_ = true;
  if (!enabled) ClearProgress();
}

void ConsoleView::SetProgressPlaylists(float value) {
  playlists_ = value;
  DrawProgress(false);
}

void ConsoleView::SetProgressTracks(float value) {
  tracks_ = value;
  DrawProgress(false);
}

void ConsoleView::DrawProgress(bool force) {
  if (!progressOnTerminal_ || !runStarted_) return;
  const int all = static_cast<int>(playlists_);
  const int current = static_cast<int>(tracks_);
  if (!force && all == drawnPlaylists_ && current == drawnTracks_) return;
  drawnPlaylists_ = all;
  drawnTracks_ = current;
  constexpr int kWidth = 30;
  std::string bar(kWidth, '-');
  for (int i = 0; i < all * kWidth / 100; ++i) bar[static_cast<std::size_t>(i)] = '#';
  std::fprintf(err_, "\r[%s] %3d%% of all playlists, %3d%% of this one", bar.c_str(), all,
               current);
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

MsgAnswer ConsoleMessageBoxes::Show(const Message& message) {
  ++shown_;
  std::fprintf(out_, "\n%s\n", ForTerminal(message.text).c_str());
  if (message.buttons == MsgButtons::YesNo) std::fprintf(out_, "(answered No)\n");
  std::fprintf(out_, "\n");
  std::fflush(out_);
  return message.buttons == MsgButtons::YesNo ? MsgAnswer::No : MsgAnswer::Ok;
}

InterruptPump::InterruptPump(MainController*& controller) : controller_(controller) {
  gInterrupted = 0;
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  // After the first Ctrl-C the default action is back, so a second one ends
  // the program at once.
  action.sa_flags = SA_RESETHAND;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
}

InterruptPump::~InterruptPump() { std::signal(SIGINT, SIG_DFL); }

void InterruptPump::DoEvents() {
  if (gInterrupted && !stopped_ && controller_ != nullptr) {
    stopped_ = true;
    controller_->ButStop_Click();
  }
}

}  // namespace quorvella
