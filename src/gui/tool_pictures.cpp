#include "gui/tool_pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QtMath>

namespace kestrel {
namespace {

constexpr int kSize = 32;

const QColor kInk(40, 52, 72);
const QColor kAccent(214, 120, 40);
const QColor kPaper(236, 240, 246);

QPen Stroke(const QColor& color, qreal width) {
  return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A chip: the thing every tool works on.
void DrawChip(QPainter& p, const QRectF& body) {
  p.setPen(Stroke(kInk, 1.2));
  for (qreal y = body.top() + 3; y < body.bottom() - 1; y += 4) {
    p.drawLine(QPointF(body.left() - 3, y), QPointF(body.left(), y));
    p.drawLine(QPointF(body.right(), y), QPointF(body.right() + 3, y));
  }
  p.setBrush(kInk);
  p.drawRoundedRect(body, 2, 2);
}

void DrawScanner(QPainter& p) {
  DrawChip(p, QRectF(5, 4, 13, 17));
  p.setBrush(QColor(255, 255, 255, 150));
  p.setPen(Stroke(kAccent, 3));
  p.drawEllipse(QPointF(18, 16), 7, 7);
  p.drawLine(QPointF(23, 21), QPointF(29, 28));
}

void DrawMerger(QPainter& p) {
  DrawChip(p, QRectF(4, 3, 8, 10));
  DrawChip(p, QRectF(4, 19, 8, 10));
  p.setPen(Stroke(kAccent, 2.5));
  p.setBrush(Qt::NoBrush);
  QPainterPath path;
  path.moveTo(14, 8);
  path.cubicTo(20, 8, 18, 16, 24, 16);
  path.moveTo(14, 24);
  path.cubicTo(20, 24, 18, 16, 24, 16);
  p.drawPath(path);
  p.setBrush(kAccent);
  p.drawPolygon(QPolygonF({QPointF(24, 12), QPointF(30, 16), QPointF(24, 20)}));
}

void DrawRebuilder(QPainter& p) {
  p.setPen(Stroke(kInk, 1));
  const QColor blocks[3] = {kAccent, kInk, QColor(90, 130, 180)};
  int colour = 0;
  for (int row = 0; row < 3; ++row)
    for (int column = 0; column < 3 - row; ++column) {
      p.setBrush(blocks[colour++ % 3]);
      p.drawRect(QRectF(3 + row * 4.5 + column * 9, 22 - row * 8, 8, 7));
    }
  p.setPen(Stroke(kAccent, 3));
  p.drawLine(QPointF(24, 4), QPointF(29, 9));
}

void DrawSettings(QPainter& p) {
  const QPointF centre(16, 16);
  p.setPen(Qt::NoPen);
  p.setBrush(kInk);
  for (int tooth = 0; tooth < 8; ++tooth) {
    p.save();
    p.translate(centre);
    p.rotate(tooth * 45);
    p.drawRect(QRectF(-2.5, -14, 5, 6));
    p.restore();
  }
  p.drawEllipse(centre, 10, 10);
  p.setBrush(kAccent);
  p.drawEllipse(centre, 4.5, 4.5);
}

// A stylised kestrel: a swept wing over a tail, in the accent colour.
void DrawKestrel(QPainter& p) {
  p.setPen(Qt::NoPen);
  p.setBrush(kInk);
  p.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
  p.setBrush(kAccent);
  QPainterPath bird;
  bird.moveTo(4, 13);
  bird.cubicTo(12, 8, 18, 9, 22, 14);
  bird.lineTo(28, 9);
  bird.lineTo(26, 16);
  bird.cubicTo(22, 22, 16, 22, 12, 20);
  bird.lineTo(9, 28);
  bird.lineTo(8, 19);
  bird.cubicTo(7, 16, 6, 15, 4, 13);
  p.drawPath(bird);
  p.setBrush(kPaper);
  p.drawEllipse(QPointF(23.5, 13), 1.3, 1.3);
}

QIcon Paint(void (*draw)(QPainter&)) {
  QIcon icon;
  for (int scale : {1, 2}) {
    QPixmap pixmap(kSize * scale, kSize * scale);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(scale, scale);
    draw(painter);
    painter.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace

QIcon DrawToolPicture(ToolPicture picture) {
  switch (picture) {
    case ToolPicture::kScanner: return Paint(DrawScanner);
    case ToolPicture::kMerger: return Paint(DrawMerger);
    case ToolPicture::kRebuilder: return Paint(DrawRebuilder);
    case ToolPicture::kSettings: return Paint(DrawSettings);
  }
  return QIcon();
}

QIcon DrawProgramIcon() { return Paint(DrawKestrel); }

}  // namespace kestrel
