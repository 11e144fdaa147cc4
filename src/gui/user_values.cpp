#include "gui/user_values.h"

#include <QSettings>

namespace kestrel {
namespace {

struct Field {
  const char* key;
  int WindowLayout::*member;
};

// In the order the values are written.
constexpr Field kWindowFields[] = {
    {"OutputLeft", &WindowLayout::outputLeft},       {"OutputTop", &WindowLayout::outputTop},
    {"OutputRight", &WindowLayout::outputRight},     {"OutputBottom", &WindowLayout::outputBottom},
    {"ScanDlgX", &WindowLayout::scanDlgX},           {"ScanDlgY", &WindowLayout::scanDlgY},
    {"SettingsDlgX", &WindowLayout::settingsDlgX},   {"SettingsDlgY", &WindowLayout::settingsDlgY},
    {"MergerDlgX", &WindowLayout::mergerDlgX},       {"MergerDlgY", &WindowLayout::mergerDlgY},
    {"RebuilderDlgX", &WindowLayout::rebuilderDlgX}, {"RebuilderDlgY", &WindowLayout::rebuilderDlgY},
};

QSettings OpenStore() {
  return QSettings(QSettings::IniFormat, QSettings::UserScope, "Kestrel", "Kestrel");
}

// A value that is not a number (a hand-edited file) counts as missing.
int ReadInt(QSettings& store, const char* key, int fallback) {
  bool ok = false;
  const int value = store.value(key, fallback).toInt(&ok);
  return ok ? value : fallback;
}

}  // namespace

UserValues ReadUserValues() {
  QSettings store = OpenStore();
  UserValues values;
  store.beginGroup("Settings");
  values.startFrom = StartOption{ReadInt(store, "StartFrom", static_cast<int>(values.startFrom))};
  values.veryFirstTime = ReadInt(store, "VeryFirstTime", values.veryFirstTime);
  values.advancedZipScanner = ReadInt(store, "AdvancedZipScanner", values.advancedZipScanner);
  values.layout.alwaysOnTop = ReadInt(store, "AlwaysOnTop", values.layout.alwaysOnTop);
  store.endGroup();
  store.beginGroup("Windows");
  for (const Field& field : kWindowFields)
    values.layout.*field.member = ReadInt(store, field.key, values.layout.*field.member);
  store.endGroup();
  return values;
}

bool WriteUserValues(const UserValues& values) {
  QSettings store = OpenStore();
  store.beginGroup("Settings");
  store.setValue("AlwaysOnTop", values.layout.alwaysOnTop);
  store.setValue("AdvancedZipScanner", values.advancedZipScanner);
  store.setValue("StartFrom", static_cast<int>(values.startFrom));
  store.setValue("VeryFirstTime", values.veryFirstTime);
  store.endGroup();
  store.beginGroup("Windows");
  for (const Field& field : kWindowFields) store.setValue(field.key, values.layout.*field.member);
  store.endGroup();
  store.sync();
  return store.status() == QSettings::NoError;
}

}  // namespace kestrel
