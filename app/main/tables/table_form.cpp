#include "app/main/tables/table_form.h"

#include "app/main/tables/help_picture.h"
#include "app/main/tables/table_chart_form.h"
#include "app/main/tables/table_model.h"
#include "app/main/user_prompts.h"
#include "app/model/table.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

using tarnel::model::ColumnClass;
using tarnel::model::TGridTable;

namespace {

// How an item of a choice column is listed: its code, then its name.
QString choiceText(int code, const QString& item) {
  return QStringLiteral("%1 - %2").arg(code).arg(item);
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Grid

TableGrid::TableGrid(TTableForm* form) : QTableView(form), form_(form) {
  setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                  QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setAlternatingRowColors(true);
  setWordWrap(false);
  horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setStretchLastSection(true);
  verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setHighlightSections(false);
  setStyleSheet(QStringLiteral(
      "QHeaderView::section { background: #e9edf2; border: 1px solid #c3c9d1; padding: 3px 6px; }"));
}

QWidget* TableGrid::openEditor() const {
  return state() == QAbstractItemView::EditingState ? indexWidget(currentIndex()) : nullptr;
}

bool TableGrid::commitOpenEditor() {
  QWidget* editor = openEditor();
  if (!editor) return true;
  auto* delegate = static_cast<TableDelegate*>(itemDelegate());
  return delegate->store(editor);
}

void TableGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QWidget* editor = previous.isValid() ? indexWidget(previous) : nullptr;
  if (editor && state() == EditingState) {
    auto* delegate = static_cast<TableDelegate*>(itemDelegate());
    if (!delegate->storeAt(editor, previous)) {
      // A refused entry keeps its cell current and its editor open.
      QPointer<QWidget> ed(editor);
      QTimer::singleShot(0, this, [this, previous, ed] {
        selectionModel()->setCurrentIndex(previous, QItemSelectionModel::ClearAndSelect);
        if (ed) ed->setFocus(Qt::OtherFocusReason);
      });
      return;
    }
  }
  QTableView::currentChanged(current, previous);
}

QModelIndex TableGrid::nextCell(const QModelIndex& index) const {
  const int rows = model()->rowCount(), cols = model()->columnCount();
  if (rows == 0 || cols == 0) return {};
  if (index.row() + 1 < rows) return model()->index(index.row() + 1, index.column());
  if (index.column() + 1 < cols) return model()->index(0, index.column() + 1);
  return model()->index(0, 0);
}

bool TableGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
  // A click on the current cell opens its editor at once. The view would otherwise wait
  // for a possible double click, and the keys typed in that moment were dropped.
  if (trigger == SelectedClicked) trigger = EditKeyPressed;
  return QTableView::edit(index, trigger, event);
}

void TableGrid::keyPressEvent(QKeyEvent* e) {
  if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && state() != EditingState) {
    // Enter walks the grid on every cell, a sub-table cell included (it opens with a click
    // or Space): entering a column row by row never pops up another window.
    const QModelIndex cur = currentIndex();
    if (cur.isValid()) setCurrentIndex(nextCell(cur));
    e->accept();
    return;
  }
  if (e->key() == Qt::Key_Space && form_->model()->isSubTable(currentIndex())) {
    form_->openSubTable(currentIndex());
    e->accept();
    return;
  }
  QTableView::keyPressEvent(e);
}

// ---------------------------------------------------------------------------------------
// Cell editors

TableDelegate::TableDelegate(TTableForm* form, TableGrid* grid)
    : QStyledItemDelegate(grid), form_(form), grid_(grid) {}

QWidget* TableDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                     const QModelIndex& index) const {
  QWidget* editor;
  if (form_->model()->isChoice(index)) {
    auto* combo = new QComboBox(parent);
    int n = 1;
    for (const QString& item : form_->model()->choices(index))
      combo->addItem(choiceText(n++, item));
    // A combo box closes its list on the first choice: store it at once.
    connect(combo, QOverload<int>::of(&QComboBox::activated), this, [this, combo] {
      if (const_cast<TableDelegate*>(this)->store(combo))
        emit const_cast<TableDelegate*>(this)->closeEditor(combo, QAbstractItemDelegate::NoHint);
    });
    editor = combo;
  } else {
    editor = QStyledItemDelegate::createEditor(parent, option, index);
  }
  return editor;
}

void TableDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
  if (auto* combo = qobject_cast<QComboBox*>(editor)) {
    combo->setCurrentIndex(index.data(Qt::EditRole).toInt() - 1);
    return;
  }
  if (auto* line = qobject_cast<QLineEdit*>(editor)) {
    // A key that started the edit replaces the text; otherwise show the stored value.
    if (line->property("tarnelLoaded").toBool()) return;
    line->setProperty("tarnelLoaded", true);
    line->setText(index.data(Qt::EditRole).toString());
    return;
  }
  QStyledItemDelegate::setEditorData(editor, index);
}

void TableDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                 const QModelIndex& index) const {
  QString text;
  if (auto* combo = qobject_cast<QComboBox*>(editor))
    text = combo->currentIndex() < 0 ? QString() : QString::number(combo->currentIndex() + 1);
  else if (auto* line = qobject_cast<QLineEdit*>(editor))
    text = line->text();
  lastStored_ = model->setData(index, text, Qt::EditRole);
}

bool TableDelegate::store(QWidget* editor) {
  // One refusal, one message: focus-out and the change of cell may both ask.
  if (inMessage_ || justRefused_) return false;
  return storeAt(editor, grid_->currentIndex());
}

bool TableDelegate::storeAt(QWidget* editor, const QModelIndex& index) {
  if (inMessage_ || justRefused_) return false;
  setModelData(editor, grid_->model(), index);
  if (lastStored_) return true;
  inMessage_ = true;
  justRefused_ = true;
  QTimer::singleShot(0, this, [this] { justRefused_ = false; });
  prompts().information(form_->window(), form_->model()->lastMessage());
  inMessage_ = false;
  // The cell keeps the focus so the entry can be corrected.
  QPointer<QWidget> ed(editor);
  QTimer::singleShot(0, editor, [ed] {
    if (ed) ed->setFocus(Qt::OtherFocusReason);
  });
  return false;
}

bool TableDelegate::eventFilter(QObject* object, QEvent* event) {
  auto* editor = qobject_cast<QWidget*>(object);
  if (!editor) return QStyledItemDelegate::eventFilter(object, event);
  if (event->type() == QEvent::KeyPress) {
    auto* k = static_cast<QKeyEvent*>(event);
    if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
      if (qobject_cast<QComboBox*>(editor) &&
          static_cast<QComboBox*>(editor)->view()->isVisible())
        return false;  // the open list takes its own Enter
      const QModelIndex cur = grid_->currentIndex();
      if (store(editor)) {
        emit closeEditor(editor, QAbstractItemDelegate::NoHint);
        grid_->setCurrentIndex(grid_->nextCell(cur));
      }
      return true;
    }
    if (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) {
      if (!store(editor)) return true;
    }
    if (k->key() == Qt::Key_Escape) {
      emit closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
      return true;
    }
  }
  if (event->type() == QEvent::FocusOut) {
    // The editor itself still sees the event; the default commit-and-close is replaced by
    // the checked store below.
    if (inMessage_) return false;
    auto* combo = qobject_cast<QComboBox*>(editor);
    if (combo && combo->view()->isVisible()) return false;
    // Leaving the cell for another cell or control stores it; a refused entry keeps it.
    if (!editor->isAncestorOf(QApplication::focusWidget())) {
      if (store(editor)) emit closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
    return false;
  }
  return QStyledItemDelegate::eventFilter(object, event);
}

// ---------------------------------------------------------------------------------------
// Editor window

TTableForm* TTableForm::create(Resolver resolve, QWidget* parent) {
  const TGridTable* t = resolve();
  if (t && t->ChartPaired()) return new TTableChartForm(std::move(resolve), parent);
  return new TTableForm(std::move(resolve), parent);
}

TTableForm::TTableForm(Resolver resolve, QWidget* parent)
    : QWidget(parent), resolve_(std::move(resolve)) {
  if (TGridTable* t = table()) t->PadToMinRows();

  layout_ = new QVBoxLayout(this);
  layout_->setContentsMargins(8, 8, 8, 8);
  layout_->setSpacing(6);

  model_ = new TableModel(resolve_, this);
  grid_ = new TableGrid(this);
  grid_->setModel(model_);
  grid_->setItemDelegate(new TableDelegate(this, grid_));
  layout_->addWidget(grid_, 1);
  connect(model_, &TableModel::stored, this, [this](int column) {
    // A new choice may bring another kind of sub-table: its open editor is out of date.
    const TGridTable* t = table();
    if (t && t->Column(column).Class() == ColumnClass::Enum) {
      for (std::size_t c = 0; c < t->ColumnCount(); ++c)
        if (t->Column(c).Class() == ColumnClass::Table) {
          emit subTablesInvalidated(objectName());
          break;
        }
    }
    tableChanged();
    emit edited();
  });
  connect(grid_, &QTableView::clicked, this, [this](const QModelIndex& i) {
    if (model_->isSubTable(i)) openSubTable(i);
  });

  const TGridTable* t = table();
  if (t && t->ShowsRowButtons()) {
    auto* buttons = new QHBoxLayout;
    add_ = new QPushButton(QStringLiteral("&Add Row"), this);
    insert_ = new QPushButton(QStringLiteral("&Insert Row"), this);
    delete_ = new QPushButton(QStringLiteral("&Delete Row"), this);
    for (QPushButton* b : {add_, insert_, delete_}) {
      b->setAutoDefault(false);
      buttons->addWidget(b);
    }
    buttons->addStretch(1);
    connect(add_, &QPushButton::clicked, this, &TTableForm::addRows);
    connect(insert_, &QPushButton::clicked, this, &TTableForm::insertRows);
    connect(delete_, &QPushButton::clicked, this, &TTableForm::deleteRows);
    layout_->addLayout(buttons);
  }

  auto* bottom = new QHBoxLayout;
  help_ = new QLabel(this);
  help_->setWordWrap(true);
  help_->setTextFormat(Qt::PlainText);
  help_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  help_->setObjectName(QStringLiteral("HelpText"));
  auto* helpColumn = new QVBoxLayout;
  helpColumn->addWidget(help_);
  helpColumn->addStretch(1);
  bottom->addLayout(helpColumn, 1);
  if (t) {
    if (QWidget* pic = makeHelpPicture(t->Name(), this)) {
      bottom->addWidget(pic);
    }
    help_->setText(QString::fromStdString(t->Comments));
    help_->setVisible(!t->Comments.empty());
  }
  layout_->addLayout(bottom);

  grid_->resizeColumnsToContents();
  const QFontMetrics metrics = grid_->fontMetrics();
  for (int c = 0; c < model_->columnCount(); ++c) {
    int width = std::max(grid_->columnWidth(c) + 12, 90);
    // A choice column is wide enough for its longest item: another item chosen later
    // would otherwise be cut off in the cell.
    if (model_->rowCount() > 0 && model_->isChoice(model_->index(0, c))) {
      int n = 1;
      for (const QString& item : model_->choices(model_->index(0, c)))
        width = std::max(width, metrics.horizontalAdvance(choiceText(n++, item)) + 40);
    }
    grid_->setColumnWidth(c, width);
  }
  updateTitleAndButtons();
  if (model_->rowCount() > 0) grid_->setCurrentIndex(model_->index(0, 0));
}

TGridTable* TTableForm::table() const { return resolve_(); }

QSize TTableForm::preferredSize() const {
  // Row numbers, frames, margins, a vertical scroll bar and the sub-window frame.
  int w = grid_->verticalHeader()->sizeHint().width() + 2 * grid_->frameWidth() + 90;
  for (int c = 0; c < model_->columnCount(); ++c) w += grid_->columnWidth(c);
  w = std::clamp(w, 420, 1100);
  const int rows = std::min(model_->rowCount(), 12);
  int h = grid_->horizontalHeader()->sizeHint().height() +
          rows * grid_->verticalHeader()->defaultSectionSize() + 60;
  h += layout_->sizeHint().height() - grid_->sizeHint().height();
  return QSize(std::max(w, sizeHint().width()), std::clamp(std::max(h, sizeHint().height()), 260, 800));
}

void TTableForm::updateTitleAndButtons() {
  const TGridTable* t = table();
  if (!t) return;
  setWindowTitle(QString::fromStdString(t->EditorTitle()));
  if (add_) {
    add_->setEnabled(t->CanAddRow());
    insert_->setEnabled(t->CanAddRow());
    delete_->setEnabled(t->CanDeleteRow());
  }
}

void TTableForm::tableChanged() { updateTitleAndButtons(); }

void TTableForm::closeHost() {
  // The window that holds the form: an MDI child or a modal dialog.
  QWidget* host = parentWidget();
  while (host && !qobject_cast<QMdiSubWindow*>(host) && !qobject_cast<QDialog*>(host))
    host = host->parentWidget();
  if (host)
    QTimer::singleShot(0, host, &QWidget::close);
}

void TTableForm::refresh() {
  if (!table()) {
    closeHost();
    return;
  }
  if (grid_->openEditor()) {
    // Keep the cell being edited; only the values around it change.
    emit model_->dataChanged(model_->index(0, 0),
                             model_->index(model_->rowCount() - 1, model_->columnCount() - 1));
  } else {
    const QModelIndex cur = grid_->currentIndex();
    model_->reload();
    if (cur.isValid() && cur.row() < model_->rowCount() && cur.column() < model_->columnCount())
      grid_->setCurrentIndex(model_->index(cur.row(), cur.column()));
  }
  tableChanged();
}

bool TTableForm::commitEdit() { return grid_->commitOpenEditor(); }

void TTableForm::addRows() {
  TGridTable* t = table();
  if (!t || !commitEdit() || !t->CanAddRow()) return;
  t->AddRowGroup();
  t->MarkChanged();
  model_->reload();
  const QModelIndex last = model_->index(model_->rowCount() - 1, 0);
  grid_->setCurrentIndex(last);
  grid_->scrollTo(last);
  tableChanged();
  emit edited();
}

int TTableForm::currentRowOrSay(const TGridTable& t) {
  const int row = grid_->currentIndex().row();
  if (row >= 0 && row < t.RowCount()) return row;
  prompts().information(window(), QStringLiteral("Grid.Row not in valid range"));
  return -1;
}

void TTableForm::insertRows() {
  TGridTable* t = table();
  if (!t || !commitEdit() || !t->CanAddRow()) return;
  const int row = currentRowOrSay(*t);
  if (row < 0) return;
  t->InsertRowGroup(row);
  t->MarkChanged();
  emit subTablesInvalidated(objectName());
  model_->reload();
  grid_->setCurrentIndex(model_->index(row, 0));
  tableChanged();
  emit edited();
}

void TTableForm::deleteRows() {
  TGridTable* t = table();
  if (!t || !commitEdit() || !t->CanDeleteRow()) return;
  const int row = currentRowOrSay(*t);
  if (row < 0) return;
  emit subTablesInvalidated(objectName());
  t->DeleteRowGroup(row);
  t->MarkChanged();
  model_->reload();
  grid_->setCurrentIndex(model_->index(std::min(row, model_->rowCount() - 1), 0));
  tableChanged();
  emit edited();
}

void TTableForm::openSubTable(const QModelIndex& index) {
  if (!index.isValid() || !commitEdit()) return;
  const int col = model_->tableColumn(index.column());
  const int row = index.row();
  Resolver parent = resolve_;
  Resolver sub = [parent, col, row]() -> TGridTable* {
    TGridTable* t = parent();
    if (!t || row >= t->RowCount() || col < 0 || static_cast<std::size_t>(col) >= t->ColumnCount() ||
        t->Column(col).Class() != ColumnClass::Table)
      return nullptr;
    return &t->SubTable(col, row);
  };
  emit subTableRequested(QStringLiteral("%1/%2/%3").arg(objectName()).arg(col).arg(row), sub);
}

QDialog* TTableForm::wrapInDialog(QWidget* parent) {
  auto* dlg = new QDialog(parent);
  dlg->setAttribute(Qt::WA_DeleteOnClose);
  dlg->setModal(true);
  auto* l = new QVBoxLayout(dlg);
  l->setContentsMargins(0, 0, 0, 0);
  setParent(dlg);
  l->addWidget(this);
  modalHost_ = true;
  dlg->setWindowTitle(windowTitle());
  connect(this, &QWidget::windowTitleChanged, dlg, &QWidget::setWindowTitle);
  dlg->resize(preferredSize());
  return dlg;
}
