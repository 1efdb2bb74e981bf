// SPDX-License-Identifier: MIT
// quorvella-load [--map FROM TO ...] FILE: loads an iTunes library through
// the XML backend, its locations carried through the mappings given, and
// walks every playlist and track once, as a refresh and a publish would.
#include <cstdio>
#include <cstring>
#include <exception>

#include "library/xml/XmlITunes.h"
#include "platform/Heap.h"

int main(int argc, char** argv) {
  quorvella::ShareOneHeap();  // as the programs do
  quorvella::LocationMappings mappings;
  int at = 1;
  while (at + 2 < argc && std::strcmp(argv[at], "--map") == 0) {
    mappings.Add({argv[at + 1], argv[at + 2]});
    at += 3;
  }
  if (at + 1 != argc) {
    std::fprintf(stderr, "usage: quorvella-load [--map FROM TO ...] FILE\n");
    return 2;
  }
  try {
    quorvella::XmlITunes library(argv[at], quorvella::XmlITunes::Reading::Now,
                                 std::move(mappings));
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
