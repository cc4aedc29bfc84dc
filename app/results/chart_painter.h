// Painting of a result chart: one path for the chart window, the printer and saved pictures;
// only the device, its resolution and the ChartDevice kind differ. The geometry comes from
// chart_layout.h, so what is painted is what the tests compute.
//
// API:
//   ChartView view = *FullChartView(plot);            // ranges from the data (nullopt: no
//                                                      // usable step, the window closes)
//   PaintTarget t = ScreenTarget(rect, dpiX, dpiY);    // or PrinterTarget / PictureTarget
//   PaintChart(painter, plot, view, t);                // white ground, titles, ticks, grid,
//                                                      // labels, lines, legend (printer and
//                                                      // picture only), soil strip, frame
//   ChartLayout L = LayoutChart(plot, t);              // the same layout, for mouse mapping
//
//   // A picture as "Save To Disk" makes it (and the command-line tool, headless):
//   QString error;
//   QImage img = RenderChartImage(plot, 6.0, 4.0, 72, &error);   // 432 x 288, null on error
//
// For SVG or PDF, open a QPainter on a QSvgGenerator or QPdfWriter and call PaintChart with
// PictureTarget (screen-like layout) or PrinterTarget (page-like layout, patterns in print
// size) of the device's size and resolution.
#pragma once

#include <QFont>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <QString>
#include <array>
#include <optional>

#include "app/results/chart_layout.h"

class QPainter;
class TGraphPlot;

// What a chart window adds to the chart's data when it paints: the zoomed ranges of the three
// panels and where its legend box stands.
struct ChartView {
  std::array<AxisRange, 3> ranges;
  // Top-left corner of the window's legend as a fraction of the client area; empty when no
  // window shows one (a drawn legend then goes into the plot's bottom-right corner).
  std::optional<QPointF> legendPos;
};

// The view at the full ranges of the data; empty when a range has no usable step.
std::optional<ChartView> FullChartView(const TGraphPlot& plot);

// The device a chart is painted on.
struct PaintTarget {
  QRect frame;             // device pixels the chart may use
  double dpiX = 96, dpiY = 96;
  ChartDevice device = ChartDevice::Screen;
  double fontPixels = 14;  // the window font's pixel size on this device
};

// The chart window's font: Times New Roman of `pixels` pixels.
QFont ChartWindowFont(double pixels = 14);

// The window font is 14 pixels at the screen's resolution; other devices scale it.
inline constexpr double kWindowFontPixels = 14;

PaintTarget ScreenTarget(const QRect& client, double dpiX, double dpiY);
// `frame`: the page less its margins, in printer pixels; `screenDpi` sizes the text like the
// screen's.
PaintTarget PrinterTarget(const QRect& frame, double printerDpiX, double printerDpiY, double screenDpi = 96);
// A picture of `size` pixels laid out with the screen's resolution.
PaintTarget PictureTarget(const QSize& size, double screenDpiX, double screenDpiY);

// Text height h on the target: the window font's height times SizeFont / 10.
double TextHeight(const TGraphPlot& plot, const PaintTarget& target);
ChartLayout LayoutChart(const TGraphPlot& plot, const PaintTarget& target);

// Legend font of prints, pictures and the window's legend box: SizeFont * LegendFont / 10
// points on a device of `dpiY`, in pixels.
double LegendFontPixels(const TGraphPlot& plot, double dpiY);

void PaintChart(QPainter& painter, const TGraphPlot& plot, const ChartView& view, const PaintTarget& target);

struct RenderOptions {
  // Resolution the layout is computed with; 0: the primary screen's (96 without a screen).
  double layoutDpi = 0;
  // The view to draw; empty: the full ranges of the data.
  std::optional<ChartView> view;
};

// The chart drawn into a picture of widthIn x heightIn inches at ppi pixels per inch, with the
// legend drawn in. A null image and `error` set when the picture cannot be made: the size
// is not positive, the data have no usable range, or the memory for it is not there
// ("There is not enough memory to complete this task.").
QImage RenderChartImage(const TGraphPlot& plot, double widthIn, double heightIn, int ppi,
                        QString* error = nullptr, const RenderOptions& options = {});

// The message of a picture that cannot be allocated.
QString NotEnoughMemoryMessage();
