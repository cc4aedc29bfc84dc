#include "app/results/dialogs/active_lines_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/results/graph_plot.h"

TfrmActiveLines::TfrmActiveLines(TGraphPlot& plot, QWidget* parent) : QDialog(parent), plot_(plot) {
  setWindowTitle(QStringLiteral("Active Curves"));
  setObjectName(QStringLiteral("Active Curves"));
  for (int i = 0; i < plot.LineCount(); ++i) active_.push_back(plot.Line(i).Active ? 1 : 0);

  auto* lay = new QVBoxLayout(this);
  list_ = new QListWidget(this);
  list_->setObjectName(QStringLiteral("Curves"));
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list_->setMinimumSize(280, 200);
  // The yes/no column lines up only in a fixed-pitch font.
  QFont mono(QStringLiteral("Courier New"));
  mono.setStyleHint(QFont::TypeWriter);
  mono.setPointSize(font().pointSize() > 0 ? font().pointSize() : 10);
  list_->setFont(mono);
  for (std::size_t i = 0; i < active_.size(); ++i) {
    list_->addItem(QString());
    showRow(static_cast<int>(i));
  }
  lay->addWidget(list_, 1);

  auto* toggle = new QPushButton(QStringLiteral("Activate/Deactivate &Selected"), this);
  auto* all = new QPushButton(QStringLiteral("Activate &All"), this);
  auto* none = new QPushButton(QStringLiteral("&Deactivate All"), this);
  auto* row = new QGridLayout;
  row->addWidget(toggle, 0, 0, 1, 2);
  row->addWidget(all, 1, 0);
  row->addWidget(none, 1, 1);
  lay->addLayout(row);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
  QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
  lay->addWidget(buttons);
  for (QPushButton* b : {toggle, all, none}) b->setAutoDefault(false);

  // The double-clicked row is the current selection by then (the first click selected it).
  connect(list_, &QListWidget::itemDoubleClicked, this, &TfrmActiveLines::toggleSelected);
  connect(toggle, &QPushButton::clicked, this, &TfrmActiveLines::toggleSelected);
  connect(all, &QPushButton::clicked, this, [this] { setAll(true); });
  connect(none, &QPushButton::clicked, this, [this] { setAll(false); });
  connect(ok, &QPushButton::clicked, this, &TfrmActiveLines::storeAndAccept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmActiveLines::showRow(int row) {
  const QString state = active_[static_cast<std::size_t>(row)] ? QStringLiteral(" yes : ") : QStringLiteral(" no  : ");
  list_->item(row)->setText(state + QStringLiteral("   ") + plot_.DisplayName(row));
}

void TfrmActiveLines::toggleSelected() {
  for (int row = 0; row < list_->count(); ++row) {
    if (!list_->item(row)->isSelected()) continue;
    char& a = active_[static_cast<std::size_t>(row)];
    a = a ? 0 : 1;
    showRow(row);
  }
}

void TfrmActiveLines::setAll(bool active) {
  for (int row = 0; row < list_->count(); ++row) {
    active_[static_cast<std::size_t>(row)] = active ? 1 : 0;
    showRow(row);
  }
}

void TfrmActiveLines::storeAndAccept() {
  for (int i = 0; i < plot_.LineCount() && i < static_cast<int>(active_.size()); ++i)
    plot_.Line(i).Active = active_[static_cast<std::size_t>(i)] != 0;
  accept();
}
