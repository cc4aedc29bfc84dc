#include "app/main/tables/table_model.h"

#include "app/model/table.h"

#include <QBrush>
#include <QColor>
#include <QFont>

using tarnel::model::ColumnClass;
using tarnel::model::TEnumColumn;
using tarnel::model::TGridTable;

TableModel::TableModel(Resolver resolve, QObject* parent)
    : QAbstractTableModel(parent), resolve_(std::move(resolve)) {
  reload();
}

void TableModel::reload() {
  beginResetModel();
  visible_.clear();
  if (const TGridTable* t = table()) {
    for (std::size_t c = 0; c < t->ColumnCount(); ++c)
      if (t->Column(c).Visible) visible_ << static_cast<int>(c);
  }
  endResetModel();
}

int TableModel::tableColumn(int viewColumn) const { return visible_.value(viewColumn, -1); }

bool TableModel::isChoice(const QModelIndex& index) const {
  const TGridTable* t = table();
  const int c = tableColumn(index.column());
  return t && c >= 0 && t->Column(c).Class() == ColumnClass::Enum;
}

bool TableModel::isSubTable(const QModelIndex& index) const {
  const TGridTable* t = table();
  const int c = tableColumn(index.column());
  return t && c >= 0 && t->Column(c).Class() == ColumnClass::Table;
}

QStringList TableModel::choices(const QModelIndex& index) const {
  QStringList items;
  if (!isChoice(index)) return items;
  const auto& col = static_cast<const TEnumColumn&>(table()->Column(tableColumn(index.column())));
  for (const std::string& s : col.Items()) items << QString::fromStdString(s);
  return items;
}

int TableModel::rowCount(const QModelIndex& parent) const {
  const TGridTable* t = table();
  return parent.isValid() || !t ? 0 : t->RowCount();
}

int TableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() || !table() ? 0 : visible_.size();
}

QVariant TableModel::data(const QModelIndex& index, int role) const {
  const TGridTable* t = table();
  if (!t || !index.isValid() || index.row() >= t->RowCount()) return {};
  const int c = tableColumn(index.column());
  if (c < 0 || static_cast<std::size_t>(c) >= t->ColumnCount()) return {};
  const auto& col = t->Column(c);
  switch (role) {
    case Qt::DisplayRole: {
      const QString text = QString::fromStdString(col.CellText(index.row()));
      if (col.Class() == ColumnClass::Enum) {
        // The stored item number with the item's caption, so the grid reads on its own.
        const auto& e = static_cast<const TEnumColumn&>(col);
        const QString item = QString::fromStdString(e.ItemText(index.row()));
        return item.isEmpty() ? text : text + QStringLiteral(" - ") + item;
      }
      if (col.Class() == ColumnClass::Table) return text + QStringLiteral("  ...");
      return text;
    }
    case Qt::EditRole:
      return QString::fromStdString(col.CellText(index.row()));
    case Qt::TextAlignmentRole:
      if (col.Class() == ColumnClass::Int || col.Class() == ColumnClass::Float)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
      return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::ForegroundRole:
      if (col.Class() == ColumnClass::Table) return QBrush(QColor(0, 60, 150));
      return {};
    case Qt::ToolTipRole:
      if (col.Class() == ColumnClass::Table)
        return QStringLiteral("Click to edit the parameters of this row");
      return {};
    default:
      return {};
  }
}

QVariant TableModel::headerData(int section, Qt::Orientation o, int role) const {
  const TGridTable* t = table();
  if (!t) return {};
  if (o == Qt::Vertical) {
    if (role == Qt::DisplayRole) return section + 1;
    if (role == Qt::TextAlignmentRole) return QVariant(Qt::AlignCenter);
    return {};
  }
  if (role == Qt::DisplayRole) {
    const int c = tableColumn(section);
    if (c < 0) return {};
    const auto lines = t->HeaderLines();
    QStringList parts;
    for (const std::string& l : lines.at(c)) parts << QString::fromStdString(l).trimmed();
    return parts.join(QLatin1Char('\n'));
  }
  if (role == Qt::TextAlignmentRole) return QVariant(Qt::AlignCenter);
  return {};
}

Qt::ItemFlags TableModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (!isSubTable(index)) f |= Qt::ItemIsEditable;
  return f;
}

bool TableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  lastMessage_.clear();
  TGridTable* t = table();
  if (!t || role != Qt::EditRole || !index.isValid()) return false;
  const int c = tableColumn(index.column());
  const auto refused = t->SetText(c, index.row(), value.toString().toStdString());
  if (refused) {
    lastMessage_ = QString::fromStdString(*refused);
    return false;
  }
  // Grouped rows share the value and a choice may bring another sub-table: show all.
  emit dataChanged(this->index(0, 0), this->index(rowCount() - 1, columnCount() - 1));
  emit stored(c);
  return true;
}
