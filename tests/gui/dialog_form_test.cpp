// Every window keeps the common form: each Alt key reaches one control,
// the dialogs can be resized and end through a standard button row.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QScreen>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QTabWidget>
#include <map>

#include "gui/gui_test_helpers.h"
#include "gui/merger_dialog.h"
#include "gui/rebuilder_dialog.h"
#include "gui/remembered_position.h"
#include "gui/results_window.h"
#include "gui/scanner_dialog.h"
#include "gui/settings_dialog.h"
#include "gui/user_values.h"

namespace kestrel {
namespace {

// The letter after a single '&', lower case; 0 for none.
QChar MnemonicOf(const QString& text) {
  for (qsizetype i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] == '&') {
      ++i;
      continue;
    }
    return text[i + 1].toLower();
  }
  return QChar();
}

// The controls of `window` that claim each Alt key more than once.
std::string MnemonicClashes(QWidget& window) {
  std::map<QChar, QStringList> owners;
  const auto note = [&](const QString& text) {
    if (const QChar key = MnemonicOf(text); !key.isNull()) owners[key].append(text);
  };
  for (QAbstractButton* button : window.findChildren<QAbstractButton*>())
    if (button->isVisibleTo(&window)) note(button->text());
  for (QLabel* label : window.findChildren<QLabel*>())
    if (label->buddy() != nullptr) note(label->text());
  for (QTabWidget* tabs : window.findChildren<QTabWidget*>())
    for (int i = 0; i < tabs->count(); ++i) note(tabs->tabText(i));
  for (QMenuBar* bar : window.findChildren<QMenuBar*>())
    for (QAction* menu : bar->actions()) note(menu->text());
  std::string clashes;
  for (const auto& [key, texts] : owners)
    if (texts.size() > 1) clashes += texts.join(" / ").toStdString() + "; ";
  return clashes;
}

void ExpectDialogForm(QDialog& dialog) {
  EXPECT_EQ(MnemonicClashes(dialog), "") << dialog.windowTitle().toStdString();
  EXPECT_TRUE(dialog.isSizeGripEnabled()) << dialog.windowTitle().toStdString();
  EXPECT_NE(dialog.layout()->sizeConstraint(), QLayout::SetFixedSize) << dialog.windowTitle().toStdString();
  EXPECT_NE(dialog.findChild<QDialogButtonBox*>(), nullptr) << dialog.windowTitle().toStdString();
}

TEST(DialogForm, EachAltKeyReachesOneControlAndDialogsResizeAndEndAlike) {
  testing::TempFolder folder;
  SettingsRecord settings;
  GameList rawGames, database;
  LoadedData loaded;
  ScriptedInterface ui;
  WindowLayout layout;
  ZipLibrary zipLibrary;
  char zipLevel = '9';
  int x = 0, y = 0;

  ScannerDialog scanner({&settings, &database, folder.path(), &zipLevel, &layout, &ui});
  ExpectDialogForm(scanner);
  EXPECT_EQ(MnemonicClashes(*scanner.resultsWindow()), "");
  RebuilderDialog rebuilder({&settings, &database, &zipLibrary, &x, &y, &ui, ""});
  ExpectDialogForm(rebuilder);
  MergerDialog merger({&settings, &database, &zipLibrary, &x, &y, &ui, ""});
  ExpectDialogForm(merger);
  SettingsDialog settingsDialog({&settings, &rawGames, &database, &loaded, folder.path(), &zipLevel, &x, &y, &ui});
  ExpectDialogForm(settingsDialog);
}

// A place remembered at another scaling or on a screen that is gone comes
// back wholly on a screen; a place on it stays as it was.
TEST(DialogForm, RememberedPlacesComeBackWhollyOnAScreen) {
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  const QRect inside(area.left() + 10, area.top() + 10, 100, 80);
  EXPECT_EQ(FitOnScreen(inside), inside);
  const QRect halfOff(area.right() - 50, area.bottom() - 40, 400, 300);
  EXPECT_EQ(FitOnScreen(halfOff), QRect(area.right() + 1 - 400, area.bottom() + 1 - 300, 400, 300));
  for (const QRect& rect : {QRect(-5000, -5000, 400, 300), QRect(area.left(), area.top(), area.width() * 2, 300)})
    EXPECT_TRUE(area.contains(FitOnScreen(rect))) << rect.x() << "," << rect.width();
}

}  // namespace
}  // namespace kestrel
