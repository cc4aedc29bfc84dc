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

UserPrompts::FileChoice DesktopPrompts::openFile(QWidget* parent, const QString& title,
                                                 const QString& folder,
                                                 const QStringList& filters, int filterIndex) {
  QString selected = filters.value(filterIndex);
  FileChoice choice;
  choice.path = QFileDialog::getOpenFileName(parent, title, folder, joinedFilters(filters),
                                             &selected);
  choice.filterIndex = indexOfFilter(filters, selected);
  return choice;
}

UserPrompts::FileChoice DesktopPrompts::saveFile(QWidget* parent, const QString& title,
                                                 const QString& proposed,
                                                 const QStringList& filters, int filterIndex) {
  QString selected = filters.value(filterIndex);
  FileChoice choice;
  // The dialog asks before overwriting and offers only existing folders.
  choice.path = QFileDialog::getSaveFileName(parent, title, proposed, joinedFilters(filters),
                                             &selected);
  choice.filterIndex = indexOfFilter(filters, selected);
  return choice;
}

bool UserPrompts::openUrl(const QUrl& url) { return QDesktopServices::openUrl(url); }

bool UserPrompts::startProgram(const QString& program, const QStringList& arguments) {
  return QProcess::startDetached(program, arguments);
}
