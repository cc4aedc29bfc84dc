#include "app/main/main_form.h"

#include "app/help/help_window.h"

#include "app/main/run/analysis_run.h"
#include "app/main/tables/table_form.h"
#include "app/main/text_editor.h"
#include "app/main/tool_icons.h"
#include "app/main/user_prompts.h"
#include "app/model/program_data.h"
#include "app/results/result_charts.h"
#include "app/results/result_commands.h"

#include "app/main/dialogs/dialog_hub.h"
#include "app/main/dialogs/option_coupling.h"
#include "app/main/stages/stage_manager.h"
#include "app/results/profile_commands.h"
#include "app/results/view3d_commands.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QCryptographicHash>
#include <QDesktopServices>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QProcess>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

using tarnel::model::TGridTable;
using tarnel::options::Switch;

namespace {

const QString kCaptionPrefix = QStringLiteral("TARNEL 2015.5.22 - ");
const QString kNewName = QString::fromLatin1(tarnel::model::kNewProjectFileName);
const QString kUpdatePage =
    QStringLiteral("https://www.brivok.com/updates?product=TARNEL;2015.5.22");

QString withSuffix(const QString& path, const QString& suffix) {
  const QFileInfo fi(path);
  const QString base = fi.completeSuffix().isEmpty()
                           ? path
                           : path.left(path.size() - fi.suffix().size() - 1);
  return base + suffix;
}

// Why a file the program is about to read cannot be read (gone, a folder in its place, no
// read permission), or empty when it can.
QString unreadable(const QString& path) {
  const QFileInfo info(path);
  if (!info.exists()) return QStringLiteral("File not found:\n") + path;
  QFile file(path);
  if (!info.isFile() || !file.open(QIODevice::ReadOnly)) return QStringLiteral("Cannot open file ") + path;
  return {};
}

// What the file holds now, to see later whether someone else changed it; empty when it
// cannot be read.
QByteArray fingerprint(const QString& path) {
  QFile file(path);
  if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) return {};
  return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// The model's five file types, with this platform's form of the last, all-files type.
const QStringList& openFilters() {
  static const QStringList f = [] {
    QStringList types;
    for (const std::string& t : tarnel::model::OpenDialogFileTypes())
      types << QString::fromStdString(t);
    types.back() = allFilesFilter();
    return types;
  }();
  return f;
}

}  // namespace

// The program's pictures live in a static library: register them once.
static void initResources() { Q_INIT_RESOURCE(tarnel); }

// ---------------------------------------------------------------------------------------
// Construction

TMainForm::TMainForm(QWidget* parent)
    : QMainWindow(parent), project_(std::make_unique<TProgramData>()),
      recent_(settings_.recentFiles()) {
  initResources();
  setObjectName(QStringLiteral("MainForm"));
  setWindowIcon(QIcon(QStringLiteral(":/tarnel/icon.png")));
  mdi_ = new QMdiArea(this);
  mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdi_->setBackground(QColor(0x80, 0x8c, 0x9a));
  setCentralWidget(mdi_);
  results_ = new ResultCommands(mdi_, this);
  results_->setGuard([this] { return chartsCurrent(); });

  createActions();
  createMenus();
  createToolBar();
  view3dCommands_ = new View3DCommands(mdi_, [this] { return project_.get(); },
                                       [this]() -> const TGraphPlot* { return &results_->charts().pltDef(); },
                                       this);
  view3dCommands_->addMenuItems(show3dMenu_);
  view3dCommands_->addToolButtons(toolBar_);
  connect(view3d_, &QAction::triggered, view3dCommands_, &View3DCommands::open);
  connect(view3dCommands_, &View3DCommands::openChanged, this, &TMainForm::updateCommands);
  createStatusBar();
  connectDialogs();

  setAcceptDrops(true);
  connect(mdi_, &QMdiArea::subWindowActivated, this, &TMainForm::updateCommands);
  projectReplaced();
}

TMainForm::~TMainForm() {
  // Child windows reach the project through resolvers and the dialogs through the hub:
  // they go before the project does.
  disconnect(mdi_, nullptr, this, nullptr);
  for (const auto& d : std::as_const(modalEditors_)) delete d.data();
  delete hub_;
  hub_ = nullptr;
  delete takeCentralWidget();
  mdi_ = nullptr;
}

QAction* TMainForm::addAction(QMenu* menu, const QString& objectName, const QString& text,
                              void (TMainForm::*slot)()) {
  auto* a = new QAction(text, this);
  a->setObjectName(objectName);
  if (menu) menu->addAction(a);
  if (slot) connect(a, &QAction::triggered, this, slot);
  return a;
}

void TMainForm::createActions() {
  // Actions are made together with their menus (createMenus) so that the menu order reads
  // like the program's menu bar; here only the groups that span menus and tool bar.
  unitsGroup_ = new QActionGroup(this);
  earthGroup_ = new QActionGroup(this);
}

void TMainForm::createMenus() {
  QMenuBar* bar = menuBar();

  // ---- File
  fileMenu_ = bar->addMenu(QStringLiteral("&File"));
  fileNew_ = addAction(fileMenu_, "FileNew", "&New", nullptr);
  fileNew_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
  connect(fileNew_, &QAction::triggered, this, [this] { newProject(); });
  fileOpen_ = addAction(fileMenu_, "FileOpen", "&Open...");
  fileOpen_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  connect(fileOpen_, &QAction::triggered, this, [this] { openDialog(); });
  fileSave_ = addAction(fileMenu_, "FileSave", "&Save");
  fileSave_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  connect(fileSave_, &QAction::triggered, this, [this] {
    if (commitChildren()) save();
  });
  fileSaveAs_ = addAction(fileMenu_, "FileSaveAs", "Save &As...");
  connect(fileSaveAs_, &QAction::triggered, this, [this] {
    if (commitChildren()) saveAs();
  });
  recentSeparator_ = fileMenu_->addSeparator();
  for (int i = 0; i < RecentFiles::kCapacity; ++i) {
    QAction* a = addAction(fileMenu_, QStringLiteral("FileRecent%1").arg(i + 1), QString());
    connect(a, &QAction::triggered, this, [this, i] { openRecent(i); });
    recentActions_ << a;
  }
  fileMenu_->addSeparator();
  fileExit_ = addAction(fileMenu_, "FileExit", "E&xit");
  fileExit_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
  connect(fileExit_, &QAction::triggered, this, &QWidget::close);

  // ---- Data
  // An item that opens the editor of a table in the work area.
  auto tableItem = [this](QMenu* menu, const char* objectName, const char* text,
                          const char* table) {
    QAction* a = addAction(menu, objectName, text);
    connect(a, &QAction::triggered, this, [this, table] { showTableEditor(table); });
    return a;
  };
  dataMenu_ = bar->addMenu(QStringLiteral("Da&ta"));
  dataTitle_ = addAction(dataMenu_, "DataTitle", "&Title");
  dataWallProps_ = addAction(dataMenu_, "DataWallProperties", "Wall &Properties");
  dataWallConfig_ = addAction(dataMenu_, "DataWallConfiguration", "&Wall Configuration");
  dataSoil_ = tableItem(dataMenu_, "DataSoilLayers", "&Soil Layer Data", "NewSoil");
  soilSubMenu_ = dataMenu_->addMenu(QStringLiteral("&Soil Layer Data"));
  soilSubAction_ = soilSubMenu_->menuAction();
  dataSoilShort_ = tableItem(soilSubMenu_, "DataSoilShortTerm", "Short-Term", "NewSoil");
  dataSoilLong_ = tableItem(soilSubMenu_, "DataSoilLongTerm", "Long-Term", "LongSoil");
  dataDist_ = tableItem(dataMenu_, "DataDistLoad", "&Distributed Active Earth Pressure", "DistLoad");
  distSubMenu_ = dataMenu_->addMenu(QStringLiteral("&Distributed Active Earth Pressure"));
  distSubAction_ = distSubMenu_->menuAction();
  dataDistShort_ = tableItem(distSubMenu_, "DataDistShortTerm", "Short-Term", "DistLoad");
  dataDistLong_ = tableItem(distSubMenu_, "DataDistLongTerm", "Long-Term", "LongDist");
  dataSurcharge_ = addAction(dataMenu_, "DataSurcharge", "&Additional Surcharge Loads");
  dataConcLoads_ = addAction(dataMenu_, "DataConcLoads", "&Concentrated Loads on the Wall");
  dataTieback_ = addAction(dataMenu_, "DataTieback", "Tieback (Ground Anchor) Data");
  dataBoundary_ =
      tableItem(dataMenu_, "DataBoundary", "&Boundary Condition on Deflection or Slope", "SoilLayer");
  dataPYMod_ = tableItem(dataMenu_, "DataPYMod", "Modification &Factors for p-y Curves", "PYMod");
  dataExtPY_ = addAction(dataMenu_, "DataExtPY", "Sets of &External p-y Curves");
  connect(dataExtPY_, &QAction::triggered, this, [this] {
    showEditor(QStringLiteral("PYCurves2"),
               [this] { return project_ ? &project_->Table("PYCurves2") : nullptr; }, true);
  });
  dataSprings_ =
      addAction(dataMenu_, "DataSprings", "&Lateral Springs and Rotational Restraints");
  dataMEI_ = addAction(dataMenu_, "DataMEI", "Sets of Nonlinear Moment vs EI Curves");
  connect(dataMEI_, &QAction::triggered, this, [this] {
    showEditor(QStringLiteral("MEICurves2"),
               [this] { return project_ ? &project_->Table("MEICurves2") : nullptr; }, true);
  });

  // ---- Options
  optionsMenu_ = bar->addMenu(QStringLiteral("&Options"));
  unitsMenu_ = optionsMenu_->addMenu(QStringLiteral("&Units"));
  unitsEnglish_ = addAction(unitsMenu_, "UnitsEnglish", "&English Units (lbs, in)");
  unitsSI_ = addAction(unitsMenu_, "UnitsSI", "&SI Units (kN, m)");
  unitsOther_ = addAction(unitsMenu_, "UnitsOther", "&Other Units (F, L)");
  int code = 1;
  for (QAction* a : {unitsEnglish_, unitsSI_, unitsOther_}) {
    a->setCheckable(true);
    unitsGroup_->addAction(a);
    connect(a, &QAction::triggered, this, [this, code] { setUnits(code); });
    ++code;
  }
  earthMenu_ = optionsMenu_->addMenu(QStringLiteral("Earth-Pressure Options"));
  earthUser_ = addAction(earthMenu_, "EarthUser", "Earth-Pressure Specified by User");
  earthTriangular_ = addAction(earthMenu_, "EarthTriangular",
                               "Generate Triangular-Distribution Earth-Pressure");
  earthTrapezoidal_ = addAction(earthMenu_, "EarthTrapezoidal",
                                "Generate Trapezoidal-Distribution Pressure (Anchored Walls)");
  code = 1;
  for (QAction* a : {earthUser_, earthTriangular_, earthTrapezoidal_}) {
    a->setCheckable(true);
    earthGroup_->addAction(a);
    connect(a, &QAction::triggered, this, [this, code] {
      applyOption(tarnel::options::setEarthPressureChoice(*project_, code));
    });
    ++code;
  }
  optGeneratePY_ = optionToggle(optionsMenu_, "OptGeneratePY", "Generate &p-y Curves",
                                Switch::GeneratePY);
  optionsMenu_->addSeparator();
  optConcLoads_ = optionToggle(optionsMenu_, "OptConcLoads", "Apply &Concentrated Loads",
                               Switch::ConcLoads);
  optTieback_ = optionToggle(optionsMenu_, "OptTieback", "Apply Tieback (Ground  Anchor)",
                             Switch::Tiebacks);
  optRestraints_ =
      optionToggle(optionsMenu_, "OptRestraints", "Apply &Restraints on Deflection or Slope",
                   Switch::Restraints);
  optExtPY_ = optionToggle(optionsMenu_, "OptExtPY",
                           "Apply User Specified p-y Curves (&External)",
                           Switch::ExtPY);
  optSprings_ = optionToggle(optionsMenu_, "OptSprings",
                             "Apply &Lateral Springs and Rotation Restraints",
                             Switch::Springs);
  optPYMod_ = optionToggle(optionsMenu_, "OptPYMod",
                           "Apply External p-y &Modification Factors ",
                           Switch::PYMod);
  optSurcharge_ = optionToggle(optionsMenu_, "OptSurcharge", "Apply Additional Surcharge Loads",
                               Switch::Surcharge);
  optMEI_ = optionToggle(optionsMenu_, "OptMEI", "Apply Nonlinear Moment vs EI Curves",
                         Switch::MEI);
  optionsMenu_->addSeparator();
  optLongTerm_ = optionToggle(optionsMenu_, "OptLongTerm",
                              "Conduct Short-Term and Long-Term &Analyses", Switch::LongTerm);
  optStaged_ =
      addAction(optionsMenu_, "OptStaged", "Conduct &Staged-Construction Analysis...");
  optStaged_->setCheckable(true);
  optionsMenu_->addSeparator();
  optTextEditor_ = addAction(optionsMenu_, "OptTextEditor", "&Option of Text Editor...");

  // ---- Stage construction
  stageMenu_ = bar->addMenu(QStringLiteral("&Stage Construction"));
  stageMenuAction_ = stageMenu_->menuAction();
  for (int k = 1; k <= 5; ++k) {
    QAction* a = addAction(stageMenu_, QStringLiteral("Stage%1").arg(k),
                           QStringLiteral("Stage &%1").arg(k));
    a->setCheckable(true);
    connect(a, &QAction::triggered, this, [this, k] { switchStage(k); });
    stageActions_ << a;
  }
  stageMenu_->addSeparator();
  copyPreviousStage_ = addAction(stageMenu_, "CopyPreviousStage", "Copy &Previous Stage",
                                 &TMainForm::copyPreviousStage);

  // ---- Computation
  computationMenu_ = bar->addMenu(QStringLiteral("&Computation"));
  compRun_ = addAction(computationMenu_, "CompRun", "&Run Analysis", &TMainForm::runAnalysis);
  computationMenu_->addSeparator();
  editInput_ = addAction(computationMenu_, "EditInput", "Edit I&nput Text");
  connect(editInput_, &QAction::triggered, this, [this] {
    openProjectText(QString::fromStdString(project_->FileName));
  });
  editNotes_ = addAction(computationMenu_, "EditNotes", "Edit &Processor-Run Notes");
  connect(editNotes_, &QAction::triggered, this, [this] {
    openProjectText(withSuffix(QString::fromStdString(project_->FileName), ".tn5r"));
  });
  editOutput_ = addAction(computationMenu_, "EditOutput", "Edit &Output Text");
  connect(editOutput_, &QAction::triggered, this, [this] {
    openProjectText(withSuffix(QString::fromStdString(project_->FileName), ".tn5o"));
  });
  computationMenu_->addSeparator();
  viewGeometry_ = addAction(computationMenu_, "ViewGeometry", "&View Wall Geometry");
  view3d_ = addAction(computationMenu_, "View3D", "3D View");

  // ---- Graphics: the result charts, enabled afresh each time the menu opens
  graphicsMenu_ = bar->addMenu(QStringLiteral("&Graphics"));
  connect(graphicsMenu_, &QMenu::aboutToShow, this, &TMainForm::updateCommands);
  const QList<QPair<QString, QString>> charts = {
      {"Comppy", "p-&y Curves"},
      {"CompDef", "&Deflection vs Depth"},
      {"CompMom", "&Moment vs Depth"},
      {"CompShear", "&Shear vs Depth"},
      {"CompSoil", "Net &Reaction vs Depth"},
      {"DefMomShear", "&Deflection, Moment and Shear"},
      {"CompLD", "Earth &Pressure Distribution"},
      {"CompCombine", "Earth Pressure Combined"},
      {"ExportExcel", "Export Plots To Excel"}};
  for (const auto& [name, text] : charts) {
    if (name == QLatin1String("ExportExcel")) graphicsMenu_->addSeparator();
    graphicsActions_ << addAction(graphicsMenu_, name, text);
    results_->bind(graphicsActions_.back());
  }
  exportExcel_ = graphicsActions_.back();
  connect(exportExcel_, &QAction::triggered, this, [this] {
    if (!chartsCurrent()) return;
    results_->exportCharts(PlotFileFor(QString::fromStdString(project_->FileName)), this);
  });

  show3dMenu_ = bar->addMenu(QStringLiteral("Show 3DView"));
  show3dMenuAction_ = show3dMenu_->menuAction();  // filled by the 3-D View's commands

  // ---- Window
  windowMenu_ = bar->addMenu(QStringLiteral("&Window"));
  connect(windowMenu_, &QMenu::aboutToShow, this, &TMainForm::rebuildWindowMenu);
  windowCascade_ = addAction(nullptr, "WindowCascade", "&Cascade");
  connect(windowCascade_, &QAction::triggered, mdi_, &QMdiArea::cascadeSubWindows);
  windowArrange_ = addAction(nullptr, "WindowArrange", "&Arrange Icons");
  connect(windowArrange_, &QAction::triggered, this, [this] {
    // Minimized windows line up along the bottom edge of the work area.
    int x = 0;
    for (QMdiSubWindow* w : mdi_->subWindowList()) {
      if (!w->isMinimized()) continue;
      const QSize s = w->size();
      if (x + s.width() > mdi_->viewport()->width()) x = 0;
      w->move(x, mdi_->viewport()->height() - s.height());
      x += s.width();
    }
  });
  rebuildWindowMenu();

  // ---- Help
  helpMenu_ = bar->addMenu(QStringLiteral("&Help"));
  helpContents_ = addAction(helpMenu_, "HelpContents", "&Contents");
  connect(helpContents_, &QAction::triggered, this, [this] { showHelp(); });
  helpManual_ = addAction(helpMenu_, "HelpManual", "&User's Manual");
  connect(helpManual_, &QAction::triggered, this, [this] {
    openManual(QStringLiteral("TARNEL 2015 Users Manual.pdf"), QStringLiteral("users-manual"));
  });
  helpTechnical_ = addAction(helpMenu_, "HelpTechnical", "&Technical Manual");
  connect(helpTechnical_, &QAction::triggered, this, [this] {
#ifdef Q_OS_WIN
    // Installations that ship the batch file keep it as the way to the technical manual.
    const QString bat = QDir(tarnel::help::documentsFolder(programFolder()))
                            .filePath(QStringLiteral("TarnelTechnicalManual.bat"));
    if (QFileInfo::exists(bat) &&
        prompts().startProgram(QStringLiteral("cmd.exe"), {QStringLiteral("/c"), QDir::toNativeSeparators(bat)}))
      return;
#endif
    openManual(QStringLiteral("TARNEL 2015 Technical Manual.pdf"), QStringLiteral("technical-manual"));
  });
  helpMenu_->addSeparator();
  helpAbout_ = addAction(helpMenu_, "HelpAbout", "&About...");
  helpUpdates_ = addAction(helpMenu_, "HelpUpdates", "Check for &Updates");
  connect(helpUpdates_, &QAction::triggered, this, [this] {
    if (!prompts().openUrl(QUrl(kUpdatePage)))
      prompts().information(this, QStringLiteral("The update page could not be opened:\n") +
                                      kUpdatePage);
  });

  // Every top menu first lets the active child window store its input, then shows the
  // commands as they stand.
  for (QMenu* m : {fileMenu_, dataMenu_, optionsMenu_, stageMenu_, computationMenu_,
                   graphicsMenu_, windowMenu_, helpMenu_}) {
    connect(m, &QMenu::aboutToShow, this, [this] {
      commitChildren();
      updateCommands();
    });
  }
}

QAction* TMainForm::optionToggle(QMenu* menu, const QString& objectName, const QString& text,
                                 Switch s) {
  QAction* a = addAction(menu, objectName, text);
  a->setCheckable(true);
  connect(a, &QAction::triggered, this, [this, s](bool on) {
    commitChildren();
    applyOption(tarnel::options::setSwitch(*project_, s, on));
  });
  optionActions_.append({a, s});
  return a;
}

void TMainForm::createToolBar() {
  toolBar_ = addToolBar(QStringLiteral("Tools"));
  toolBar_->setObjectName(QStringLiteral("MainToolBar"));
  toolBar_->setMovable(false);
  toolBar_->setIconSize(QSize(24, 24));
  toolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
  // A tool button with its hint; one that repeats a menu item triggers that item and
  // follows its enabling.
  auto button = [this](QAction* twin, const QString& name, const QString& text,
                       const QString& hint, const QIcon& icon) {
    auto* b = new QAction(icon, text, this);
    b->setObjectName(name);
    b->setToolTip(hint);
    b->setStatusTip(hint);
    if (twin) {
      connect(b, &QAction::triggered, twin, &QAction::trigger);
      connect(twin, &QAction::changed, b, [b, twin] { b->setEnabled(twin->isEnabled()); });
    }
    toolBar_->addAction(b);
    return b;
  };
  auto standard = [this](QStyle::StandardPixmap p) { return style()->standardIcon(p); };
  button(fileNew_, "SpeedNew", "New", "New Data File", standard(QStyle::SP_FileIcon));
  button(fileOpen_, "SpeedOpen", "Open", "Open Data File", standard(QStyle::SP_DialogOpenButton));
  button(fileSave_, "SpeedSave", "Save", "Save Data File", standard(QStyle::SP_DialogSaveButton));
  toolBar_->addSeparator();
  button(dataTitle_, "SpeedTitle", "Title", "Title", toolIcon("title"));
  button(dataWallProps_, "SpeedWallProps", "Wall", "Wall Properties", toolIcon("wall"));
  button(dataWallConfig_, "SpeedWallConfig", "Config", "Wall Configuration", toolIcon("config"));
  tbSoilLayers_ = button(nullptr, "SpeedSoilLayers", "Soils", "Soil Layers", toolIcon("soils"));
  connect(tbSoilLayers_, &QAction::triggered, dataSoil_, &QAction::trigger);
  toolBar_->addSeparator();
  button(compRun_, "SpeedRun", "Run", "Run Analysis", standard(QStyle::SP_MediaPlay));
  tbStageOption_ = button(nullptr, "SpeedStageOption", "Stages", "Stage Construction Option",
                          toolIcon("stages"));
  tbViewOutput_ = button(nullptr, "SpeedViewOutput", "Output", "View Output File",
                         toolIcon("output"));
  connect(tbViewOutput_, &QAction::triggered, editOutput_, &QAction::trigger);
  toolBar_->addSeparator();
  tbSoilProfile_ = button(viewGeometry_, "SpeedSoilProfile", "Profile", "View Soil Profile",
                          toolIcon("profile"));
  button(view3d_, "Speed3D", "3D", "3D View", toolIcon("3d"));
  struct Result {
    const char* name;
    const char* hint;
    const char* icon;
  };
  for (const Result& r : {Result{"SpeedButton13", "View p-y Curves", "py"},
                          Result{"SpeedButton8", "Deflection Diagram", "defl"},
                          Result{"SpeedButton11", "Moment Diagram", "mom"},
                          Result{"SpeedButton10", "Shear Diagram", "shear"},
                          Result{"SpeedButton12", "Net Reaction Diagram", "reac"},
                          Result{"SpeedButton19", "DMV Diagrams", "dmv"},
                          Result{"SpeedButton9", "Pressure Diagram", "press"}}) {
    tbResultActions_ << button(nullptr, r.name, r.hint, r.hint, toolIcon(r.icon));
    results_->bind(tbResultActions_.back());
  }
  toolBar_->addSeparator();
  for (int k = 1; k <= 5; ++k) {
    QAction* a = button(nullptr, QStringLiteral("SpeedStage%1").arg(k),
                        QStringLiteral("Stage Const. %1").arg(k),
                        QStringLiteral("Stage Const. %1").arg(k),
                        toolIcon(QStringLiteral("stage%1").arg(k)));
    a->setCheckable(true);
    connect(a, &QAction::triggered, this, [this, k] { switchStage(k); });
    tbStageActions_ << a;
  }
}

void TMainForm::createStatusBar() {
  statusText_ = new QLabel(this);
  statusText_->setObjectName(QStringLiteral("StatusText"));
  statusBar()->addWidget(statusText_, 1);
}

void TMainForm::writeSettings() { settings_.setRecentFiles(recent_.files()); }

void TMainForm::connectDialogs() {
  hub_ = new DialogHub(this, [this] { return project_.get(); }, this);
  hub_->setTextEditorAccess([this] { return textEditor(); },
                            [this](const QString& p) { setTextEditor(p); });
  stages_ = new StageManager([this] { return project_.get(); }, this, this);
  hub_->setStageManager(stages_);
  connect(dataTitle_, &QAction::triggered, hub_, &DialogHub::showProjectTitle);
  connect(dataWallProps_, &QAction::triggered, hub_, &DialogHub::showWallProperties);
  connect(dataWallConfig_, &QAction::triggered, hub_, &DialogHub::showWallConfiguration);
  connect(dataSurcharge_, &QAction::triggered, hub_, &DialogHub::showAdditionalSurcharge);
  connect(dataConcLoads_, &QAction::triggered, hub_, &DialogHub::showConcentratedLoads);
  connect(dataSprings_, &QAction::triggered, hub_, &DialogHub::showSprings);
  connect(dataTieback_, &QAction::triggered, hub_, &DialogHub::showTieback);
  connect(optTextEditor_, &QAction::triggered, hub_, &DialogHub::showControlOptions);
  connect(optStaged_, &QAction::triggered, this, [this] {
    optStaged_->setChecked(project_->StageCount > 1);  // the dialog decides
    hub_->showStages();
  });
  connect(tbStageOption_, &QAction::triggered, hub_, &DialogHub::showStagesNonModal);
  connect(helpAbout_, &QAction::triggered, hub_, &DialogHub::showAbout);
  connect(hub_, &DialogHub::projectChanged, this, [this] {
    setCaption();
    refreshEditors();
    view3dCommands_->refresh();
    updateCommands();
  });
  auto stagesChanged = [this] {
    updateStatusBar();
    // Another stage's values are in the project now: open dialogs show them.
    hub_->refreshDialogs();
    refreshEditors();
    updateCommands();
  };
  connect(hub_, &DialogHub::stagesChanged, this, stagesChanged);
  connect(stages_, &StageManager::stagesChanged, this, stagesChanged);
  connect(stages_, &StageManager::stageNotRead, this, [this] { partialRead_ = true; });
  connect(stages_, &StageManager::projectChanged, this, [this] {
    setCaption();
    updateCommands();
  });
  connect(hub_, &DialogHub::openTableEditor, this,
          [this](const QString& name) { showTableEditor(name); });
  connect(hub_, &DialogHub::closeTableEditor, this, &TMainForm::closeTableEditor);
  profile_ = new ProfileCommands(mdi_, [this] { return project_.get(); }, this);
  connect(viewGeometry_, &QAction::triggered, profile_, &ProfileCommands::show);
}

// ---------------------------------------------------------------------------------------
// Command state

void TMainForm::updateCommands() {
  const TProgramData& p = *project_;
  const bool soils = tarnel::options::soilLayersInUse(p);
  const bool longTerm = p.LongTerm;
  const bool staged = p.StageCount > 1;
  const QString file = QString::fromStdString(p.FileName);
  const bool named = file != kNewName;

  // Data
  dataWallConfig_->setEnabled(soils);
  dataSoil_->setEnabled(soils);
  dataSoil_->setVisible(!longTerm);
  soilSubAction_->setVisible(longTerm);
  soilSubAction_->setEnabled(soils);
  tbSoilLayers_->setEnabled(soils && !longTerm);
  dataDist_->setEnabled(p.EarthPressureChoice == 1);
  dataDist_->setVisible(!longTerm);
  distSubAction_->setVisible(longTerm);
  distSubAction_->setEnabled(p.EarthPressureChoice == 1);
  dataSurcharge_->setEnabled(p.ApplySurcharge);
  dataConcLoads_->setEnabled(p.ApplyConcLoads);
  dataTieback_->setEnabled(p.ApplyTiebacks);
  dataBoundary_->setEnabled(p.ApplyRestraints);
  dataPYMod_->setEnabled(p.ApplyPYMod);
  dataExtPY_->setEnabled(p.ApplyExtPY);
  dataSprings_->setEnabled(p.ApplySprings);
  dataMEI_->setEnabled(p.ApplyMEI);

  // Options
  const int units = std::clamp(p.Units, 1, 3);
  (units == 1 ? unitsEnglish_ : units == 2 ? unitsSI_ : unitsOther_)->setChecked(true);
  const int choice = std::clamp(p.EarthPressureChoice, 1, 3);
  (choice == 1 ? earthUser_ : choice == 2 ? earthTriangular_ : earthTrapezoidal_)
      ->setChecked(true);
  earthTriangular_->setEnabled(tarnel::options::canChooseEarthPressure(p, 2));
  earthTrapezoidal_->setEnabled(tarnel::options::canChooseEarthPressure(p, 3));
  for (const auto& [action, sw] : std::as_const(optionActions_)) {
    action->setEnabled(tarnel::options::canToggle(p, sw));
    action->setChecked(tarnel::options::switchState(p, sw));
  }
  optSurcharge_->setChecked(tarnel::options::surchargeChecked(p));
  optStaged_->setEnabled(tarnel::options::canUseStages(p));
  optStaged_->setChecked(staged);
  tbStageOption_->setEnabled(tarnel::options::canUseStages(p));

  // Stage construction
  stageMenuAction_->setVisible(staged);
  for (int k = 1; k <= 5; ++k) {
    QAction* item = stageActions_[k - 1];
    item->setEnabled(staged && k <= p.StageCount);
    item->setChecked(k == p.CurrentStage);
    QAction* b = tbStageActions_[k - 1];
    b->setVisible(staged);
    b->setEnabled(k <= p.StageCount);
    b->setChecked(k == p.CurrentStage);
  }
  copyPreviousStage_->setEnabled(staged && p.CurrentStage > 1);

  // Computation: the text files exist only once the project is named and run.
  editInput_->setEnabled(named && QFileInfo(file).isFile());
  editNotes_->setEnabled(named && QFileInfo(withSuffix(file, ".tn5r")).isFile());
  const bool report = named && QFileInfo(withSuffix(file, ".tn5o")).isFile();
  editOutput_->setEnabled(report);
  tbViewOutput_->setEnabled(report);

  // Result charts: a complete reading of the project's own plot file, and data to draw.
  const QString plotFile = PlotFileFor(file);
  results_->refresh(plotFile);
  const bool results = results_->holds(plotFile);
  exportExcel_->setEnabled(results_->charts().ExportEnabled(results));
  // The profile needs only the project, yet it belongs with the results: it opens once a
  // run's plot file has been read. The 3-D View shows the project at any time.
  viewGeometry_->setEnabled(results);
  view3d_->setEnabled(true);
  if (view3dCommands_) view3dCommands_->updateCommands();

  rebuildRecentMenu();
}

void TMainForm::setCaption() {
  setWindowTitle(kCaptionPrefix + displayName(QString::fromStdString(project_->FileName)));
}

void TMainForm::updateStatusBar() {
  statusText_->setText(stages_->statusText());
}

void TMainForm::projectReplaced() {
  setCaption();
  updateStatusBar();
  hub_->refreshDialogs();
  refreshEditors();
  updateCommands();
}

QString TMainForm::displayName(const QString& fileName) {
  QString name = QFileInfo(fileName).fileName();
  if (name.endsWith(QLatin1String(".tnd"), Qt::CaseInsensitive)) name.chop(4);
  if (!name.isEmpty()) name[0] = name[0].toUpper();
  return name;
}

QString TMainForm::programFolder() { return QCoreApplication::applicationDirPath(); }

void TMainForm::rebuildRecentMenu() {
  const QStringList& files = recent_.files();
  const QString folder = QDir::currentPath();
  for (int i = 0; i < recentActions_.size(); ++i) {
    QAction* a = recentActions_[i];
    a->setVisible(i < files.size());
    if (i < files.size()) {
      a->setText(recent_.caption(i, folder));
      a->setData(files[i]);
    }
  }
  recentSeparator_->setVisible(!files.isEmpty());
}

void TMainForm::rebuildWindowMenu() {
  windowMenu_->clear();
  windowMenu_->addAction(windowCascade_);
  windowMenu_->addAction(windowArrange_);
  const QList<QMdiSubWindow*> windows = mdi_->subWindowList();
  if (!windows.isEmpty()) windowMenu_->addSeparator();
  int n = 0;
  for (QMdiSubWindow* w : windows) {
    if (++n > 50) break;
    QAction* a = windowMenu_->addAction(
        QStringLiteral("&%1 %2").arg(n).arg(w->windowTitle().replace('&', "&&")));
    a->setCheckable(true);
    a->setChecked(w == mdi_->activeSubWindow());
    connect(a, &QAction::triggered, this, [this, w] {
      if (w->isMinimized()) w->showNormal();
      mdi_->setActiveSubWindow(w);
    });
  }
}

bool TMainForm::commitChildren() {
  // Table editors store a cell that is being edited; dialogs store their fields. An entry
  // that is refused keeps its window in front and stops the command.
  bool ok = true;
  for (const auto& w : std::as_const(editors_))
    if (w)
      if (auto* f = qobject_cast<TTableForm*>(w->widget()); f && !f->commitEdit()) {
        mdi_->setActiveSubWindow(w);
        ok = false;
      }
  for (const auto& w : std::as_const(modalEditors_))
    if (auto* f = w ? w->findChild<TTableForm*>() : nullptr; f && !f->commitEdit()) ok = false;
  return (!hub_ || hub_->commitDialogs()) && ok;
}

// ---------------------------------------------------------------------------------------
// Options

void TMainForm::applyOption(const tarnel::options::Outcome& outcome) {
  if (!outcome.allowed) {
    updateCommands();
    return;
  }
  for (const std::string& t : outcome.closedTables) closeTableEditor(QString::fromStdString(t));
  hub_->refreshDialogs();
  updateCommands();
}

void TMainForm::setUnits(int units) {
  if (units == project_->Units) return;
  commitChildren();
  if (!project_->UnitsConvertible(units)) {
    prompts().warning(this, QStringLiteral("A value of the project is too large to be converted to these units. "
                                           "The units were not changed."));
    updateCommands();  // the check mark back on the project's units
    return;
  }
  project_->SetUnits(units);
  project_->SetModified();
  hub_->refreshDialogs();
  refreshEditors();
  updateCommands();
}

// ---------------------------------------------------------------------------------------
// Stages

bool TMainForm::storeCurrentStage() {
  if (project_->StageCount <= 1) return true;
  return stages_->storeCurrentStage();
}

void TMainForm::switchStage(int stage) {
  if (commitChildren()) {
    stages_->switchToStage(stage);
    refreshEditors();
  }
  updateStatusBar();
  updateCommands();
}

void TMainForm::copyPreviousStage() {
  if (commitChildren()) {
    stages_->copyPreviousStage();
    hub_->refreshDialogs();
    refreshEditors();
  }
  updateCommands();
}

// ---------------------------------------------------------------------------------------
// File commands

bool TMainForm::maybeSave() {
  if (!commitChildren()) return false;
  if (!project_->IsModified()) return true;
  switch (prompts().askYesNoCancel(this, QStringLiteral("Do you want to save any changes?"))) {
    case UserPrompts::Answer::Cancel: return false;
    case UserPrompts::Answer::No: return true;
    default:
      // A save that failed (or was cancelled) keeps the project: its edits are not lost.
      return save() && QString::fromStdString(project_->FileName) != kNewName;
  }
}

bool TMainForm::newProject() {
  if (!maybeSave()) return false;
  closeAllChildren();
  project_ = std::make_unique<TProgramData>();
  partialRead_ = false;
  keptPart_ = false;
  onDisk_.clear();
  results_->projectOpened(QString(), *project_);  // a new project has no results
  projectReplaced();
  return true;
}

bool TMainForm::openDialog() {
  if (!maybeSave()) return false;
  const auto choice = prompts().openFile(this, QStringLiteral("Open"), QDir::currentPath(),
                                         openFilters(), 0);
  if (choice.path.isEmpty()) return false;
  return openFile(choice.path, choice.filterIndex + 1);
}

bool TMainForm::openRecent(int index) {
  const QString path = recent_.files().value(index);
  if (path.isEmpty()) return false;
  // A listed file that went away is said before the save question: nothing is replaced.
  if (const QString problem = unreadable(path); !problem.isEmpty()) {
    prompts().information(this, problem);
    return false;
  }
  if (!maybeSave()) return false;
  return openFile(path, 0);
}

bool TMainForm::openDropped(const QString& path) {
  if (!maybeSave()) return false;
  return openFile(path, 0);
}

bool TMainForm::openFile(const QString& path, int layoutCode) {
  const QString full = QFileInfo(path).absoluteFilePath();
  // A file that cannot be read at all (deleted or locked since it was listed) would only
  // replace the project on the screen by an empty one under its name.
  if (const QString problem = unreadable(full); !problem.isEmpty()) {
    prompts().information(this, problem);
    return false;
  }
  closeAllChildren();
  QDir::setCurrent(QFileInfo(full).absolutePath());
  if (layoutCode < 1 || layoutCode > 5)
    layoutCode = tarnel::model::LayoutCodeFromExtension(full.toStdString());

  project_ = std::make_unique<TProgramData>();
  const auto read = project_->CreateFromFile(full.toStdString(), layoutCode);
  partialRead_ = !read;
  onDisk_ = fingerprint(full);
  setCaption();

  rememberFile(full);
  // A malformed file keeps what was read, but is not announced as read.
  if (!read)
    prompts().information(this, QString::fromStdString(read.message));
  else
    prompts().information(this, QStringLiteral("Data file: ") + displayName(full) +
                                    QStringLiteral(", has been read by TARNEL 2015"));
  // What the project cannot keep is said once, and the project counts as changed: saving it
  // as it is would lose that data from the file.
  keptPart_ = read && !project_->DroppedData.empty();
  if (keptPart_) {
    prompts().warning(this, QString::fromStdString(project_->DroppedData));
    project_->SetModified();
  }

  // A staged project is edited stage by stage: cut the file into its stage files.
  if (project_->StageCount > 1) stages_->openStaged(layoutCode);
  // The results of the file's last run, when it left a plot file.
  results_->projectOpened(PlotFileFor(full), *project_);
  projectReplaced();
  return true;
}

bool TMainForm::writeProject() {
  if (project_->StageCount > 1) return stages_->save();
  const auto r = project_->WriteProject();
  if (!r) prompts().information(this, QString::fromStdString(r.message));
  return r.ok;
}

bool TMainForm::save() {
  if (!storeCurrentStage()) return false;
  const QString file = QString::fromStdString(project_->FileName);
  if (partialRead_ || file == kNewName ||
      QFileInfo(file).suffix().compare("tn5d", Qt::CaseInsensitive) != 0)
    return saveAs();
  // Someone else wrote the file since it was opened or saved here: overwriting it would
  // lose their version without a word, and No keeps both.
  if (const QByteArray now = fingerprint(file); !now.isEmpty() && !onDisk_.isEmpty() && now != onDisk_ &&
      prompts().askYesNo(this, QStringLiteral("%1 has been changed by another program since it was opened or "
                                              "saved. Overwrite it with the project?")
                                   .arg(displayName(file))) != UserPrompts::Answer::Yes)
    return saveAs();
  if (keptPart_ &&
      prompts().askYesNo(this, QStringLiteral("%1 holds data the project does not keep (see the message on "
                                              "opening). Overwrite it without that data?")
                                   .arg(displayName(file))) != UserPrompts::Answer::Yes)
    return saveAs();
  const bool ok = writeProject();
  if (ok) {
    keptPart_ = false;
    onDisk_ = fingerprint(file);
  }
  updateCommands();
  return ok;
}

bool TMainForm::saveAs() {
  if (!storeCurrentStage()) return false;
  const QString old = QString::fromStdString(project_->FileName);
  QString proposed = withSuffix(old, QStringLiteral(".tn5d"));
  if (QFileInfo(proposed).isRelative()) proposed = QDir::current().absoluteFilePath(proposed);
  const auto choice = prompts().saveFile(
      this, QStringLiteral("Save ") + displayName(old) + QStringLiteral(" As"), proposed,
      {QStringLiteral("Tarnel 2015 (*.tn5d)"), allFilesFilter()}, 0);
  if (choice.path.isEmpty()) return false;
  QString target = QFileInfo(choice.path).absoluteFilePath();
  if (choice.filterIndex == 0 && QFileInfo(target).suffix().isEmpty())
    target += QStringLiteral(".tn5d");

  if (project_->StageCount > 1) {
    if (!stages_->saveAs(target)) return false;
  } else {
    project_->FileName = target.toStdString();
    const auto r = project_->WriteProject();
    if (!r) {
      // Nothing was written: the project keeps its old name, so no save is reported.
      project_->FileName = old.toStdString();
      prompts().information(this, QString::fromStdString(r.message));
      return false;
    }
  }
  partialRead_ = false;
  keptPart_ = false;
  onDisk_ = fingerprint(target);
  setCaption();
  rememberFile(target);
  closeAllChildren();
  updateCommands();
  return true;
}

void TMainForm::rememberFile(const QString& path) {
  recent_.touch(path);
  writeSettings();
  rebuildRecentMenu();
}

void TMainForm::startWith(const QStringList& arguments) {
  if (!arguments.isEmpty() && !arguments.first().isEmpty()) {
    QString name = arguments.first();
    if (!QFileInfo(name).fileName().contains(QLatin1Char('.'))) name += QStringLiteral(".tn4d");
    if (QFileInfo::exists(name)) {
      openFile(name, 0);
      return;
    }
  }
  project_ = std::make_unique<TProgramData>();
  partialRead_ = false;
  keptPart_ = false;
  onDisk_.clear();
  projectReplaced();
}

// ---------------------------------------------------------------------------------------
// Text editor and help documents

void TMainForm::openInTextEditor(const QString& path) { ::openInTextEditor(this, path); }

void TMainForm::openProjectText(const QString& path) {
  // The command was enabled when the file was there; it may have gone since.
  if (const QString problem = unreadable(path); !problem.isEmpty()) {
    prompts().information(this, problem);
    updateCommands();
    return;
  }
  openInTextEditor(path);
}

void TMainForm::showHelp(const QString& anchor) {
  auto* help = qobject_cast<tarnel::help::HelpWindow*>(helpWindow_.data());
  if (!help) {
    help = new tarnel::help::HelpWindow(tarnel::help::documentsFolder(programFolder()), this);
    help->setAttribute(Qt::WA_DeleteOnClose);
    helpWindow_ = help;
  }
  if (!anchor.isEmpty()) help->showSection(anchor);
  help->show();
  help->raise();
  help->activateWindow();
}

void TMainForm::openManual(const QString& pdfName, const QString& anchor) {
  const QString pdf = QDir(tarnel::help::documentsFolder(programFolder())).filePath(pdfName);
  if (QFileInfo::exists(pdf) && prompts().openUrl(QUrl::fromLocalFile(pdf))) return;
  showHelp(anchor);
}

// ---------------------------------------------------------------------------------------
// Child windows

TTableForm* TMainForm::tableEditor(const QString& componentName) const {
  if (auto w = editors_.value(componentName)) return qobject_cast<TTableForm*>(w->widget());
  if (auto w = modalEditors_.value(componentName)) return w->findChild<TTableForm*>();
  return nullptr;
}

TTableForm* TMainForm::showTableEditor(const QString& componentName) {
  const std::string name = componentName.toStdString();
  return showEditor(componentName,
                    [this, name] { return project_ ? &project_->Table(name) : nullptr; }, false);
}

TTableForm* TMainForm::showEditor(const QString& key, std::function<TGridTable*()> resolve,
                                  bool modal) {
  if (auto existing = tableEditor(key)) {
    if (auto w = editors_.value(key)) {
      if (w->isMinimized()) w->showNormal();
      mdi_->setActiveSubWindow(w);
    } else if (auto d = modalEditors_.value(key)) {
      d->raise();
      d->activateWindow();
    }
    return existing;
  }
  TGridTable* table = resolve();
  if (!table || !table->HasVisibleColumn()) return nullptr;

  auto* form = TTableForm::create(resolve);
  form->setObjectName(key);
  connect(form, &TTableForm::edited, this, [this, form] {
    project_->SetModified();
    for (const auto& w : std::as_const(editors_))
      if (w)
        if (auto* f = qobject_cast<TTableForm*>(w->widget()); f && f != form) f->refresh();
  });
  connect(form, &TTableForm::subTablesInvalidated, this,
          [this](const QString& key) { closeEditors(key, false); });
  connect(form, &TTableForm::subTableRequested, this,
          [this, form](const QString& subKey, std::function<TGridTable*()> subResolve) {
            showEditor(subKey, std::move(subResolve), form->isInModalHost());
          });
  if (modal) {
    // A modal editor lives in its own dialog window; the user finishes it before going
    // back to the main window. It is shown with open() so that nothing waits in a loop.
    QWidget* parentWindow = QApplication::activeModalWidget();
    auto* dlg = form->wrapInDialog(parentWindow ? parentWindow : this);
    dlg->setObjectName(key + QStringLiteral("Dialog"));
    modalEditors_.insert(key, dlg);
    dlg->open();
  } else {
    auto* sub = mdi_->addSubWindow(form);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(windowIcon());
    editors_.insert(key, sub);
    sub->resize(form->preferredSize().boundedTo(mdi_->viewport()->size()));
    sub->show();
    // New windows open where they can be seen whole.
    const QSize area = mdi_->viewport()->size();
    QPoint pos = sub->pos();
    if (pos.x() + sub->width() > area.width()) pos.setX(std::max(0, area.width() - sub->width()));
    if (pos.y() + sub->height() > area.height()) pos.setY(std::max(0, area.height() - sub->height()));
    sub->move(pos);
    mdi_->setActiveSubWindow(sub);
  }
  return form;
}

void TMainForm::closeTableEditor(const QString& componentName) {
  closeEditors(componentName, true);
}

void TMainForm::closeEditors(const QString& key, bool itself) {
  // Sub-table editors are keyed below their table ("NewSoil/2/0").
  const QString below = key + QLatin1Char('/');
  auto closeIn = [&](auto& windows) {
    for (auto it = windows.begin(); it != windows.end();) {
      if ((itself && it.key() == key) || it.key().startsWith(below)) {
        if (it.value()) it.value()->close();
        it = windows.erase(it);
      } else {
        ++it;
      }
    }
  };
  closeIn(editors_);
  closeIn(modalEditors_);
}

void TMainForm::refreshEditors() {
  for (const auto& w : std::as_const(editors_))
    if (w)
      if (auto* f = qobject_cast<TTableForm*>(w->widget())) f->refresh();
  for (const auto& w : std::as_const(modalEditors_))
    if (auto* f = w ? w->findChild<TTableForm*>() : nullptr) f->refresh();
}

void TMainForm::closeAllChildren() {
  hub_->closeAll();
  for (const auto& w : std::as_const(modalEditors_))
    if (w) w->close();
  modalEditors_.clear();
  editors_.clear();
  mdi_->closeAllSubWindows();
}

// ---------------------------------------------------------------------------------------
// Window events

void TMainForm::closeEvent(QCloseEvent* e) {
  if (!maybeSave()) {
    e->ignore();
    return;
  }
  writeSettings();
  closeAllChildren();
  e->accept();
}

void TMainForm::dragEnterEvent(QDragEnterEvent* e) {
  if (e->mimeData()->hasUrls()) {
    for (const QUrl& u : e->mimeData()->urls())
      if (u.isLocalFile()) {
        e->acceptProposedAction();
        return;
      }
  }
}

void TMainForm::dropEvent(QDropEvent* e) {
  for (const QUrl& u : e->mimeData()->urls()) {
    if (!u.isLocalFile()) continue;
    e->acceptProposedAction();
    openDropped(u.toLocalFile());
    return;
  }
}

// ---------------------------------------------------------------------------------------
// Analysis run

void TMainForm::runAnalysis() {
  if (!commitChildren()) return;
  // The analysis reads the saved file: save first (Save As for an unnamed project). A save
  // that failed stops the run too, so the engine never reads an older file than the one
  // on the screen.
  const bool saved = save();
  if (!saved || QString::fromStdString(project_->FileName) == kNewName) return;
  const AnalysisRun::Outcome outcome = AnalysisRun(*project_, this).execute();
  if (outcome == AnalysisRun::Outcome::Completed) {
    const QString plotFile = PlotFileFor(QString::fromStdString(project_->FileName));
    if (QFileInfo::exists(plotFile)) LoadPlotFile(plotFile, true);
  }
  if (outcome == AnalysisRun::Outcome::Completed || outcome == AnalysisRun::Outcome::Rejected)
    closeAllChildren();
  view3dCommands_->refresh();
  updateCommands();
}

bool TMainForm::chartsCurrent() {
  const QString plotFile = PlotFileFor(QString::fromStdString(project_->FileName));
  if (results_->unchanged(plotFile)) return true;
  bool ok = false;
  if (results_->holds(plotFile))
    ok = results_->reload(plotFile, *project_, this);  // another run wrote it
  else if (results_->charts().PlotsLoaded && !QFileInfo(plotFile).isFile())
    prompts().information(this, unreadable(plotFile));  // gone since the command was enabled
  updateCommands();
  return ok;
}

bool TMainForm::LoadPlotFile(const QString& fileName, bool reportErrors) {
  return results_->LoadPlotFile(fileName, *project_, reportErrors, this);
}

ResultCharts& TMainForm::resultCharts() const { return results_->charts(); }
