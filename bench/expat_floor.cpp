// SPDX-License-Identifier: MIT
// quorvella-expat-floor FILE: streams an XML file through expat with handlers
// that do nothing. No reader of that file can be faster than this; the
// benchmark states every other step as a multiple of it.
#include <expat.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

constexpr int kBlock = 1 << 18;

void XMLCALL StartElement(void*, const XML_Char*, const XML_Char**) {}
void XMLCALL EndElement(void*, const XML_Char*) {}
void XMLCALL CharacterData(void*, const XML_Char*, int) {}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: quorvella-expat-floor FILE.xml\n");
    return 2;
  }
  const int fd = open(argv[1], O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    std::fprintf(stderr, "quorvella-expat-floor: cannot open %s: %s\n", argv[1], std::strerror(errno));
    return 1;
  }
  XML_Parser parser = XML_ParserCreate(nullptr);
  XML_SetElementHandler(parser, StartElement, EndElement);
  XML_SetCharacterDataHandler(parser, CharacterData);
  int status = 0;
  for (;;) {
    void* buffer = XML_GetBuffer(parser, kBlock);
    if (buffer == nullptr) {
      std::fprintf(stderr, "quorvella-expat-floor: out of memory\n");
      status = 1;
      break;
    }
    const ssize_t got = read(fd, buffer, kBlock);
    if (got < 0) {
      if (errno == EINTR) continue;
      std::fprintf(stderr, "quorvella-expat-floor: cannot read %s: %s\n", argv[1], std::strerror(errno));
      status = 1;
      break;
    }
    if (XML_ParseBuffer(parser, static_cast<int>(got), got == 0) == XML_STATUS_ERROR) {
      std::fprintf(stderr, "quorvella-expat-floor: %s, line %lu, column %lu: %s\n", argv[1],
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
