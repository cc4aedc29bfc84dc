// The geometry of a result chart, computed apart from any window or painter: axis ranges
// and their rounding, the placement of the plot (one panel or three, the soil-layer strip,
// room for the titles) on a screen, a printed page or a picture, the mapping between world
// values and pixels, ticks and labels, marker outlines, the legend box of prints and the
// bands of the soil-layer strip, and the zoom rules of the chart window.
//
// Everything here is a value: ChartPainter draws what these functions return and the chart
// window maps the mouse with the same numbers, so tests check the picture's geometry
// without painting it.
#pragma once

#include <QPointF>
#include <QPolygonF>
#include <QRect>
#include <QString>
#include <array>
#include <optional>
#include <vector>

class TGraphPlot;
class TLine;

// The limits of one panel in world values (X the plotted quantity, Y the depth).
struct AxisRange {
  double XMin = 0, XMax = 1, YMin = 0, YMax = 1;
  double Width() const { return XMax - XMin; }
  double Height() const { return YMax - YMin; }
  friend bool operator==(const AxisRange&, const AxisRange&) = default;
};

// Step to which the limits of a range R are rounded: 10^floor(log10 R), a tenth of that when
// R's first digit is 1 or 2. 0 when R is not a positive finite number.
double RangeStep(double range);

// Ranges of one list of lines: start from 0 (every axis shows the origin), widen to the
// points, widen an empty range by 0.01 on each side, then move each limit outwards to a
// multiple of the step. Empty when a step comes out as 0 (points that are not finite).
std::optional<AxisRange> RangeOfLines(const std::vector<TLine>& lines);

// Ranges of the chart's panels: panel 1 from the main lines, 2 and 3 from their lists (a
// single chart repeats panel 1). Empty when any panel has no usable step.
std::optional<std::array<AxisRange, 3>> ChartRanges(const TGraphPlot& plot);

// ---- placement

enum class ChartDevice {
  Screen,   // the chart window
  Printer,  // a printed page: the plot reaches the frame's edges, the legend is drawn in
  Picture,  // a saved picture: the soil strip half as wide, the legend drawn in
};

// Where a chart is placed: the device area it may use, its resolution and the text height h
// (the window font's height times SizeFont / 10 on that device).
struct LayoutTarget {
  QRect frame;         // device pixels: the client area, or the page less its margins
  double dpiX = 96, dpiY = 96;
  double h = 16;
  ChartDevice device = ChartDevice::Screen;
};

// A plot rectangle with the edges the layout formulas speak of (right and bottom are the
// last pixel column and row the plot reaches, as the mapping uses them).
struct PlotRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Contains(QPointF p) const { return p.x() >= left && p.x() <= right && p.y() >= top && p.y() <= bottom; }
  QRect ToQRect() const { return QRect(QPoint(left, top), QPoint(right, bottom)); }
  friend bool operator==(const PlotRect&, const PlotRect&) = default;
};

struct ChartLayout {
  QRect frame;
  PlotRect plot;                    // the whole plot area (all panels)
  std::array<PlotRect, 3> panels;   // panel 1 equals plot in a single chart
  int panelCount = 1;
  std::optional<PlotRect> strip;    // the soil-layer strip, when shown
  double dpiX = 96, dpiY = 96, h = 16;
  bool xOnTop = true;
  bool titleOnTop = true;           // where the graph title goes (when there is one)
  bool hasTitle = false;
  // Too small to draw anything but the white ground (less than an inch either way).
  bool TooSmall() const;
};

ChartLayout ComputeLayout(const TGraphPlot& plot, const LayoutTarget& target);

// ---- mapping

// World <-> pixel for one panel: X grows to the right; Y grows downwards with XOnTop (depth
// charts), upwards otherwise. Pixels are rounded to the nearest whole pixel.
struct PanelMapping {
  PlotRect rect;
  AxisRange range;
  bool xOnTop = true;

  QPoint ToPixel(double x, double y) const;
  QPointF ToPixelF(double x, double y) const;
  // The world values at a device position (not clamped).
  QPointF ToWorld(QPointF pixel) const;
  // The world values at a device position clamped to the rectangle.
  QPointF ToWorldClamped(QPointF pixel) const;
};

// Index (0..2) of the panel under a device x position; the nearest panel in the gaps.
int PanelAt(const ChartLayout& layout, double x);

// ---- ticks

struct AxisTicks {
  double major = 0, minor = 0;
  struct Tick {
    double value;
    bool major;    // a multiple of the major step: grid line and label
    QString label; // empty for minor ticks
  };
  std::vector<Tick> ticks;
};

// Ticks along an axis of `pixels` length showing [lo, hi] with text height h: n = pixels/(6h)
// intervals (no ticks when 0), major step from the raw step range/n (1, 2, 5 or 10 times a
// power of ten), five minor steps to a major one, anchored at 0; labels with 4 significant
// digits.
AxisTicks ComputeTicks(double lo, double hi, int pixels, double h);

// ---- lines and markers

// Pen width of the lines: the whole number nearest to dpiX / 300, plus 1, times WidthLine.
int LinePenWidth(double dpiX, int widthLine);

// Outline of marker `kind` (1..10) around `centre`: corner at angle t (clockwise from
// straight up) at (sin t * dpiX/32, -cos t * dpiY/32).
QPolygonF MarkerPolygon(int kind, QPointF centre, double dpiX, double dpiY);

// Indices of the points of a line that get a marker: the first and every m-th (none for 0).
bool HasMarker(int pointIndex, int markers);

// Number of points a line of a panel draws: all of them, except that in a three-panel chart
// a panel holding more than one line stops each line at its second-to-last point.
int DrawnPointCount(int pointCount, int linesInPanel, bool threePanels);

// ---- legend box of prints and pictures

struct LegendRow {
  int line;        // main-line index
  int activeIndex; // position among the active lines (colour)
  QRect rect;      // the row in device pixels
  QPointF marker;  // centre of the row's marker
  QRect textRect;  // where the name is written (left-aligned, centred vertically)
};

struct LegendBox {
  QRect box;
  std::vector<LegendRow> rows;
};

// The drawn legend: a box as wide as the widest name plus 3/16 inch, one row of rowHeight per
// shown active line. `relativePos` is the top-left corner as a fraction of the frame (the
// window's legend position); without it the box sits in the plot's bottom-right corner.
// The box is kept inside the frame.
struct LegendEntry {
  int line;
  int activeIndex;
  int textWidth;  // device pixels of the name in the legend font
};
LegendBox ComputeLegendBox(const ChartLayout& layout, const std::vector<LegendEntry>& entries,
                           int rowHeight, std::optional<QPointF> relativePos);

// ---- soil-layer strip

struct StripBand {
  int code = 0;      // soil code of the layer line (fill pattern)
  QString name;
  QRect rect;        // device pixels, inside the strip
  bool labelled;     // the name goes into this piece of the band
};

struct StripGeometry {
  std::vector<StripBand> bands;
  std::optional<QRect> wall;  // the gray wall bar (ShowWall)
};

// Bands of the strip from the chart's layer lines mapped with panel 1's depth range: without
// ShowWall the soil lines across the strip; with it the wall bar in the middle fifth down to
// the tip, the soil bands on the backfill side full height and on the excavation side only
// below the excavation level.
StripGeometry ComputeStrip(const TGraphPlot& plot, const PlotRect& strip, const PanelMapping& depthMap);

// ---- zoom

// Zoom to a band dragged from `start` to `end` (device pixels) in one panel: the band's
// extent, end corner clamped to the plot; nothing for a band of zero width or height; never
// below 1/20 of the full range, centred on the band and kept inside the full range.
std::optional<AxisRange> ZoomToBand(const PanelMapping& map, const AxisRange& full, QPointF start,
                                    QPointF end);

// Zoom out around a clicked device position: each range doubles (up to the full range) around
// the point and is kept inside the full range.
AxisRange ZoomOut(const PanelMapping& map, const AxisRange& full, QPointF at);

// The largest zoom: the full range divided by this.
inline constexpr double kMaxZoom = 20.0;
