// TPlotForm: the MDI child window that shows one result chart (a TGraphPlot) and offers its
// commands: the Plot menu (legend, soil layers, wall geometry, markers, font size, line
// width, graph title, legend names, active curves, print, page setup, save to disk, and one
// item per active line), the legend box, the mouse read-out in the window title, the
// rubber-band zoom and the right-click zoom-out.
//
// The window keeps only what it can rebuild from the chart: the zoomed and the full ranges,
// the legend's place and the page margins. Everything else lives in the TGraphPlot and
// survives closing the window.
//
// Menu: the form is a QMainWindow whose own menu bar holds the "&Plot" menu (`PlotMenu`), so
// the window works wherever it is shown. A main window that prefers the menu in its own bar
// calls setMenuBarShown(false) and adds plotMenu() to its bar while the child is active.
//
// API:
//   TPlotForm* form = ShowPlot(plot, mdiArea);  // create (first use / after close), show
//                                               // maximised, restore from minimised;
//                                               // nullptr when the chart's values give no
//                                               // axis range (a message says so)
//   form->plotMenu();                           // the "&Plot" menu
//   form->SavePicture(path, 4, 6, 72);          // what Save To Disk does after its dialogs
//   form->PrintTo(printer);                     // what Print does after the print dialog
#pragma once

#include <QMainWindow>
#include <QMarginsF>
#include <array>
#include <memory>

#include "app/results/chart_layout.h"
#include "app/results/chart_painter.h"

class QActionGroup;
class QMdiArea;
class QMenu;
class QPrinter;
class QRubberBand;
class TGraphPlot;
class TLegendBox;

class TPlotForm : public QMainWindow {
  Q_OBJECT
 public:
  explicit TPlotForm(TGraphPlot& plot, QWidget* parent = nullptr);
  ~TPlotForm() override;

  TGraphPlot& plot() const { return plot_; }
  // The size the window takes when it is not maximized (Cascade sizes the windows by it).
  QSize sizeHint() const override { return {720, 540}; }
  // False when the chart's values gave no usable axis step: the window closes itself.
  bool usable() const { return usable_; }

  QMenu* plotMenu() const { return plotMenu_; }
  void setMenuBarShown(bool shown);
  QWidget* canvas() const { return canvas_; }
  TLegendBox* legend() const { return legend_; }

  // The ranges the window shows now and those it opened with, per panel.
  const ChartView& view() const { return view_; }
  const std::array<AxisRange, 3>& fullRanges() const { return full_; }
  void setRanges(int panel, const AxisRange& r);
  // The screen layout of the drawing area.
  ChartLayout screenLayout() const;
  // The view with the legend's place as printing and saving use it.
  ChartView viewForOutput() const;

  // Page margins in thousandths of an inch (left, top, right, bottom).
  QMarginsF pageMargins() const { return margins_; }

  // ---- commands of the Plot menu
  void PlotLegendClick();
  void PlotSoilLayerClick();
  void ShowWallGeometryClick();
  void SetMarkers(int every);
  void SetFontSize(int sizeFont);
  void SetLineWidth(int widthLine);
  void PlotCaptionClick();
  void mLineNameClick();
  void ActiveGraphsClick();
  void PlotPrintClick();
  void PlotPageClick();
  void PlotSaveClick();

  // Draws the chart on the page of `printer` (margins of the page setup, the printer's
  // resolution, the legend drawn in); false when the printer could not be opened.
  bool PrintTo(QPrinter& printer);
  // Writes the chart as a picture of heightIn x widthIn inches at ppi pixels per inch with
  // the colours of `colorsIndex` (picture_colors.h); the file type follows the extension
  // (.bmp, else .png). Shows the message and returns false when it cannot.
  bool SavePicture(const QString& path, double heightIn, double widthIn, int ppi, int colorsIndex = 1);

  // Sets the enabling, checks, visibility and per-line items of the Plot menu (done
  // whenever the menu opens).
  void RefreshPlotMenu();
  // Legend size after names, active lines or the font changed.
  void RefitLegend();

  // Mouse handling of the drawing area (public so that the area, a plain widget, hands its
  // events over; tests call them with device positions).
  void MouseMoved(QPointF pos);
  void LeftPressed(QPointF pos);
  void LeftReleased(QPointF pos);
  void RightPressed(QPointF pos);

 protected:
  void showEvent(QShowEvent*) override;

 private:
  void createMenu();
  QMenu* radioMenu(const QString& objectName, const QString& title,
                   std::initializer_list<std::pair<QString, int>> items, void (TPlotForm::*set)(int));
  void canvasResized();
  void placeLegend();
  void closeSelf();
  QPrinter& printer();
  double screenDpi() const;

  TGraphPlot& plot_;
  std::weak_ptr<const int> plotAlive_;
  bool usable_ = true;
  ChartView view_;
  std::array<AxisRange, 3> full_;
  QMarginsF margins_{1000, 1000, 1000, 1000};
  std::unique_ptr<QPrinter> printer_;

  QWidget* canvas_ = nullptr;
  TLegendBox* legend_ = nullptr;
  bool legendOffered_ = false;  // the legend was visible when the window opened
  bool legendMoved_ = false;  // dragged by the user: no longer kept in the corner
  QRubberBand* band_ = nullptr;
  QPointF bandStart_;
  bool banding_ = false;

  QMenu* plotMenu_ = nullptr;
  QAction* lineItemsSeparator_ = nullptr;
  QList<QAction*> lineItems_;
  QActionGroup *markerGroup_ = nullptr, *fontGroup_ = nullptr, *widthGroup_ = nullptr;
  QMenu *fontMenu_ = nullptr, *widthMenu_ = nullptr;

  friend class PlotCanvas;
};

// The chart's window in `area`, if one is open.
TPlotForm* FindPlotForm(const TGraphPlot& plot, QMdiArea* area);

// Opens the chart's window: created on first use (and after it was closed), shown maximised,
// restored if minimised, made active. Returns nullptr when the chart cannot be drawn.
TPlotForm* ShowPlot(TGraphPlot& plot, QMdiArea* area);
