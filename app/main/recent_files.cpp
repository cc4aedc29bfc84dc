#include "recent_files.h"

#include <QDir>

RecentFiles::RecentFiles(QStringList files) : files_(std::move(files)) {
  files_.removeAll(QString());
  while (files_.size() > kCapacity) files_.removeLast();
}

void RecentFiles::touch(const QString& path) {
  if (!files_.isEmpty() && files_.first() == path) return;
  files_.removeAll(path);
  files_.prepend(path);
  while (files_.size() > kCapacity) files_.removeLast();
}

QString RecentFiles::caption(int i, const QString& currentFolder) const {
  QString path = QDir::toNativeSeparators(files_.value(i));
  QString folder = QDir::toNativeSeparators(currentFolder);
  if (!folder.isEmpty()) {
    if (!folder.endsWith(QDir::separator())) folder += QDir::separator();
    if (path.startsWith(folder)) path = path.mid(folder.size());
  }
  // A single "&" in a path would turn into an access key.
  path.replace(QLatin1Char('&'), QStringLiteral("&&"));
  return QStringLiteral("&%1 %2").arg(i + 1).arg(path);
}
