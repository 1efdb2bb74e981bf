// SPDX-License-Identifier: MIT
// quorvella-expat-floor FILE: streams an XML file through expat with handlers
// that do nothing. No reader of that file can be faster than this; the
// benchmark states every other step as a multiple of it.
#include <cstdio>

#include "bench/ExpatStream.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: quorvella-expat-floor FILE.xml\n");
    return 2;
  }
  return quorvella::bench::StreamWithExpat(argv[1], "quorvella-expat-floor");
}
