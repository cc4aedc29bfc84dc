// The one place through which the program asks the user something or hands a document to
// the desktop: message boxes, file dialogs, opening files and starting the text editor. Widgets call prompts(); tests install a ScriptedPrompts (tests/) so that no
// modal dialog can wait for a person that is not there.
#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QUrl>

class QWidget;

class UserPrompts {
public:
  enum class Answer { Yes, No, Cancel, Ok };

  struct FileChoice {
    QString path;    // empty when the user cancelled
    int filterIndex = 0;  // 0-based index of the chosen file type
  };

  virtual ~UserPrompts() = default;

  // Information box with an OK button (the program's entry and run messages).
  virtual void information(QWidget* parent, const QString& text) = 0;
  // Warning box with an OK button (validation failures of the analysis run).
  virtual void warning(QWidget* parent, const QString& text) = 0;
  // Confirmation with Yes / No / Cancel.
  virtual Answer askYesNoCancel(QWidget* parent, const QString& text) = 0;
  // Confirmation with Yes / No.
  virtual Answer askYesNo(QWidget* parent, const QString& text) = 0;
  // Open dialog for an existing file; filters like "Text Files (*.txt)".
  virtual FileChoice openFile(QWidget* parent, const QString& title, const QString& folder,
                              const QStringList& filters, int filterIndex = 0) = 0;
  // Save dialog with overwrite prompt; `proposed` is the suggested full path.
  virtual FileChoice saveFile(QWidget* parent, const QString& title, const QString& proposed,
                              const QStringList& filters, int filterIndex = 0) = 0;
  // The desktop's default action for a document or web address; false when it failed.
  virtual bool openUrl(const QUrl& url);
  // Starts a program detached from this one; false when it could not be started.
  virtual bool startProgram(const QString& program, const QStringList& arguments);
};

// Message boxes and file dialogs of the desktop.
class DesktopPrompts : public UserPrompts {
public:
  void information(QWidget* parent, const QString& text) override;
  void warning(QWidget* parent, const QString& text) override;
  Answer askYesNoCancel(QWidget* parent, const QString& text) override;
  Answer askYesNo(QWidget* parent, const QString& text) override;
  FileChoice openFile(QWidget* parent, const QString& title, const QString& folder,
                      const QStringList& filters, int filterIndex) override;
  FileChoice saveFile(QWidget* parent, const QString& title, const QString& proposed,
                      const QStringList& filters, int filterIndex) override;
};

// The file type that shows every file: "All Files (*.*)" (on systems where "*.*" would miss
// names without a dot, the pattern is "*").
QString allFilesFilter();

// The service in use: the desktop one unless a test has installed another.
UserPrompts& prompts();
// Installs `p` (not owned; nullptr returns to the desktop service).
void setPrompts(UserPrompts* p);
