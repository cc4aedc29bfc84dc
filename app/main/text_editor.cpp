#include "app/main/text_editor.h"

#include "app/main/program_settings.h"
#include "app/main/user_prompts.h"

#include <QDir>
#include <QUrl>

bool openInTextEditor(QWidget* parent, const QString& path) {
  const QString editor = ProgramSettings().textEditor();
  const bool ok = editor.isEmpty()
                      ? prompts().openUrl(QUrl::fromLocalFile(path))
                      : prompts().startProgram(editor, {QDir::toNativeSeparators(path)});
  if (!ok) prompts().information(parent, QStringLiteral("An error occurred in running the Word Processor"));
  return ok;
}
