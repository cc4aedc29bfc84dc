#include "test_support.h"

#include "app/main/program_settings.h"
#include "app/main/widgets/data_edit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTest>

TestEnvironment::TestEnvironment() {
  ProgramSettings::registerKey();
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir_.path());
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir_.path());
  setPrompts(&prompts);
}

TestEnvironment::~TestEnvironment() { setPrompts(nullptr); }

QString TestEnvironment::copyIn(const QString& source, const QString& newName) const {
  const QString target =
      QDir(dir_.path()).filePath(newName.isEmpty() ? QFileInfo(source).fileName() : newName);
  QFile::remove(target);
  QFile::copy(source, target);
  QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
  return target;
}

QString exampleFile(const QString& name) {
  for (const QString& dir : {QStringLiteral(TARNEL_EXAMPLES_DIR), QStringLiteral(TARNEL_MODEL_TESTDATA)}) {
    const QString p = QDir(dir).filePath(name);
    if (QFileInfo::exists(p)) return p;
  }
  return {};
}

QString readText(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(f.readAll());
}

TDataEdit* field(QWidget* dialog, const QString& captionStart) {
  for (TDataEdit* e : dialog->findChildren<TDataEdit*>())
    if (e->caption().startsWith(captionStart)) return e;
  return nullptr;
}

void typeAndLeave(TDataEdit* e, const QString& text) {
  e->setFocus();
  e->selectAll();
  QTest::keyClicks(e, text);
  QTest::keyClick(e, Qt::Key_Return);
}
