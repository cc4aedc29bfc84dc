#include "program_settings.h"

#include <QCoreApplication>
#include <QSettings>

namespace {
const QString kEditorValue = QStringLiteral("Word Processor");
QString recentValue(int i) { return QStringLiteral("File%1").arg(i); }
}  // namespace

void ProgramSettings::registerKey() {
  // Native store on Windows: HKEY_CURRENT_USER\SOFTWARE\Brivok\TARNEL\2015.5.22.
  QCoreApplication::setOrganizationName(QStringLiteral("Brivok"));
  QCoreApplication::setApplicationName(QStringLiteral("TARNEL/2015.5.22"));
#ifndef Q_OS_WIN
  QSettings::setDefaultFormat(QSettings::IniFormat);
#endif
}

QString ProgramSettings::textEditor() const {
  QSettings s;
  return s.value(kEditorValue).toString();
}

void ProgramSettings::setTextEditor(const QString& path) {
  QSettings s;
  s.setValue(kEditorValue, path);
}

QStringList ProgramSettings::recentFiles() const {
  QSettings s;
  QStringList files;
  for (int i = 1; i <= kRecentCount; ++i) {
    const QString f = s.value(recentValue(i)).toString();
    if (!f.isEmpty()) files << f;
  }
  return files;
}

void ProgramSettings::setRecentFiles(const QStringList& files) {
  QSettings s;
  for (int i = 1; i <= kRecentCount; ++i) {
    if (i <= files.size())
      s.setValue(recentValue(i), files[i - 1]);
    else
      s.remove(recentValue(i));
  }
}
