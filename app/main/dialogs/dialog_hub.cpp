#include "dialog_hub.h"

#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QWidget>

#include "app/main/dialogs/dialog_base.h"
#include "app/main/dialogs/input_dialogs.h"
#include "app/main/dialogs/stage_dialog.h"
#include "app/main/stages/stage_manager.h"
#include "app/model/program_data.h"

using namespace tarnel::dialogs;

DialogHub::DialogHub(QWidget* mainWindow, std::function<tarnel::model::TProgramData*()> project, QObject* parent)
    : QObject(parent), mainWindow_(mainWindow), project_(std::move(project)) {}

DialogHub::~DialogHub() {
  // Without the hub the dialogs cannot reach the project: they go now, without storing (the
  // main window has asked them to commit before it closes).
  for (QWidget* d : openDialogs()) {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(d->parentWidget()))
      delete sub;
    else
      delete d;
  }
}

void DialogHub::setTextEditorAccess(std::function<QString()> get, std::function<void(const QString&)> set) {
  getEditor_ = std::move(get);
  setEditor_ = std::move(set);
}

void DialogHub::setStageManager(StageManager* stages) { stages_ = stages; }

QString DialogHub::textEditor() const { return getEditor_ ? getEditor_() : QString(); }

void DialogHub::setTextEditor(const QString& path) {
  if (setEditor_) setEditor_(path);
}

tarnel::model::TProgramData* DialogHub::project() const { return project_ ? project_() : nullptr; }

QList<DialogBase*> DialogHub::inputDialogs() const {
  QList<DialogBase*> open;
  for (DialogBase* d : {title_.data(), wallProps_.data(), wallConfig_.data(), surcharge_.data(), concLoads_.data(),
                        springs_.data(), tieback_.data(), control_.data()})
    if (d) open << d;
  return open;
}

QList<QWidget*> DialogHub::openDialogs() const {
  QList<QWidget*> open;
  for (DialogBase* d : inputDialogs()) open << d;
  if (stageDlg_) open << stageDlg_.data();
  return open;
}

QWidget* DialogHub::dialog(const QString& caption) const {
  for (QWidget* d : openDialogs())
    if (d->windowTitle() == caption) return d;
  return nullptr;
}

namespace {

QMdiArea* mdiOf(QWidget* mainWindow) {
  if (auto* mw = qobject_cast<QMainWindow*>(mainWindow)) return qobject_cast<QMdiArea*>(mw->centralWidget());
  return nullptr;
}

// Shows a dialog as a child window of the main window: an MDI sub-window when the main
// window has an MDI area, else a tool window over it (or a plain window without one).
void present(QWidget* mainWindow, QWidget* d, bool created) {
  QMdiArea* mdi = mdiOf(mainWindow);
  if (created) {
    d->adjustSize();
    if (mdi) {
      QMdiSubWindow* sub = mdi->addSubWindow(d, Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                                                    Qt::WindowSystemMenuHint);
      sub->setAttribute(Qt::WA_DeleteOnClose);
      // The program's icon in the title bar, as its table editors have (a null icon shows
      // the toolkit's logo).
      sub->setWindowIcon(mainWindow ? mainWindow->windowIcon() : QIcon());
      sub->adjustSize();
    } else if (mainWindow) {
      d->setParent(mainWindow, Qt::Tool);
    }
  }
  if (auto* sub = qobject_cast<QMdiSubWindow*>(d->parentWidget())) {
    sub->show();
    sub->raise();
    if (mdi) mdi->setActiveSubWindow(sub);
  }
  d->show();
  d->raise();
  d->activateWindow();
}

}  // namespace

namespace {
template <class Make>
void showOrCreate(QPointer<DialogBase>& slot, QWidget* mainWindow, Make make) {
  const bool created = !slot;
  if (created) slot = make();
  present(mainWindow, slot, created);
}
}  // namespace

void DialogHub::showProjectTitle() {
  showOrCreate(title_, mainWindow_, [this] { return new ProjectTitleDialog(this); });
}

void DialogHub::showWallProperties() {
  showOrCreate(wallProps_, mainWindow_, [this] { return new WallPropertiesDialog(this); });
}

void DialogHub::showWallConfiguration() {
  showOrCreate(wallConfig_, mainWindow_,
               [this] { return new WallConfigurationDialog(this); });
}

void DialogHub::showAdditionalSurcharge() {
  showOrCreate(surcharge_, mainWindow_,
               [this] { return new TableDialog(this, TableDialog::Which::Surcharge); });
}

void DialogHub::showConcentratedLoads() {
  showOrCreate(concLoads_, mainWindow_,
               [this] { return new TableDialog(this, TableDialog::Which::ConcentratedLoads); });
}

void DialogHub::showSprings() {
  showOrCreate(springs_, mainWindow_,
               [this] { return new TableDialog(this, TableDialog::Which::Springs); });
}

void DialogHub::showTieback() {
  showOrCreate(tieback_, mainWindow_,
               [this] { return new TableDialog(this, TableDialog::Which::Tieback); });
}

void DialogHub::showControlOptions() {
  showOrCreate(control_, mainWindow_, [this] { return new ControlOptionsDialog(this); });
}

void DialogHub::showStages() {
  // Modal without a nested event loop: the dialog blocks the rest of the program while it is
  // open, and callers (and tests) go on at once.
  if (stageDlg_) stageDlg_->close();
  openStageDialog(Qt::ApplicationModal);
}

void DialogHub::showStagesNonModal() {
  if (stageDlg_) {
    stageDlg_->raise();
    stageDlg_->activateWindow();
    return;
  }
  openStageDialog(Qt::NonModal);
}

void DialogHub::openStageDialog(Qt::WindowModality modality) {
  stageDlg_ = new StageDialog(project(), stages_, mainWindow_);
  stageDlg_->setWindowModality(modality);
  connect(stageDlg_, &QDialog::accepted, this, &DialogHub::stagesChanged);
  connect(stageDlg_, &QDialog::accepted, this, &DialogHub::projectChanged);
  stageDlg_->show();
}

void DialogHub::showAbout() {
  auto* box = new AboutBox(mainWindow_);
  box->setObjectName("AboutBox");
  box->setWindowModality(Qt::ApplicationModal);
  box->show();
}

bool DialogHub::commitDialogs() {
  bool ok = true;
  for (DialogBase* d : inputDialogs()) {
    if (!d->commit() || !d->store()) {
      ok = false;
      present(mainWindow_, d, false);
    }
  }
  return ok;
}

void DialogHub::refreshDialogs() {
  for (DialogBase* d : inputDialogs()) d->load();
}

void DialogHub::closeAll() {
  for (DialogBase* d : inputDialogs()) {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(d->parentWidget()))
      sub->close();
    else
      d->close();
  }
  if (stageDlg_) stageDlg_->close();
}
