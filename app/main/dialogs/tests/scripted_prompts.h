#pragma once
// Answers every message box and file dialog of the program without a person: records the
// texts and gives the prepared answers.
#include <QStringList>

#include "app/main/user_prompts.h"

class RecordingPrompts : public UserPrompts {
 public:
  QStringList messages;
  Answer yesNoAnswer = Answer::Yes;
  QString openFilePath;

  void information(QWidget*, const QString& text) override { messages << text; }
  void warning(QWidget*, const QString& text) override { messages << text; }
  Answer askYesNoCancel(QWidget*, const QString& text) override {
    messages << text;
    return yesNoAnswer;
  }
  Answer askYesNo(QWidget*, const QString& text) override {
    messages << text;
    return yesNoAnswer;
  }
  FileChoice openFile(QWidget*, const QString&, const QString&, const QStringList&, int) override {
    return {openFilePath, 0};
  }
  FileChoice saveFile(QWidget*, const QString&, const QString&, const QStringList&, int) override { return {}; }
};
