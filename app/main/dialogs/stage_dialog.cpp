#include "stage_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QHBoxLayout>
#include <QToolButton>
#include <algorithm>
#include <QVBoxLayout>
#include <cmath>

#include "app/main/stages/stage_manager.h"
#include "app/main/widgets/data_edit.h"
#include "app/model/program_data.h"

namespace tarnel::dialogs {

namespace {
const char* kNote =
    "TARNEL uses a simplified approach for the analysis of staged construction. Every stage is "
    "analysed as an independent problem with its own earth pressure, boundary conditions and "
    "p-y curves; no stress or deformation history is carried from one stage to the next.\n\n"
    "The p-y curves are generated again for each stage from that stage's excavation depth "
    "(free height of the wall), wall height and water table.\n\n"
    "Enter the data of each stage after selecting it in the Stage Construction menu or with "
    "the stage buttons of the tool bar; \"Copy Previous Stage\" starts a stage from the one "
    "before it.";
}

StageDialog::StageDialog(tarnel::model::TProgramData* project, StageManager* stages, QWidget* parent)
    : QDialog(parent), project_(project), stages_(stages) {
  setWindowTitle("Staged Construction Options");
  setObjectName("Staged Construction Options");
  setAttribute(Qt::WA_DeleteOnClose);
  auto* lay = new QVBoxLayout(this);
  note_ = new QPlainTextEdit(kNote, this);
  note_->setReadOnly(true);
  note_->setMinimumSize(440, 150);
  lay->addWidget(note_);

  check_ = new QCheckBox("Conduct &Staged-Construction Analysis", this);
  lay->addWidget(check_);

  auto* row = new QGridLayout;
  auto* label = new QLabel(this);
  count_ = new TDataEdit(this);
  count_->setEditLabel(label);
  count_->setCaption("Enter the total number of stages (Max. = 5, Min =2)");
  count_->setIntegerOnly(true);
  count_->setMinVal(1);
  count_->setMaxVal(5);
  count_->setMaximumWidth(70);
  up_ = new QToolButton(this);
  up_->setArrowType(Qt::UpArrow);
  down_ = new QToolButton(this);
  down_->setArrowType(Qt::DownArrow);
  up_->setAutoRaise(false);
  // The arrows sit against the field and share its height, like one up-down control.
  const int half = std::max(count_->sizeHint().height() / 2, 10);
  for (QToolButton* b : {up_, down_}) b->setFixedHeight(half);
  auto* arrows = new QVBoxLayout;
  arrows->setSpacing(0);
  arrows->addWidget(up_);
  arrows->addWidget(down_);
  auto* updown = new QHBoxLayout;
  updown->setSpacing(1);
  updown->addWidget(count_);
  updown->addLayout(arrows);
  row->addWidget(label, 0, 0);
  row->addLayout(updown, 0, 1);
  row->setColumnStretch(2, 1);
  lay->addLayout(row);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  // Enter in the count field validates it and must not close the dialog.
  buttons->button(QDialogButtonBox::Ok)->setAutoDefault(false);
  buttons->button(QDialogButtonBox::Cancel)->setAutoDefault(false);
  connect(buttons, &QDialogButtonBox::accepted, this, &StageDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &StageDialog::reject);
  lay->addWidget(buttons);

  const int n = project_ ? project_->StageCount : 1;
  count_->setNumber(n);
  check_->setChecked(n > 1);
  setFieldEnabled(n > 1);

  connect(check_, &QCheckBox::clicked, this, [this](bool on) {
    if (on) {
      if (std::lround(double(count_->number())) <= 1) count_->setNumber(2);
    } else {
      count_->setNumber(1);
    }
    setFieldEnabled(on);
  });
  connect(up_, &QToolButton::clicked, this, [this] {
    count_->setNumber(std::min(5L, std::lround(double(count_->number())) + 1));
  });
  connect(down_, &QToolButton::clicked, this, [this] {
    count_->setNumber(std::max(2L, std::lround(double(count_->number())) - 1));
  });
}

void StageDialog::setFieldEnabled(bool on) {
  count_->setEnabled(on);
  up_->setEnabled(on);
  down_->setEnabled(on);
}

void StageDialog::accept() {
  if (!count_->validate()) return;
  int n = int(std::lround(double(count_->number())));
  // A ticked box with a count of 1 would leave the project unstaged but the box on.
  if (!check_->isChecked()) n = 1;
  if (stages_) stages_->setStageCount(n);
  QDialog::accept();
}

}  // namespace tarnel::dialogs
