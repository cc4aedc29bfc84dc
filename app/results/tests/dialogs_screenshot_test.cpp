// Pictures of the chart window's four dialogs as a user meets them, saved as PNG files for
// review, with a check that no label or button is cut off or sticks out of its dialog.
#include <QAbstractButton>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QTest>

#include <QTemporaryDir>

#include "app/model/program_data.h"
#include "app/results/dialogs/active_lines_dialog.h"
#include "app/results/dialogs/export_dialog.h"
#include "app/results/dialogs/graph_caption_dialog.h"
#include "app/results/dialogs/line_names_dialog.h"
#include "app/results/dialogs/picture_format_dialog.h"
#include "app/results/graph_plot.h"

class ResultDialogsScreenshotTest : public QObject {
  Q_OBJECT

  // The chart of a staged analysis: four stages, the third not drawn.
  static void fill(TGraphPlot& plot) {
    plot.Caption = QStringLiteral("Deflection vs Depth");
    plot.CurveName = QStringLiteral("Load #");
    plot.SetLineCount(5);
    plot.SetPointCount(2);
    for (int i = 0; i < 4; ++i) plot.Line(i).Name = QStringLiteral("Stage: %1").arg(i + 1);
    plot.Line(2).Active = false;
    plot.GraphTitle = QStringLiteral("Sheet-pile wall, stage 4");
  }

  static void check(QDialog& dialog, const QString& file) {
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
    const QString dir = QStringLiteral(TARNEL_SCREENSHOT_DIR) + QStringLiteral("/results-dialogs");
    QVERIFY(QDir().mkpath(dir));
    QVERIFY(dialog.grab().save(dir + QLatin1Char('/') + file + QStringLiteral(".png")));
    const QRect inside = dialog.rect();
    for (QWidget* w : dialog.findChildren<QWidget*>()) {
      if (!w->isVisible() || !(qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w))) continue;
      const QRect r(w->mapTo(&dialog, QPoint(0, 0)), w->size());
      const QString text = w->property("text").toString();
      QVERIFY2(inside.contains(r), qPrintable(file + ": outside: " + text));
      QVERIFY2(w->width() >= w->sizeHint().width() - 1, qPrintable(file + ": clipped: " + text));
    }
  }

 private slots:
  void graphCaption() {
    TGraphPlot plot;
    fill(plot);
    TfrmGraphCaption dlg(plot);
    check(dlg, QStringLiteral("graph-caption"));
  }
  void legend() {
    TGraphPlot plot;
    fill(plot);
    TfrmLineNames dlg(plot);
    dlg.findChild<QListWidget*>()->setCurrentRow(1);
    check(dlg, QStringLiteral("legend"));
  }
  void legendAtMinimumSize() {
    TGraphPlot plot;
    fill(plot);
    TfrmLineNames dlg(plot);
    dlg.resize(120, 100);  // held at its minimum, where everything must still fit
    check(dlg, QStringLiteral("legend-minimum"));
    QCOMPARE(dlg.size(), QSize(195, 167));
  }
  void activeCurves() {
    TGraphPlot plot;
    fill(plot);
    TfrmActiveLines dlg(plot);
    auto* list = dlg.findChild<QListWidget*>();
    list->item(0)->setSelected(true);
    list->item(2)->setSelected(true);
    check(dlg, QStringLiteral("active-curves"));
  }
  void saveAttributes() {
    TdlgFormat dlg;
    check(dlg, QStringLiteral("save-attributes"));
  }
  void exportToExcel() {
    // A run without p-y curves: that row is offered greyed.
    const char* plot =
        " 2\n 0 0 0 0\n 1 10 8 2\n 2 0\n 1 3 2\n 0 -0.01 0 0 0\n 0.5 -0.008 3 -2 0.1\n 1 -0.005 6 -4 0.2\n";
    ResultCharts charts;
    tarnel::model::TProgramData project;
    QVERIFY(charts.LoadPlotText(plot, project));
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("wall.tn5p"));
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(plot);
    f.close();
    TDlgExport dlg(charts, file);
    check(dlg, QStringLiteral("export-to-excel"));
  }
};

QTEST_MAIN(ResultDialogsScreenshotTest)
#include "dialogs_screenshot_test.moc"
