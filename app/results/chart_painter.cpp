#include "app/results/chart_painter.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <algorithm>
#include <cmath>

#include "app/results/graph_plot.h"
#include "app/results/soil_patterns.h"

namespace {

LineList PanelList(int panel) {
  return panel == 1 ? LineList::Panel2 : panel == 2 ? LineList::Panel3 : LineList::Main;
}

// Thin strokes (frame, ticks, grid) keep the width of a screen pixel on any device.
double HairWidth(double dpi) { return std::max(1.0, std::round(dpi / 96.0)); }

QFont TitleFont(const PaintTarget& t, const TGraphPlot& plot) {
  QFont f = ChartWindowFont(t.fontPixels * plot.SizeFont / 10.0);
  f.setBold(true);
  return f;
}

QFont LabelFont(const PaintTarget& t, const TGraphPlot& plot) {
  return ChartWindowFont(t.fontPixels * plot.SizeFont / 10.0);
}

// Text rotated by 90 degrees (read from the bottom up), centred on (cx, cy); `rightEdge`
// is where the text's lower side (after rotation: its right side) stands.
void DrawRotated(QPainter& p, const QString& text, double rightEdge, double cy, double h) {
  p.save();
  p.translate(rightEdge, cy);
  p.rotate(-90);
  const double len = 1e5;  // wide enough for any title; the text is centred in it
  p.drawText(QRectF(-len / 2, -h, len, h), Qt::AlignHCenter | Qt::AlignBottom, text);
  p.restore();
}

struct Painter {
  QPainter& p;
  const TGraphPlot& plot;
  const ChartView& view;
  const PaintTarget& t;
  ChartLayout L;

  PanelMapping Map(int panel) const { return {L.panels[panel], view.ranges[panel], L.xOnTop}; }

  void Titles() {
    p.setPen(Qt::black);
    p.setFont(TitleFont(t, plot));
    const double h = L.h, dy = L.dpiY, dx = L.dpiX;
    const QRectF frame = L.frame;
    const bool print = t.device == ChartDevice::Printer;
    const double roomTop = L.hasTitle && L.titleOnTop ? (print ? dy / 4 : h / 8 + h) : 0;
    const double roomBottom = L.hasTitle && !L.titleOnTop ? (print ? dy / 2 : h) : 0;
    if (L.hasTitle) {
      const double y = L.titleOnTop ? frame.top() : frame.top() + frame.height() - h;
      p.drawText(QRectF(frame.left(), y, frame.width(), h), Qt::AlignCenter, plot.GraphTitle);
    }
    auto xTitleTop = [&](double extraTop, double extraBottom) {
      return L.xOnTop ? frame.top() + extraTop : frame.top() + frame.height() - h - extraBottom;
    };
    if (L.panelCount == 1) {
      const PlotRect& r = L.plot;
      const double y = xTitleTop(roomTop, roomBottom);
      p.drawText(QRectF(r.left - 4 * h, y, r.Width() + 8 * h, h), Qt::AlignCenter, plot.XTitle(1));
      DrawRotated(p, plot.YTitle(1), frame.left() + h, (r.top + r.bottom) / 2.0, h);
      return;
    }
    // Each panel's own titles; the graph title keeps at least its own height clear of them.
    const double away = std::max(dy / 4, h + h / 8);
    const double y = xTitleTop(dy / 16 + (roomTop > 0 ? away : 0), dy / 16 + (roomBottom > 0 ? away : 0));
    for (int i = 0; i < 3; ++i) {
      const PlotRect& r = L.panels[i];
      p.drawText(QRectF(r.left - h, y, r.Width() + 2 * h, h), Qt::AlignCenter, plot.XTitle(i + 1));
      const double right = i == 0 ? frame.left() + h : r.left - dx / 32 - h - dx / 32;
      DrawRotated(p, plot.YTitle(i + 1), right, (r.top + r.bottom) / 2.0, h);
    }
  }

  void TicksAndGrid(int panel) {
    const PanelMapping m = Map(panel);
    const PlotRect& r = m.rect;
    const double h = L.h, dx = L.dpiX, dy = L.dpiY;
    const double hair = HairWidth(dx);
    QPen mark(Qt::black, hair);
    QPen grid(QColor(0x60, 0x60, 0x60), hair, Qt::DotLine);
    p.setFont(LabelFont(t, plot));

    const AxisTicks xt = ComputeTicks(m.range.XMin, m.range.XMax, r.Width(), h);
    const double edge = L.xOnTop ? r.top : r.bottom;
    const double inward = L.xOnTop ? dy / 16 : -dy / 16;
    for (const AxisTicks::Tick& tick : xt.ticks) {
      const double x = m.ToPixel(tick.value, m.range.YMin).x();
      p.setPen(mark);
      p.drawLine(QPointF(x, edge), QPointF(x, edge + inward));
      if (!tick.major) continue;
      p.setPen(grid);
      p.drawLine(QPointF(x, r.top), QPointF(x, r.bottom));
      p.setPen(Qt::black);
      const QRectF box = L.xOnTop ? QRectF(x - 3 * h, r.top - dy / 32 - h, 6 * h, h)
                                  : QRectF(x - 3 * h, r.bottom + dy / 16, 6 * h, h);
      p.drawText(box, Qt::AlignHCenter | (L.xOnTop ? Qt::AlignBottom : Qt::AlignTop), tick.label);
    }
    const AxisTicks yt = ComputeTicks(m.range.YMin, m.range.YMax, r.Height(), h);
    for (const AxisTicks::Tick& tick : yt.ticks) {
      const double y = m.ToPixel(m.range.XMin, tick.value).y();
      p.setPen(mark);
      p.drawLine(QPointF(r.left, y), QPointF(r.left + dx / 16, y));
      if (!tick.major) continue;
      p.setPen(grid);
      p.drawLine(QPointF(r.left, y), QPointF(r.right, y));
      p.setPen(Qt::black);
      DrawRotated(p, tick.label, r.left - dx / 32, y, h);
    }
  }

  // Flags and colour of line i of a panel: the main line of the same index decides whether
  // it is drawn, so the legend and the menu act on all three panels at once.
  struct LineStyle {
    bool drawn;
    int activeIndex;
  };
  std::vector<LineStyle> Styles() const {
    std::vector<LineStyle> out;
    int k = 0;
    for (const TLine& line : plot.Lines(LineList::Main)) {
      out.push_back({line.Active && line.Shown, k});
      if (line.Active) ++k;
    }
    return out;
  }

  void Lines(int panel, const std::vector<LineStyle>& styles) {
    const auto& lines = plot.Lines(PanelList(panel));
    const PanelMapping m = Map(panel);
    const int width = LinePenWidth(L.dpiX, plot.WidthLine);
    p.save();
    p.setClipRect(m.rect.ToQRect().adjusted(0, 0, 1, 1));
    p.setRenderHint(QPainter::Antialiasing);
    // An odd pen width centred on a pixel's middle paints whole pixels in the line's colour.
    if (width % 2) p.translate(0.5, 0.5);
    p.setBrush(Qt::NoBrush);
    const int count = static_cast<int>(lines.size());
    for (int i = 0; i < count; ++i) {
      const bool drawn = i < static_cast<int>(styles.size()) ? styles[i].drawn : lines[i].Active && lines[i].Shown;
      if (!drawn) continue;
      const int k = i < static_cast<int>(styles.size()) ? styles[i].activeIndex : i;
      const auto& pts = lines[i].Points;
      const int n = DrawnPointCount(static_cast<int>(pts.size()), count, L.panelCount == 3);
      if (n < 1) continue;
      // A point that is not a number (data read while the window was open) breaks the line.
      QPolygonF poly;
      poly.reserve(n);
      p.setPen(QPen(TGraphPlot::LineColour(k), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      const int kind = TGraphPlot::MarkerKind(i);
      for (int j = 0; j <= n; ++j) {
        const bool usable = j < n && std::isfinite(pts[j].X) && std::isfinite(pts[j].Y);
        if (usable) {
          poly << QPointF(m.ToPixel(pts[j].X, pts[j].Y));
          if (HasMarker(j, plot.Markers)) p.drawPolygon(MarkerPolygon(kind, poly.back(), L.dpiX, L.dpiY));
          continue;
        }
        if (poly.size() > 1) p.drawPolyline(poly);
        poly.clear();
      }
    }
    p.restore();
  }

  void Legend(const std::vector<LineStyle>& styles) {
    QFont font = ChartWindowFont(LegendFontPixels(plot, L.dpiY));
    const QFontMetricsF fm(font);
    std::vector<LegendEntry> entries;
    for (int i = 0; i < plot.LineCount(); ++i)
      if (styles[i].drawn)
        entries.push_back({i, styles[i].activeIndex, static_cast<int>(std::ceil(fm.horizontalAdvance(plot.LegendName(i))))});
    const int rowHeight = static_cast<int>(std::lround(1.5 * font.pixelSize()));
    const LegendBox box = ComputeLegendBox(L, entries, rowHeight, view.legendPos);
    if (box.rows.empty()) return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, HairWidth(L.dpiX)));
    p.setBrush(Qt::white);
    p.drawRect(box.box);
    p.setFont(font);
    p.setBrush(Qt::NoBrush);
    const int width = LinePenWidth(L.dpiX, 1);
    for (const LegendRow& row : box.rows) {
      const QColor c = TGraphPlot::LineColour(row.activeIndex);
      p.setPen(QPen(c, width));
      p.drawPolygon(MarkerPolygon(TGraphPlot::MarkerKind(row.line), row.marker, L.dpiX, L.dpiY));
      p.drawText(row.textRect, Qt::AlignLeft | Qt::AlignVCenter, plot.LegendName(row.line));
    }
    p.restore();
  }

  void Strip() {
    const PlotRect& s = *L.strip;
    const StripGeometry g = ComputeStrip(plot, s, Map(0));
    const PatternSize size = t.device == ChartDevice::Printer ? PatternSize::Print : PatternSize::Screen;
    const double hair = HairWidth(L.dpiX);
    p.save();
    p.setClipRect(s.ToQRect().adjusted(0, 0, 1, 1));
    p.setBrushOrigin(s.left, s.top);
    for (const StripBand& b : g.bands) {
      p.setPen(Qt::NoPen);
      p.fillRect(b.rect, Qt::white);
      p.setBrush(SoilBrush(b.code, size));
      p.drawRect(b.rect);
      p.setPen(QPen(Qt::black, hair));
      p.setBrush(Qt::NoBrush);
      p.drawRect(b.rect);
    }
    if (g.wall) {
      p.setPen(QPen(Qt::black, hair));
      p.setBrush(QColor(0x80, 0x80, 0x80));
      p.drawRect(*g.wall);
    }
    // Names on a white ground in the window font: inside their piece of the band, else
    // across the strip, else turned upright in it, a little smaller before giving up.
    for (const StripBand& b : g.bands) {
      const QString name = b.name.trimmed();
      if (!b.labelled || name.isEmpty()) continue;
      const QRectF across(s.left, b.rect.top(), s.Width(), b.rect.height());
      const QRectF places[] = {QRectF(b.rect), across};
      bool done = false;
      for (double scale = 1.0; scale >= 0.7 && !done; scale -= 0.1) {
        const QFont f = ChartWindowFont(t.fontPixels * scale);
        const QFontMetricsF fm(f);
        const double w = fm.horizontalAdvance(name) + 2 * hair, th = fm.height();
        p.setFont(f);
        p.setPen(Qt::black);
        for (const QRectF& room : places) {
          if (w > room.width() - 2 * hair || th + 2 > room.height()) continue;
          const QRectF ground(room.center().x() - w / 2, room.center().y() - th / 2, w, th);
          p.fillRect(ground, Qt::white);
          p.drawText(ground, Qt::AlignCenter, name);
          done = true;
          break;
        }
        if (done || th > across.width() - 2 * hair || w > across.height() - 2) continue;
        p.save();
        p.translate(across.center());
        p.rotate(-90);
        const QRectF ground(-w / 2, -th / 2, w, th);
        p.fillRect(ground, Qt::white);
        p.drawText(ground, Qt::AlignCenter, name);
        p.restore();
        done = true;
      }
    }
    p.setClipping(false);
    p.setPen(QPen(Qt::black, hair));
    p.setBrush(Qt::NoBrush);
    p.drawRect(s.ToQRect());
    p.restore();
  }

  void Frames() {
    p.setPen(QPen(Qt::black, HairWidth(L.dpiX)));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < L.panelCount; ++i) p.drawRect(L.panels[i].ToQRect());
  }

  void Run() {
    p.fillRect(t.frame, Qt::white);
    if (L.TooSmall()) return;
    Titles();
    for (int i = 0; i < L.panelCount; ++i) TicksAndGrid(i);
    const auto styles = Styles();
    if (plot.HasData())
      for (int i = 0; i < L.panelCount; ++i) Lines(i, styles);
    if (t.device != ChartDevice::Screen && plot.ShowLegend && plot.LineCount() > 0) Legend(styles);
    if (L.strip) Strip();
    Frames();
  }
};

}  // namespace

std::optional<ChartView> FullChartView(const TGraphPlot& plot) {
  const auto ranges = ChartRanges(plot);
  if (!ranges) return std::nullopt;
  return ChartView{*ranges, std::nullopt};
}

QFont ChartWindowFont(double pixels) {
  QFont f(QStringLiteral("Times New Roman"));
  f.setStyleHint(QFont::Serif);
  f.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
  return f;
}

PaintTarget ScreenTarget(const QRect& client, double dpiX, double dpiY) {
  return {client, dpiX, dpiY, ChartDevice::Screen, kWindowFontPixels};
}

PaintTarget PrinterTarget(const QRect& frame, double printerDpiX, double printerDpiY, double screenDpi) {
  return {frame, printerDpiX, printerDpiY, ChartDevice::Printer,
          kWindowFontPixels * printerDpiY / (screenDpi > 0 ? screenDpi : 96)};
}

PaintTarget PictureTarget(const QSize& size, double screenDpiX, double screenDpiY) {
  return {QRect(QPoint(0, 0), size), screenDpiX, screenDpiY, ChartDevice::Picture, kWindowFontPixels};
}

double TextHeight(const TGraphPlot& plot, const PaintTarget& target) {
  return QFontMetricsF(ChartWindowFont(target.fontPixels)).height() * plot.SizeFont / 10.0;
}

ChartLayout LayoutChart(const TGraphPlot& plot, const PaintTarget& target) {
  return ComputeLayout(plot, LayoutTarget{target.frame, target.dpiX, target.dpiY, TextHeight(plot, target), target.device});
}

double LegendFontPixels(const TGraphPlot& plot, double dpiY) {
  return plot.SizeFont * plot.LegendFont / 10.0 * dpiY / 72.0;
}

void PaintChart(QPainter& painter, const TGraphPlot& plot, const ChartView& view, const PaintTarget& target) {
  painter.save();
  Painter{painter, plot, view, target, LayoutChart(plot, target)}.Run();
  painter.restore();
}

QString NotEnoughMemoryMessage() { return QStringLiteral("There is not enough memory to complete this task."); }

QImage RenderChartImage(const TGraphPlot& plot, double widthIn, double heightIn, int ppi, QString* error,
                        const RenderOptions& options) {
  auto fail = [&](const QString& message) {
    if (error) *error = message;
    return QImage();
  };
  const double w = std::round(widthIn * ppi), h = std::round(heightIn * ppi);
  if (!(w >= 1 && h >= 1) || ppi <= 0) return fail(QStringLiteral("The picture must be at least one pixel wide and high."));
  const std::optional<ChartView> view = options.view ? options.view : FullChartView(plot);
  if (!view) return fail(QStringLiteral("The chart's values give no axis range to draw."));
  // Sizes beyond what an image can address fail like an allocation that finds no memory.
  if (w * h > 2e9 / 4) return fail(NotEnoughMemoryMessage());
  QImage image(static_cast<int>(w), static_cast<int>(h), QImage::Format_RGB32);
  if (image.isNull()) return fail(NotEnoughMemoryMessage());
  const int dpm = static_cast<int>(std::lround(ppi / 0.0254));
  image.setDotsPerMeterX(dpm);
  image.setDotsPerMeterY(dpm);
  double dpi = options.layoutDpi;
  if (dpi <= 0) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    dpi = screen ? screen->logicalDotsPerInch() : 96;
  }
  QPainter painter(&image);
  PaintChart(painter, plot, *view, PictureTarget(image.size(), dpi, dpi));
  painter.end();
  if (error) error->clear();
  return image;
}
