// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

namespace quorvella {

// The kind of a listed playlist, 0 to 8; also the 1-based number of its
// image in the list's image list.
using PlaylistKindCode = std::int32_t;

// The checklist of playlists as the catalogue and the publish run use it: a
// list of rows with a text, an icon, a check mark, a hidden tag and a status
// column. The main window's list view implements it; tests use a plain one.
class PlaylistListView {
 public:
  virtual ~PlaylistListView() = default;

  virtual void Clear() = 0;
  virtual int Count() const = 0;
  // Appends a row and returns its index.
  virtual int AddRow(const std::string& text) = 0;
  virtual std::string Text(int row) const = 0;
  virtual void SetIcon(int row, PlaylistKindCode code) = 0;
  virtual PlaylistKindCode Icon(int row) const = 0;
  virtual void SetChecked(int row, bool checked) = 0;
  virtual bool Checked(int row) const = 0;
  virtual void SetTag(int row, const std::string& tag) = 0;
  virtual std::string Tag(int row) const = 0;
  virtual void SetStatus(int row, const std::string& status) = 0;
  virtual std::string Status(int row) const = 0;
  virtual void EnsureVisible(int row) = 0;
};

}  // namespace quorvella
