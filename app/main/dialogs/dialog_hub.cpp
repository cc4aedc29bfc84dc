#include "dialog_hub.h"

#include <QWidget>

#include "dialog_base.h"
#include "stage_dialog.h"

using tarnel::dialogs::DialogBase;

DialogHub::DialogHub(QWidget* mainWindow, std::function<tarnel::model::TProgramData*()> project, QObject* parent)
    : QObject(parent), mainWindow_(mainWindow), project_(std::move(project)) {}

DialogHub::~DialogHub() { closeAll(); }

void DialogHub::setTextEditorAccess(std::function<QString()> get, std::function<void(const QString&)> set) {
  getEditor_ = std::move(get);
  setEditor_ = std::move(set);
}

void DialogHub::setStageManager(StageManager* stages) { stages_ = stages; }

tarnel::model::TProgramData* DialogHub::project() const { return project_ ? project_() : nullptr; }

QWidget* DialogHub::dialog(const QString&) const { return nullptr; }

void DialogHub::showProjectTitle() {}
void DialogHub::showWallProperties() {}
void DialogHub::showWallConfiguration() {}
void DialogHub::showAdditionalSurcharge() {}
void DialogHub::showConcentratedLoads() {}
void DialogHub::showSprings() {}
void DialogHub::showTieback() {}
void DialogHub::showControlOptions() {}
void DialogHub::showStages() {}
void DialogHub::showStagesNonModal() {}
void DialogHub::showAbout() {}
bool DialogHub::commitDialogs() { return true; }
void DialogHub::refreshDialogs() {}
void DialogHub::closeAll() {}
