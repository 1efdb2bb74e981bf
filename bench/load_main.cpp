// SPDX-License-Identifier: MIT
// quorvella-load FILE: loads an iTunes library through the XML backend and
// walks every playlist and track once, as a refresh and a publish would.
#include <cstdio>
#include <exception>

#include "library/xml/XmlITunes.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: quorvella-load FILE\n");
    return 2;
  }
  try {
    quorvella::XmlITunes library(argv[1]);
    const auto playlists = library.LibrarySource()->Playlists();
    long tracks = 0;
    for (int i = 0; i < playlists->Count(); ++i) tracks += playlists->Item(i)->Tracks()->Count();
    std::printf("%d playlists, %ld playlist entries\n", playlists->Count(), tracks);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "quorvella-load: %s\n", error.what());
    return 1;
  }
  return 0;
}
