#include "input_dialogs.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

#include "app/main/dialogs/dialog_hub.h"
#include "app/main/dialogs/schematic_figure.h"
#include "app/main/user_prompts.h"
#include "app/main/widgets/data_edit.h"
#include "app/model/program_data.h"

namespace tarnel::dialogs {

using tarnel::model::TProgramData;

namespace {

QLabel* hint(const QString& text, QWidget* parent) {
  auto* l = new QLabel(text, parent);
  QFont f = l->font();
  f.setItalic(true);
  l->setFont(f);
  l->setWordWrap(false);
  return l;
}

}  // namespace

// ---------------------------------------------------------------- Project Title

ProjectTitleDialog::ProjectTitleDialog(DialogHub* hub) : DialogBase(hub, "Project Title") {
  auto* lay = new QVBoxLayout(this);
  auto* label = new QLabel("Enter text line for project description:", this);
  text_ = new QLineEdit(this);
  text_->setMaxLength(80);
  text_->setMinimumWidth(520);
  label->setBuddy(text_);
  lay->addWidget(label);
  lay->addWidget(text_);
  lay->addStretch();
}

void ProjectTitleDialog::load() {
  DialogBase::load();
  if (TProgramData* p = project()) text_->setText(QString::fromStdString(p->Title));
}

void ProjectTitleDialog::storeExtra(TProgramData& p) {
  const std::string t = text_->text().left(80).toStdString();
  if (t == p.Title) return;
  p.Title = t;
  p.SetModified();
}

// ---------------------------------------------------------------- Wall Properties

WallPropertiesDialog::WallPropertiesDialog(DialogHub* hub) : DialogBase(hub, "Wall Properties") {
  auto* grid = new QGridLayout(this);
  grid->setHorizontalSpacing(12);
  TDataEdit* inc = addNumber(
      grid, 0, "&Increments (nodes)", "", [](const TProgramData& p) { return double(p.Increments); },
      [](TProgramData& p, double v) { p.Increments = int(std::lround(v)); });
  inc->setIntegerOnly(true);
  inc->setMinVal(1);
  inc->setMaxVal(300);
  inc->setNumber(80);  // shown until the project's value is loaded

  auto* eiLabel = new QLabel("Wall Stiffness (EI)", this);
  auto* eiButton = new QPushButton("Enter Section Data", this);
  connect(eiButton, &QPushButton::clicked, this, [this] { emit this->hub()->openTableEditor("PileSect"); });
  grid->addWidget(eiLabel, 1, 0);
  grid->addWidget(eiButton, 1, 1);

  addNumber(grid, 2, "Increment Length", "L", [](const TProgramData& p) { return p.IncrementLength; },
            [](TProgramData& p, double v) { p.IncrementLength = v; });
  addNumber(grid, 3, "Free Height of Wall", "L2", [](const TProgramData& p) { return p.FreeHeight; },
            [](TProgramData& p, double v) { p.FreeHeight = v; }, Shown::FeetOverInches);
  addNumber(grid, 4, "Maximum Allowable Deflection for computation iteration", "L",
            [](const TProgramData& p) { return p.MaxDeflection; },
            [](TProgramData& p, double v) { p.MaxDeflection = v; });
  grid->addWidget(hint("(Approx.10% of the wall height)  ", this), 5, 0, 1, 2, Qt::AlignRight);
  addNumber(grid, 6, "Deflection Closure Tolerance", "L", [](const TProgramData& p) { return p.Tolerance; },
            [](TProgramData& p, double v) { p.Tolerance = v; });
  grid->setRowStretch(7, 1);
  grid->setColumnStretch(1, 1);
}

// ---------------------------------------------------------------- Wall Configuration

WallConfigurationDialog::WallConfigurationDialog(DialogHub* hub) : DialogBase(hub, "Wall Configuration") {
  auto* lay = new QVBoxLayout(this);
  auto* group = new QGroupBox("Wall Configuration", this);
  auto* g = new QGridLayout(group);
  g->setHorizontalSpacing(12);
  TDataEdit* h = addNumber(g, 0, "&Free Height of Wall, H", "L2", [](const TProgramData& p) { return p.FreeHeight; },
                           [](TProgramData& p, double v) { p.FreeHeight = v; }, Shown::FeetOverInches);
  h->setMinVal(-1000000);
  h->setMaxVal(1000000);
  TDataEdit* wa = addNumber(g, 1, "&Width for Active Earth Press. Calculation, Wa", "L",
                            [](const TProgramData& p) { return p.WidthActive; },
                            [](TProgramData& p, double v) { p.WidthActive = v; });
  wa->setMaxVal(1200);
  g->addWidget(hint("Typically Wa is the center-to-center spacing of wall units.", group), 2, 0, 1, 2);
  TDataEdit* dwb = addNumber(g, 3, "&Depth to the Water Table in backfill side, DWb", "L2",
                             [](const TProgramData& p) { return p.WaterDepthBack; },
                             [](TProgramData& p, double v) { p.WaterDepthBack = v; }, Shown::FeetOverInches);
  dwb->setMaxVal(1000000);
  TDataEdit* wp = addNumber(g, 4, "Width for Generating &p-y Soil Resistance, Wp", "L",
                            [](const TProgramData& p) { return p.WidthPY; },
                            [](TProgramData& p, double v) { p.WidthPY = v; });
  wp->setMaxVal(120);
  g->addWidget(hint("Typically Wp is the selected width (diameter) of each wall unit.", group), 5, 0, 1, 2);
  g->addWidget(hint("TARNEL automatically calculates soil resistance (p) multipliers", group), 6, 0, 1, 2);
  g->addWidget(hint("as group reduction factors when Wa<=3Wp.", group), 7, 0, 1, 2);
  addNumber(g, 8, "&Depth to the Water Table in excavation side, DWe", "L2",
            [](const TProgramData& p) { return p.WaterDepthExc; },
            [](TProgramData& p, double v) { p.WaterDepthExc = v; }, Shown::FeetOverInches);
  g->setColumnStretch(1, 1);
  lay->addWidget(group);

  auto* rest = new QGridLayout;
  rest->setHorizontalSpacing(12);
  factor_ = addNumber(rest, 0, "Modification Factor for Active Earth Pressure", "",
                      [](const TProgramData& p) { return p.ActiveFactor; },
                      [](TProgramData& p, double v) { p.ActiveFactor = v; });
  factor_->setMaxVal(1000);
  factor_->setNumber(1);
  rest->addWidget(hint("Note:  TARNEL uses this factor as multiplier to the active earth pressure internally", this),
                  1, 0, 1, 2);
  rest->addWidget(hint("generated by TARNEL from the soil behind the wall and from the surcharge.", this), 2, 0, 1, 2);
  slope_ = addNumber(rest, 3, "Slope of the backfill, Beta", "deg.",
                     [](const TProgramData& p) { return p.BackfillSlope; },
                     [](TProgramData& p, double v) { p.BackfillSlope = v; });
  slope_->setMinVal(-45);
  slope_->setMaxVal(45);
  uniform_ = addNumber(rest, 4, "Uniform Distributed Load at the top of backfill side ", "F/L2^2",
                       [](const TProgramData& p) { return p.UniformSurcharge; },
                       [](TProgramData& p, double v) { p.UniformSurcharge = v; }, Shown::PsfOverPsi);
  uniform_->setMaxVal(10000000);
  rest->setColumnStretch(1, 1);
  lay->addLayout(rest);
  lay->addStretch();
}

void WallConfigurationDialog::load() {
  DialogBase::load();
  updateEnabling();
}

void WallConfigurationDialog::updateEnabling() {
  const TProgramData* p = project();
  const bool generated = p && (p->EarthPressureChoice == 2 || p->EarthPressureChoice == 3);
  for (TDataEdit* e : {uniform_, slope_, factor_}) e->setEnabled(generated);
}

// ---------------------------------------------------------------- table dialogs

namespace {

// What a table dialog shows and the project switch that puts its table in use.
struct TableKind {
  const char* title;
  SchematicFigure::Kind figure;
  const char* checkText;  // null: the switch is set in the Options menu only
  const char* buttonText;
  const char* table;
  bool TProgramData::*applies;
};

const TableKind& kindOf(TableDialog::Which which) {
  using Figure = SchematicFigure::Kind;
  static const TableKind kinds[] = {
      {"Additional Surcharge", Figure::Surcharge, nullptr, "&Edit Surcharge Loads", "SurchargeTable",
       &TProgramData::ApplySurcharge},
      {"Concentrated Loads", Figure::ConcentratedLoads, "Apply &Concentrated Loads",
       "&Edit Concentrated Loads", "BoundCond", &TProgramData::ApplyConcLoads},
      {"Lateral & Rotational Springs", Figure::Springs, "&Lateral and Rotational Springs",
       "&Edit Spring Stiffness", "SoilStrength", &TProgramData::ApplySprings},
      {"Tieback (Ground Anchor)", Figure::Tieback, nullptr, "&Enter Tieback data", "TiebackTable1",
       &TProgramData::ApplyTiebacks},
  };
  return kinds[static_cast<int>(which)];
}

}  // namespace

TableDialog::TableDialog(DialogHub* hub, Which which)
    : DialogBase(hub, QString::fromLatin1(kindOf(which).title)), which_(which) {
  const TableKind& k = kindOf(which);
  table_ = QString::fromLatin1(k.table);
  auto* lay = new QVBoxLayout(this);
  lay->addWidget(new SchematicFigure(k.figure, this), 1);
  auto* row = new QHBoxLayout;
  if (k.checkText) {
    check_ = new QCheckBox(QString::fromLatin1(k.checkText), this);
    row->addWidget(check_);
    connect(check_, &QCheckBox::clicked, this, [this](bool on) {
      markModified();
      button_->setEnabled(on);
      if (!on) emit this->hub()->closeTableEditor(table_);
    });
  }
  row->addStretch();
  button_ = new QPushButton(QString::fromLatin1(k.buttonText), this);
  row->addWidget(button_);
  connect(button_, &QPushButton::clicked, this, [this] { emit this->hub()->openTableEditor(table_); });
  lay->addLayout(row);
  resize(440, 400);
}

void TableDialog::load() {
  DialogBase::load();
  const TProgramData* p = project();
  if (!p) return;
  // A table switched off (here or in the Options menu while the dialog is open) is not in
  // use, so it is not offered for editing either.
  const bool on = p->*kindOf(which_).applies;
  if (check_) check_->setChecked(on);
  button_->setEnabled(on);
}

void TableDialog::storeExtra(TProgramData& p) {
  if (!check_) return;
  bool& sw = p.*kindOf(which_).applies;
  if (sw == check_->isChecked()) return;
  sw = check_->isChecked();
  p.SetModified();
  markChanged();
}

// ---------------------------------------------------------------- Control Options

ControlOptionsDialog::ControlOptionsDialog(DialogHub* hub) : DialogBase(hub, "Control Options") {
  auto* grid = new QGridLayout(this);
  auto* label = new QLabel("&Text Editor:", this);
  editor_ = new QLineEdit(this);
  editor_->setMinimumWidth(360);
  label->setBuddy(editor_);
  auto* browse = new QPushButton("&Browse...", this);
  grid->addWidget(label, 0, 0);
  grid->addWidget(editor_, 0, 1);
  grid->addWidget(browse, 0, 2);
  grid->setRowStretch(1, 1);
  grid->setColumnStretch(1, 1);
  connect(browse, &QPushButton::clicked, this, &ControlOptionsDialog::browse);
}

void ControlOptionsDialog::load() {
  DialogBase::load();
  editor_->setText(hub()->textEditor());
}

void ControlOptionsDialog::storeExtra(TProgramData&) {
  if (editor_->text() != hub()->textEditor()) hub()->setTextEditor(editor_->text());
}

void ControlOptionsDialog::browse() {
  const QString folder = QFileInfo(editor_->text()).absolutePath();
  // Programs on this platform rarely carry an extension, so "All Files" matches every name.
  const auto choice = prompts().openFile(this, "Text Editor", folder,
                                         {"Programs (*.exe *.com)", "All Files (*)"}, 1);
  if (choice.path.isEmpty() || !QFileInfo(choice.path).isFile()) return;
  editor_->setText(choice.path);
  storeExtra(*project());
}

// ---------------------------------------------------------------- about box

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
  setWindowTitle("About TARNEL");
  setAttribute(Qt::WA_DeleteOnClose);
  auto* lay = new QVBoxLayout(this);
  auto* name = new QLabel("TARNEL", this);
  QFont f = name->font();
  f.setPointSizeF(f.pointSizeF() * 1.8);
  f.setBold(true);
  name->setFont(f);
  name->setAlignment(Qt::AlignCenter);
  lay->addWidget(name);
  auto* version = new QLabel("Version 2015.5.22", this);
  version->setAlignment(Qt::AlignCenter);
  lay->addWidget(version);
  auto* line = new QLabel("A program for the analysis of flexible retaining structures", this);
  line->setAlignment(Qt::AlignCenter);
  lay->addWidget(line);
#ifndef TARNEL_BUILD_TEXT
#define TARNEL_BUILD_TEXT "unknown"
#endif
  auto* build = new QLabel(QStringLiteral("Build: %1, Qt %2").arg(QStringLiteral(TARNEL_BUILD_TEXT), qVersion()), this);
  build->setObjectName("AboutBuild");
  build->setAlignment(Qt::AlignCenter);
  lay->addWidget(build);
  auto* licence = new QLabel(
      "Licence: this copy is licensed to its user for the analysis of retaining walls; it may not be "
      "redistributed without the author's permission. It uses Qt under the GNU LGPL version 3 and "
      "libxlsxwriter under the BSD 2-clause licence.",
      this);
  licence->setObjectName("AboutLicence");
  licence->setWordWrap(true);
  licence->setAlignment(Qt::AlignCenter);
  lay->addWidget(licence);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  lay->addWidget(buttons);
}

}  // namespace tarnel::dialogs
