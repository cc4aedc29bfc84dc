// Table storage and column classes.
#include "app/model/table.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "app/model/evaluator.h"
#include "app/model/real_format.h"
#include "app/model/units.h"

namespace tarnel::model {

namespace {

template <class T>
void InsertN(std::vector<T>& v, std::size_t at, std::size_t n, const T& value) {
  v.insert(v.begin() + static_cast<std::ptrdiff_t>(at), n, value);
}
template <class T>
void EraseN(std::vector<T>& v, std::size_t at, std::size_t n) {
  v.erase(v.begin() + static_cast<std::ptrdiff_t>(at), v.begin() + static_cast<std::ptrdiff_t>(at + n));
}

}  // namespace

// ---------------------------------------------------------------- TColumn
TColumn::TColumn(std::vector<std::string> captionLines)
    : caption_(std::make_shared<const std::vector<std::string>>(std::move(captionLines))) {}
TColumn::~TColumn() = default;

// ---------------------------------------------------------------- TEnumColumn
TEnumColumn::TEnumColumn(std::vector<std::string> captionLines, std::vector<std::string> items)
    : TColumn(std::move(captionLines)), items_(std::make_shared<const std::vector<std::string>>(std::move(items))) {}
std::unique_ptr<TColumn> TEnumColumn::Clone() const { return std::make_unique<TEnumColumn>(*this); }
std::string TEnumColumn::CellText(std::size_t row) const { return std::to_string(values_.at(row)); }
void TEnumColumn::SetValue(std::size_t row, int item) {
  values_.at(row) = item;
  changed_ = true;
}
std::string TEnumColumn::ItemText(std::size_t row) const {
  const int v = values_.at(row);
  return v >= 1 && static_cast<std::size_t>(v) <= items_->size() ? (*items_)[static_cast<std::size_t>(v - 1)] : std::string();
}
void TEnumColumn::InsertRows(std::size_t at, std::size_t n, const TGridTable&) { InsertN(values_, at, n, 1); }
void TEnumColumn::EraseRows(std::size_t at, std::size_t n) { EraseN(values_, at, n); }

// ---------------------------------------------------------------- TIntColumn
TIntColumn::TIntColumn(std::vector<std::string> captionLines, int defaultValue, int minValue, int maxValue)
    : TColumn(std::move(captionLines)), default_(defaultValue), min_(minValue), max_(maxValue) {}
std::unique_ptr<TColumn> TIntColumn::Clone() const { return std::make_unique<TIntColumn>(*this); }
std::string TIntColumn::CellText(std::size_t row) const { return std::to_string(values_.at(row)); }
void TIntColumn::SetValue(std::size_t row, int v) {
  values_.at(row) = v;
  changed_ = true;
}
void TIntColumn::InsertRows(std::size_t at, std::size_t n, const TGridTable&) { InsertN(values_, at, n, default_); }
void TIntColumn::EraseRows(std::size_t at, std::size_t n) { EraseN(values_, at, n); }

// ---------------------------------------------------------------- TFloatColumn
TFloatColumn::TFloatColumn(std::vector<std::string> captionLines, std::string unitTemplate, double defaultValue)
    : TColumn(std::move(captionLines)), template_(std::move(unitTemplate)), default_(defaultValue) {}
std::unique_ptr<TColumn> TFloatColumn::Clone() const { return std::make_unique<TFloatColumn>(*this); }
std::vector<std::string> TFloatColumn::HeaderLines(int units) const {
  std::vector<std::string> lines = *caption_;
  if (lines.empty()) lines.emplace_back();
  lines.back() = CaptionWithUnits(lines.back(), template_, units);
  return lines;
}
std::string TFloatColumn::CellText(std::size_t row) const { return FormatReal(values_.at(row), 8); }
void TFloatColumn::SetValue(std::size_t row, double v) {
  values_.at(row) = v;
  changed_ = true;
}
void TFloatColumn::InsertRows(std::size_t at, std::size_t n, const TGridTable&) { InsertN(values_, at, n, default_); }
void TFloatColumn::EraseRows(std::size_t at, std::size_t n) { EraseN(values_, at, n); }
void TFloatColumn::ConvertUnits(int fromUnits, int toUnits) {
  const double k = ColumnConversion(template_, fromUnits, toUnits);
  if (k == 1.0) return;
  for (double& v : values_) v *= k;
}
bool TFloatColumn::AllFinite() const {
  return std::all_of(values_.begin(), values_.end(), [](double v) { return std::isfinite(v); });
}

// ---------------------------------------------------------------- TStringColumn
TStringColumn::TStringColumn(std::vector<std::string> captionLines, std::string defaultText)
    : TColumn(std::move(captionLines)), default_(std::move(defaultText)) {}
std::unique_ptr<TColumn> TStringColumn::Clone() const { return std::make_unique<TStringColumn>(*this); }
void TStringColumn::SetValue(std::size_t row, std::string v) {
  values_.at(row) = std::move(v);
  changed_ = true;
}
void TStringColumn::InsertRows(std::size_t at, std::size_t n, const TGridTable&) { InsertN(values_, at, n, default_); }
void TStringColumn::EraseRows(std::size_t at, std::size_t n) { EraseN(values_, at, n); }

// ---------------------------------------------------------------- TTableColumn
TTableColumn::TTableColumn(std::vector<std::string> captionLines,
                           std::vector<std::shared_ptr<const TGridTable>> templates)
    : TColumn(std::move(captionLines)), templates_(std::move(templates)) {}
TTableColumn::TTableColumn(const TTableColumn& other)
    : TColumn(other), templates_(other.templates_) {
  tables_.reserve(other.tables_.size());
  for (const auto& t : other.tables_) tables_.push_back(std::make_unique<TGridTable>(*t));
}
TTableColumn::~TTableColumn() = default;
std::unique_ptr<TColumn> TTableColumn::Clone() const { return std::make_unique<TTableColumn>(*this); }

std::string TTableColumn::CellText(std::size_t row) const {
  return std::to_string(row + 1) + ": " + tables_.at(row)->Caption;
}

bool TTableColumn::IsChanged() const {
  if (changed_) return true;
  for (const auto& t : tables_)
    if (t->Changed()) return true;
  return false;
}
void TTableColumn::ClearChanged() {
  changed_ = false;
  for (auto& t : tables_) t->ClearChanged();
}

std::unique_ptr<TGridTable> TTableColumn::Make(int item, int units, std::size_t row) const {
  std::size_t k = 0;
  if (templates_.size() > 1 && item >= 1 && static_cast<std::size_t>(item) <= templates_.size())
    k = static_cast<std::size_t>(item - 1);
  auto t = std::make_unique<TGridTable>(*templates_.at(k));
  t->SetRowCount(t->MinRows());
  t->SetUnits(units);
  t->SetOwnerRow(static_cast<int>(row) + 1);
  t->ClearChanged();
  return t;
}

void TTableColumn::SelectTemplate(std::size_t row, int item, int units) {
  if (templates_.size() <= 1) return;
  if (item < 1 || static_cast<std::size_t>(item) > templates_.size()) return;
  const int wanted = templates_[static_cast<std::size_t>(item - 1)]->Identifier();
  if (tables_.at(row)->Identifier() == wanted) return;
  tables_[row] = Make(item, units, row);
  changed_ = true;
}

void TTableColumn::InsertRows(std::size_t at, std::size_t n, const TGridTable& owner) {
  for (std::size_t k = 0; k < n; ++k) {
    // A new row's choice is item 1, so it starts with the first template.
    tables_.insert(tables_.begin() + static_cast<std::ptrdiff_t>(at + k), Make(1, owner.Units(), at + k));
  }
  Renumber();
}
void TTableColumn::EraseRows(std::size_t at, std::size_t n) {
  EraseN(tables_, at, n);
  Renumber();
}
void TTableColumn::ConvertUnits(int, int toUnits) {
  for (auto& t : tables_) t->SetUnits(toUnits);
}
bool TTableColumn::AllFinite() const {
  return std::all_of(tables_.begin(), tables_.end(), [](const auto& t) { return t->AllFinite(); });
}
void TTableColumn::Renumber() {
  for (std::size_t r = 0; r < tables_.size(); ++r) tables_[r]->SetOwnerRow(static_cast<int>(r) + 1);
}

// ---------------------------------------------------------------- TGridTable
TGridTable::TGridTable(int identifier, std::string componentName, std::string caption, int minRows, int maxRows)
    : Caption(std::move(caption)), identifier_(identifier), name_(std::move(componentName)),
      minRows_(minRows < 1 ? 1 : minRows), maxRows_(maxRows < 0 ? 0 : maxRows) {}

TGridTable::ColumnList::ColumnList(const ColumnList& other) : std::vector<std::unique_ptr<TColumn>>() {
  for (const auto& c : other) push_back(c->Clone());
}

TGridTable::ColumnList& TGridTable::ColumnList::operator=(const ColumnList& other) {
  if (this != &other) *this = ColumnList(other);
  return *this;
}

TGridTable::TGridTable(const TGridTable& other) = default;
TGridTable& TGridTable::operator=(const TGridTable& other) = default;
TGridTable::~TGridTable() = default;

std::optional<std::string> TGridTable::SetMinRows(int n) {
  if (n <= 0) return std::string("Value must be greater than 0");
  minRows_ = n;
  return std::nullopt;
}

void TGridTable::AddColumn(std::unique_ptr<TColumn> column) {
  column->InsertRows(0, static_cast<std::size_t>(rowCount_), *this);
  columns_.push_back(std::move(column));
}

std::vector<std::vector<std::string>> TGridTable::HeaderLines() const {
  std::vector<std::vector<std::string>> out;
  std::size_t maxLines = 0;
  for (const auto& c : columns_) {
    out.push_back(c->HeaderLines(units_));
    maxLines = std::max(maxLines, out.back().size());
  }
  // Shorter captions sit at the bottom of the header, next to the data.
  for (auto& lines : out)
    while (lines.size() < maxLines) lines.insert(lines.begin(), std::string());
  return out;
}

bool TGridTable::HasVisibleColumn() const {
  for (const auto& c : columns_)
    if (c->Visible) return true;
  return false;
}

std::string TGridTable::EditorTitle() const {
  return ownerRow_ > 0 ? Caption + " " + std::to_string(ownerRow_) : Caption;
}

void TGridTable::SetRowCount(int n) {
  if (n < 0) n = 0;
  if (n == rowCount_) return;
  if (n > rowCount_) {
    for (auto& c : columns_) c->InsertRows(static_cast<std::size_t>(rowCount_), static_cast<std::size_t>(n - rowCount_), *this);
  } else {
    for (auto& c : columns_) c->EraseRows(static_cast<std::size_t>(n), static_cast<std::size_t>(rowCount_ - n));
  }
  rowCount_ = n;
  changed_ = true;
}

void TGridTable::PadToMinRows() {
  if (rowCount_ < minRows_) SetRowCount(minRows_);
}

void TGridTable::AddRowGroup() { SetRowCount(rowCount_ + rowGroup_); }

void TGridTable::InsertRowGroup(int row) {
  // An empty table takes the group at row 0; otherwise the row must lie inside the table.
  if (row < 0 || (row >= rowCount_ && !(row == 0 && rowCount_ == 0)))
    throw std::out_of_range("Grid.Row not in valid range");
  const int at = (row / rowGroup_) * rowGroup_;
  for (auto& c : columns_) c->InsertRows(static_cast<std::size_t>(at), static_cast<std::size_t>(rowGroup_), *this);
  rowCount_ += rowGroup_;
  changed_ = true;
}

void TGridTable::DeleteRowGroup(int row) {
  if (row < 0 || row >= rowCount_) throw std::out_of_range("Grid.Row not in valid range");
  const int at = (row / rowGroup_) * rowGroup_;
  const int n = std::min(rowGroup_, rowCount_ - at);
  for (auto& c : columns_) c->EraseRows(static_cast<std::size_t>(at), static_cast<std::size_t>(n));
  rowCount_ -= n;
  changed_ = true;
}

void TGridTable::CheckCell(int col, int row) const {
  if (col < 0 || static_cast<std::size_t>(col) >= columns_.size() || row < 0 || row >= rowCount_)
    throw std::out_of_range("cell (" + std::to_string(col) + ", " + std::to_string(row) + ") outside table " + name_);
}

double TGridTable::Real(int col, int row) const {
  CheckCell(col, row);
  const TColumn& c = *columns_[static_cast<std::size_t>(col)];
  switch (c.Class()) {
    case ColumnClass::Float: return static_cast<const TFloatColumn&>(c).Value(static_cast<std::size_t>(row));
    case ColumnClass::Int: return static_cast<const TIntColumn&>(c).Value(static_cast<std::size_t>(row));
    case ColumnClass::Enum: return static_cast<const TEnumColumn&>(c).Value(static_cast<std::size_t>(row));
    default: throw std::logic_error("column " + std::to_string(col) + " of " + name_ + " holds no number");
  }
}

int TGridTable::Integer(int col, int row) const {
  CheckCell(col, row);
  const TColumn& c = *columns_[static_cast<std::size_t>(col)];
  switch (c.Class()) {
    case ColumnClass::Int: return static_cast<const TIntColumn&>(c).Value(static_cast<std::size_t>(row));
    case ColumnClass::Enum: return static_cast<const TEnumColumn&>(c).Value(static_cast<std::size_t>(row));
    case ColumnClass::Float: {
      const double v = static_cast<const TFloatColumn&>(c).Value(static_cast<std::size_t>(row));
      return static_cast<int>(std::lround(std::clamp(v, -2147483648.0, 2147483647.0)));
    }
    default: throw std::logic_error("column " + std::to_string(col) + " of " + name_ + " holds no integer");
  }
}

std::string TGridTable::Text(int col, int row) const {
  CheckCell(col, row);
  return columns_[static_cast<std::size_t>(col)]->CellText(static_cast<std::size_t>(row));
}

TGridTable& TGridTable::SubTable(int col, int row) {
  CheckCell(col, row);
  TColumn& c = *columns_[static_cast<std::size_t>(col)];
  if (c.Class() != ColumnClass::Table) throw std::logic_error("column " + std::to_string(col) + " of " + name_ + " holds no sub-table");
  return static_cast<TTableColumn&>(c).Table(static_cast<std::size_t>(row));
}

const TGridTable& TGridTable::SubTable(int col, int row) const {
  return const_cast<TGridTable*>(this)->SubTable(col, row);
}

void TGridTable::SetReal(int col, int row, double v) {
  CheckCell(col, row);
  TColumn& c = *columns_[static_cast<std::size_t>(col)];
  if (c.Class() == ColumnClass::Float) {
    auto& fc = static_cast<TFloatColumn&>(c);
    if (c.Group) {
      const int first = (row / rowGroup_) * rowGroup_;
      for (int r = first; r < std::min(first + rowGroup_, rowCount_); ++r) fc.SetValue(static_cast<std::size_t>(r), v);
    } else {
      fc.SetValue(static_cast<std::size_t>(row), v);
    }
    return;
  }
  SetInteger(col, row, static_cast<int>(std::lround(std::clamp(v, -2147483648.0, 2147483647.0))));
}

void TGridTable::SetInteger(int col, int row, int v) {
  CheckCell(col, row);
  TColumn& c = *columns_[static_cast<std::size_t>(col)];
  const int first = c.Group ? (row / rowGroup_) * rowGroup_ : row;
  const int last = c.Group ? std::min(first + rowGroup_, rowCount_) : row + 1;
  for (int r = first; r < last; ++r) {
    const auto ur = static_cast<std::size_t>(r);
    switch (c.Class()) {
      case ColumnClass::Int: static_cast<TIntColumn&>(c).SetValue(ur, v); break;
      case ColumnClass::Enum:
        static_cast<TEnumColumn&>(c).SetValue(ur, v);
        if (col == 0) {
          for (auto& other : columns_)
            if (other->Class() == ColumnClass::Table) static_cast<TTableColumn&>(*other).SelectTemplate(ur, v, units_);
        }
        break;
      case ColumnClass::Float: static_cast<TFloatColumn&>(c).SetValue(ur, v); break;
      default: throw std::logic_error("column " + std::to_string(col) + " of " + name_ + " holds no integer");
    }
  }
}

std::optional<std::string> TGridTable::SetText(int col, int row, const std::string& text) {
  CheckCell(col, row);
  TColumn& c = *columns_[static_cast<std::size_t>(col)];
  if (c.Class() == ColumnClass::Table) return std::nullopt;  // opens the sub-table instead
  if (c.Class() == ColumnClass::String) {
    static_cast<TStringColumn&>(c).SetValue(static_cast<std::size_t>(row), text);
    return std::nullopt;
  }
  bool blank = true;
  for (char ch : text)
    if (ch != ' ' && ch != '\t') blank = false;
  if (blank) return std::string("Entry cannot be blank.");
  std::string message;
  const auto v = TryEvaluate(text, &message);
  if (!v) return c.Class() == ColumnClass::Enum ? std::string("Value must be an integer.") : message;
  // A cell is saved in the data file's units (a depth in feet x 12, a unit weight x 1728) and
  // may be switched to the other units: a value that would leave the range of a double there
  // would be saved as 0, so it overflows here already.
  constexpr long double kLargestCell = 1e300L;
  if (!std::isfinite(static_cast<double>(*v)) || std::fabs(*v) > kLargestCell)
    return std::string("Entry could not be evaluated:\nfloating point overflow");
  switch (c.Class()) {
    case ColumnClass::Float: SetReal(col, row, static_cast<double>(*v)); return std::nullopt;
    case ColumnClass::Int: {
      const auto& ic = static_cast<const TIntColumn&>(c);
      const long double r = std::round(*v);
      if (std::fabs(*v - r) > 1e-10L) return std::string("Entry must be an integer.");
      if (r < ic.Min() || r > ic.Max())
        return "Entry must be between " + std::to_string(ic.Min()) + " and " + std::to_string(ic.Max()) + ".";
      SetInteger(col, row, static_cast<int>(r));
      return std::nullopt;
    }
    case ColumnClass::Enum: {
      const auto& ec = static_cast<const TEnumColumn&>(c);
      if (*v != std::trunc(*v)) return std::string("Value must be an integer.");
      const int n = static_cast<int>(ec.Items().size());
      if (*v < 1 || *v > n) return "Entry must be between 1 and " + std::to_string(n) + ".";
      SetInteger(col, row, static_cast<int>(*v));
      return std::nullopt;
    }
    default: return std::nullopt;
  }
}

void TGridTable::SetUnits(int units) {
  units = ClampUnitSystem(units);
  if (units == units_) return;
  for (auto& c : columns_) c->ConvertUnits(units_, units);
  units_ = units;
}

bool TGridTable::AllFinite() const {
  return std::all_of(columns_.begin(), columns_.end(), [](const auto& c) { return c->AllFinite(); });
}

bool TGridTable::Changed() const {
  if (changed_) return true;
  for (const auto& c : columns_)
    if (c->IsChanged()) return true;
  return false;
}

void TGridTable::ClearChanged() {
  changed_ = false;
  for (auto& c : columns_) c->ClearChanged();
}

bool TGridTable::SameData(const TGridTable& other, double relTol) const {
  if (columns_.size() != other.columns_.size() || rowCount_ != other.rowCount_) return false;
  for (std::size_t ci = 0; ci < columns_.size(); ++ci) {
    const TColumn& a = *columns_[ci];
    const TColumn& b = *other.columns_[ci];
    if (a.Class() != b.Class()) return false;
    for (int r = 0; r < rowCount_; ++r) {
      const auto ur = static_cast<std::size_t>(r);
      switch (a.Class()) {
        case ColumnClass::Float:
          if (!SameReal(static_cast<const TFloatColumn&>(a).Value(ur), static_cast<const TFloatColumn&>(b).Value(ur), relTol))
            return false;
          break;
        case ColumnClass::Table:
          if (!static_cast<const TTableColumn&>(a).Table(ur).SameData(static_cast<const TTableColumn&>(b).Table(ur), relTol))
            return false;
          break;
        default:
          if (a.CellText(ur) != b.CellText(ur)) return false;
      }
    }
  }
  return true;
}

// ---------------------------------------------------------------- curve text
std::vector<std::vector<double>> ParseCurveText(const std::string& text, int columns, int maxRows) {
  std::vector<std::vector<double>> rows;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(pos, end - pos);
    pos = end + 1;
    std::vector<double> numbers;
    std::size_t i = 0;
    while (i < line.size() && numbers.size() < 15) {
      while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == ',' || line[i] == '\r')) ++i;
      const std::size_t start = i;
      while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != ',' && line[i] != '\r') ++i;
      if (i == start) break;
      const auto v = ParseReal(std::string_view(line).substr(start, i - start));
      if (!v || !std::isfinite(static_cast<double>(*v))) break;
      numbers.push_back(static_cast<double>(*v));
    }
    if (static_cast<int>(numbers.size()) == columns) {
      if (maxRows > 0 && static_cast<int>(rows.size()) >= maxRows) break;
      rows.push_back(std::move(numbers));
    }
    if (end == text.size()) break;
  }
  return rows;
}

void FillFromCurveText(TGridTable& t, const std::string& text) {
  const int columns = static_cast<int>(t.ColumnCount());
  const auto rows = ParseCurveText(text, columns, t.MaxRows());
  t.SetRowCount(static_cast<int>(rows.size()));
  for (int r = 0; r < static_cast<int>(rows.size()); ++r)
    for (int c = 0; c < columns; ++c) {
      const double v = rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
      if (t.Column(c).Class() == ColumnClass::Float)
        t.SetReal(c, r, v);
      else if (t.Column(c).Class() == ColumnClass::Int || t.Column(c).Class() == ColumnClass::Enum)
        t.SetInteger(c, r, static_cast<int>(std::clamp(std::round(v), double(INT_MIN), double(INT_MAX))));
    }
  t.MarkChanged();
}

}  // namespace tarnel::model
