#include "app/results/chart_layout.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "app/results/graph_plot.h"

namespace {

// Tolerance of the "is a multiple of the step" tests: limits that are multiples already
// (7 for a step of 1) must not move a whole step because of a rounding error.
constexpr double kStepEps = 1e-9;

int Round(double v) { return static_cast<int>(std::lround(v)); }

// Moves lo down and hi up to multiples of s.
void RoundOutwards(double& lo, double& hi, double s) {
  lo = std::floor(lo / s + kStepEps) * s;
  hi = std::ceil(hi / s - kStepEps) * s;
}

// Keeps [lo, lo + len] inside [fullLo, fullHi] (len no longer than the full range).
void ShiftInside(double& lo, double& hi, double len, double fullLo, double fullHi) {
  if (len >= fullHi - fullLo) {
    lo = fullLo;
    hi = fullHi;
    return;
  }
  hi = lo + len;
  if (lo < fullLo) {
    lo = fullLo;
    hi = fullLo + len;
  }
  if (hi > fullHi) {
    hi = fullHi;
    lo = fullHi - len;
  }
}

// One axis of a band zoom: the band's extent, at least 1/20 of the full range.
void LimitZoom(double& lo, double& hi, double fullLo, double fullHi) {
  const double full = fullHi - fullLo;
  if (full > kMaxZoom * (hi - lo)) {
    const double len = full / kMaxZoom;
    const double centre = (lo + hi) / 2;
    lo = centre - len / 2;
    ShiftInside(lo, hi, len, fullLo, fullHi);
  }
}

void DoubleAround(double& lo, double& hi, double at, double fullLo, double fullHi) {
  const double len = std::min(2 * (hi - lo), fullHi - fullLo);
  lo = at - len / 2;
  ShiftInside(lo, hi, len, fullLo, fullHi);
}

}  // namespace

double RangeStep(double range) {
  if (!(range > 0) || !std::isfinite(range)) return 0;
  // The first digit from the mantissa, not from the fractional part of log10: log10(30)
  // comes out a hair below 1 + log10(3).
  double decade = std::floor(std::log10(range));
  double mantissa = range / std::pow(10.0, decade);
  if (mantissa >= 10 * (1 - kStepEps)) {
    decade += 1;
    mantissa /= 10;
  } else if (mantissa < 1) {
    decade -= 1;
    mantissa *= 10;
  }
  double s = std::pow(10.0, decade);
  if (mantissa < 3 * (1 - kStepEps)) s /= 10;
  return std::isfinite(s) ? s : 0;
}

std::optional<AxisRange> RangeOfLines(const std::vector<TLine>& lines) {
  AxisRange r{0, 0, 0, 0};
  for (const TLine& line : lines)
    for (const TFloatPoint& p : line.Points) {
      if (!std::isfinite(p.X) || !std::isfinite(p.Y)) return std::nullopt;
      r.XMin = std::min(r.XMin, p.X);
      r.XMax = std::max(r.XMax, p.X);
      r.YMin = std::min(r.YMin, p.Y);
      r.YMax = std::max(r.YMax, p.Y);
    }
  auto finish = [](double& lo, double& hi) {
    if (hi - lo <= 0) {
      lo -= 0.01;
      hi += 0.01;
    }
    const double s = RangeStep(hi - lo);
    if (s == 0) return false;
    RoundOutwards(lo, hi, s);
    return hi > lo;
  };
  if (!finish(r.XMin, r.XMax) || !finish(r.YMin, r.YMax)) return std::nullopt;
  return r;
}

std::optional<std::array<AxisRange, 3>> ChartRanges(const TGraphPlot& plot) {
  const auto p1 = RangeOfLines(plot.Lines(LineList::Main));
  if (!p1) return std::nullopt;
  std::array<AxisRange, 3> out{*p1, *p1, *p1};
  if (plot.ShowThree) {
    const auto p2 = RangeOfLines(plot.Lines(LineList::Panel2));
    const auto p3 = RangeOfLines(plot.Lines(LineList::Panel3));
    if (!p2 || !p3) return std::nullopt;
    out[1] = *p2;
    out[2] = *p3;
  }
  return out;
}

bool ChartLayout::TooSmall() const {
  return frame.width() < dpiX || frame.height() < dpiY || plot.Width() <= 0 || plot.Height() <= 0 ||
         panels[0].Width() <= 0;
}

ChartLayout ComputeLayout(const TGraphPlot& plot, const LayoutTarget& t) {
  ChartLayout L;
  L.frame = t.frame;
  L.dpiX = t.dpiX;
  L.dpiY = t.dpiY;
  L.h = t.h;
  L.xOnTop = plot.XOnTop;
  L.hasTitle = !plot.GraphTitle.isEmpty();
  L.titleOnTop = plot.TitleOnTop;
  const double h = t.h, dx = t.dpiX, dy = t.dpiY;
  const double x0 = t.frame.x(), y0 = t.frame.y();
  const double W = t.frame.width(), H = t.frame.height();
  const bool print = t.device == ChartDevice::Printer;

  double left = x0 + 2 * h + dx / 8 + h / 8;
  double right = print ? x0 + W : x0 + W - dx / 4 - h / 2;
  double top, bottom;
  if (plot.XOnTop) {
    top = y0 + 2 * h + dy / 8 + h / 8;
    bottom = print ? y0 + H : y0 + H - dy / 4 - h / 2;
  } else {
    top = print ? y0 : y0 + h / 2 + dy / 4;
    bottom = y0 + H - 2 * h - dy / 8 - h / 8;
  }
  if (L.hasTitle) {
    // Saved pictures reserve the room as well: the title would otherwise sit on the axis
    // title and the tick labels.
    if (print) {
      if (plot.TitleOnTop) top += dy / 4; else bottom -= dy / 2;
    } else {
      if (plot.TitleOnTop) top += h / 8 + h; else bottom -= h;
    }
  }
  const bool layers = plot.ShowLayers && plot.LineCount(LineList::Layers) > 0;
  if (layers) {
    const double oldRight = right;
    right -= t.device == ChartDevice::Picture ? dx / 2 : dx;
    L.strip = PlotRect{Round(right + dx / 5), Round(top), Round(oldRight), Round(bottom)};
  }
  L.plot = PlotRect{Round(left), Round(top), Round(right), Round(bottom)};
  L.panels = {L.plot, L.plot, L.plot};
  if (plot.ShowThree) {
    L.panelCount = 3;
    const double w = (right - left - 4 * h - dx / 2) / 3;
    const double gap = 2 * h + dx / 4;
    const double l2 = left + w + gap, l3 = l2 + w + gap;
    L.panels[0] = PlotRect{Round(left), Round(top), Round(left + w), Round(bottom)};
    L.panels[1] = PlotRect{Round(l2), Round(top), Round(l2 + w), Round(bottom)};
    L.panels[2] = PlotRect{Round(l3), Round(top), Round(right), Round(bottom)};
  }
  return L;
}

QPointF PanelMapping::ToPixelF(double x, double y) const {
  const double w = range.Width(), hgt = range.Height();
  const double px = rect.left + (w != 0 ? (x - range.XMin) / w : 0) * rect.Width();
  const double dy = (hgt != 0 ? (y - range.YMin) / hgt : 0) * rect.Height();
  return QPointF(px, xOnTop ? rect.top + dy : rect.bottom - dy);
}

QPoint PanelMapping::ToPixel(double x, double y) const {
  const QPointF p = ToPixelF(x, y);
  // Far outside values are clipped by the painter; keep them inside int.
  auto clampRound = [](double v) { return Round(std::clamp(v, -1e8, 1e8)); };
  return QPoint(clampRound(p.x()), clampRound(p.y()));
}

QPointF PanelMapping::ToWorld(QPointF pixel) const {
  const double fx = rect.Width() > 0 ? (pixel.x() - rect.left) / rect.Width() : 0;
  double fy = rect.Height() > 0 ? (pixel.y() - rect.top) / rect.Height() : 0;
  if (!xOnTop) fy = 1 - fy;
  return QPointF(range.XMin + fx * range.Width(), range.YMin + fy * range.Height());
}

QPointF PanelMapping::ToWorldClamped(QPointF pixel) const {
  return ToWorld(QPointF(std::clamp<double>(pixel.x(), rect.left, rect.right),
                         std::clamp<double>(pixel.y(), rect.top, rect.bottom)));
}

int PanelAt(const ChartLayout& layout, double x) {
  int best = 0;
  double bestDist = 1e300;
  for (int i = 0; i < layout.panelCount; ++i) {
    const PlotRect& r = layout.panels[i];
    const double d = x < r.left ? r.left - x : (x > r.right ? x - r.right : 0);
    if (d < bestDist) {
      bestDist = d;
      best = i;
    }
  }
  return best;
}

AxisTicks ComputeTicks(double lo, double hi, int pixels, double h) {
  AxisTicks out;
  if (h <= 0 || !(hi > lo) || !std::isfinite(hi - lo)) return out;
  const int n = static_cast<int>(pixels / (6 * h));
  if (n <= 0) return out;
  const double r = (hi - lo) / n;
  const double g = std::pow(10.0, std::floor(std::log10(r)));
  const int k = static_cast<int>(r / g + kStepEps);
  out.major = k < 2 ? g : k <= 4 ? 2 * g : k <= 8 ? 5 * g : 10 * g;
  out.minor = out.major / 5;
  const double first = std::ceil(lo / out.minor - kStepEps);
  const double last = std::floor(hi / out.minor + kStepEps);
  if (!(last - first < 10000)) return out;  // cannot happen with n intervals; stay safe
  for (double i = first; i <= last; ++i) {
    const long long ii = static_cast<long long>(i);
    const bool major = ii % 5 == 0;
    const double v = ii == 0 ? 0.0 : ii * out.minor;
    out.ticks.push_back({v, major, major ? GeneralNumber(v, 4) : QString()});
  }
  return out;
}

int LinePenWidth(double dpiX, int widthLine) {
  return (Round(dpiX / 300.0) + 1) * std::max(widthLine, 1);
}

QPolygonF MarkerPolygon(int kind, QPointF centre, double dpiX, double dpiY) {
  std::vector<double> degrees;
  if (kind == 1) {
    degrees = {180, 300, 60};
  } else if (kind == 2) {
    degrees = {45, 135, 225, 315};
  } else {
    const int k = std::clamp(kind, 3, 10);
    for (int i = 0; i < k; ++i) degrees.push_back(360.0 * i / k);
  }
  QPolygonF poly;
  for (double d : degrees) {
    const double t = d * std::numbers::pi / 180;
    poly << centre + QPointF(std::sin(t) * dpiX / 32, -std::cos(t) * dpiY / 32);
  }
  return poly;
}

bool HasMarker(int pointIndex, int markers) { return markers > 0 && pointIndex % markers == 0; }

int DrawnPointCount(int pointCount, int linesInPanel, bool threePanels) {
  if (threePanels && linesInPanel > 1) return std::max(pointCount - 1, 0);
  return pointCount;
}

LegendBox ComputeLegendBox(const ChartLayout& L, const std::vector<LegendEntry>& entries,
                           int rowHeight, std::optional<QPointF> relativePos) {
  LegendBox out;
  if (entries.empty()) return out;
  int widest = 0;
  for (const LegendEntry& e : entries) widest = std::max(widest, e.textWidth);
  // The marker takes the first 5/32 inch of the 3/16 inch; the last 1/32 keeps the name off
  // the frame.
  const int width = widest + Round(L.dpiX * 3 / 16);
  const int pad = rowHeight / 6;
  const int height = static_cast<int>(entries.size()) * rowHeight + 2 * pad;
  QPoint tl;
  if (relativePos) {
    tl = QPoint(L.frame.x() + Round(relativePos->x() * L.frame.width()),
                L.frame.y() + Round(relativePos->y() * L.frame.height()));
  } else {
    tl = QPoint(L.plot.right - width - Round(L.dpiX / 16), L.plot.bottom - height - Round(L.dpiY / 16));
  }
  tl.setX(std::clamp(tl.x(), L.frame.left(), std::max(L.frame.left(), L.frame.x() + L.frame.width() - width)));
  tl.setY(std::clamp(tl.y(), L.frame.top(), std::max(L.frame.top(), L.frame.y() + L.frame.height() - height)));
  out.box = QRect(tl, QSize(width, height));
  int y = tl.y() + pad;
  for (const LegendEntry& e : entries) {
    LegendRow row;
    row.line = e.line;
    row.activeIndex = e.activeIndex;
    row.rect = QRect(tl.x(), y, width, rowHeight);
    row.marker = QPointF(tl.x() + L.dpiX * 3 / 32, y + rowHeight / 2.0);
    const int textLeft = tl.x() + Round(L.dpiX * 5 / 32);
    row.textRect = QRect(textLeft, y, width - (textLeft - tl.x()), rowHeight);
    out.rows.push_back(row);
    y += rowHeight;
  }
  return out;
}

StripGeometry ComputeStrip(const TGraphPlot& plot, const PlotRect& strip, const PanelMapping& map) {
  StripGeometry out;
  const auto& lines = plot.Lines(LineList::Layers);
  const int n = static_cast<int>(lines.size());
  const int soils = plot.WallLineCount > 0 ? std::min(plot.WallLineCount, n) : std::max(n - 2, 0);
  auto depthOf = [&](int i, double& d) {
    if (i < 0 || i >= n || lines[i].Points.empty()) return false;
    d = lines[i].Points.front().Y;
    return std::isfinite(d);
  };
  const int w = strip.Width();
  auto yOf = [&](double depth) { return map.ToPixelF(map.range.XMin, depth).y(); };
  // A piece of a band between two depths and two x positions, clipped to the strip.
  auto piece = [&](double d0, double d1, int xl, int xr, int code, const QString& name, bool label) {
    double ya = yOf(d0), yb = yOf(d1);
    if (ya > yb) std::swap(ya, yb);
    ya = std::max<double>(ya, strip.top);
    yb = std::min<double>(yb, strip.bottom);
    if (yb - ya < 1 || xr <= xl) return;
    out.bands.push_back({code, name, QRect(QPoint(xl, Round(ya)), QPoint(xr, Round(yb))), label});
  };

  double tip = 0, excavation = 0;
  const bool wall = plot.ShowWall && depthOf(soils, tip) && depthOf(n - 1, excavation) && n > soils;
  const int xWallL = strip.left + Round(w * 2.0 / 5), xWallR = strip.left + Round(w * 3.0 / 5);
  double above = plot.LayerStartDepth;
  for (int i = 0; i < soils; ++i) {
    double bottom;
    if (!depthOf(i, bottom)) continue;
    const int code = static_cast<int>(std::lround(lines[i].Points.front().X));
    const QString& name = lines[i].Name;
    const double lo = std::min(above, bottom), hi = std::max(above, bottom);
    if (!wall || lo >= excavation) {
      piece(lo, hi, strip.left, strip.right, code, name, true);
    } else {
      piece(lo, hi, strip.left, xWallL, code, name, true);
      if (hi > excavation) piece(excavation, hi, xWallR, strip.right, code, name, false);
    }
    above = bottom;
  }
  if (wall) {
    double ya = yOf(plot.LayerStartDepth), yb = yOf(tip);
    if (ya > yb) std::swap(ya, yb);
    ya = std::max<double>(ya, strip.top);
    yb = std::min<double>(yb, strip.bottom);
    if (yb - ya >= 1) out.wall = QRect(QPoint(xWallL, Round(ya)), QPoint(xWallR, Round(yb)));
  }
  return out;
}

std::optional<AxisRange> ZoomToBand(const PanelMapping& map, const AxisRange& full, QPointF start,
                                    QPointF end) {
  auto clampToRect = [&](QPointF p) {
    return QPointF(std::clamp<double>(p.x(), map.rect.left, map.rect.right),
                   std::clamp<double>(p.y(), map.rect.top, map.rect.bottom));
  };
  const QPointF a = clampToRect(start), b = clampToRect(end);
  if (std::abs(a.x() - b.x()) < 1 || std::abs(a.y() - b.y()) < 1) return std::nullopt;
  const QPointF wa = map.ToWorld(a), wb = map.ToWorld(b);
  AxisRange r{std::min(wa.x(), wb.x()), std::max(wa.x(), wb.x()), std::min(wa.y(), wb.y()),
              std::max(wa.y(), wb.y())};
  LimitZoom(r.XMin, r.XMax, full.XMin, full.XMax);
  LimitZoom(r.YMin, r.YMax, full.YMin, full.YMax);
  return r;
}

AxisRange ZoomOut(const PanelMapping& map, const AxisRange& full, QPointF at) {
  const QPointF w = map.ToWorldClamped(at);
  AxisRange r = map.range;
  DoubleAround(r.XMin, r.XMax, w.x(), full.XMin, full.XMax);
  DoubleAround(r.YMin, r.YMax, w.y(), full.YMin, full.YMax);
  return r;
}
