// SPDX-License-Identifier: MIT
// One QApplication for the whole test program, made before the first test
// and headless unless the caller chose a platform; QUORVELLA_TEST_FONT_DPI
// runs it at another font dpi.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <memory>

namespace {

class QtApplicationEnvironment final : public ::testing::Environment {
 public:
  void SetUp() override {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // Fonts scaled to another dpi while pixels stay pixels, as on a desktop
    // whose text is set larger.
    if (const char* dpi = std::getenv("QUORVELLA_TEST_FONT_DPI")) {
      setenv("QT_FONT_DPI", dpi, 1);
      setenv("QT_ENABLE_HIGHDPI_SCALING", "0", 1);
    }
    app_ = std::make_unique<QApplication>(argc_, argv_);
  }
  void TearDown() override { app_.reset(); }

 private:
  int argc_ = 1;
  char name_[16] = "quorvella-tests";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace
