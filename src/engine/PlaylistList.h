// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "engine/PlaylistListView.h"

namespace quorvella {

// The checklist of playlists held as plain records, for front ends without
// a list widget (the command line) and for tests.
class PlaylistList : public PlaylistListView {
 public:
  struct Row {
    std::string text;
    PlaylistKindCode icon = 0;
    bool checked = false;
    std::string tag;
    std::string status;
  };

  void Clear() override { rows_.clear(); }
  int Count() const override { return static_cast<int>(rows_.size()); }
  int AddRow(const std::string& text) override {
    rows_.emplace_back().text = text;
    return Count() - 1;
  }
  std::string Text(int row) const override { return At(row).text; }
  void SetIcon(int row, PlaylistKindCode code) override { At(row).icon = code; }
  PlaylistKindCode Icon(int row) const override { return At(row).icon; }
  void SetChecked(int row, bool checked) override { At(row).checked = checked; }
  bool Checked(int row) const override { return At(row).checked; }
  void SetTag(int row, const std::string& tag) override { At(row).tag = tag; }
  std::string Tag(int row) const override { return At(row).tag; }
  void SetStatus(int row, const std::string& status) override { At(row).status = status; }
  std::string Status(int row) const override { return At(row).status; }
  void EnsureVisible(int) override {}

  const std::vector<Row>& Rows() const { return rows_; }
  std::vector<Row>& Rows() { return rows_; }

 protected:
  Row& At(int row) { return rows_.at(static_cast<std::size_t>(row)); }
  const Row& At(int row) const { return rows_.at(static_cast<std::size_t>(row)); }

 private:
  std::vector<Row> rows_;
};

}  // namespace quorvella
