// The program's per-user settings: the text editor and the ten most recent files, kept
// under the key SOFTWARE\Brivok\TARNEL\2015.5.22 (the registry on Windows, an INI file
// elsewhere). A store that cannot be read or written leaves the defaults.
#pragma once

#include <QString>
#include <QStringList>

#include "app/main/recent_files.h"

class ProgramSettings {
public:
  static constexpr int kRecentCount = RecentFiles::kCapacity;

  // Names the program for Qt (organisation, application, version); main() and the tests
  // call it first.
  static void registerKey();

  QString textEditor() const;
  void setTextEditor(const QString& path);

  QStringList recentFiles() const;  // most recent first, at most ten, no empty entries
  void setRecentFiles(const QStringList& files);
};
