// The item model through which a grid shows a project table: one column per visible table
// column, the caption lines (with unit labels) as a multi-line header, the row numbers at
// the left. Edits go through the table's own entry rules; a refused entry leaves the table
// unchanged and keeps the message for the editor to show.
#pragma once

#include <QAbstractTableModel>
#include <functional>

namespace tarnel::model {
class TGridTable;
}

class TableModel : public QAbstractTableModel {
  Q_OBJECT
public:
  using Resolver = std::function<tarnel::model::TGridTable*()>;
  explicit TableModel(Resolver resolve, QObject* parent = nullptr);

  tarnel::model::TGridTable* table() const { return resolve_(); }
  // Index of the table column shown in grid column `viewColumn`.
  int tableColumn(int viewColumn) const;
  bool isChoice(const QModelIndex& index) const;
  bool isSubTable(const QModelIndex& index) const;
  QStringList choices(const QModelIndex& index) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation o, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  // Stores typed text; false (and lastMessage()) when the entry is refused.
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  QString lastMessage() const { return lastMessage_; }

  // The table changed from elsewhere (rows, units, a stage): show it afresh.
  void reload();

signals:
  // A cell was stored (table column index).
  void stored(int column);

private:
  Resolver resolve_;
  QList<int> visible_;
  QString lastMessage_;
};
