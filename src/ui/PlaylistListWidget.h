// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>
#include <QTreeWidget>
#include <array>

#include "engine/PlaylistListView.h"

namespace quorvella {

// The checklist of playlists: a report-style list with check boxes, the
// columns "Name" and "Status", and the kind images.
class PlaylistListWidget final : public QTreeWidget, public PlaylistListView {
  Q_OBJECT
 public:
  explicit PlaylistListWidget(QWidget* parent = nullptr);

  void Clear() override;
  int Count() const override;
  int AddRow(const std::string& text) override;
  std::string Text(int row) const override;
  void SetIcon(int row, PlaylistKindCode code) override;
  PlaylistKindCode Icon(int row) const override;
  void SetChecked(int row, bool checked) override;
  bool Checked(int row) const override;
  void SetTag(int row, const std::string& tag) override;
  std::string Tag(int row) const override;
  void SetStatus(int row, const std::string& status) override;
  std::string Status(int row) const override;
  void EnsureVisible(int row) override;

 private:
  QTreeWidgetItem* Row(int row) const { return topLevelItem(row); }

  std::array<QIcon, 9> kindIcons_;  // by kind code; 0 has none
};

}  // namespace quorvella
