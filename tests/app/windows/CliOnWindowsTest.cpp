// SPDX-License-Identifier: MIT
// quorvella-cli.exe as a Windows user runs it: the options kept in the
// registry of the current user (read back with reg.exe), a library of iTunes
// for Windows published with "..\" paths and the old file in the Recycle
// Bin, TiVo Desktop's version imported from a .reg file and seen by tivo,
// and a shortcut made by the shell in TiVo Desktop's music shortcut folder.
#include <gtest/gtest.h>

#include <windows.h>
// After windows.h, which they need.
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "library/xml/LibraryTestFiles.h"
#include "platform/NativePath.h"
#include "platform/windows/WideText.h"
#include "settings/windows/WindowsRegistry.h"
#include "support/TempDir.h"
#include "tivo/TiVoDesktop.h"

namespace quorvella {
namespace {

struct Ran {
  DWORD code = 0;
  std::string out;  // standard output and error together
};

// A path of the build system as the Windows programs see it.
std::string WinePath(std::string unix) {
  for (char& c : unix) c = c == '/' ? '\\' : c;
  return "Z:" + unix;
}

Ran RunProgram(const std::string& commandLine) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE read = nullptr;
  HANDLE write = nullptr;
  EXPECT_TRUE(CreatePipe(&read, &write, &inherit, 0));
  SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW start{};
  start.cb = sizeof(start);
  start.dwFlags = STARTF_USESTDHANDLES;
  start.hStdOutput = start.hStdError = write;
  start.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION process{};
  std::wstring line = Utf8ToWide(commandLine);
  Ran ran;
  const bool started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                      nullptr, &start, &process);
  CloseHandle(write);
  EXPECT_TRUE(started) << commandLine;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(read, buffer, sizeof(buffer), &got, nullptr) && got > 0) ran.out.append(buffer, got);
  CloseHandle(read);
  if (started) {
    WaitForSingleObject(process.hProcess, INFINITE);
    GetExitCodeProcess(process.hProcess, &ran.code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
  }
  return ran;
}

Ran Cli(const std::string& args) { return RunProgram("\"" + WinePath(QUORVELLA_CLI) + "\" " + args); }

std::string ReadBytes(const std::string& path) {
  std::ifstream in(NativePath(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(CliOnWindows, OptionsAreKeptInTheRegistryOfTheUser) {
  testing::TempDir dir;
  const std::string folder = dir.File("TiVo Lists");
  std::filesystem::create_directory(NativePath(folder));
  const struct {
    std::string args, valueName, stored;
  } rows[] = {
      {"--playlist-folder \"" + folder + "\"", "PlaylistFolder", folder},
      {"--mode enhanced", "EnhancedPlugInMode", "True"},
      {"--delete-empty no", "DeleteEmptyOutput", "False"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.args);
    EXPECT_EQ(Cli("options " + row.args).code, 0u);
    const Ran query =
        RunProgram("reg.exe query \"HKCU\\Software\\Brenlow Software\\Quorvella\" /v " + row.valueName);
    EXPECT_NE(query.out.find(row.valueName + "    REG_SZ    " + row.stored + "\r\n"),
              std::string::npos)
        << query.out;
  }
  // export reads the same key back as a .reg document.
  const Ran exported = Cli("registry export");
  EXPECT_EQ(exported.code, 0u);
  EXPECT_NE(exported.out.find("\\TiVo Lists\"\r\n"), std::string::npos)
      << exported.out;
}

TEST(CliOnWindows, PublishesACDriveLibraryWithRelativePathsAndRecyclesTheOldFile) {
  testing::TempDir dir;
  ASSERT_EQ(dir.Path().string().substr(1, 2), ":\\");
  const std::string song = dir.File("Music\\Other\\02 Song.mp3");
  testing::WriteFile(song, "ID3");
  std::string url = "file://localhost/" + song;
  for (char& c : url) c = c == '\\' ? '/' : c;
  for (std::size_t at; (at = url.find(' ')) != std::string::npos;) url.replace(at, 1, "%20");
  const std::string library = dir.File("iTunes Library.xml");
  testing::WriteFile(
      library,
      testing::LibraryXml(
          testing::TrackXml(1, "<key>Name</key><string>Song</string><key>Kind</key><string>MPEG "
                               "audio file</string><key>Location</key><string>" + url + "</string>"),
          "<dict><key>Name</key><string>Road Mix</string><key>Playlist ID</key><integer>9</integer>"
          "<key>Playlist Items</key><array><dict><key>Track ID</key><integer>1</integer></dict>"
          "</array></dict>"));
  const std::string folder = dir.File("Playlists");
  std::filesystem::create_directory(NativePath(folder));
  ASSERT_EQ(Cli("options --mode standard --playlist-folder \"" + folder + "\"").code, 0u);

  const std::filesystem::path trash = NativePath(WinePath(QUORVELLA_TRASH));
  // Wine makes its trash only inside a data folder that exists; without one
  // the old file would be deleted for good.
  std::filesystem::create_directories(trash.parent_path().parent_path());
  // Counted by the playlist's own name: other tests share this trash.
  const auto recycled = [&] {
    int count = 0;
    std::error_code none;
    for (const auto& entry : std::filesystem::directory_iterator(trash, none)) {
      count += entry.path().filename().string().starts_with("Road Mix") ? 1 : 0;
    }
    return count;
  };
  const int before = recycled();
  for (int pass = 0; pass < 2; ++pass) {
    const Ran publish = Cli("--library \"" + library + "\" publish --all");
    EXPECT_EQ(publish.code, 0u) << publish.out;
  }
  EXPECT_NE(ReadBytes(folder + "\\Road Mix.m3u").find("\r\n..\\Music\\Other\\02 Song.mp3\r\n"),
            std::string::npos);
  EXPECT_EQ(recycled(), before + 1) << "the first pass's file goes to the Recycle Bin";
}

// A shortcut to target saved at file by the shell itself, as Explorer makes one.
void SaveShellLink(const std::string& target, const std::string& file) {
  ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
  IShellLinkW* link = nullptr;
  ASSERT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                             reinterpret_cast<void**>(&link)),
            S_OK);
  IPersistFile* persist = nullptr;
  EXPECT_EQ(link->SetPath(Utf8ToWide(target).c_str()), S_OK);
  EXPECT_EQ(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)), S_OK);
  if (persist != nullptr) {
    EXPECT_EQ(persist->Save(Utf8ToWide(file).c_str(), TRUE), S_OK);
    persist->Release();
  }
  link->Release();
  CoUninitialize();
}

TEST(CliOnWindows, TivoSeesTiVoDesktopsVersionAndAShortcutMadeByTheShell) {
  testing::TempDir dir;
  const std::string file = dir.File("TiVo Desktop.reg");
  testing::WriteFile(file,
                     "Windows Registry Editor Version 5.00\r\n\r\n"
                     "[HKEY_CURRENT_USER\\Software\\TiVo\\Desktop]\r\n\"Version\"=\"2.8.3\"\r\n");
  const Ran imported = Cli("registry import \"" + file + "\"");
  EXPECT_EQ(imported.code, 0u) << imported.out;
  EXPECT_EQ(WindowsRegistry().QueryValue(Hive::CurrentUser, TiVoDesktopKey,
                                         TiVoDesktopVersionValueName),
            RegValue::String("2.8.3"));
  const std::string music = dir.File("Shared Music");
  std::filesystem::create_directories(NativePath(music + "\\Lists"));
  // Where TiVo Desktop keeps one shortcut per published music folder.
  wchar_t* localAppData = nullptr;
  ASSERT_EQ(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &localAppData), S_OK);
  const std::filesystem::path shortcuts =
      std::filesystem::path(localAppData) / L"TiVo Desktop" / L"Music";
  CoTaskMemFree(localAppData);
  std::filesystem::create_directories(shortcuts);
  // Named after the temporary folder: the shortcut folder outlives the test.
  const std::filesystem::path lnk = shortcuts / (dir.Path().filename().string() + ".lnk");
  SaveShellLink(music, lnk.string());

  const Ran tivo = Cli("tivo");
  EXPECT_EQ(tivo.code, 0u);
  EXPECT_NE(tivo.out.find("2.8.3"), std::string::npos) << tivo.out;
  EXPECT_NE(tivo.out.find("\n  " + music + "\r\n"), std::string::npos) << tivo.out;
  const Ran options = Cli("options --playlist-folder \"" + music + "\\Lists\"");
  EXPECT_EQ(options.code, 0u);
  EXPECT_EQ(options.out.find("has not been published"), std::string::npos) << options.out;
  std::filesystem::remove(lnk);
}

}  // namespace
}  // namespace quorvella
