// SPDX-License-Identifier: MIT
// Reads arbitrary bytes as an iTunes library and walks everything it yields.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "library/xml/XmlLibraryReader.h"

using namespace quorvella;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view content(reinterpret_cast<const char*>(data), size);
  PlaylistIds ids;
  // Twice with the same numbering, as a reload does.
  for (int pass = 0; pass < 2; ++pass) {
    std::shared_ptr<XmlLibrary> library;
    try {
      library = ReadXmlLibrary(content, "fuzz.xml", ids);
    } catch (const LibraryError&) {
      return 0;
    }
    const auto playlists = library->Playlists();
    for (std::int32_t i = 0; i < playlists->Count(); ++i) {
      const auto playlist = playlists->Item(i);
      // Numbers are unique within one reading.
      if (library->FindPlaylist(playlist->playlistID()) != playlist) __builtin_trap();
      if (const IITUserPlaylist* user = playlist->QueryUserPlaylist()) {
        if (playlist->Kind() != ITPlaylistKindUser) __builtin_trap();
        (void)user->SpecialKind();
        (void)user->Smart();
      }
      (void)playlist->Name();
      const auto tracks = playlist->Tracks();
      for (std::int32_t t = 0; t < tracks->Count(); ++t) {
        const auto track = tracks->Item(t);
        (void)track->Name();
        (void)track->Duration();
        try {
          (void)track->GetProperty("Location");
        } catch (const LibraryError&) {
        }
      }
    }
  }
  return 0;
}
