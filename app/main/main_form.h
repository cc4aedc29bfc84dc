// TMainForm: the program's multiple-document main window. It owns the project, the file
// commands, the option switches, the recent-file list and the text-editor setting; input
// dialogs, table editors and (later) result charts open as its child windows.
#pragma once

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <memory>

#include "app/main/dialogs/option_coupling.h"
#include "app/main/program_settings.h"
#include "app/main/recent_files.h"

class QAction;
class QActionGroup;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;
class QToolButton;
class DialogHub;
class ProfileCommands;
class ResultCommands;
class ResultCharts;
class StageManager;
class TTableForm;
class View3DCommands;

namespace tarnel::model {
class TProgramData;
class TGridTable;
}  // namespace tarnel::model

using tarnel::model::TProgramData;

class TMainForm : public QMainWindow {
  Q_OBJECT
public:
  explicit TMainForm(QWidget* parent = nullptr);
  ~TMainForm() override;

  // Opens the file named on the command line, or starts a new project.
  void startWith(const QStringList& arguments);

  TProgramData* project() const { return project_.get(); }
  QMdiArea* mdiArea() const { return mdi_; }
  DialogHub* dialogHub() const { return hub_; }
  const RecentFiles& recentFiles() const { return recent_; }

  // Display name: file name without folder, first letter upper case, ".tnd" dropped.
  static QString displayName(const QString& fileName);
  // The program's folder (where the engine library and the help documents are).
  static QString programFolder();

  // File commands; each returns false when cancelled or failed.
  bool newProject();
  bool openDialog();
  bool openRecent(int index);
  bool openDropped(const QString& path);
  bool save();
  bool saveAs();
  // Opens a data file (layout code 1..5, or 0 to take it from the extension); false, with
  // the project left as it was, when the file cannot be read at all.
  bool openFile(const QString& path, int layoutCode = 0);
  // The save question; false when the command that discards the project must stop.
  bool maybeSave();

  void runAnalysis();
  // Reads the project's plot file into the result charts (with `reportErrors` a damaged
  // file is announced); true when the whole file was read.
  bool LoadPlotFile(const QString& fileName, bool reportErrors);
  ResultCharts& resultCharts() const;
  ResultCommands* resultCommands() const { return results_; }
  // Opens a text file in the configured editor (or the desktop's text editor).
  void openInTextEditor(const QString& path);

  // The editor of a project table by component name (opened or brought forward).
  TTableForm* showTableEditor(const QString& componentName);
  TTableForm* tableEditor(const QString& componentName) const;
  void closeTableEditor(const QString& componentName);
  // Closes the editors of a table's sub-tables (and the table's own when `itself`).
  void closeEditors(const QString& key, bool itself);
  // Opens the editor of any table reached through `resolve` (sub-tables of the editors).
  TTableForm* showEditor(const QString& key, std::function<tarnel::model::TGridTable*()> resolve,
                         bool modal);
  void closeAllChildren();

  QString textEditor() const { return settings_.textEditor(); }
  void setTextEditor(const QString& path) { settings_.setTextEditor(path); }

public slots:
  // The one place where commands are enabled, checked and shown.
  void updateCommands();
  // Caption, status bar, command states and every open editor after the project changed.
  void projectReplaced();
  void refreshEditors();

protected:
  void closeEvent(QCloseEvent* e) override;
  void dragEnterEvent(QDragEnterEvent* e) override;
  void dropEvent(QDropEvent* e) override;

private:
  void createActions();
  void createMenus();
  void createToolBar();
  void createStatusBar();
  void writeSettings();
  void connectDialogs();

  QAction* addAction(QMenu* menu, const QString& objectName, const QString& text,
                     void (TMainForm::*slot)() = nullptr);
  QAction* optionToggle(QMenu* menu, const QString& objectName, const QString& text,
                        tarnel::options::Switch s);
  void applyOption(const tarnel::options::Outcome& outcome);
  void setCaption();
  void updateStatusBar();
  void rememberFile(const QString& path);
  void rebuildRecentMenu();
  void rebuildWindowMenu();
  bool commitChildren();
  void setUnits(int units);
  // Help > Contents: the help window, at a section when `anchor` names one.
  void showHelp(const QString& anchor = QString());
  // A manual's PDF in the desktop's viewer; the help window at `anchor` when the PDF is not
  // installed or no viewer opens it.
  void openManual(const QString& pdfName, const QString& anchor);
  bool writeProject();
  // A text file of the project in the editor, when it is still there.
  void openProjectText(const QString& path);
  // Before a chart or the export opens: the charts hold the project's plot file as it is
  // now (read again when another run wrote it); false, with the commands turned off, when
  // the file is gone or cannot be read whole.
  bool chartsCurrent();
  bool storeCurrentStage();
  void switchStage(int stage);
  void copyPreviousStage();

  std::unique_ptr<TProgramData> project_;
  ProgramSettings settings_;
  RecentFiles recent_;
  // The project holds only part of a malformed file: saving it under that file's name
  // would replace the user's complete file with the part, so Save asks for a name.
  bool partialRead_ = false;
  // The file opened holds data the project does not keep: the first save asks before it
  // overwrites the file.
  bool keptPart_ = false;
  // The data file as it was opened or last saved here (a hash), to notice a change made by
  // another program before a save overwrites it.
  QByteArray onDisk_;

  QMdiArea* mdi_ = nullptr;
  QPointer<QWidget> helpWindow_;
  DialogHub* hub_ = nullptr;
  ProfileCommands* profile_ = nullptr;  // the Side View
  StageManager* stages_ = nullptr;
  ResultCommands* results_ = nullptr;
  View3DCommands* view3dCommands_ = nullptr;  // the 3-D View and its menu and buttons
  QLabel* statusText_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  QHash<QString, QPointer<QMdiSubWindow>> editors_;  // by table key
  QHash<QString, QPointer<QWidget>> modalEditors_;

  // Menus
  QMenu *fileMenu_, *dataMenu_, *optionsMenu_, *stageMenu_, *computationMenu_, *graphicsMenu_,
      *show3dMenu_, *windowMenu_, *helpMenu_;
  QMenu *soilSubMenu_, *distSubMenu_, *unitsMenu_, *earthMenu_;
  QAction *stageMenuAction_, *show3dMenuAction_, *soilSubAction_, *distSubAction_;
  QAction* recentSeparator_ = nullptr;
  QList<QAction*> recentActions_;

  // File
  QAction *fileNew_, *fileOpen_, *fileSave_, *fileSaveAs_, *fileExit_;
  // Data
  QAction *dataTitle_, *dataWallProps_, *dataWallConfig_, *dataSoil_, *dataSoilShort_,
      *dataSoilLong_, *dataDist_, *dataDistShort_, *dataDistLong_, *dataSurcharge_,
      *dataConcLoads_, *dataTieback_, *dataBoundary_, *dataPYMod_, *dataExtPY_, *dataSprings_,
      *dataMEI_;
  // Options
  QActionGroup *unitsGroup_, *earthGroup_;
  QAction *unitsEnglish_, *unitsSI_, *unitsOther_, *earthUser_, *earthTriangular_,
      *earthTrapezoidal_, *optGeneratePY_, *optConcLoads_, *optTieback_, *optRestraints_,
      *optExtPY_, *optSprings_, *optPYMod_, *optSurcharge_, *optMEI_, *optLongTerm_,
      *optStaged_, *optTextEditor_;
  // Stage construction
  QList<QPair<QAction*, tarnel::options::Switch>> optionActions_;
  QList<QAction*> stageActions_;
  QAction* copyPreviousStage_;
  // Computation
  QAction *compRun_, *editInput_, *editNotes_, *editOutput_, *viewGeometry_, *view3d_;
  // Graphics and 3D display switches
  QList<QAction*> graphicsActions_;
  QAction* exportExcel_ = nullptr;
  // Window
  QAction *windowCascade_, *windowArrange_;
  // Help
  QAction *helpContents_, *helpManual_, *helpTechnical_, *helpAbout_, *helpUpdates_;
  // Tool bar buttons without a menu twin
  QAction *tbStageOption_, *tbViewOutput_, *tbSoilProfile_, *tbSoilLayers_;
  QList<QAction*> tbResultActions_;
  QList<QAction*> tbStageActions_;
};
