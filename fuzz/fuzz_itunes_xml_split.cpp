// SPDX-License-Identifier: MIT
// Reads arbitrary bytes as an iTunes library file twice, with one parser and
// split between two, and traps when the two readings differ in anything.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "library/xml/XmlLibraryReader.h"

using namespace quorvella;

namespace {

// All that a reading keeps, or the message it failed with.
std::string Everything(const std::string& path, bool split, std::uint64_t from) {
  PlaylistIds ids;
  std::shared_ptr<XmlLibrary> library;
  try {
    library = split ? ReadXmlLibraryFileSplit(path, ids, from) : ReadXmlLibraryFile(path, ids);
  } catch (const LibraryError& error) {
    return error.what();
  }
  std::string all = library->MusicFolder() + '\n';
  for (const XmlTrack& track : library->TrackList()) {
    all.append(track.NameView()).append("|").append(std::to_string(track.Duration()));
    all.append("|").append(track.LocationView()).append("\n");
  }
  for (const XmlPlaylist& playlist : library->PlaylistList()) {
    all += playlist.NameText() + ' ' + std::to_string(playlist.playlistID()) + ':';
    for (const std::int32_t item : playlist.Items()) all += ' ' + std::to_string(item);
    all += '\n';
  }
  for (const LibraryWarning& warning : library->Warnings()) {
    all += std::to_string(warning.line) + ' ' + warning.text + '\n';
  }
  return all + std::to_string(library->WarningCount());
}

// The file each input is written to, removed when the run ends.
const std::string& FilePath() {
  static const std::string path = "/tmp/quorvella-fuzz-split-" + std::to_string(getpid()) + ".xml";
  static const bool removed = std::atexit([] { std::remove(FilePath().c_str()); }) == 0;
  (void)removed;
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string& path = FilePath();
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return 0;
  const bool written = std::fwrite(data, 1, size, file) == size;
  if (std::fclose(file) != 0 || !written) return 0;
  // The place is looked for from a point the input chooses with its first byte.
  const std::uint64_t from = size == 0 ? 0 : size * data[0] / 256;
  if (Everything(path, false, 0) != Everything(path, true, from)) __builtin_trap();
  return 0;
}
