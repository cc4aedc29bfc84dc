#include "app/results/dialogs/graph_caption_dialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/results/graph_plot.h"

TfrmGraphCaption::TfrmGraphCaption(TGraphPlot& plot, QWidget* parent) : QDialog(parent), plot_(plot) {
  setWindowTitle(QStringLiteral("Graph Caption"));
  setObjectName(QStringLiteral("Graph Caption"));
  auto* lay = new QVBoxLayout(this);

  auto* label = new QLabel(QStringLiteral("&Enter Graph Caption"), this);
  title_ = new QLineEdit(plot.GraphTitle, this);
  title_->setObjectName(QStringLiteral("GraphTitle"));
  title_->setMinimumWidth(360);
  label->setBuddy(title_);
  lay->addWidget(label);
  lay->addWidget(title_);

  auto* where = new QGroupBox(QStringLiteral("Caption Location"), this);
  auto* whereLay = new QHBoxLayout(where);
  top_ = new QRadioButton(QStringLiteral("&Top"), where);
  bottom_ = new QRadioButton(QStringLiteral("&Bottom"), where);
  top_->setObjectName(QStringLiteral("Top"));
  bottom_->setObjectName(QStringLiteral("Bottom"));
  (plot.TitleOnTop ? top_ : bottom_)->setChecked(true);
  whereLay->addWidget(top_);
  whereLay->addWidget(bottom_);
  whereLay->addStretch();
  lay->addWidget(where);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  lay->addWidget(buttons);
  title_->selectAll();
}

void TfrmGraphCaption::store() {
  plot_.GraphTitle = title_->text();
  plot_.TitleOnTop = top_->isChecked();
}

void TfrmGraphCaption::done(int result) {
  store();
  QDialog::done(result);
}
