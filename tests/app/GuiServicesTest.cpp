// SPDX-License-Identifier: MIT
// The window's start over the program's real services: a damaged file of
// options is reported in one box.
#include "app/GuiServices.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace quorvella {
namespace {

struct RecordingBoxes final : MessageBoxes {
  std::vector<Message> shown;
  MsgAnswer Show(const Message& message) override {
    shown.push_back(message);
    return MsgAnswer::Ok;
  }
};

TEST(ReportDamagedSettings, OnlyADamagedFileIsReported) {
  struct Case {
    const char* what;
    std::optional<std::string> content;  // none: no file
    bool reported;
  };
  const Case cases[] = {
      {"no file", std::nullopt, false},
      {"empty file", "", false},
      {"sound file",
       "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software]\n\"A\"=\"1\"\n",
       false},
      {"damaged file", "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\n",
       true},
  };
  for (const auto& c : cases) {
    QTemporaryDir config;
    setenv("XDG_CONFIG_HOME", config.path().toUtf8().constData(), 1);
    const std::string path = config.path().toStdString() + "/Quorvella/registry.reg";
    if (c.content) {
      std::filesystem::create_directories(config.path().toStdString() + "/Quorvella");
      std::ofstream(path, std::ios::binary) << *c.content;
    }
    AppServices app;
    RecordingBoxes boxes;
    ReportDamagedSettings(app, boxes);
    ASSERT_EQ(boxes.shown.size(), c.reported ? 1u : 0u) << c.what;
    if (!c.reported) continue;
    EXPECT_EQ(boxes.shown[0].text, DamagedRegistryText(path, *app.Registry().Damage()));
    EXPECT_NE(boxes.shown[0].text.find("line 3: "), std::string::npos) << boxes.shown[0].text;
    EXPECT_EQ(boxes.shown[0].icon, MsgIcon::Exclamation);
  }
}

}  // namespace
}  // namespace quorvella
