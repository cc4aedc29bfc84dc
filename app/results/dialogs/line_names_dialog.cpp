#include "app/results/dialogs/line_names_dialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPalette>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/main/user_prompts.h"
#include "app/results/graph_plot.h"

TfrmLineNames::TfrmLineNames(TGraphPlot& plot, QWidget* parent) : QDialog(parent), plot_(plot) {
  setWindowTitle(QStringLiteral("Legend"));
  setObjectName(QStringLiteral("Legend"));
  setMinimumSize(195, 167);
  for (int i = 0; i < plot.LineCount(); ++i) names_ << plot.DisplayName(i);

  auto* lay = new QVBoxLayout(this);
  auto* listLabel = new QLabel(QStringLiteral("&Select line to modify:"), this);
  list_ = new QListWidget(this);
  list_->setObjectName(QStringLiteral("Lines"));
  list_->addItems(names_);
  for (int row = 0; row < list_->count(); ++row) list_->item(row)->setForeground(rowColour(row));
  listLabel->setBuddy(list_);
  lay->addWidget(listLabel);
  lay->addWidget(list_, 1);

  auto* editLabel = new QLabel(QStringLiteral("&Type new legend below:"), this);
  edit_ = new QLineEdit(this);
  edit_->setObjectName(QStringLiteral("LineName"));
  editLabel->setBuddy(edit_);
  edit_->installEventFilter(this);
  lay->addWidget(editLabel);
  lay->addWidget(edit_);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
  cancel_ = buttons->addButton(QDialogButtonBox::Cancel);
  for (QPushButton* b : {ok, cancel_}) b->setAutoDefault(false);
  lay->addWidget(buttons);

  connect(list_, &QListWidget::currentRowChanged, this, &TfrmLineNames::showLine);
  // Leaving the field finishes an edit (Return is caught before the field sees it).
  connect(edit_, &QLineEdit::editingFinished, this, &TfrmLineNames::storeEdit);
  connect(ok, &QPushButton::clicked, this, &TfrmLineNames::storeAndAccept);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

  edit_->setEnabled(!names_.isEmpty());
  if (!names_.isEmpty()) list_->setCurrentRow(0);
}

QColor TfrmLineNames::rowColour(int row) const {
  // An active line is named in the colour it is drawn in; an inactive one is not drawn and
  // has no colour of its own, so it is shown in the muted text colour.
  int activeIndex = 0;
  for (int i = 0; i < row; ++i)
    if (plot_.Line(i).Active) ++activeIndex;
  if (!plot_.Line(row).Active) return palette().color(QPalette::Disabled, QPalette::Text);
  return TGraphPlot::LineColour(activeIndex);
}

void TfrmLineNames::showLine(int row) {
  editedRow_ = row;
  if (row < 0 || row >= names_.size()) {
    edit_->clear();
    return;
  }
  edit_->setText(names_[row]);
  QPalette pal = edit_->palette();
  pal.setColor(QPalette::Text, rowColour(row));
  edit_->setPalette(pal);
}

void TfrmLineNames::storeEdit() {
  if (storing_ || editedRow_ < 0 || editedRow_ >= names_.size()) return;
  // Leaving the field for Cancel throws the edits away: nothing to refuse.
  if (QApplication::focusWidget() == cancel_) return;
  storing_ = true;
  const QString text = edit_->text();
  if (text.isEmpty()) {
    // Restore first: the message box takes the focus, which finishes the edit once more.
    edit_->setText(names_[editedRow_]);
    prompts().information(this, QStringLiteral("The line must have a name!"));
  } else {
    names_[editedRow_] = text;
    list_->item(editedRow_)->setText(text);
  }
  storing_ = false;
}

void TfrmLineNames::storeAndAccept() {
  storeEdit();
  for (int i = 0; i < names_.size() && i < plot_.LineCount(); ++i) plot_.Line(i).Name = names_[i];
  accept();
}

bool TfrmLineNames::eventFilter(QObject* watched, QEvent* e) {
  if (watched == edit_ && e->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(e)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      storeEdit();
      return true;  // the dialog's default button never sees it
    }
  }
  return QDialog::eventFilter(watched, e);
}
