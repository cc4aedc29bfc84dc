#include "app/results/plot_form.h"

#include <QActionGroup>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRubberBand>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "app/main/user_prompts.h"
#include "app/results/dialogs/active_lines_dialog.h"
#include "app/results/dialogs/graph_caption_dialog.h"
#include "app/results/dialogs/line_names_dialog.h"
#include "app/results/dialogs/picture_format_dialog.h"
#include "app/results/graph_plot.h"
#include "app/results/legend_box.h"
#include "app/results/picture_colors.h"

// The drawing area: paints the chart and hands the mouse to the form.
class PlotCanvas final : public QWidget {
 public:
  explicit PlotCanvas(TPlotForm* form) : QWidget(form), form_(form) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    PaintChart(p, form_->plot_, form_->view_, ScreenTarget(rect(), logicalDpiX(), logicalDpiY()));
  }
  void resizeEvent(QResizeEvent*) override { form_->canvasResized(); }
  void mouseMoveEvent(QMouseEvent* e) override { form_->MouseMoved(e->position()); }
  void mousePressEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton) form_->LeftPressed(e->position());
    if (e->button() == Qt::RightButton) form_->RightPressed(e->position());
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton) form_->LeftReleased(e->position());
  }

 private:
  TPlotForm* form_;
};

namespace {

const QString kWindowTitle = QStringLiteral("PlotForm");

QString ReadOut(const TGraphPlot& plot, QPointF world) {
  return plot.Caption + QStringLiteral(" X: ") + GeneralNumber(world.x(), 5) + QStringLiteral(" Y: ") +
         GeneralNumber(world.y(), 5);
}

bool HasPrinter() { return !QPrinterInfo::availablePrinters().isEmpty(); }

}  // namespace

TPlotForm::TPlotForm(TGraphPlot& plot, QWidget* parent)
    : QMainWindow(parent), plot_(plot), plotAlive_(plot.Alive()) {
  setWindowTitle(kWindowTitle);
  setFont(ChartWindowFont(kWindowFontPixels));
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::white);
  setPalette(pal);
  canvas_ = new PlotCanvas(this);
  setCentralWidget(canvas_);
  band_ = new QRubberBand(QRubberBand::Rectangle, canvas_);
  plot_.HasWindow = true;

  // FormCreate: full ranges from the data, the first 20 lines active, the legend built.
  if (const auto view = FullChartView(plot_)) {
    view_ = *view;
    full_ = view_.ranges;
  } else {
    usable_ = false;
    QTimer::singleShot(0, this, &TPlotForm::closeSelf);
  }
  for (int i = 0; i < plot_.LineCount(); ++i)
    plot_.Line(i).Active = !plot_.CapActiveLines || i < TGraphPlot::kMaxActiveLines;
  legend_ = new TLegendBox(plot_, canvas_);
  connect(legend_, &TLegendBox::shownChanged, canvas_, qOverload<>(&QWidget::update));
  connect(legend_, &TLegendBox::dragged, this, [this] { legendMoved_ = true; });
  legend_->FitToItems();
  legendOffered_ = plot_.LineCount() > 0 && plot_.ShowLegend;
  legend_->setVisible(legendOffered_);
  createMenu();
}

TPlotForm::~TPlotForm() {
  if (!plotAlive_.expired()) plot_.HasWindow = false;
}

void TPlotForm::setMenuBarShown(bool shown) { menuBar()->setVisible(shown); }

double TPlotForm::screenDpi() const { return canvas_->logicalDpiX(); }

ChartLayout TPlotForm::screenLayout() const {
  return LayoutChart(plot_, ScreenTarget(canvas_->rect(), canvas_->logicalDpiX(), canvas_->logicalDpiY()));
}

ChartView TPlotForm::viewForOutput() const {
  ChartView v = view_;
  if (legend_->isVisible() && canvas_->width() > 0 && canvas_->height() > 0)
    v.legendPos = QPointF(double(legend_->x()) / canvas_->width(), double(legend_->y()) / canvas_->height());
  return v;
}

void TPlotForm::setRanges(int panel, const AxisRange& r) {
  view_.ranges.at(panel) = r;
  canvas_->update();
}

void TPlotForm::closeSelf() {
  if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) sub->close();
  else close();
}

void TPlotForm::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  placeLegend();
}

void TPlotForm::placeLegend() {
  // The legend starts in the plot's bottom-right corner and stays there through the first
  // resizes (a maximised child gets its size after it is shown) until the user moves it.
  if (legendMoved_) return;
  const ChartLayout L = screenLayout();
  legend_->move(L.plot.right - legend_->width(), L.plot.bottom - legend_->height());
  legend_->KeepInside();
}

void TPlotForm::canvasResized() {
  placeLegend();
  legend_->KeepInside();
}

void TPlotForm::RefitLegend() {
  legend_->FitToItems();
  placeLegend();
  legend_->update();
  canvas_->update();
}

// ---- menu

QMenu* TPlotForm::radioMenu(const QString& objectName, const QString& title,
                            std::initializer_list<std::pair<QString, int>> items, void (TPlotForm::*set)(int)) {
  QMenu* menu = plotMenu_->addMenu(title);
  menu->setObjectName(objectName);
  menu->menuAction()->setObjectName(objectName);
  auto* group = new QActionGroup(menu);
  for (const auto& [text, value] : items) {
    QAction* a = menu->addAction(text);
    a->setCheckable(true);
    a->setData(value);
    group->addAction(a);
    connect(a, &QAction::triggered, this, [this, set, value] { (this->*set)(value); });
  }
  if (objectName == QLatin1String("PlotMarkers")) markerGroup_ = group;
  else if (objectName == QLatin1String("FontSize")) fontGroup_ = group;
  else widthGroup_ = group;
  return menu;
}

void TPlotForm::createMenu() {
  plotMenu_ = menuBar()->addMenu(tr("&Plot"));
  plotMenu_->setObjectName(QStringLiteral("PlotMenu"));
  auto item = [this](const QString& name, const QString& text, void (TPlotForm::*slot)(), bool checkable = false) {
    QAction* a = plotMenu_->addAction(text);
    a->setObjectName(name);
    a->setCheckable(checkable);
    connect(a, &QAction::triggered, this, slot);
    return a;
  };
  item(QStringLiteral("PlotLegend"), tr("Show &Legend"), &TPlotForm::PlotLegendClick, true);
  item(QStringLiteral("PlotSoilLayer"), tr("Show &Soil Layer"), &TPlotForm::PlotSoilLayerClick, true);
  item(QStringLiteral("ShowWallGeometry"), tr("Show &Wall Geometry"), &TPlotForm::ShowWallGeometryClick, true);
  radioMenu(QStringLiteral("PlotMarkers"), tr("Show &Markers"),
            {{tr("&Never"), 0}, {tr("Every &Increment"), 1}, {tr("Every &2 Increments"), 2},
             {tr("Every &3 Incrments"), 3}, {tr("Every &5 Increments"), 5}, {tr("Every &10 Incements"), 10}},
            &TPlotForm::SetMarkers);
  fontMenu_ = radioMenu(QStringLiteral("FontSize"), tr("&Font Size"),
                        {{tr("&Default"), 10}, {tr("1.5 * Default"), 15}, {tr("2 * Default"), 20},
                         {tr("2.5 * Default"), 25}, {tr("3 * Default"), 30}, {tr("4 * Default"), 40}},
                        &TPlotForm::SetFontSize);
  widthMenu_ = radioMenu(QStringLiteral("LineWidth"), tr("&Line Width"),
                         {{tr("&Default"), 1}, {tr("2 * Default"), 2}, {tr("4 * Default"), 4},
                          {tr("6 * Default"), 6}, {tr("10 * Default"), 10}},
                         &TPlotForm::SetLineWidth);
  plotMenu_->addSeparator();
  item(QStringLiteral("PlotCaption"), tr("&Graph Title"), &TPlotForm::PlotCaptionClick);
  item(QStringLiteral("mLineName"), tr("&Edit Legend"), &TPlotForm::mLineNameClick);
  item(QStringLiteral("ActiveGraphs"), tr("&Active Curves"), &TPlotForm::ActiveGraphsClick);
  plotMenu_->addSeparator();
  item(QStringLiteral("PlotPrint"), tr("&Print..."), &TPlotForm::PlotPrintClick);
  item(QStringLiteral("PlotPage"), tr("P&age Setup"), &TPlotForm::PlotPageClick);
  item(QStringLiteral("PlotSave"), tr("&Save To Disk..."), &TPlotForm::PlotSaveClick);
  lineItemsSeparator_ = plotMenu_->addSeparator();
  connect(plotMenu_, &QMenu::aboutToShow, this, &TPlotForm::RefreshPlotMenu);
  RefreshPlotMenu();
}

void TPlotForm::RefreshPlotMenu() {
  auto find = [this](const char* name) { return findChild<QAction*>(QLatin1String(name)); };
  QAction* legend = find("PlotLegend");
  legend->setVisible(legendOffered_);
  legend->setChecked(plot_.ShowLegend);
  QAction* layers = find("PlotSoilLayer");
  layers->setVisible(plot_.LineCount(LineList::Layers) > 0);
  layers->setChecked(plot_.ShowLayers);
  QAction* wall = find("ShowWallGeometry");
  wall->setVisible(plot_.WallLineCount > 0);
  wall->setEnabled(plot_.ShowLayers);
  wall->setChecked(plot_.ShowWall);
  auto check = [](QActionGroup* g, int value) {
    for (QAction* a : g->actions()) a->setChecked(a->data().toInt() == value);
  };
  check(markerGroup_, plot_.Markers);
  check(fontGroup_, plot_.SizeFont);
  check(widthGroup_, plot_.WidthLine);
  fontMenu_->menuAction()->setVisible(plot_.ShowFontWidth);
  widthMenu_->menuAction()->setVisible(plot_.ShowFontWidth);
  const bool printer = HasPrinter();
  find("PlotPrint")->setEnabled(printer);
  find("PlotPage")->setEnabled(printer);

  // One checkable item per active line, marked when the line is shown.
  qDeleteAll(lineItems_);
  lineItems_.clear();
  for (int line : plot_.ActiveLines()) {
    QAction* a = plotMenu_->addAction(plot_.LegendName(line));
    a->setCheckable(true);
    a->setChecked(plot_.Line(line).Shown);
    a->setData(line);
    connect(a, &QAction::triggered, this, [this, line] {
      if (line >= plot_.LineCount()) return;
      plot_.Line(line).Shown = !plot_.Line(line).Shown;
      legend_->update();
      canvas_->update();
    });
    lineItems_ << a;
  }
  lineItemsSeparator_->setVisible(!lineItems_.isEmpty());
}

// ---- commands

void TPlotForm::PlotLegendClick() {
  plot_.ShowLegend = !plot_.ShowLegend;
  legend_->setVisible(plot_.ShowLegend && plot_.LineCount() > 0);
}

void TPlotForm::PlotSoilLayerClick() {
  plot_.ShowLayers = !plot_.ShowLayers;
  // The strip moves the plot's right edge: a legend the user has not moved follows it.
  placeLegend();
  canvas_->update();
}

void TPlotForm::ShowWallGeometryClick() {
  plot_.ShowWall = !plot_.ShowWall;
  canvas_->update();
}

void TPlotForm::SetMarkers(int every) {
  plot_.Markers = every;
  canvas_->update();
}

void TPlotForm::SetFontSize(int sizeFont) {
  plot_.SizeFont = sizeFont;
  RefitLegend();
}

void TPlotForm::SetLineWidth(int widthLine) {
  plot_.WidthLine = widthLine;
  canvas_->update();
}

void TPlotForm::PlotCaptionClick() {
  TfrmGraphCaption dlg(plot_, this);
  dlg.exec();
  canvas_->update();
}

void TPlotForm::mLineNameClick() {
  TfrmLineNames dlg(plot_, this);
  if (dlg.exec() == QDialog::Accepted) RefitLegend();
}

void TPlotForm::ActiveGraphsClick() {
  TfrmActiveLines dlg(plot_, this);
  if (dlg.exec() == QDialog::Accepted) RefitLegend();
}

QPrinter& TPlotForm::printer() {
  if (!printer_) {
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer_->setPageMargins(margins_ / 1000.0, QPageLayout::Inch);
  }
  return *printer_;
}

void TPlotForm::PlotPrintClick() {
  if (!HasPrinter()) return;
  QPrinter& p = printer();
  QPrintDialog dlg(&p, this);
  if (dlg.exec() == QDialog::Accepted && !PrintTo(p))
    prompts().information(this, tr("The chart could not be printed."));
}

void TPlotForm::PlotPageClick() {
  if (!HasPrinter()) return;
  QPrinter& p = printer();
  p.setPageMargins(margins_ / 1000.0, QPageLayout::Inch);
  QPageSetupDialog dlg(&p, this);
  if (dlg.exec() == QDialog::Accepted) {
    QPageLayout layout = p.pageLayout();
    layout.setUnits(QPageLayout::Inch);
    margins_ = layout.margins() * 1000.0;
  }
}

bool TPlotForm::PrintTo(QPrinter& printer) {
  printer.setDocName(plot_.Caption);
  printer.setFullPage(true);
  const double dpiX = printer.logicalDpiX(), dpiY = printer.logicalDpiY();
  // Each margin at least what the printer cannot print on.
  QPageLayout layout = printer.pageLayout();
  layout.setUnits(QPageLayout::Inch);
  const QMarginsF least = layout.minimumMargins();
  const auto px = [](double thousandths, double leastInches, double dpi) {
    return static_cast<int>(std::lround(std::max(thousandths / 1000.0, leastInches) * dpi));
  };
  const QRect paper = printer.paperRect(QPrinter::DevicePixel).toRect();
  const QRect frame = paper.adjusted(px(margins_.left(), least.left(), dpiX), px(margins_.top(), least.top(), dpiY),
                                     -px(margins_.right(), least.right(), dpiX),
                                     -px(margins_.bottom(), least.bottom(), dpiY));
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  PaintChart(painter, plot_, viewForOutput(), PrinterTarget(frame, dpiX, dpiY, screenDpi()));
  return painter.end();
}

void TPlotForm::PlotSaveClick() {
  const QStringList filters = {QStringLiteral("Bitmap (*.bmp)"), QStringLiteral("PNG Picture (*.png)")};
  const UserPrompts::FileChoice choice = prompts().saveFile(this, tr("Save To Disk"), plot_.Caption + QStringLiteral(".bmp"), filters, 0);
  if (choice.path.isEmpty()) return;
  QString path = choice.path;
  if (QFileInfo(path).suffix().isEmpty()) path += choice.filterIndex == 1 ? QStringLiteral(".png") : QStringLiteral(".bmp");
  TdlgFormat dlg(this);
  if (dlg.exec() != QDialog::Accepted) return;
  SavePicture(path, dlg.heightInches(), dlg.widthInches(), dlg.pixelsPerInch(), dlg.colorsIndex());
}

bool TPlotForm::SavePicture(const QString& path, double heightIn, double widthIn, int ppi, int colorsIndex) {
  RenderOptions options;
  options.layoutDpi = screenDpi();
  options.view = viewForOutput();
  QString error;
  QImage image = RenderChartImage(plot_, widthIn, heightIn, ppi, &error, options);
  if (!image.isNull()) {
    image = ApplyPictureColors(image, colorsIndex);
    if (image.isNull()) error = NotEnoughMemoryMessage();
  }
  if (image.isNull()) {
    prompts().information(this, error);
    return false;
  }
  const bool png = QFileInfo(path).suffix().compare(QLatin1String("png"), Qt::CaseInsensitive) == 0;
  if (!image.save(path, png ? "PNG" : "BMP")) {
    prompts().information(this, tr("The picture could not be written to %1.").arg(path));
    return false;
  }
  return true;
}

// ---- mouse

void TPlotForm::MouseMoved(QPointF pos) {
  const ChartLayout L = screenLayout();
  if (banding_) band_->setGeometry(QRectF(bandStart_, pos).normalized().toRect() & L.panels[0].ToQRect().adjusted(0, 0, 1, 1));
  if (L.TooSmall()) return;
  const int panel = L.panelCount == 3 ? PanelAt(L, pos.x()) : 0;
  const PanelMapping m{L.panels[panel], view_.ranges[panel], L.xOnTop};
  setWindowTitle(ReadOut(plot_, m.ToWorldClamped(pos)));
}

void TPlotForm::LeftPressed(QPointF pos) {
  const ChartLayout L = screenLayout();
  if (L.panelCount != 1 || L.TooSmall() || !L.plot.Contains(pos)) return;
  banding_ = true;
  bandStart_ = pos;
  band_->setGeometry(QRect(pos.toPoint(), QSize()));
  band_->show();
}

void TPlotForm::LeftReleased(QPointF pos) {
  if (!banding_) return;
  banding_ = false;
  band_->hide();
  const ChartLayout L = screenLayout();
  const PanelMapping m{L.panels[0], view_.ranges[0], L.xOnTop};
  if (const auto r = ZoomToBand(m, full_[0], bandStart_, pos)) setRanges(0, *r);
}

void TPlotForm::RightPressed(QPointF pos) {
  const ChartLayout L = screenLayout();
  if (L.TooSmall() || !L.plot.Contains(pos)) return;
  const PanelMapping m{L.panels[0], view_.ranges[0], L.xOnTop};
  setRanges(0, ZoomOut(m, full_[0], pos));
}

// ---- opening

TPlotForm* FindPlotForm(const TGraphPlot& plot, QMdiArea* area) {
  if (!area) return nullptr;
  for (QMdiSubWindow* sub : area->subWindowList())
    if (auto* form = qobject_cast<TPlotForm*>(sub->widget()); form && &form->plot() == &plot) return form;
  return nullptr;
}

TPlotForm* ShowPlot(TGraphPlot& plot, QMdiArea* area) {
  if (!area) return nullptr;
  TPlotForm* form = FindPlotForm(plot, area);
  if (!form) {
    if (!FullChartView(plot)) {
      prompts().information(area, QObject::tr("The chart cannot be drawn: its values give no axis range."));
      return nullptr;
    }
    form = new TPlotForm(plot);
    QMdiSubWindow* sub = area->addSubWindow(form);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    // The size it comes back to when another window takes the area or the user restores it.
    sub->resize(sub->sizeHint().boundedTo(area->viewport()->size()));
    sub->showMaximized();
  }
  auto* sub = qobject_cast<QMdiSubWindow*>(form->parentWidget());
  if (sub && sub->isMinimized()) sub->showMaximized();
  area->setActiveSubWindow(sub);
  return form;
}
