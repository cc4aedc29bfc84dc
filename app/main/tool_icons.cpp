#include "app/main/tool_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

const QColor kInk(40, 48, 64);
const QColor kSoil(205, 170, 110);
const QColor kSoilDark(150, 115, 70);
const QColor kWall(90, 96, 110);
const QColor kWater(40, 120, 210);
const QColor kCurve(200, 50, 40);

void page(QPainter& p) {
  p.setPen(QPen(kInk, 1));
  p.setBrush(Qt::white);
  QPolygonF sheet({QPointF(5, 2), QPointF(16, 2), QPointF(20, 6), QPointF(20, 22), QPointF(5, 22)});
  p.drawPolygon(sheet);
  p.drawLine(QPointF(16, 2), QPointF(16, 6));
  p.drawLine(QPointF(16, 6), QPointF(20, 6));
}

void axes(QPainter& p) {
  p.setPen(QPen(kInk, 1));
  p.drawLine(QPointF(3, 12), QPointF(21, 12));
  p.drawLine(QPointF(12, 3), QPointF(12, 21));
}

void depthAxis(QPainter& p) {
  p.setPen(QPen(kInk, 1.2));
  p.drawLine(QPointF(6, 3), QPointF(6, 21));
}

void draw(QPainter& p, const QString& name) {
  p.setRenderHint(QPainter::Antialiasing);
  if (name == "title") {
    page(p);
    QFont f;
    f.setBold(true);
    f.setPixelSize(12);
    p.setFont(f);
    p.setPen(kInk);
    p.drawText(QRectF(5, 6, 15, 15), Qt::AlignCenter, QStringLiteral("T"));
  } else if (name == "wall" || name == "config" || name == "profile") {
    p.setPen(Qt::NoPen);
    p.setBrush(kSoil);
    p.drawRect(QRectF(1, 7, 10, 16));
    p.drawRect(QRectF(13, 14, 10, 9));
    if (name == "profile") {
      p.setBrush(kSoilDark);
      p.drawRect(QRectF(1, 15, 10, 8));
      p.drawRect(QRectF(13, 18, 10, 5));
    }
    p.setBrush(kWall);
    p.drawRect(QRectF(10.5, 2, 3, 21));
    if (name == "config") {
      p.setPen(QPen(kWater, 1.6));
      p.drawLine(QPointF(1, 11), QPointF(10, 11));
      p.drawLine(QPointF(3, 13), QPointF(8, 13));
    }
  } else if (name == "soils") {
    const QColor bands[] = {QColor(225, 200, 140), kSoil, kSoilDark, QColor(130, 130, 140)};
    for (int i = 0; i < 4; ++i) {
      p.setPen(QPen(kInk, 0.6));
      p.setBrush(bands[i]);
      p.drawRect(QRectF(2, 2 + i * 5, 20, 5));
    }
  } else if (name == "stages") {
    p.setPen(QPen(kInk, 1));
    p.setBrush(kSoil);
    QPolygonF steps({QPointF(2, 22), QPointF(2, 4), QPointF(8, 4), QPointF(8, 10), QPointF(14, 10),
                     QPointF(14, 16), QPointF(22, 16), QPointF(22, 22)});
    p.drawPolygon(steps);
  } else if (name == "output") {
    page(p);
    p.setPen(QPen(kInk, 1));
    for (int y = 9; y <= 19; y += 3) p.drawLine(QPointF(8, y), QPointF(17, y));
  } else if (name == "3d") {
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(QColor(170, 190, 220));
    p.drawRect(QRectF(3, 8, 12, 12));
    p.setBrush(QColor(140, 165, 205));
    p.drawPolygon(QPolygonF({QPointF(3, 8), QPointF(9, 3), QPointF(21, 3), QPointF(15, 8)}));
    p.setBrush(QColor(110, 140, 190));
    p.drawPolygon(QPolygonF({QPointF(15, 8), QPointF(21, 3), QPointF(21, 15), QPointF(15, 20)}));
  } else if (name == "py") {
    axes(p);
    QPainterPath path;
    path.moveTo(3, 5);
    path.cubicTo(8, 5, 10, 6, 12, 12);
    path.cubicTo(14, 18, 16, 19, 21, 19);
    p.setPen(QPen(kCurve, 1.8));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
  } else if (name == "defl" || name == "mom" || name == "shear" || name == "reac" ||
             name == "press") {
    depthAxis(p);
    p.setPen(QPen(kCurve, 1.8));
    p.setBrush(Qt::NoBrush);
    QPainterPath path;
    if (name == "defl") {
      path.moveTo(18, 3);
      path.cubicTo(12, 10, 8, 16, 6, 21);
    } else if (name == "mom") {
      path.moveTo(6, 3);
      path.cubicTo(20, 8, 20, 16, 6, 21);
    } else if (name == "shear") {
      path.moveTo(6, 3);
      path.lineTo(16, 8);
      path.lineTo(6, 13);
      path.lineTo(12, 21);
    } else if (name == "reac") {
      for (int y = 6; y <= 18; y += 6) {
        p.drawLine(QPointF(19, y), QPointF(8, y));
        p.drawLine(QPointF(8, y), QPointF(11, y - 2.5));
        p.drawLine(QPointF(8, y), QPointF(11, y + 2.5));
      }
    } else {
      p.setBrush(QColor(200, 50, 40, 70));
      path.moveTo(6, 3);
      path.lineTo(20, 21);
      path.lineTo(6, 21);
      path.closeSubpath();
    }
    p.drawPath(path);
  } else if (name == "dmv") {
    p.setPen(QPen(kCurve, 1.4));
    for (int i = 0; i < 3; ++i) {
      const double x = 2 + i * 7.5;
      p.setPen(QPen(kInk, 0.8));
      p.drawLine(QPointF(x, 3), QPointF(x, 21));
      p.setPen(QPen(kCurve, 1.4));
      QPainterPath path;
      path.moveTo(x, 3);
      path.cubicTo(x + 6, 9, x + 6, 15, x, 21);
      p.drawPath(path);
    }
  } else if (name.startsWith("stage")) {
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(QColor(230, 236, 245));
    p.drawEllipse(QRectF(2, 2, 20, 20));
    QFont f;
    f.setBold(true);
    f.setPixelSize(12);
    p.setFont(f);
    p.drawText(QRectF(2, 2, 20, 20), Qt::AlignCenter, name.mid(5));
  }
}

}  // namespace

QIcon toolIcon(const QString& name) {
  QIcon icon;
  for (int size : {24, 48}) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.scale(size / 24.0, size / 24.0);
    draw(p, name);
    p.end();
    icon.addPixmap(pm);
  }
  return icon;
}
