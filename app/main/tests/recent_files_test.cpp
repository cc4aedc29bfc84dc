// The recent-file list: order, capacity and the captions of the File menu.
#include <QtTest>

#include "app/main/recent_files.h"

class RecentFilesTest : public QObject {
  Q_OBJECT
private slots:
  void firstEntryStaysPut() {
    RecentFiles r({"/a", "/b"});
    r.touch("/a");
    QCOMPARE(r.files(), QStringList({"/a", "/b"}));
  }
  void laterEntryMovesToTop() {
    RecentFiles r({"/a", "/b", "/c", "/d"});
    r.touch("/c");
    QCOMPARE(r.files(), QStringList({"/c", "/a", "/b", "/d"}));
  }
  void newEntryPushesTheTenthOut() {
    QStringList ten;
    for (int i = 1; i <= 10; ++i) ten << QStringLiteral("/f%1").arg(i);
    RecentFiles r(ten);
    r.touch("/new");
    QCOMPARE(r.files().size(), 10);
    QCOMPARE(r.files().first(), QStringLiteral("/new"));
    QCOMPARE(r.files().last(), QStringLiteral("/f9"));
  }
  void captionDropsTheCurrentFolder() {
    RecentFiles r({"/work/walls/a.tn5d", "/other/b.tn5d"});
    QCOMPARE(r.caption(0, "/work/walls"), QStringLiteral("&1 a.tn5d"));
    QCOMPARE(r.caption(1, "/work/walls"), QStringLiteral("&2 /other/b.tn5d"));
  }
};

QTEST_GUILESS_MAIN(RecentFilesTest)
#include "recent_files_test.moc"
