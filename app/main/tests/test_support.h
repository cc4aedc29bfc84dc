// Shared set-up of the program's Qt tests: a private settings store, the scripted prompts,
// a scratch folder, and helpers to find the bundled example files.
#pragma once

#include <QDir>
#include <QString>
#include <QTemporaryDir>
#include <memory>

#include "scripted_prompts.h"

class QWidget;
class TDataEdit;

// Points QSettings at a temporary folder (the user's settings are never touched) and
// installs scripted prompts for the lifetime of the object.
class TestEnvironment {
public:
  TestEnvironment();
  ~TestEnvironment();
  ScriptedPrompts prompts;
  QString scratch() const { return dir_.path(); }
  // Where the program's settings are kept during the test.
  QString settingsFolder() const { return settingsDir_.path(); }
  // Copies a file into the scratch folder and returns the copy's path.
  QString copyIn(const QString& source, const QString& newName = QString()) const;

private:
  QTemporaryDir dir_{QDir::tempPath() + QStringLiteral("/tarnel-test-XXXXXX")};
  QTemporaryDir settingsDir_{QDir::tempPath() + QStringLiteral("/tarnel-settings-XXXXXX")};
};

// A bundled example by file name (examples/ or the model's test data), or empty.
QString exampleFile(const QString& name);
// Text of a file.
QString readText(const QString& path);

// The number field of a dialog whose caption starts with the given text, or nullptr.
TDataEdit* field(QWidget* dialog, const QString& captionStart);
// Types a text into a field and leaves it, the way a user does.
void typeAndLeave(TDataEdit* e, const QString& text);
