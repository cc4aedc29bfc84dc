#include "schematic_figure.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace tarnel::dialogs {
namespace {

// Logical drawing space; the painter scales it into the widget keeping the aspect ratio.
constexpr int kW = 380;
constexpr int kH = 300;
constexpr double kWallX = 190;      // wall centre line
constexpr double kWallTop = 40;
constexpr double kWallToe = 280;
constexpr double kBackfill = 70;    // top of the backfill
constexpr double kExcavation = 170; // excavation level

const QColor kSoil(222, 200, 160);
const QColor kSoilLine(150, 120, 80);
const QColor kWallFill(120, 130, 145);
const QColor kLoad(200, 30, 30);
const QColor kDim(30, 60, 160);

void arrow(QPainter& p, QPointF from, QPointF to, const QColor& c, double head = 7) {
  p.save();
  p.setPen(QPen(c, 1.8));
  p.setBrush(c);
  p.drawLine(from, to);
  const double a = std::atan2(to.y() - from.y(), to.x() - from.x());
  QPolygonF tip;
  tip << to << to - QPointF(head * std::cos(a - 0.4), head * std::sin(a - 0.4))
      << to - QPointF(head * std::cos(a + 0.4), head * std::sin(a + 0.4));
  p.drawPolygon(tip);
  p.restore();
}

// A dimension line with ticks at both ends and its text beside the middle.
void dimension(QPainter& p, QPointF a, QPointF b, const QString& text, QPointF textOffset = {4, -4}) {
  p.save();
  p.setPen(QPen(kDim, 1));
  p.drawLine(a, b);
  const bool vertical = std::abs(a.x() - b.x()) < 1e-6;
  for (QPointF e : {a, b}) {
    if (vertical)
      p.drawLine(e + QPointF(-4, 0), e + QPointF(4, 0));
    else
      p.drawLine(e + QPointF(0, -4), e + QPointF(0, 4));
  }
  p.drawText((a + b) / 2 + textOffset, text);
  p.restore();
}

void soilBlock(QPainter& p, const QRectF& r) {
  p.save();
  p.setPen(Qt::NoPen);
  p.setBrush(kSoil);
  p.drawRect(r);
  p.setBrush(QBrush(kSoilLine, Qt::BDiagPattern));
  p.drawRect(r);
  p.setPen(QPen(kSoilLine, 1.5));
  p.drawLine(r.topLeft(), r.topRight());
  p.restore();
}

// Backfill on the left, excavation on the right, the wall between them.
void wallScene(QPainter& p, bool nodes) {
  soilBlock(p, QRectF(8, kBackfill, kWallX - 8, kH - 8 - kBackfill));
  soilBlock(p, QRectF(kWallX, kExcavation, kW - 8 - kWallX, kH - 8 - kExcavation));
  p.save();
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(kWallFill);
  p.drawRect(QRectF(kWallX - 4, kWallTop, 8, kWallToe - kWallTop));
  if (nodes) {
    p.setBrush(Qt::white);
    for (double y = kWallTop; y <= kWallToe + 0.1; y += 24) p.drawEllipse(QPointF(kWallX, y), 2.5, 2.5);
  }
  QFont f = p.font();
  f.setPointSizeF(8);
  f.setItalic(true);
  p.setFont(f);
  p.setPen(Qt::black);
  p.drawText(QPointF(14, kH - 14), "Backfill side");
  p.drawText(QPointF(kW - 100, kH - 14), "Excavation side");
  p.restore();
}

void drawSurcharge(QPainter& p) {
  wallScene(p, false);
  QFont f = p.font();
  f.setPointSizeF(8);
  p.setFont(f);
  // Point load
  arrow(p, {150, kBackfill - 40}, {150, kBackfill}, kLoad);
  p.setPen(kLoad);
  p.drawText(QPointF(126, kBackfill - 44), "Point");
  // Line load, drawn in perspective as a row of arrows along a line
  arrow(p, {108, kBackfill - 40}, {108, kBackfill}, kLoad);
  p.setPen(kLoad);
  p.drawText(QPointF(96, kBackfill - 44), "Line");
  // Strip load of width W
  const double x0 = 22, x1 = 70;
  p.setPen(QPen(kLoad, 1.2));
  p.drawLine(QPointF(x0, kBackfill - 26), QPointF(x1, kBackfill - 26));
  for (double x = x0; x <= x1 + 0.1; x += 8) arrow(p, {x, kBackfill - 26}, {x, kBackfill}, kLoad, 5);
  p.setPen(kLoad);
  p.drawText(QPointF(x0 + 4, kBackfill - 32), "Strip, q");
  dimension(p, {x0, kBackfill + 14}, {x1, kBackfill + 14}, "W", {-22, 14});
  // Distance X from the wall to the load (to the middle of a strip)
  const double xm = (x0 + x1) / 2;
  p.setPen(QPen(kDim, 1, Qt::DotLine));
  p.drawLine(QPointF(xm, kBackfill - 20), QPointF(xm, kBackfill + 44));
  dimension(p, {xm, kBackfill + 40}, {kWallX - 4, kBackfill + 40}, "X", {-4, 14});
  // Free height H
  dimension(p, {kWallX + 40, kBackfill}, {kWallX + 40, kExcavation}, "H", {6, 4});
  p.setPen(QPen(Qt::gray, 1, Qt::DashLine));
  p.drawLine(QPointF(kWallX + 4, kBackfill), QPointF(kWallX + 48, kBackfill));
  // Resulting extra lateral pressure on the wall
  p.setPen(QPen(kLoad, 1));
  QPainterPath bulb;
  bulb.moveTo(kWallX - 4, kBackfill);
  bulb.cubicTo(kWallX - 50, kBackfill + 40, kWallX - 40, kBackfill + 110, kWallX - 4, kBackfill + 170);
  p.setBrush(QColor(200, 30, 30, 40));
  p.drawPath(bulb);
  p.setBrush(Qt::NoBrush);
  for (double y = kBackfill + 20; y < kBackfill + 160; y += 22) arrow(p, {kWallX - 34, y}, {kWallX - 5, y}, kLoad, 4);
  p.setPen(kLoad);
  p.drawText(QPointF(kWallX - 150, kBackfill + 190), "Added lateral pressure");
}

void drawConcentratedLoads(QPainter& p) {
  wallScene(p, true);
  QFont f = p.font();
  f.setPointSizeF(8);
  p.setFont(f);
  // Node numbers
  p.setPen(Qt::black);
  p.drawText(QPointF(kWallX + 8, kWallTop + 4), "Node 0 (top)");
  p.drawText(QPointF(kWallX + 8, kWallToe + 4), "Node n");
  // Axial load at the top
  arrow(p, {kWallX, kWallTop - 34}, {kWallX, kWallTop - 2}, kLoad);
  p.setPen(kLoad);
  p.drawText(QPointF(kWallX + 6, kWallTop - 22), "Axial load");
  // Lateral load at a node
  const double yl = kWallTop + 48;
  arrow(p, {kWallX + 60, yl}, {kWallX + 6, yl}, kLoad);
  p.setPen(kLoad);
  p.drawText(QPointF(kWallX + 20, yl - 6), "Lateral load P");
  // Moment at a node: an arc with an arrow head
  const double ym = kWallTop + 96;
  p.setPen(QPen(kLoad, 1.8));
  p.setBrush(Qt::NoBrush);
  QRectF arc(kWallX - 18, ym - 18, 36, 36);
  p.drawArc(arc, 30 * 16, 280 * 16);
  const QPointF end(kWallX + 18 * std::cos(qDegreesToRadians(-50.0)), ym - 18 * std::sin(qDegreesToRadians(-50.0)));
  arrow(p, end + QPointF(-6, -7), end, kLoad, 6);
  p.setPen(kLoad);
  p.drawText(QPointF(kWallX + 24, ym + 4), "Moment M");
  // Start/end range of an interpolated load
  p.setPen(QPen(kDim, 1));
  const double ys = kWallTop + 120, ye = kWallTop + 192;
  for (double y = ys; y <= ye + 0.1; y += 24) arrow(p, {kWallX + 40, y}, {kWallX + 6, y}, kDim, 5);
  p.drawLine(QPointF(kWallX + 40, ys), QPointF(kWallX + 40, ye));
  p.setPen(kDim);
  p.drawText(QPointF(kWallX + 46, ys + 4), "START node");
  p.drawText(QPointF(kWallX + 46, ye + 4), "END node");
  p.drawText(QPointF(kWallX + 46, (ys + ye) / 2 + 4), "loads at every node");
}

void zigzag(QPainter& p, QPointF a, QPointF b) {
  const int n = 6;
  QPolygonF z;
  z << a;
  const QPointF d = (b - a) / (n + 2);
  const QPointF nrm(-d.y(), d.x());
  const double len = std::hypot(nrm.x(), nrm.y());
  const QPointF off = len > 0 ? nrm / len * 5 : QPointF();
  z << a + d;
  for (int i = 1; i <= n; ++i) z << a + d * (i + 0.5) + (i % 2 ? off : -off);
  z << b - d << b;
  p.drawPolyline(z);
}

void ground(QPainter& p, QPointF a, QPointF b) {
  p.save();
  p.setPen(QPen(Qt::black, 1.5));
  p.drawLine(a, b);
  p.setPen(QPen(Qt::black, 1));
  const double len = std::hypot(b.x() - a.x(), b.y() - a.y());
  for (double t = 0; t <= len; t += 6) {
    const QPointF q = a + (b - a) * (t / len);
    p.drawLine(q, q + QPointF(5, 5));
  }
  p.restore();
}

void drawSprings(QPainter& p) {
  // The wall alone with its supports: soil drawn lightly behind it.
  wallScene(p, true);
  QFont f = p.font();
  f.setPointSizeF(8);
  p.setFont(f);
  p.setPen(QPen(QColor(0, 110, 0), 1.6));
  // Lateral springs at three nodes, anchored to fixed supports on the excavation side
  for (double y : {kWallTop + 24, kWallTop + 48, kWallTop + 72}) {
    zigzag(p, {kWallX + 4, y}, {kWallX + 70, y});
    ground(p, {kWallX + 70, y - 8}, {kWallX + 70, y + 8});
  }
  p.setPen(QColor(0, 110, 0));
  p.drawText(QPointF(kWallX + 84, kWallTop + 44), "Lateral spring");
  p.drawText(QPointF(kWallX + 84, kWallTop + 58), "stiffness (F/L)");
  // Rotational spring at the top of the wall: a spiral to a fixed base
  p.setPen(QPen(QColor(120, 0, 160), 1.6));
  QPainterPath spiral;
  const QPointF c(kWallX - 36, kWallTop + 12);
  for (int i = 0; i <= 100; ++i) {
    const double t = i / 100.0 * 4 * M_PI;
    const double r = 2 + 2.2 * t;
    const QPointF q = c + QPointF(r * std::cos(t), -r * std::sin(t));
    if (i == 0)
      spiral.moveTo(q);
    else
      spiral.lineTo(q);
  }
  p.drawPath(spiral);
  p.drawLine(c + QPointF(2, 0), QPointF(kWallX - 4, kWallTop + 12));
  ground(p, c + QPointF(-36, 26), c + QPointF(10, 26));
  p.drawLine(c + QPointF(-8, 0), c + QPointF(-13, 26));
  p.setPen(QColor(120, 0, 160));
  p.drawText(QPointF(12, kWallTop - 10), "Rotational spring (F-L/rad)");
  // Springs over a range of nodes, with interpolation from START to END
  p.setPen(QPen(QColor(0, 110, 0), 1.2));
  const double ys = kExcavation + 24, ye = kExcavation + 96;
  for (double y = ys; y <= ye + 0.1; y += 24) zigzag(p, {kWallX - 4, y}, {kWallX - 60, y});
  p.setPen(kDim);
  p.drawText(QPointF(18, ys + 4), "START node");
  p.drawText(QPointF(18, ye + 4), "END node");
}

void drawTieback(QPainter& p) {
  wallScene(p, true);
  QFont f = p.font();
  f.setPointSizeF(8);
  p.setFont(f);
  // Tieback from the wall at depth d, sloping down into the backfill at angle alpha
  const double d = 64;
  const QPointF head(kWallX - 4, kWallTop + d);
  const double alpha = qDegreesToRadians(20.0);
  const double unbonded = 92, bonded = 62;
  const QPointF dir(-std::cos(alpha), std::sin(alpha));
  const QPointF bondStart = head + dir * unbonded;
  const QPointF bondEnd = bondStart + dir * bonded;
  p.setPen(QPen(Qt::black, 1.6));
  p.drawLine(head, bondStart);
  // Grouted bond zone
  p.save();
  p.translate(bondStart);
  p.rotate(180 - qRadiansToDegrees(alpha));
  p.setBrush(QColor(150, 150, 150));
  p.setPen(QPen(Qt::black, 1));
  p.drawRoundedRect(QRectF(0, -5, bonded, 10), 4, 4);
  p.restore();
  // Anchor head and waler on the excavation face
  p.setBrush(Qt::black);
  p.drawRect(QRectF(kWallX + 4, head.y() - 7, 6, 14));
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(Qt::black, 1.6));
  p.drawLine(QPointF(kWallX - 4, head.y()), QPointF(kWallX + 10, head.y()));
  // Depth from the top of the wall
  dimension(p, {kWallX + 28, kWallTop}, {kWallX + 28, head.y()}, "Depth", {6, 4});
  p.setPen(QPen(Qt::gray, 1, Qt::DashLine));
  p.drawLine(QPointF(kWallX + 4, kWallTop), QPointF(kWallX + 34, kWallTop));
  p.drawLine(QPointF(kWallX + 10, head.y()), QPointF(kWallX + 34, head.y()));
  // Angle from horizontal
  p.setPen(QPen(kDim, 1, Qt::DashLine));
  p.drawLine(head, head + QPointF(-110, 0));
  p.setPen(QPen(kDim, 1));
  p.drawArc(QRectF(head.x() - 60, head.y() - 60, 120, 120), 180 * 16, qRound(qRadiansToDegrees(alpha) * 16));
  p.drawText(head + QPointF(-120, -5), "Angle");
  // Unbonded length along the rod, offset below it
  const QPointF n(std::sin(alpha), std::cos(alpha));
  p.save();
  p.translate(head + n * 16 + dir * 6);
  p.rotate(-qRadiansToDegrees(alpha));
  p.setPen(QPen(kDim, 1));
  p.drawLine(QPointF(0, 0), QPointF(-unbonded, 0));
  p.drawLine(QPointF(0, -4), QPointF(0, 4));
  p.drawLine(QPointF(-unbonded, -4), QPointF(-unbonded, 4));
  p.drawText(QPointF(-unbonded - 10, 13), "Unbonded length");
  p.restore();
  p.setPen(Qt::black);
  p.drawText(bondEnd + QPointF(-6, 22), "Bond zone");
  p.drawText(QPointF(kWallX + 14, head.y() + 22), "Prestress");
  // Plan view: spacing of anchors in a row
  const double py = kExcavation + 40;
  p.setPen(QPen(Qt::gray, 1));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(kWallX + 12, py - 26, kW - kWallX - 28, 92));
  p.setBrush(Qt::NoBrush);
  p.setPen(Qt::black);
  p.drawText(QPointF(kWallX + 20, py - 12), "Plan: anchor spacing");
  p.setPen(QPen(Qt::black, 2));
  p.drawLine(QPointF(kWallX + 20, py), QPointF(kW - 20, py));
  p.setPen(QPen(Qt::black, 1.2));
  for (double x = kWallX + 40; x < kW - 20; x += 50) p.drawLine(QPointF(x, py), QPointF(x - 14, py + 34));
  dimension(p, {kWallX + 40, py + 44}, {kWallX + 90, py + 44}, "spacing", {-14, 14});
}

}  // namespace

SchematicFigure::SchematicFigure(Kind kind, QWidget* parent) : QWidget(parent), kind_(kind) {
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::white);
  setPalette(pal);
}

void SchematicFigure::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  // Keep the aspect ratio and centre the drawing.
  const double s = std::min(width() / double(kW), height() / double(kH));
  p.translate((width() - kW * s) / 2, (height() - kH * s) / 2);
  p.scale(s, s);
  p.save();
  switch (kind_) {
    case Kind::Surcharge: drawSurcharge(p); break;
    case Kind::ConcentratedLoads: drawConcentratedLoads(p); break;
    case Kind::Springs: drawSprings(p); break;
    case Kind::Tieback: drawTieback(p); break;
  }
  p.restore();
  p.resetTransform();
  p.setBrush(Qt::NoBrush);
  p.setPen(QColor(180, 180, 180));
  p.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace tarnel::dialogs
