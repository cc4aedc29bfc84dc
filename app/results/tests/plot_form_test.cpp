// The chart window: opening and closing, the active-line cap, the legend box, the mouse
// read-out, zooming, the Plot menu's rules, saving and printing.
#include <QtTest>

#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryDir>

#include "chart_host.h"
#include "app/results/graph_plot.h"
#include "app/results/legend_box.h"
#include "app/results/plot_form.h"
#include "sample_charts.h"

namespace {

// A main window with an MDI area, the way the program shows the charts.
using Host = ChartHost;

QAction* Item(TPlotForm* form, const char* name) { return form->findChild<QAction*>(QLatin1String(name)); }

// Accepts the next modal dialog as soon as it shows.
void AcceptNextDialog() {
  QTimer::singleShot(0, [] {
    if (QWidget* w = QApplication::activeModalWidget())
      if (auto* d = qobject_cast<QDialog*>(w)) d->accept();
  });
}

}  // namespace

class PlotFormTest : public QObject {
  Q_OBJECT
private slots:
  void showPlotCreatesOnceAndAgainAfterClose() {
    Host host;
    TGraphPlot plot;
    sample::MakeDeflection(plot, 2);
    TPlotForm* form = ShowPlot(plot, host.area);
    QVERIFY(form);
    QVERIFY(plot.HasWindow);
    QCOMPARE(form->windowTitle(), QStringLiteral("PlotForm"));
    auto* sub = qobject_cast<QMdiSubWindow*>(form->parentWidget());
    QVERIFY(sub && sub->isMaximized());
    QCOMPARE(ShowPlot(plot, host.area), form);
    sub->showMinimized();
    QCOMPARE(ShowPlot(plot, host.area), form);
    QVERIFY(!sub->isMinimized());
    QPointer<TPlotForm> watch = form;
    sub->close();
    QTRY_VERIFY(watch.isNull());
    QVERIFY(!plot.HasWindow);
    TPlotForm* fresh = ShowPlot(plot, host.area);
    QVERIFY(fresh);
    QCOMPARE(host.area->subWindowList().size(), 1);
  }

  void aChartWithoutUsableRangeDoesNotOpen() {
    Host host;
    TGraphPlot plot;
    sample::MakeDeflection(plot, 1);
    plot.Point(0, 5) = {NAN, 2};
    QVERIFY(!ShowPlot(plot, host.area));
    QCOMPARE(host.answers.messages.size(), 1);
    QVERIFY(host.area->subWindowList().isEmpty());
    QVERIFY(!plot.HasWindow);
  }

  void twentyFiveLinesOpenWithTwentyActive() {
    Host host;
    TGraphPlot plot;
    sample::MakeDeflection(plot, 25);
    TPlotForm* form = ShowPlot(plot, host.area);
    QVERIFY(form);
    QCOMPARE(int(plot.ActiveLines().size()), 20);
    QVERIFY(!plot.Line(20).Active && !plot.Line(24).Active);
    QCOMPARE(int(form->legend()->Items().size()), 20);
    form->RefreshPlotMenu();
    // One Plot-menu item per active line, checked while the line is shown.
    int lineItems = 0;
    for (QAction* a : form->plotMenu()->actions())
      if (a->isCheckable() && a->data().isValid() && a->objectName().isEmpty()) ++lineItems;
    QCOMPARE(lineItems, 20);
    // Activating another line (what Active Curves does) adds it to the legend.
    plot.Line(22).Active = true;
    form->RefitLegend();
    QCOMPARE(int(form->legend()->Items().size()), 21);
    QCOMPARE(form->legend()->height(), 21 * form->legend()->ItemHeight() + 3);
  }

  void legendNamesAndDoubleClick() {
    Host host;
    TGraphPlot plot;
    sample::MakeDeflection(plot, 3);
    plot.Line(1).Name.clear();
    TPlotForm* form = ShowPlot(plot, host.area);
    TLegendBox* legend = form->legend();
    QVERIFY(legend->isVisible());
    QCOMPARE(legend->ItemText(0), QStringLiteral("Stage: 1 *"));
    QCOMPARE(legend->ItemText(1), QStringLiteral("Load #2 *"));
    // The box sits inside the drawing area, in the plot's bottom-right corner.
    QVERIFY(form->canvas()->rect().contains(legend->geometry()));
    const ChartLayout L = form->screenLayout();
    QCOMPARE(legend->geometry().right() + 1, L.plot.right);
    QTest::mouseDClick(legend, Qt::LeftButton, {}, QPoint(10, legend->ItemHeight() + 4));
    QVERIFY(!plot.Line(1).Shown);
    QCOMPARE(legend->ItemText(1), QStringLiteral("Load #2"));
    // Dragging never takes it out of the area.
    QTest::mousePress(legend, Qt::LeftButton, {}, QPoint(5, 5));
    QMouseEvent move(QEvent::MouseMove, QPointF(5000, 5000), legend->mapToGlobal(QPointF(5000, 5000)), Qt::LeftButton,
                     Qt::LeftButton, {});
    QApplication::sendEvent(legend, &move);
    QTest::mouseRelease(legend, Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(form->canvas()->rect().contains(legend->geometry()));
  }

  void mouseReadOutInTheTitle() {
    Host host;
    TGraphPlot plot;
    sample::MakeDeflection(plot, 1);
    TPlotForm* form = ShowPlot(plot, host.area);
    const ChartLayout L = form->screenLayout();
    const PanelMapping m{L.panels[0], form->view().ranges[0], true};
    form->MouseMoved(QPointF(m.ToPixel(0.25, 12.5)));
    QVERIFY2(form->windowTitle().startsWith(QStringLiteral("Deflection vs Depth X: ")), qPrintable(form->windowTitle()));
    const QPointF w = m.ToWorld(QPointF(m.ToPixel(0.25, 12.5)));
    QCOMPARE(form->windowTitle(), QStringLiteral("Deflection vs Depth X: %1 Y: %2")
                                      .arg(GeneralNumber(w.x(), 5), GeneralNumber(w.y(), 5)));
    // Outside the plot the values are those of its edge.
    form->MouseMoved(QPointF(-100, 5000));
    const AxisRange r = form->view().ranges[0];
    QCOMPARE(form->windowTitle(), QStringLiteral("Deflection vs Depth X: %1 Y: %2")
                                      .arg(GeneralNumber(r.XMin, 5), GeneralNumber(r.YMax, 5)));
  }

  void readOutOfThePanelUnderTheMouse() {
    Host host;
    TGraphPlot plot;
    sample::MakeDms(plot);
    TPlotForm* form = ShowPlot(plot, host.area);
    const ChartLayout L = form->screenLayout();
    QCOMPARE(L.panelCount, 3);
    const PanelMapping m3{L.panels[2], form->view().ranges[2], true};
    form->MouseMoved(QPointF(m3.ToPixel(2, 10)));
    const QPointF w = m3.ToWorld(QPointF(m3.ToPixel(2, 10)));
    QVERIFY(form->windowTitle().endsWith(QStringLiteral("X: %1 Y: %2").arg(GeneralNumber(w.x(), 5), GeneralNumber(w.y(), 5))));
    // No band in a three-panel chart.
    const AxisRange before = form->view().ranges[0];
    form->LeftPressed(QPointF(L.panels[0].left + 10, L.panels[0].top + 10));
    form->LeftReleased(QPointF(L.panels[0].left + 100, L.panels[0].top + 100));
    QCOMPARE(form->view().ranges[0], before);
  }

  void bandZoomAndRightClick() {
    Host host;
    TGraphPlot plot;
    sample::MakeMoment(plot, 1);  // X range -400 .. 0
    TPlotForm* form = ShowPlot(plot, host.area);
    const AxisRange full = form->fullRanges()[0];
    const ChartLayout L = form->screenLayout();
    const PanelMapping m{L.panels[0], full, true};
    // Right-click at the full range: nothing changes.
    form->RightPressed(m.ToPixelF(-200, 15));
    QCOMPARE(form->view().ranges[0], full);
    // A band a 50th of the X range wide zooms to a 20th of it.
    const double x0 = -200, dx = full.Width() / 50;
    form->LeftPressed(m.ToPixelF(x0, 5));
    form->MouseMoved(m.ToPixelF(x0 + dx, 25));
    form->LeftReleased(m.ToPixelF(x0 + dx, 25));
    const AxisRange z = form->view().ranges[0];
    QVERIFY2(std::abs(z.Width() - full.Width() / 20) < 1e-6, qPrintable(QString::number(z.Width())));
    QVERIFY(std::abs((z.XMin + z.XMax) / 2 - (x0 + dx / 2)) < full.Width() / 500);
    QCOMPARE(form->fullRanges()[0], full);
    // Zooming out doubles until the full range is back.
    for (int i = 0; i < 6; ++i) form->RightPressed(QPointF(L.plot.left + 5, L.plot.top + 5));
    QCOMPARE(form->view().ranges[0], full);
  }

  void plotMenuRules() {
    Host host;
    TGraphPlot single;
    sample::MakeDeflection(single, 2);
    single.ShowFontWidth = false;
    TPlotForm* a = ShowPlot(single, host.area);
    a->RefreshPlotMenu();
    QCOMPARE(a->plotMenu()->title(), QStringLiteral("&Plot"));
    QCOMPARE(a->plotMenu()->objectName(), QStringLiteral("PlotMenu"));
    QVERIFY(!Item(a, "PlotSoilLayer")->isVisible());
    QVERIFY(!Item(a, "ShowWallGeometry")->isVisible());
    QVERIFY(Item(a, "PlotLegend")->isVisible() && Item(a, "PlotLegend")->isChecked());
    QVERIFY(!Item(a, "FontSize")->isVisible() && !Item(a, "LineWidth")->isVisible());
    const bool printer = !QPrinterInfo::availablePrinters().isEmpty();
    QCOMPARE(Item(a, "PlotPrint")->isEnabled(), printer);
    QCOMPARE(Item(a, "PlotPage")->isEnabled(), printer);
    QCOMPARE(Item(a, "PlotPrint")->text(), QStringLiteral("&Print..."));
    QCOMPARE(Item(a, "PlotSave")->text(), QStringLiteral("&Save To Disk..."));
    Item(a, "PlotLegend")->trigger();
    QVERIFY(!single.ShowLegend && !a->legend()->isVisible());

    TGraphPlot dms;
    sample::MakeDms(dms);
    TPlotForm* b = ShowPlot(dms, host.area);
    b->RefreshPlotMenu();
    QVERIFY(Item(b, "PlotSoilLayer")->isVisible() && !Item(b, "PlotSoilLayer")->isChecked());
    QVERIFY(Item(b, "ShowWallGeometry")->isVisible() && !Item(b, "ShowWallGeometry")->isEnabled());
    Item(b, "PlotSoilLayer")->trigger();
    // The legend keeps to the plot's corner, off the strip.
    QCOMPARE(b->legend()->geometry().right() + 1, b->screenLayout().plot.right);
    b->RefreshPlotMenu();
    QVERIFY(dms.ShowLayers && Item(b, "ShowWallGeometry")->isEnabled());
    Item(b, "ShowWallGeometry")->trigger();
    QVERIFY(dms.ShowWall);
    // Radio submenus set their values and carry the check.
    QMenu* markers = b->findChild<QMenu*>(QStringLiteral("PlotMarkers"));
    QVERIFY(markers);
    QStringList texts;
    for (QAction* m : markers->actions()) texts << m->text();
    QCOMPARE(texts.join('|'), QStringLiteral("&Never|Every &Increment|Every &2 Increments|Every &3 Incrments|"
                                             "Every &5 Increments|Every &10 Incements"));
    markers->actions().at(4)->trigger();
    QCOMPARE(dms.Markers, 5);
    b->RefreshPlotMenu();
    QVERIFY(markers->actions().at(4)->isChecked() && !markers->actions().at(1)->isChecked());
    QMenu* font = b->findChild<QMenu*>(QStringLiteral("FontSize"));
    const int legendWidth = b->legend()->width();
    font->actions().at(2)->trigger();
    QCOMPARE(dms.SizeFont, 20);
    QVERIFY(b->legend()->width() > legendWidth);  // the legend follows the font
    b->findChild<QMenu*>(QStringLiteral("LineWidth"))->actions().at(3)->trigger();
    QCOMPARE(dms.WidthLine, 6);
    // The per-line items toggle their line.
    QAction* longTerm = b->plotMenu()->actions().last();
    QCOMPARE(longTerm->text(), QStringLiteral("Long-Term"));
    QVERIFY(longTerm->isChecked());
    longTerm->trigger();
    QVERIFY(!dms.Line(1).Shown);
    b->RefreshPlotMenu();
    QVERIFY(!b->plotMenu()->actions().last()->isChecked());
  }

  void saveToDisk() {
    Host host;
    TGraphPlot plot;
    sample::MakeDeflection(plot, 2);
    TPlotForm* form = ShowPlot(plot, host.area);
    QTemporaryDir dir;
    const QString bmp = dir.filePath(QStringLiteral("chart.bmp"));
    QVERIFY(form->SavePicture(bmp, 4, 6, 72));
    QImage saved(bmp);
    QCOMPARE(saved.size(), QSize(432, 288));
    // Too large for memory: the message, and nothing written.
    const QString huge = dir.filePath(QStringLiteral("huge.bmp"));
    QVERIFY(!form->SavePicture(huge, 300, 300, 3000));
    QCOMPARE(host.answers.messages.value(0), QStringLiteral("There is not enough memory to complete this task."));
    QVERIFY(!QFile::exists(huge));
    // The command: the save dialog (cancelled: nothing), then the picture dialog.
    form->PlotSaveClick();
    QCOMPARE(host.answers.dialogTitles.size(), 1);
    host.answers.savePaths << dir.filePath(QStringLiteral("named"));
    AcceptNextDialog();
    form->PlotSaveClick();
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("named.bmp"))));
    QCOMPARE(QImage(dir.filePath(QStringLiteral("named.bmp"))).size(), QSize(432, 288));
  }

  void printToAPdfPage() {
    Host host;
    TGraphPlot plot;
    sample::MakeDms(plot);
    plot.ShowLayers = true;
    TPlotForm* form = ShowPlot(plot, host.area);
    QCOMPARE(form->pageMargins(), QMarginsF(1000, 1000, 1000, 1000));
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("chart.pdf")));
    QVERIFY(form->PrintTo(printer));
    QCOMPARE(printer.docName(), plot.Caption);
    QVERIFY(QFileInfo(dir.filePath(QStringLiteral("chart.pdf"))).size() > 1000);
  }

  void theChartMayGoBeforeItsWindow() {
    Host host;
    auto plot = std::make_unique<TGraphPlot>();
    sample::MakeDeflection(*plot, 1);
    QVERIFY(ShowPlot(*plot, host.area));
    // As when the owner's members go before its child windows: no event in between.
    plot.reset();
    delete host.area;
  }
};

QTEST_MAIN(PlotFormTest)
#include "plot_form_test.moc"
