// TTableForm: the editor window of a project table. A grid with a multi-line header and
// unit labels, drop-down lists for choice cells, sub-table cells that open their own editor,
// the row buttons, the table's help text and picture. Cells are checked when the user
// leaves them; a refused entry is explained and the cell keeps the focus. Enter moves down
// the column, then to the top of the next column.
//
// The form reaches its table through a resolver, so it follows the project when the table
// is replaced (New, Open, a stage) and closes itself when the table no longer exists.
#pragma once

#include <QStyledItemDelegate>
#include <QTableView>
#include <QWidget>
#include <functional>

class QDialog;
class QLabel;
class QPushButton;
class QVBoxLayout;
class TableModel;
class TTableForm;

namespace tarnel::model {
class TGridTable;
}

// The grid of an editor.
class TableGrid : public QTableView {
  Q_OBJECT
public:
  explicit TableGrid(TTableForm* form);
  // Stores the cell being edited; false when the entry was refused.
  bool commitOpenEditor();
  // The cell Enter leads to from `index`.
  QModelIndex nextCell(const QModelIndex& index) const;
  QWidget* openEditor() const;
  using QTableView::edit;

protected:
  bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
  void keyPressEvent(QKeyEvent* e) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
  TTableForm* form_;
};

class TableDelegate : public QStyledItemDelegate {
  Q_OBJECT
public:
  TableDelegate(TTableForm* form, TableGrid* grid);
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
  void setEditorData(QWidget* editor, const QModelIndex& index) const override;
  void setModelData(QWidget* editor, QAbstractItemModel* model,
                    const QModelIndex& index) const override;
  // Stores `editor`; on refusal shows the message and keeps the editor open.
  bool store(QWidget* editor);
  bool storeAt(QWidget* editor, const QModelIndex& index);

protected:
  bool eventFilter(QObject* object, QEvent* event) override;

private:
  TTableForm* form_;
  TableGrid* grid_;
  mutable bool lastStored_ = true;
  bool inMessage_ = false;
  bool justRefused_ = false;
};

class TTableForm : public QWidget {
  Q_OBJECT
public:
  using Resolver = std::function<tarnel::model::TGridTable*()>;

  // The editor that fits the table: a chart-paired editor for curve tables.
  static TTableForm* create(Resolver resolve, QWidget* parent = nullptr);
  explicit TTableForm(Resolver resolve, QWidget* parent = nullptr);

  tarnel::model::TGridTable* table() const;
  TableGrid* grid() const { return grid_; }
  TableModel* model() const { return model_; }
  QPushButton* addButton() const { return add_; }
  QPushButton* insertButton() const { return insert_; }
  QPushButton* deleteButton() const { return delete_; }
  QLabel* helpLabel() const { return help_; }

  // Stores a cell that is being edited (a menu or a command is about to run).
  bool commitEdit();
  // Shows the table afresh (or closes the window when the table is gone).
  virtual void refresh();
  QSize preferredSize() const;

  // Hosts the form in a modal dialog (curve sets); shown with open() by the caller.
  QDialog* wrapInDialog(QWidget* parent);
  bool isInModalHost() const { return modalHost_; }

  void addRows();
  void insertRows();
  void deleteRows();
  void openSubTable(const QModelIndex& index);

signals:
  // A cell or the rows changed (the project counts as modified).
  void edited();
  // The editor of a sub-table was asked for.
  void subTableRequested(const QString& key, std::function<tarnel::model::TGridTable*()> resolve);
  // Rows changed, so the editors of this table's sub-tables are to be closed.
  void subTablesInvalidated(const QString& keyPrefix);

protected:
  virtual void tableChanged();
  void updateTitleAndButtons();
  QVBoxLayout* layout_;
  Resolver resolve_;

private:
  void closeHost();
  // The table row of the current cell, or -1 after telling the user there is none.
  int currentRowOrSay(const tarnel::model::TGridTable& t);
  TableGrid* grid_;
  TableModel* model_;
  QPushButton *add_ = nullptr, *insert_ = nullptr, *delete_ = nullptr;
  QLabel* help_;
  bool modalHost_ = false;
};
