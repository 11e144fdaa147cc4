#include "gui/result_icons.h"

#include <QFont>
#include <QPainter>
#include <QPixmap>
#include <vector>

namespace kestrel {
namespace {

const QColor kChipGrey(120, 124, 132);
const QColor kChipDark(60, 64, 72);
const QColor kRed(210, 30, 30);
const QColor kFolderYellow(240, 200, 60);
const QColor kFolderEdge(160, 120, 20);
const QColor kSpeaker(70, 90, 140);

void DrawChip(QPainter& p, const QColor& body) {
  p.setPen(QPen(kChipDark, 1));
  for (int y = 4; y <= 12; y += 3) {
    p.drawLine(2, y, 3, y);
    p.drawLine(12, y, 13, y);
  }
  p.setBrush(body);
  p.drawRect(4, 2, 7, 12);
}

void DrawFolder(QPainter& p, const QColor& fill, const QColor& edge) {
  p.setPen(QPen(edge, 1));
  p.setBrush(fill);
  QPolygon shape({QPoint(1, 4), QPoint(6, 4), QPoint(7, 5), QPoint(14, 5), QPoint(14, 13),
                  QPoint(1, 13)});
  p.drawPolygon(shape);
}

void DrawSpeaker(QPainter& p) {
  p.setPen(QPen(kSpeaker, 1));
  p.setBrush(kSpeaker);
  p.drawPolygon(QPolygon({QPoint(2, 6), QPoint(5, 6), QPoint(9, 2), QPoint(9, 14), QPoint(5, 10),
                          QPoint(2, 10)}));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRect(8, 5, 5, 6), -60 * 16, 120 * 16);
  p.drawArc(QRect(8, 3, 8, 10), -60 * 16, 120 * 16);
}

void DrawCross(QPainter& p) {
  p.setPen(QPen(kRed, 2.2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(4, 4, 12, 12);
  p.drawLine(12, 4, 4, 12);
}

void DrawRedText(QPainter& p, const QString& text, int pixelSize) {
  QFont font;
  font.setPixelSize(pixelSize);
  font.setBold(true);
  p.setFont(font);
  p.setPen(kRed);
  p.drawText(QRect(0, 0, kResultIconSize, kResultIconSize), Qt::AlignCenter, text);
}

void DrawIcon(QPainter& p, int kind) {
  switch (kind) {
    case 0:  // a wrong checksum: a chip under a prohibition sign
      DrawChip(p, kChipGrey);
      p.setPen(QPen(kRed, 1.8));
      p.setBrush(Qt::NoBrush);
      p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
      p.drawLine(QPointF(3.5, 12.5), QPointF(12.5, 3.5));
      break;
    case 1:  // a missing ROM
      DrawChip(p, kChipGrey);
      break;
    case 2:  // a bad dump
      DrawChip(p, kChipGrey);
      DrawRedText(p, "?", 14);
      break;
    case 3:  // a wrong length: a piece cut out of the chip
      DrawChip(p, kChipGrey);
      p.setPen(Qt::NoPen);
      p.setBrush(Qt::white);
      p.drawPolygon(QPolygon({QPoint(11, 9), QPoint(11, 15), QPoint(5, 15)}));
      break;
    case 4:  // a missing sample
      DrawSpeaker(p);
      break;
    case 5:  // a game whose set was not found
      DrawFolder(p, kFolderYellow, kFolderEdge);
      DrawCross(p);
      break;
    case 6:  // any other game
      DrawFolder(p, QColor(250, 236, 190), QColor(210, 190, 140));
      DrawCross(p);
      break;
    case 7:  // a missing game
      DrawFolder(p, kFolderYellow, kFolderEdge);
      break;
    case 8:  // wrong spellings of a ROM, a sample and a set
      DrawChip(p, kChipGrey);
      DrawRedText(p, "Aa", 9);
      break;
    case 9:
      DrawSpeaker(p);
      DrawRedText(p, "Aa", 9);
      break;
    case 10:
      DrawFolder(p, kFolderYellow, kFolderEdge);
      DrawRedText(p, "Aa", 9);
      break;
    case 11:  // unneeded: a sweeping brush
      p.setPen(QPen(QColor(130, 80, 30), 2, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(13, 1, 7, 9);
      p.setPen(QPen(QColor(200, 160, 60), 1));
      p.setBrush(QColor(220, 180, 80));
      p.drawPolygon(QPolygon({QPoint(5, 8), QPoint(9, 11), QPoint(6, 15), QPoint(1, 14)}));
      break;
    case 12:  // wrong names of a ROM and a set
      DrawChip(p, kChipGrey);
      DrawRedText(p, "Name", 6);
      break;
    case 13:
      DrawFolder(p, kFolderYellow, kFolderEdge);
      DrawRedText(p, "Name", 6);
      break;
    default:  // 14 and beyond: empty
      break;
  }
}

QPixmap DrawPixmap(int kind) {
  QPixmap pixmap(kResultIconSize, kResultIconSize);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing, true);
  DrawIcon(painter, kind);
  return pixmap;
}

}  // namespace

QIcon ResultIcon(int kind) {
  static const std::vector<QIcon> icons = [] {
    std::vector<QIcon> all;
    for (int kind = 0; kind < kResultIconCount; ++kind) all.emplace_back(DrawPixmap(kind));
    return all;
  }();
  if (kind < 0 || kind >= kResultIconCount) return icons.back();
  return icons[static_cast<size_t>(kind)];
}

}  // namespace kestrel
