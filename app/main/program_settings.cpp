#include "program_settings.h"

#include <QCoreApplication>
#include <QSettings>

namespace {

const QString kEditorValue = QStringLiteral("Word Processor");
QString recentValue(int i) { return QStringLiteral("File%1").arg(i); }

// The store of the key SOFTWARE\Brivok\TARNEL\2015.5.22: on Windows the registry of the
// current user (the "/" becomes the key separator), elsewhere
// ~/.config/Brivok/TARNEL/2015.5.22.ini.
QSettings store() {
#ifdef Q_OS_WIN
  const QSettings::Format format = QSettings::NativeFormat;
#else
  const QSettings::Format format = QSettings::IniFormat;
#endif
  return QSettings(format, QSettings::UserScope, QStringLiteral("Brivok"),
                   QStringLiteral("TARNEL/2015.5.22"));
}

}  // namespace

void ProgramSettings::registerKey() {
  QCoreApplication::setOrganizationName(QStringLiteral("Brivok"));
  QCoreApplication::setApplicationName(QStringLiteral("Tarnel2015"));
  QCoreApplication::setApplicationVersion(QStringLiteral("2015.5.22"));
}

QString ProgramSettings::textEditor() const { return store().value(kEditorValue).toString(); }

void ProgramSettings::setTextEditor(const QString& path) { store().setValue(kEditorValue, path); }

QStringList ProgramSettings::recentFiles() const {
  const QSettings s = store();
  QStringList files;
  for (int i = 1; i <= kRecentCount; ++i) {
    const QString f = s.value(recentValue(i)).toString();
    if (!f.isEmpty()) files << f;
  }
  return files;
}

void ProgramSettings::setRecentFiles(const QStringList& files) {
  QSettings s = store();
  for (int i = 1; i <= kRecentCount; ++i) {
    if (i <= files.size())
      s.setValue(recentValue(i), files[i - 1]);
    else
      s.remove(recentValue(i));
  }
}
