// The Help menu through its own items: Contents opens the help window over the manuals'
// pages; the two manuals open their PDFs with the desktop's viewer and fall back to the help
// window, at the manual's first page, when the PDF or a viewer is missing; About shows the
// version, the build and the licence. No item shows an error box.
#include <QtTest>

#include <QAction>
#include <QLabel>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTreeWidget>

#include "app/help/help_window.h"
#include "app/main/main_form.h"
#include "test_support.h"

using tarnel::help::HelpWindow;

namespace {

QAction* action(TMainForm& f, const char* name) {
  auto* a = f.findChild<QAction*>(QString::fromLatin1(name));
  if (!a) qFatal("no action %s", name);
  return a;
}

void write(const QString& path, const QByteArray& text) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  QVERIFY(f.open(QIODevice::WriteOnly));
  f.write(text);
}

// A documents folder with the help pages (and, when asked, the two PDFs), set as the
// folder the program looks in for the lifetime of the object.
struct Documents {
  explicit Documents(const TestEnvironment& env, bool withPdfs) : folder(env.scratch() + "/program") {
    write(folder + "/docs/index.md", "# TARNEL 2015 Help\n\nSee [the user's manual](users-manual.md) and "
                                     "[tiebacks](technical-manual.md#tiebacks).\n");
    write(folder + "/docs/users-manual.md", "# TARNEL 2015 User's Manual\n\n## Starting\n\nText.\n");
    write(folder + "/docs/technical-manual.md",
          "# TARNEL 2015 Technical Manual\n\n## The wall\n\nBeam-column.\n\n## Tiebacks\n\nA unique "
          "word: anchorage.\n");
    if (withPdfs) {
      write(folder + "/TARNEL 2015 Users Manual.pdf", "%PDF-1.4\n");
      write(folder + "/TARNEL 2015 Technical Manual.pdf", "%PDF-1.4\n");
    }
    qputenv("TARNEL_HELP_DIR", folder.toLocal8Bit());
  }
  ~Documents() { qunsetenv("TARNEL_HELP_DIR"); }
  QString folder;
};

HelpWindow* helpWindow(TMainForm& f) { return f.findChild<HelpWindow*>("HelpWindow"); }

// The heading at the top of the visible part of the help window.
QString headingAtCursor(HelpWindow* w) { return w->browser()->textCursor().block().text(); }

}  // namespace

class HelpMenuTest : public QObject {
  Q_OBJECT
private slots:
  void contentsOpensTheHelpWindow() {
    TestEnvironment env;
    Documents docs(env, true);
    TMainForm f;
    f.startWith({});
    action(f, "HelpContents")->trigger();
    HelpWindow* w = helpWindow(f);
    QVERIFY(w && w->isVisible());
    QVERIFY(env.prompts.messages.isEmpty());
    QVERIFY(env.prompts.openedUrls.isEmpty());
    // The three pages in one browser, their titles at the top of the contents tree.
    QCOMPARE(w->contents()->topLevelItemCount(), 3);
    QCOMPARE(w->contents()->topLevelItem(1)->text(0), QStringLiteral("TARNEL 2015 User's Manual"));
    QVERIFY(w->browser()->toPlainText().contains("Beam-column."));
    // A second Contents brings the same window back.
    action(f, "HelpContents")->trigger();
    QCOMPARE(f.findChildren<HelpWindow*>().size(), 1);
  }

  void linksBetweenSectionsAndSearch() {
    TestEnvironment env;
    Documents docs(env, true);
    TMainForm f;
    f.startWith({});
    action(f, "HelpContents")->trigger();
    HelpWindow* w = helpWindow(f);
    QVERIFY(w);
    // A link to another page's section, as the browser reports a click on it.
    emit w->browser()->anchorClicked(QUrl("#tiebacks"));
    QCOMPARE(headingAtCursor(w), QStringLiteral("Tiebacks"));
    emit w->browser()->anchorClicked(QUrl("#users-manual"));
    QCOMPARE(headingAtCursor(w), QStringLiteral("TARNEL 2015 User's Manual"));
    // Search finds forward and wraps; an absent word is reported in the window.
    QVERIFY(w->find("anchorage"));
    QCOMPARE(w->browser()->textCursor().selectedText(), QStringLiteral("anchorage"));
    QVERIFY(w->find("anchorage"));  // wraps round to the same place
    QVERIFY(!w->find("no-such-word-here"));
    QVERIFY(env.prompts.messages.isEmpty());
    // A web address goes to the desktop.
    emit w->browser()->anchorClicked(QUrl("https://example.org/soil"));
    QCOMPARE(env.prompts.openedUrls, QList<QUrl>{QUrl("https://example.org/soil")});
  }

  void manualsOpenTheirPdfs() {
    TestEnvironment env;
    Documents docs(env, true);
    TMainForm f;
    f.startWith({});
    action(f, "HelpManual")->trigger();
    action(f, "HelpTechnical")->trigger();
    QCOMPARE(env.prompts.openedUrls.size(), 2);
    QCOMPARE(env.prompts.openedUrls[0], QUrl::fromLocalFile(docs.folder + "/TARNEL 2015 Users Manual.pdf"));
    QCOMPARE(env.prompts.openedUrls[1], QUrl::fromLocalFile(docs.folder + "/TARNEL 2015 Technical Manual.pdf"));
    QVERIFY(!helpWindow(f));
    QVERIFY(env.prompts.messages.isEmpty());
  }

  // No PDF installed, or a PDF but no viewer: the help window at the manual, no box.
  void missingPdfOrViewerFallsBackToTheHelpWindow() {
    for (const bool withPdfs : {false, true}) {
      TestEnvironment env;
      Documents docs(env, withPdfs);
      env.prompts.desktopSucceeds = false;
      TMainForm f;
      f.startWith({});
      action(f, "HelpTechnical")->trigger();
      HelpWindow* w = helpWindow(f);
      QVERIFY(w && w->isVisible());
      QCOMPARE(headingAtCursor(w), QStringLiteral("TARNEL 2015 Technical Manual"));
      action(f, "HelpManual")->trigger();
      QCOMPARE(headingAtCursor(w), QStringLiteral("TARNEL 2015 User's Manual"));
      QVERIFY(env.prompts.messages.isEmpty());
      QCOMPARE(env.prompts.openedUrls.size(), withPdfs ? 2 : 0);
    }
  }

  // Not even the pages: the window says where it looked, still without a box.
  void noPagesInstalled() {
    TestEnvironment env;
    qputenv("TARNEL_HELP_DIR", (env.scratch() + "/empty").toLocal8Bit());
    TMainForm f;
    f.startWith({});
    action(f, "HelpManual")->trigger();
    HelpWindow* w = helpWindow(f);
    QVERIFY(w);
    QVERIFY(!w->pagesFound());
    QVERIFY(w->browser()->toPlainText().contains("The help pages are not installed"));
    QVERIFY(env.prompts.messages.isEmpty());
    qunsetenv("TARNEL_HELP_DIR");
  }

  void aboutShowsVersionBuildAndLicence() {
    TestEnvironment env;
    TMainForm f;
    f.startWith({});
    action(f, "HelpAbout")->trigger();
    QWidget* box = f.findChild<QWidget*>("AboutBox");
    QVERIFY(box && box->isVisible());
    QStringList texts;
    for (QLabel* l : box->findChildren<QLabel*>()) texts << l->text();
    const QString all = texts.join('\n');
    QVERIFY(all.contains("Version 2015.5.22"));
    QVERIFY(all.contains("Build: 2015.5.22"));
    QVERIFY(all.contains(QString("Qt ") + qVersion()));
    QVERIFY(all.contains("Licence:"));
    box->close();
  }
};

QTEST_MAIN(HelpMenuTest)
#include "help_menu_test.moc"
