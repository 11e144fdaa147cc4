// What every archive test starts from: messages recorded by a scripted
// interface, the advanced zip scanner off, a fresh temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "app/scripted_interface.h"
#include "app/user_interface.h"
#include "support/temp_folder.h"

namespace kestrel::testing {

class ZipTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetApplicationInterface(&ui);
    Switches().advancedZipScanner = false;
  }
  void TearDown() override {
    SetApplicationInterface(nullptr);
    Switches().advancedZipScanner = false;
  }

  static std::string CorruptZipText(const std::string& path, const std::string& reason) {
    return "Corrupt Zipfile:\n\n" + path + "\n\nPlease rezip this file with a common zip-program.\n\nReason: " + reason;
  }

  ScriptedInterface ui;
  TempFolder folder;
};

}  // namespace kestrel::testing
