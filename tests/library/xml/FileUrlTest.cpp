// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "library/xml/FileUrl.h"

namespace quorvella {
namespace {

struct UrlCase {
  const char* url;
  std::optional<std::string> path;
};

TEST(FileUrlTest, DecodesTheUrlPathIntoThePathsOwnForm) {
  const UrlCase cases[] = {
      // Windows drives, with and without the host
      {"file://localhost/C:/x", "C:\\x"},
      {"file:///C:/x", "C:\\x"},
      {"file://localhost/D:/Music/iTunes/a.mp3", "D:\\Music\\iTunes\\a.mp3"},
      {"file:///c:/", "c:\\"},
      {"file:///C|/old/form.mp3", "C:\\old\\form.mp3"},
      {"FILE://LOCALHOST/C:/x", "C:\\x"},
      // shares
      {"file://localhost//server/share/x", "\\\\server\\share\\x"},
      {"file://server/share/x", "\\\\server\\share\\x"},
      {"file://nas/Music%20Share/a%20b.mp3", "\\\\nas\\Music Share\\a b.mp3"},
      // POSIX paths
      {"file:///Users/x", "/Users/x"},
      {"file://localhost/Users/x", "/Users/x"},
      {"file:/Users/x", "/Users/x"},
      {"file:", ""},  // the scheme alone names an empty path
      {"file:///Volumes/data/Music/a.m4a", "/Volumes/data/Music/a.m4a"},
      // escapes: decoded as a path, not as a form
      {"file:///Users/x/A+B%20C.mp3", "/Users/x/A+B C.mp3"},
      {"file:///Users/x/100%25.mp3", "/Users/x/100%.mp3"},
      {"file:///Users/x/%23%3F%26.mp3", "/Users/x/#?&.mp3"},
      {"file:///C:/a%2Fb/c", "C:\\a/b\\c"},
      {"file:///Users/x/%E2%80%99Til.mp3", "/Users/x/\u2019Til.mp3"},
      // decomposed e + combining acute stays two code points
      {"file:///Users/x/Cafe%CC%81.mp3", "/Users/x/Cafe\u0301.mp3"},
      {"file:///Users/x/caf%C3%A9%2e", "/Users/x/caf\u00e9."},
      // broken escapes stay as written; a NUL never enters a path
      {"file:///Users/x/50%", "/Users/x/50%"},
      {"file:///Users/x/%4", "/Users/x/%4"},
      {"file:///Users/x/%zz", "/Users/x/%zz"},
      {"file:///Users/x/a%00b", "/Users/x/a%00b"},
      // not files
      {"http://radio.example/stream", std::nullopt},
      {"https://localhost/C:/x", std::nullopt},
      {"", std::nullopt},
      {"fil", std::nullopt},
  };
  for (const UrlCase& c : cases) {
    EXPECT_EQ(FileUrlToPath(c.url), c.path) << c.url;
  }
}

}  // namespace
}  // namespace quorvella
