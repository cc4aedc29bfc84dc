// Opens a text file in the text editor chosen under "&Option of Text Editor..." (started
// with the file name), or in the desktop's text editor when none is chosen; a failure shows
// "An error occurred in running the Word Processor".
#pragma once

class QString;
class QWidget;

bool openInTextEditor(QWidget* parent, const QString& path);
