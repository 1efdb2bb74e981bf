// SPDX-License-Identifier: MIT
#include "bench/ExpatStream.h"

#include <expat.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace quorvella::bench {
namespace {

constexpr int kBlock = 1 << 18;

void XMLCALL StartElement(void*, const XML_Char*, const XML_Char**) {}
void XMLCALL EndElement(void*, const XML_Char*) {}
void XMLCALL CharacterData(void*, const XML_Char*, int) {}

}  // namespace

int StreamWithExpat(const char* path, const char* program) {
  const int fd = open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    std::fprintf(stderr, "%s: cannot open %s: %s\n", program, path, std::strerror(errno));
    return 1;
  }
  XML_Parser parser = XML_ParserCreate(nullptr);
  XML_SetElementHandler(parser, StartElement, EndElement);
  XML_SetCharacterDataHandler(parser, CharacterData);
  int status = 0;
  for (;;) {
    void* buffer = XML_GetBuffer(parser, kBlock);
    if (buffer == nullptr) {
      std::fprintf(stderr, "%s: out of memory\n", program);
      status = 1;
      break;
    }
    const ssize_t got = read(fd, buffer, kBlock);
    if (got < 0) {
      if (errno == EINTR) continue;
      std::fprintf(stderr, "%s: cannot read %s: %s\n", program, path, std::strerror(errno));
      status = 1;
      break;
    }
    if (XML_ParseBuffer(parser, static_cast<int>(got), got == 0) == XML_STATUS_ERROR) {
      std::fprintf(stderr, "%s: %s, line %lu, column %lu: %s\n", program, path,
                   XML_GetCurrentLineNumber(parser), XML_GetCurrentColumnNumber(parser),
                   XML_ErrorString(XML_GetErrorCode(parser)));
      status = 1;
      break;
    }
    if (got == 0) break;
  }
  XML_ParserFree(parser);
  close(fd);
  return status;
}

}  // namespace quorvella::bench
