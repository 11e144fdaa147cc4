// "About Kestrel": the program icon, its name and version, and OK.
#pragma once

#include <QDialog>

namespace kestrel {

class AboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit AboutBox(QWidget* owner);
};

}  // namespace kestrel
