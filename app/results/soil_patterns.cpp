#include "app/results/soil_patterns.h"

#include <QPainter>
#include <QPainterPath>
#include <array>
#include <map>
#include <utility>

namespace {

// Every picture is drawn on a 24-unit square that repeats without seams; the print tile is
// the same drawing four times larger.
constexpr double kUnits = 24;

int TileFor(PatternSize size) { return size == PatternSize::Print ? 96 : 24; }

// Draws `fn` at its place and shifted by one tile in every direction, so that a mark crossing
// an edge comes back on the other side.
template <class Fn>
void Wrapped(QPainter& p, Fn fn) {
  for (int dx = -1; dx <= 1; ++dx)
    for (int dy = -1; dy <= 1; ++dy) {
      p.save();
      p.translate(dx * kUnits, dy * kUnits);
      fn();
      p.restore();
    }
}

void Dash(QPainter& p, double x, double y, double len) { p.drawLine(QPointF(x, y), QPointF(x + len, y)); }

void Dot(QPainter& p, double x, double y, double r) { p.drawEllipse(QPointF(x, y), r, r); }

// Clay: short horizontal dashes in staggered rows.
void Clay(QPainter& p) {
  p.setPen(QPen(Qt::black, 1.3, Qt::SolidLine, Qt::FlatCap));
  Wrapped(p, [&] {
    for (int row = 0; row < 4; ++row) {
      const double y = 3 + row * 6;
      const double x0 = row % 2 ? 6 : 0;
      Dash(p, x0 + 1, y, 8);
      Dash(p, x0 + 13, y, 8);
    }
  });
}

// Sand: scattered dots of two sizes.
void Sand(QPainter& p) {
  static constexpr std::array<std::pair<double, double>, 14> kDots = {{
      {2, 3}, {9, 1.5}, {16, 4}, {21, 9}, {5, 9}, {12, 8}, {18, 14}, {3, 15},
      {9, 14.5}, {14, 19}, {22, 20}, {6, 21}, {19, 1}, {11, 23}}};
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::black);
  Wrapped(p, [&] {
    int i = 0;
    for (auto [x, y] : kDots) Dot(p, x, y, (i++ % 3) ? 0.9 : 1.3);
  });
}

// Silt: rows of dashes alternating with rows of dots.
void Silt(QPainter& p) {
  p.setBrush(Qt::black);
  Wrapped(p, [&] {
    for (int row = 0; row < 2; ++row) {
      const double y = 3 + row * 12;
      p.setPen(QPen(Qt::black, 1.3, Qt::SolidLine, Qt::FlatCap));
      const double x0 = row ? 6 : 0;
      Dash(p, x0 + 1, y, 6);
      Dash(p, x0 + 13, y, 6);
      p.setPen(Qt::NoPen);
      for (int k = 0; k < 4; ++k) Dot(p, (row ? 0 : 3) + 1.5 + k * 6, y + 6, 0.95);
    }
  });
}

// Strong rock: sound blocks in running bond with firm joints.
void StrongRock(QPainter& p) {
  p.setPen(QPen(Qt::black, 1.2, Qt::SolidLine, Qt::FlatCap));
  Wrapped(p, [&] {
    for (int course = 0; course < 2; ++course) {
      const double y = course * 12;
      p.drawLine(QPointF(0, y), QPointF(kUnits, y));
      const double x = course ? 6 : 18;
      p.drawLine(QPointF(x, y), QPointF(x, y + 12));
    }
  });
}

// Weak rock: blocks with broken joints and fractures across them.
void WeakRock(QPainter& p) {
  QPen joint(Qt::black, 1.2, Qt::SolidLine, Qt::FlatCap);
  Wrapped(p, [&] {
    p.setPen(joint);
    for (int course = 0; course < 2; ++course) {
      const double y = course * 12;
      // joints with gaps, as a weathered mass shows them
      Dash(p, 0, y, 9);
      Dash(p, 12, y, 9);
      const double x = course ? 6 : 18;
      p.drawLine(QPointF(x, y), QPointF(x, y + 5));
      // a fracture through each block
      p.drawLine(QPointF(x + 3, y + 9), QPointF(x + 9, y + 4));
    }
  });
}

// Gravel: small rounded stones of several sizes.
void Gravel(QPainter& p) {
  static constexpr std::array<std::array<double, 3>, 7> kStones = {{
      {5, 5, 3}, {15, 4, 2.2}, {20, 13, 3.2}, {9, 14, 2.5}, {3, 20, 2}, {14, 21, 2.6}, {22, 22, 1.6}}};
  p.setPen(QPen(Qt::black, 1.1));
  p.setBrush(Qt::NoBrush);
  Wrapped(p, [&] {
    for (const auto& s : kStones) p.drawEllipse(QPointF(s[0], s[1]), s[2], s[2] * 0.8);
  });
}

// Organic soil: tufts of marsh grass over short ground lines.
void Organic(QPainter& p) {
  p.setPen(QPen(Qt::black, 1.1, Qt::SolidLine, Qt::RoundCap));
  auto tuft = [&](double x, double y) {
    Dash(p, x - 4, y, 8);
    p.drawLine(QPointF(x, y), QPointF(x, y - 4));
    p.drawLine(QPointF(x, y), QPointF(x - 2.5, y - 3.5));
    p.drawLine(QPointF(x, y), QPointF(x + 2.5, y - 3.5));
  };
  Wrapped(p, [&] {
    tuft(6, 9);
    tuft(18, 21);
  });
}

QImage Draw(int code, PatternSize size) {
  void (*draw)(QPainter&) = nullptr;
  switch (code) {
    case 1: draw = Clay; break;
    case 7: draw = Sand; break;
    case 8: draw = Silt; break;
    case 9: draw = StrongRock; break;
    case 10: draw = WeakRock; break;
    case 11: draw = Gravel; break;
    case 12: draw = Organic; break;
    default: return QImage();
  }
  const int tile = TileFor(size);
  QImage img(tile, tile, QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(tile / kUnits, tile / kUnits);
  draw(p);
  return img;
}

}  // namespace

int SoilPatternTile(PatternSize size) { return TileFor(size); }

QImage SoilPatternImage(int code, PatternSize size) {
  // Pictures are drawn once per code and size; the painter fills bands with them often.
  static std::map<std::pair<int, int>, QImage> cache;
  const auto key = std::make_pair(code, static_cast<int>(size));
  auto it = cache.find(key);
  if (it == cache.end()) it = cache.emplace(key, Draw(code, size)).first;
  return it->second;
}

QBrush SoilBrush(int code, PatternSize size) {
  Qt::BrushStyle hatch = Qt::NoBrush;
  switch (code) {
    case 2: hatch = Qt::FDiagPattern; break;
    case 3: hatch = Qt::CrossPattern; break;
    case 4: hatch = Qt::DiagCrossPattern; break;
    case 5: hatch = Qt::HorPattern; break;
    case 6: hatch = Qt::VerPattern; break;
    default: break;
  }
  if (hatch != Qt::NoBrush) {
    QBrush b(Qt::black, hatch);
    // The hatch spacing is in device pixels; a printer needs it as wide as on the screen.
    if (size == PatternSize::Print) b.setTransform(QTransform::fromScale(4, 4));
    return b;
  }
  const QImage img = SoilPatternImage(code, size);
  return img.isNull() ? QBrush() : QBrush(img);
}
