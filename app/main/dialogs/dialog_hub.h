#pragma once
// The input dialogs of the program, reached from the Data, Options and Help menus.
//
// The main window creates one DialogHub and connects its menu items and tool buttons to
// the show...() slots. Every dialog is created on first use, shown as a child window of
// the main window (a sub-window of its QMdiArea when the central widget is one), brought
// forward when it is already open, and freed when closed.
//
// What the main window has to wire up:
//   * projectChanged(): emitted whenever a dialog changed the project or one of its option
//     switches (recompute menu enabling, caption, stage buttons).
//   * openTableEditor(name) / closeTableEditor(name): the dialogs' table buttons
//     ("Enter Section Data", "&Edit Concentrated Loads", ...) ask for the editor of the
//     table with that component name (PileSect, BoundCond, SoilStrength, SurchargeTable,
//     TiebackTable1); unticking a switch in a dialog asks to close the editor.
//   * setTextEditorAccess(): how "Control Options" reads and writes the text-editor path.
//   * setStageManager(): the stage dialog's OK sets the number of stages through it;
//     stagesChanged() follows (status bar, Stage menu, stage buttons).
//   * commitDialogs(): call before a top menu opens, before Save/Run, so the active
//     dialog stores its fields first; returns false when a field is invalid (the dialog
//     then stays in front and the command should not go on).
//   * refreshDialogs(): call after the unit system or the earth-pressure choice changed
//     (or after New/Open); open dialogs reload their values, labels and enabling.
//
// The Options-menu coupling rules live in option_coupling.h (pure functions over the
// project); construction stages live in ../stages/stage_manager.h.
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class QWidget;
namespace tarnel::model {
class TProgramData;
}

namespace tarnel::dialogs {
class DialogBase;
class StageDialog;
}

class StageManager;

class DialogHub : public QObject {
  Q_OBJECT
 public:
  DialogHub(QWidget* mainWindow, std::function<tarnel::model::TProgramData*()> project, QObject* parent = nullptr);
  ~DialogHub() override;

  // The text-editor setting belongs to the main window (it keeps it in the settings store).
  void setTextEditorAccess(std::function<QString()> get, std::function<void(const QString&)> set);
  // The stage dialog's OK goes through the main window's stage manager.
  void setStageManager(StageManager* stages);
  QString textEditor() const;
  void setTextEditor(const QString& path);

  tarnel::model::TProgramData* project() const;
  QWidget* mainWindow() const { return mainWindow_; }

  // The open dialog with the given window title, or nullptr (used by tests and screenshots).
  QWidget* dialog(const QString& caption) const;

 public slots:
  void showProjectTitle();
  void showWallProperties();
  void showWallConfiguration();
  void showAdditionalSurcharge();
  void showConcentratedLoads();
  void showSprings();
  void showTieback();
  void showControlOptions();
  // Both stage dialogs return at once; the modal one blocks the rest of the program while
  // it is open, without a nested event loop. The about box likewise.
  void showStages();          // modal ("Conduct &Staged-Construction Analysis...")
  void showStagesNonModal();  // tool button "Stage Construction Option"
  void showAbout();

  bool commitDialogs();
  void refreshDialogs();
  void closeAll();

 signals:
  void projectChanged();
  void openTableEditor(const QString& componentName);
  void closeTableEditor(const QString& componentName);
  void stagesChanged();

 private:
  // The open input dialogs, in menu order (the stage dialog has no fields to store).
  QList<tarnel::dialogs::DialogBase*> inputDialogs() const;
  // Every open dialog window, the stage dialog last.
  QList<QWidget*> openDialogs() const;
  void openStageDialog(Qt::WindowModality modality);

  QWidget* mainWindow_;
  std::function<tarnel::model::TProgramData*()> project_;
  std::function<QString()> getEditor_;
  std::function<void(const QString&)> setEditor_;
  StageManager* stages_ = nullptr;
  QPointer<tarnel::dialogs::DialogBase> title_, wallProps_, wallConfig_, surcharge_, concLoads_,
      springs_, tieback_, control_;
  QPointer<tarnel::dialogs::StageDialog> stageDlg_;
};
