#include "gui/about_box.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "gui/tool_pictures.h"

namespace kestrel {

AboutBox::AboutBox(QWidget* owner) : QDialog(owner) {
  setWindowTitle("About Kestrel");
  auto* picture = new QLabel(this);
  picture->setPixmap(DrawProgramIcon().pixmap(32, 32));
  auto* text = new QLabel("Kestrel\nVersion:  1.0 BETA 4", this);
  text->setTextFormat(Qt::PlainText);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* row = new QHBoxLayout;
  row->addWidget(picture, 0, Qt::AlignTop);
  row->addSpacing(12);
  row->addWidget(text, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace kestrel
