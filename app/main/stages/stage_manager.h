#pragma once
// Construction stages of a project: every stage lives in its own stage file beside the data
// file ("wall.st1" .. "wall.st5"); the project tables hold the current stage. The main window
// calls these for the Stage menu, the stage buttons, the stage dialog's OK, Save / Save As
// and opening a staged data file; messages go through prompts() so tests can answer them.
//
// Main-window wiring: stagesChanged() -> status bar (statusText()), Stage menu and stage
// buttons; projectChanged() -> caption and command enabling.
#include <QObject>
#include <QString>
#include <functional>

class QWidget;
namespace tarnel::model {
class TProgramData;
}

class StageManager : public QObject {
  Q_OBJECT
 public:
  StageManager(std::function<tarnel::model::TProgramData*()> project, QWidget* dialogParent,
               QObject* parent = nullptr);

  // Stage file k of the project's data file.
  QString stageFile(int k) const;
  // "Construction Stage Number: k", or empty for a project without stages.
  QString statusText() const;

  // Writes the tables as stage file CurrentStage ("." decimal separator). A failure is
  // shown and the stage is not stored.
  bool storeCurrentStage();
  // Reads stage file k into the tables when it exists (CurrentStage is not changed).
  bool loadStage(int k);
  // "Stage &k" / "Stage Const. k": store, switch, load, keeping the modified flag.
  void switchToStage(int k);
  // "Copy &Previous Stage": asks, then replaces the current stage by the previous one.
  bool copyPreviousStage();
  // OK of the stage dialog with the field's value.
  void setStageCount(int count);

  // Save of a staged project: store the current stage, join the stage files into the data
  // file. Call only with StageCount > 1.
  bool save();
  // Save As of a staged project: store the current stage, join the old name's stage files
  // into `newPath`, move them to the new name and take the new name.
  bool saveAs(const QString& newPath);
  // After a staged data file was read into the project (StageCount > 1): cut it into stage
  // files, convert them when the file has an older layout, and load stage 1.
  bool openStaged(int layoutCode);

 signals:
  void stagesChanged();
  void projectChanged();
  // A stage's file was missing or could not be read whole: the tables do not hold that
  // stage as it was, so the data file must not be overwritten without asking for a name.
  void stageNotRead();

 private:
  tarnel::model::TProgramData* project() const;
  bool report(bool ok, const std::string& message);
  std::function<tarnel::model::TProgramData*()> project_;
  QWidget* dialogParent_;
};
