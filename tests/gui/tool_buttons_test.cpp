#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>
#include <QSettings>

#include "app/scripted_interface.h"
#include "gui/main_window.h"
#include "gui/merger_controls.h"
#include "gui/merger_dialog.h"
#include "gui/rebuilder_controls.h"
#include "gui/rebuilder_dialog.h"
#include "gui/settings_dialog.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

// The Rebuilder and Merger buttons open their dialogs on the program's own
// settings, where they were last, and keep where they were left.
TEST(ToolButtons, OpenTheDialogsAtTheirRememberedPlaces) {
  testing::TempFolder data;
  ScriptedInterface person;
  UserValues values;
  values.veryFirstTime = 0;
  values.layout.rebuilderDlgX = 110;
  values.layout.rebuilderDlgY = 120;
  values.layout.mergerDlgX = 130;
  values.layout.mergerDlgY = 140;
  char zipLevel = '9';
  MainWindow window(data.path(), values, &zipLevel);
  window.SetInterface(&person);
  window.database().resize(1);
  window.settings().rebuildSource = data.path();
  window.settings().romPaths = {PathEntry{data.path()}, PathEntry{data / "off/", false}};

  // Each dialog shows where it was last, changes a setting and is moved.
  QPoint rebuilderAt, mergerAt;
  QString shownSource;
  window.runRebuilderDialog = [&](RebuilderDialog& dialog) {
    dialog.show();
    rebuilderAt = dialog.pos();
    shownSource = static_cast<QLineEdit*>(dialog.control(kRebuilderSourceEdit))->text();
    static_cast<QAbstractButton*>(dialog.control(kRebuilderSplitSets))->click();
    dialog.move(210, 220);
    dialog.reject();
  };
  window.runMergerDialog = [&](MergerDialog& dialog) {
    dialog.show();
    mergerAt = dialog.pos();
    static_cast<QAbstractButton*>(dialog.control(kMergerSplit))->click();
    dialog.move(230, 240);
    dialog.reject();
  };
  EXPECT_TRUE(window.RunTool(kCommandRebuilder));
  EXPECT_TRUE(window.RunTool(kCommandMerger));
  EXPECT_EQ(rebuilderAt, QPoint(110, 120));
  EXPECT_EQ(mergerAt, QPoint(130, 140));
  EXPECT_EQ(shownSource.toStdString(), data.path());
  EXPECT_EQ(window.settings().rebuildMergeMode, 1);
  EXPECT_EQ(window.settings().mergeMode, 0);
  EXPECT_EQ(window.settings().activeRomPaths, std::vector<std::string>{data.path()});
  EXPECT_TRUE(person.messages.empty());

  const WindowLayout layout = window.ValuesAtExit().layout;
  EXPECT_EQ(layout.rebuilderDlgX, 210);
  EXPECT_EQ(layout.rebuilderDlgY, 220);
  EXPECT_EQ(layout.mergerDlgX, 230);
  EXPECT_EQ(layout.mergerDlgY, 240);
}

}  // namespace
}  // namespace kestrel
