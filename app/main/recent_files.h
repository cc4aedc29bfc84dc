// The list of recently opened data files: ten full paths, most recent first.
#pragma once

#include <QString>
#include <QStringList>

class RecentFiles {
public:
  static constexpr int kCapacity = 10;

  explicit RecentFiles(QStringList files = {});

  // Puts `path` first: an entry already in the list moves up, the others shift down and
  // the eleventh falls off.
  void touch(const QString& path);

  const QStringList& files() const { return files_; }

  // File-menu caption of entry i (0-based): position, a blank and the path, without the
  // current folder when the path lies in it.
  QString caption(int i, const QString& currentFolder) const;

private:
  QStringList files_;
};
