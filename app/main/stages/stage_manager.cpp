#include "stage_manager.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "app/main/user_prompts.h"
#include "app/model/program_data.h"
#include "app/model/stage_files.h"

using tarnel::model::TProgramData;

StageManager::StageManager(std::function<TProgramData*()> project, QWidget* dialogParent, QObject* parent)
    : QObject(parent), project_(std::move(project)), dialogParent_(dialogParent) {}

TProgramData* StageManager::project() const { return project_ ? project_() : nullptr; }

QString StageManager::stageFile(int k) const {
  const TProgramData* p = project();
  if (!p) return {};
  return QString::fromStdString(tarnel::model::StageFileName(p->FileName, k));
}

QString StageManager::statusText() const {
  const TProgramData* p = project();
  if (!p || p->StageCount <= 1) return {};
  return QStringLiteral("Construction Stage Number: %1").arg(p->CurrentStage);
}

bool StageManager::report(bool ok, const std::string& message) {
  if (!ok) prompts().information(dialogParent_, QString::fromStdString(message));
  return ok;
}

bool StageManager::storeCurrentStage() {
  TProgramData* p = project();
  if (!p) return false;
  p->StageFileName = stageFile(p->CurrentStage).toStdString();
  const auto r = p->WriteStage(p->StageFileName);
  return report(r.ok, r.message);
}

bool StageManager::loadStage(int k) {
  TProgramData* p = project();
  if (!p) return false;
  const QString file = stageFile(k);
  const QFileInfo info(file);
  if (!info.exists()) return true;  // a stage without a file keeps the tables
  // The stage count is the project's: a stage file replaced by another project's block
  // must not make the other stages disappear from the next save.
  const int current = p->CurrentStage;
  const int count = p->StageCount;
  QFile readable(file);
  tarnel::model::FileResult r;
  if (!info.isFile() || !readable.open(QIODevice::ReadOnly)) {
    r = tarnel::model::FileResult::Fail("Cannot open file " + file.toStdString());
  } else {
    readable.close();
    r = p->ReadStage(file.toStdString());
    if (!r) r.message = "Stage file " + file.toStdString() + ":\n" + r.message;
  }
  p->CurrentStage = current;
  p->StageCount = count;
  p->StageFileName = stageFile(current).toStdString();
  if (!r) emit stageNotRead();
  return report(r.ok, r.message);
}

void StageManager::switchToStage(int k) {
  TProgramData* p = project();
  if (!p || k == p->CurrentStage || k < 1 || k > p->StageCount) return;
  const bool modified = p->IsModified();
  if (!storeCurrentStage()) return;  // the unsaved stage must not be dropped
  const int from = p->CurrentStage;
  p->CurrentStage = k;
  // Every stage of the project has its file; one that went away since is said, as the
  // tables now show the stage switched from under the other stage's number.
  if (!QFileInfo::exists(stageFile(k))) {
    prompts().information(dialogParent_, QStringLiteral("The stage file %1 was not found: Stage %2 starts from "
                                                        "the data of Stage %3.")
                                             .arg(stageFile(k))
                                             .arg(k)
                                             .arg(from));
    emit stageNotRead();
  }
  loadStage(k);
  p->ClearModified();
  if (modified) p->SetModified();
  emit stagesChanged();
  emit projectChanged();
}

bool StageManager::copyPreviousStage() {
  TProgramData* p = project();
  if (!p || p->StageCount <= 1 || p->CurrentStage <= 1) return false;
  const int k = p->CurrentStage;
  const auto answer = prompts().askYesNo(
      dialogParent_, QStringLiteral("Do you want to copy all information from Stage %1 to Stage %2").arg(k - 1).arg(k));
  if (answer != UserPrompts::Answer::Yes) return false;
  const int count = p->StageCount;
  loadStage(k - 1);
  p->StageCount = count;
  if (!storeCurrentStage()) return false;
  loadStage(k);  // brings the heading of this stage back into the title
  p->SetModified();
  emit projectChanged();
  return true;
}

void StageManager::setStageCount(int count) {
  TProgramData* p = project();
  if (!p) return;
  count = std::clamp(count, 1, 5);
  const int old = p->StageCount;
  // The edits of the stage on screen belong to its file before any stage is reloaded.
  if (old > 1 && count != old) storeCurrentStage();
  p->StageCount = count;
  if (count == 1 || old == 1 || count < old) p->CurrentStage = 1;
  p->StageFileName = stageFile(p->CurrentStage).toStdString();
  emit stagesChanged();
  if (count == 1) {
    tarnel::model::DeleteStageFiles(p->FileName, 1);
    p->SetModified();
    emit projectChanged();
    return;
  }
  if (count != old) {
    const int current = p->CurrentStage;
    for (int k = 1; k <= count; ++k) {
      p->CurrentStage = k;
      loadStage(k);
      p->StageCount = count;  // the file still carries the old count
      storeCurrentStage();
    }
    p->CurrentStage = current;
    loadStage(current);
    p->StageCount = count;
    p->SetModified();
  }
  tarnel::model::DeleteStageFiles(p->FileName, count + 1);
  emit stagesChanged();
  emit projectChanged();
}

bool StageManager::save() {
  TProgramData* p = project();
  if (!p || p->StageCount <= 1) return false;
  if (!storeCurrentStage()) return false;
  const auto r = tarnel::model::JoinStageFiles(p->FileName, p->StageCount, p->FileName);
  if (!report(r.ok, r.message)) {
    p->SetModified();
    return false;
  }
  p->ClearModified();
  emit projectChanged();
  return true;
}

bool StageManager::saveAs(const QString& newPath) {
  TProgramData* p = project();
  if (!p || p->StageCount <= 1) return false;
  if (!storeCurrentStage()) return false;
  const std::string oldName = p->FileName;
  const std::string newName = newPath.toStdString();
  p->PreviousFileName = oldName;
  const auto r = tarnel::model::JoinStageFiles(newName, p->StageCount, oldName);
  if (!report(r.ok, r.message)) {
    p->SetModified();
    return false;
  }
  p->FileName = newName;
  p->PreviousFileName.clear();
  p->StageFileName = stageFile(p->CurrentStage).toStdString();
  p->ClearModified();
  emit projectChanged();
  return true;
}

bool StageManager::openStaged(int layoutCode) {
  TProgramData* p = project();
  if (!p || p->StageCount <= 1) return false;
  const int count = p->StageCount;
  auto r = tarnel::model::SplitStagedFile(p->FileName, count);
  if (!report(r.ok, r.message)) return false;
  if (layoutCode == 0) layoutCode = tarnel::model::LayoutCodeFromExtension(p->FileName);
  const bool current = QFileInfo(QString::fromStdString(p->FileName)).suffix().compare("tn5d", Qt::CaseInsensitive) == 0;
  p->CurrentStage = 1;
  if (!current) {
    r = tarnel::model::ConvertStageFiles(*p, p->FileName, count, layoutCode);
    if (!report(r.ok, r.message)) return false;
  } else {
    loadStage(1);
  }
  p->StageCount = count;
  p->CurrentStage = 1;
  p->StageFileName = stageFile(1).toStdString();
  p->ClearModified();
  emit stagesChanged();
  emit projectChanged();
  return true;
}
