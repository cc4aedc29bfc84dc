#include "user_prompts.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QProcess>

namespace {

const QString kBoxTitle = QStringLiteral("TARNEL 2015");

UserPrompts* g_installed = nullptr;

QString joinedFilters(const QStringList& filters) { return filters.join(QStringLiteral(";;")); }

int indexOfFilter(const QStringList& filters, const QString& chosen) {
  const int i = filters.indexOf(chosen);
  return i < 0 ? 0 : i;
}

}  // namespace

QString allFilesFilter() {
#ifdef Q_OS_WIN
  return QStringLiteral("All Files (*.*)");
#else
  return QStringLiteral("All Files (*)");
#endif
}

UserPrompts& prompts() {
  static DesktopPrompts desktop;
  return g_installed ? *g_installed : desktop;
}

void setPrompts(UserPrompts* p) { g_installed = p; }

void DesktopPrompts::information(QWidget* parent, const QString& text) {
  QMessageBox::information(parent, kBoxTitle, text, QMessageBox::Ok);
}

void DesktopPrompts::warning(QWidget* parent, const QString& text) {
  QMessageBox::warning(parent, kBoxTitle, text, QMessageBox::Ok);
}

UserPrompts::Answer DesktopPrompts::askYesNoCancel(QWidget* parent, const QString& text) {
  switch (QMessageBox::question(parent, kBoxTitle, text,
                                QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                QMessageBox::Yes)) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return Answer::Cancel;
  }
}

UserPrompts::Answer DesktopPrompts::askYesNo(QWidget* parent, const QString& text) {
  return QMessageBox::question(parent, kBoxTitle, text, QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::Yes) == QMessageBox::Yes
             ? Answer::Yes
             : Answer::No;
}

namespace {

// QFileDialog::getOpenFileName or getSaveFileName.
using FileDialogCall = QString (*)(QWidget*, const QString&, const QString&, const QString&,
                                   QString*, QFileDialog::Options);

UserPrompts::FileChoice askForFile(FileDialogCall ask, QWidget* parent, const QString& title,
                                   const QString& start, const QStringList& filters,
                                   int filterIndex) {
  QString selected = filters.value(filterIndex);
  UserPrompts::FileChoice choice;
  choice.path = ask(parent, title, start, joinedFilters(filters), &selected, {});
  choice.filterIndex = indexOfFilter(filters, selected);
  return choice;
}

}  // namespace

UserPrompts::FileChoice DesktopPrompts::openFile(QWidget* parent, const QString& title,
                                                 const QString& folder,
                                                 const QStringList& filters, int filterIndex) {
  return askForFile(&QFileDialog::getOpenFileName, parent, title, folder, filters, filterIndex);
}

UserPrompts::FileChoice DesktopPrompts::saveFile(QWidget* parent, const QString& title,
                                                 const QString& proposed,
                                                 const QStringList& filters, int filterIndex) {
  // The dialog asks before overwriting and offers only existing folders.
  return askForFile(&QFileDialog::getSaveFileName, parent, title, proposed, filters, filterIndex);
}

bool UserPrompts::openUrl(const QUrl& url) { return QDesktopServices::openUrl(url); }

bool UserPrompts::startProgram(const QString& program, const QStringList& arguments) {
  return QProcess::startDetached(program, arguments);
}
