// SPDX-License-Identifier: MIT
#include "library/xml/PlaylistIds.h"

#include <limits>

namespace quorvella {

std::int32_t PlaylistIds::Use(std::int32_t id) {
  taken_.insert(id);
  usedThisLoad_.insert(id);
  if (id >= next_ && id < std::numeric_limits<std::int32_t>::max()) next_ = id + 1;
  return id;
}

// A number no playlist ever had: after the highest so far, wrapping to 1.
std::int32_t PlaylistIds::Fresh() {
  while (Taken(next_) || next_ <= 0) {
    next_ = next_ == std::numeric_limits<std::int32_t>::max() || next_ <= 0 ? 1 : next_ + 1;
  }
  return next_;
}

std::int32_t PlaylistIds::Assign(std::string_view persistentId,
                                 std::optional<std::int32_t> fileId) {
  // Without a persistent ID the file's own number is the best key there is.
  std::string key;
  if (!persistentId.empty()) {
    key = persistentId;
  } else if (fileId) {
    key = '#';
    key += std::to_string(*fileId);
  }

  if (!key.empty()) {
    if (const auto known = byKey_.find(key); known != byKey_.end()) {
      // The same key twice in one file: the second is another playlist.
      if (!usedThisLoad_.contains(known->second)) return Use(known->second);
      return Use(Fresh());
    }
  }
  const std::int32_t id = fileId && !Taken(*fileId) ? *fileId : Fresh();
  if (!key.empty()) byKey_.emplace(std::move(key), id);
  return Use(id);
}

}  // namespace quorvella
