// Answers every message box and file dialog of the program in the tests: records what was
// asked and gives prepared answers, so no modal window waits for a person.
#pragma once

#include <QList>
#include <QStringList>
#include <QUrl>

#include "app/main/user_prompts.h"

class ScriptedPrompts : public UserPrompts {
public:
  QStringList messages;                   // information and warning texts, in order
  QStringList questions;                  // confirmation texts, in order
  QList<Answer> answers;                  // answers to give (Yes when the list is empty)
  QStringList openPaths;                  // paths the open dialog returns (empty: cancel)
  QList<int> openFilterIndexes;           // file types chosen in the open dialog
  QStringList savePaths;                  // paths the save dialog returns (empty: cancel)
  QStringList dialogTitles;               // titles of the file dialogs shown
  QStringList proposedSaveNames;          // names the save dialog proposed
  QList<QUrl> openedUrls;                 // documents handed to the desktop
  QStringList startedPrograms;            // programs started (program + first argument)
  bool desktopSucceeds = true;

  void information(QWidget*, const QString& text) override { messages << text; }
  void warning(QWidget*, const QString& text) override { messages << text; }
  Answer askYesNoCancel(QWidget*, const QString& text) override { return answer(text); }
  Answer askYesNo(QWidget*, const QString& text) override { return answer(text); }
  FileChoice openFile(QWidget*, const QString& title, const QString&, const QStringList&,
                      int) override {
    dialogTitles << title;
    FileChoice c;
    if (!openPaths.isEmpty()) c.path = openPaths.takeFirst();
    if (!openFilterIndexes.isEmpty()) c.filterIndex = openFilterIndexes.takeFirst();
    return c;
  }
  FileChoice saveFile(QWidget*, const QString& title, const QString& proposed,
                      const QStringList&, int) override {
    dialogTitles << title;
    proposedSaveNames << proposed;
    FileChoice c;
    if (!savePaths.isEmpty()) c.path = savePaths.takeFirst();
    return c;
  }
  bool openUrl(const QUrl& url) override {
    openedUrls << url;
    return desktopSucceeds;
  }
  bool startProgram(const QString& program, const QStringList& arguments) override {
    startedPrograms << program + QLatin1Char(' ') + arguments.value(0);
    return desktopSucceeds;
  }

private:
  Answer answer(const QString& text) {
    questions << text;
    return answers.isEmpty() ? Answer::Yes : answers.takeFirst();
  }
};
