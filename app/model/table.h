// Table storage: TGridTable, a list of typed columns holding one value per row.
//
// Column classes: TEnumColumn (1-based item number of a list of choices), TIntColumn,
// TFloatColumn (a real with a unit template), TTableColumn (a whole sub-table per row, e.g.
// the soil parameters of a layer or the points of a curve), TStringColumn. Tables know their
// unit system and convert real columns when it changes; they keep change flags for the
// project's modified state. Cells are addressed (column, row), both 0-based. Editors show
// what a table describes (captions, unit labels, choices, help text) and store typed text
// through SetText, which returns the message to show when the entry is refused.
#pragma once

#include <climits>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tarnel::model {

class TGridTable;

enum class ColumnClass : int { Enum = 0, Int = 1, Float = 2, Table = 3, String = 4 };

class TColumn {
 public:
  explicit TColumn(std::vector<std::string> captionLines);
  virtual ~TColumn();

  virtual ColumnClass Class() const = 0;
  virtual std::unique_ptr<TColumn> Clone() const = 0;

  // Caption lines as defined (without unit label).
  const std::vector<std::string>& CaptionLines() const { return *caption_; }
  // Caption lines for the grid header: the unit label of a real column appended to the
  // last line, as caption + " (" + label + ")  ".
  virtual std::vector<std::string> HeaderLines(int units) const { (void)units; return *caption_; }

  bool Visible = true;
  bool Group = false;  // setting a value sets it for every row of the row's group

  virtual bool IsChanged() const { return changed_; }
  virtual void ClearChanged() { changed_ = false; }
  void MarkChanged() { changed_ = true; }

  virtual std::size_t RowCount() const = 0;
  virtual std::string CellText(std::size_t row) const = 0;
  // Every number in the column (and its sub-tables) is finite.
  virtual bool AllFinite() const { return true; }

 protected:
  friend class TGridTable;
  virtual void InsertRows(std::size_t at, std::size_t n, const TGridTable& owner) = 0;
  virtual void EraseRows(std::size_t at, std::size_t n) = 0;
  virtual void ConvertUnits(int fromUnits, int toUnits) { (void)fromUnits; (void)toUnits; }

  // Captions and choices never change after creation; copies of a table (every new project,
  // every sub-table made from its template) share them instead of copying every string.
  std::shared_ptr<const std::vector<std::string>> caption_;
  bool changed_ = false;
};

class TEnumColumn : public TColumn {
 public:
  TEnumColumn(std::vector<std::string> captionLines, std::vector<std::string> items);
  ColumnClass Class() const override { return ColumnClass::Enum; }
  std::unique_ptr<TColumn> Clone() const override;
  std::size_t RowCount() const override { return values_.size(); }
  std::string CellText(std::size_t row) const override;

  const std::vector<std::string>& Items() const { return *items_; }
  int Value(std::size_t row) const { return values_.at(row); }
  void SetValue(std::size_t row, int item);  // stored as given (the editor keeps 1..items)
  // Caption of the item a row holds ("" when out of range).
  std::string ItemText(std::size_t row) const;

 protected:
  void InsertRows(std::size_t at, std::size_t n, const TGridTable& owner) override;
  void EraseRows(std::size_t at, std::size_t n) override;

 private:
  std::shared_ptr<const std::vector<std::string>> items_;
  std::vector<int> values_;
};

class TIntColumn : public TColumn {
 public:
  TIntColumn(std::vector<std::string> captionLines, int defaultValue, int minValue = INT_MIN,
             int maxValue = INT_MAX);
  ColumnClass Class() const override { return ColumnClass::Int; }
  std::unique_ptr<TColumn> Clone() const override;
  std::size_t RowCount() const override { return values_.size(); }
  std::string CellText(std::size_t row) const override;

  int Default() const { return default_; }
  int Min() const { return min_; }
  int Max() const { return max_; }
  int Value(std::size_t row) const { return values_.at(row); }
  void SetValue(std::size_t row, int v);

 protected:
  void InsertRows(std::size_t at, std::size_t n, const TGridTable& owner) override;
  void EraseRows(std::size_t at, std::size_t n) override;

 private:
  int default_, min_, max_;
  std::vector<int> values_;
};

class TFloatColumn : public TColumn {
 public:
  TFloatColumn(std::vector<std::string> captionLines, std::string unitTemplate,
               double defaultValue = 0.0);
  ColumnClass Class() const override { return ColumnClass::Float; }
  std::unique_ptr<TColumn> Clone() const override;
  std::vector<std::string> HeaderLines(int units) const override;
  std::size_t RowCount() const override { return values_.size(); }
  std::string CellText(std::size_t row) const override;  // 8 significant digits

  const std::string& UnitTemplate() const { return template_; }
  double Default() const { return default_; }
  double Value(std::size_t row) const { return values_.at(row); }
  void SetValue(std::size_t row, double v);
  bool AllFinite() const override;

 protected:
  void InsertRows(std::size_t at, std::size_t n, const TGridTable& owner) override;
  void EraseRows(std::size_t at, std::size_t n) override;
  void ConvertUnits(int fromUnits, int toUnits) override;

 private:
  std::string template_;
  double default_;
  std::vector<double> values_;
};

class TStringColumn : public TColumn {
 public:
  TStringColumn(std::vector<std::string> captionLines, std::string defaultText);
  ColumnClass Class() const override { return ColumnClass::String; }
  std::unique_ptr<TColumn> Clone() const override;
  std::size_t RowCount() const override { return values_.size(); }
  std::string CellText(std::size_t row) const override { return values_.at(row); }
  void SetValue(std::size_t row, std::string v);

 protected:
  void InsertRows(std::size_t at, std::size_t n, const TGridTable& owner) override;
  void EraseRows(std::size_t at, std::size_t n) override;

 private:
  std::string default_;
  std::vector<std::string> values_;
};

// A sub-table per row, created from a template table. With several templates the table's
// first column (a choice) selects the template of each row: item k uses templates[k-1].
class TTableColumn : public TColumn {
 public:
  TTableColumn(std::vector<std::string> captionLines,
               std::vector<std::shared_ptr<const TGridTable>> templates);
  TTableColumn(const TTableColumn& other);
  ~TTableColumn() override;
  ColumnClass Class() const override { return ColumnClass::Table; }
  std::unique_ptr<TColumn> Clone() const override;
  std::size_t RowCount() const override { return tables_.size(); }
  std::string CellText(std::size_t row) const override;  // "3: Clay"

  bool IsChanged() const override;
  void ClearChanged() override;

  TGridTable& Table(std::size_t row) { return *tables_.at(row); }
  const TGridTable& Table(std::size_t row) const { return *tables_.at(row); }
  bool AllFinite() const override;
  // Re-selects the sub-table of a row for a choice item; keeps it when the template is the
  // same, else replaces it by a fresh copy of the item's template.
  void SelectTemplate(std::size_t row, int item, int units);

 protected:
  void InsertRows(std::size_t at, std::size_t n, const TGridTable& owner) override;
  void EraseRows(std::size_t at, std::size_t n) override;
  void ConvertUnits(int fromUnits, int toUnits) override;

 private:
  std::unique_ptr<TGridTable> Make(int item, int units, std::size_t row) const;
  void Renumber();
  std::vector<std::shared_ptr<const TGridTable>> templates_;
  std::vector<std::unique_ptr<TGridTable>> tables_;
};

// Settings of a table whose editor also draws it as a curve.
struct ChartSettings {
  bool getDataFromFile = false;
  bool okCancelButtons = false;
  bool invertedXAxis = false;
  bool invertedYAxis = false;
  int xColumn = 0;  // 0-based columns drawn as x and y
  int yColumn = 1;
};

class TData;

class TGridTable {
 public:
  TGridTable(int identifier, std::string componentName, std::string caption, int minRows,
             int maxRows);
  TGridTable(const TGridTable& other);
  TGridTable& operator=(const TGridTable& other);
  ~TGridTable();

  // Definition
  int Identifier() const { return identifier_; }
  const std::string& Name() const { return name_; }  // component name, e.g. "PileSect"
  std::string Caption;
  std::string Comments;     // help text shown under the grid ("\n" line breaks)
  std::string HelpPicture;  // name of the help picture, empty when none
  int MinRows() const { return minRows_; }
  int MaxRows() const { return maxRows_; }  // 0 = no limit
  // A minimum of 0 or less is refused with "Value must be greater than 0"; a negative
  // maximum means no limit.
  std::optional<std::string> SetMinRows(int n);
  void SetMaxRows(int n) { maxRows_ = n < 0 ? 0 : n; }
  int RowGroup() const { return rowGroup_; }
  void SetRowGroup(int n) { rowGroup_ = n < 1 ? 1 : n; }
  bool ChartPaired() const { return chart_.has_value(); }
  const std::optional<ChartSettings>& Chart() const { return chart_; }
  void SetChart(const ChartSettings& c) { chart_ = c; }

  void AddColumn(std::unique_ptr<TColumn> column);
  std::size_t ColumnCount() const { return columns_.size(); }
  TColumn& Column(std::size_t i) { return *columns_.at(i); }
  const TColumn& Column(std::size_t i) const { return *columns_.at(i); }
  // Header lines of every column padded to the same number of lines.
  std::vector<std::vector<std::string>> HeaderLines() const;
  bool HasVisibleColumn() const;

  // Row of the owner table this sub-table belongs to (1-based; 0 for a top-level table) and
  // the editor title: caption, or caption + " " + owner row ("Clay 2").
  int OwnerRow() const { return ownerRow_; }
  void SetOwnerRow(int row) { ownerRow_ = row; }
  std::string EditorTitle() const;

  // Rows. Counts set from code are not limited by MaxRows; negative means 0.
  int RowCount() const { return rowCount_; }
  void SetRowCount(int n);
  void PadToMinRows();  // adds default rows up to MinRows
  void Clear() { SetRowCount(0); }
  void AddRowGroup();
  // Before / of the group of `row`; a row outside the table throws std::out_of_range with
  // the message "Grid.Row not in valid range".
  void InsertRowGroup(int row);
  void DeleteRowGroup(int row);
  // What the editor's row buttons may do.
  bool ShowsRowButtons() const { return minRows_ != maxRows_; }
  bool CanAddRow() const { return maxRows_ == 0 || rowCount_ != maxRows_; }
  bool CanDeleteRow() const { return rowCount_ > minRows_; }

  // Typed cell access (throws std::out_of_range for a bad column/row, std::logic_error for a
  // column of another class).
  double Real(int col, int row) const;
  int Integer(int col, int row) const;  // choice and integer columns
  std::string Text(int col, int row) const;
  TGridTable& SubTable(int col, int row);
  const TGridTable& SubTable(int col, int row) const;
  void SetReal(int col, int row, double v);
  void SetInteger(int col, int row, int v);  // a choice in column 0 re-selects sub-tables
  TData Cell(int col, int row);

  // Stores typed text the way the editor does; returns the message to show when refused
  // ("Entry cannot be blank.", "Entry must be an integer.", "Entry must be between %d and
  // %d.", "Value must be an integer." or the evaluator's message). Nothing changes then.
  std::optional<std::string> SetText(int col, int row, const std::string& text);

  // Units 1..3; real columns (and sub-tables) are converted from the current system.
  int Units() const { return units_; }
  void SetUnits(int units);

  // Change marks: the table's own flag or any column's flag (sub-tables included).
  bool Changed() const;
  // Every number in the table and its sub-tables is finite.
  bool AllFinite() const;
  void ClearChanged();
  void MarkChanged() { changed_ = true; }

  // Same columns, same row count, same values (sub-tables compared recursively). Reals are
  // compared with a relative tolerance (0 = exact).
  bool SameData(const TGridTable& other, double relTol = 0.0) const;

 private:
  friend class TTableColumn;
  void CheckCell(int col, int row) const;
  int identifier_;
  std::string name_;
  int minRows_, maxRows_;
  int rowGroup_ = 1;
  int rowCount_ = 0;
  int units_ = 1;
  int ownerRow_ = 0;
  bool changed_ = false;
  std::optional<ChartSettings> chart_;
  // Copying the table clones every column, so the compiler-made copy of TGridTable is
  // complete whatever fields it gains.
  struct ColumnList : std::vector<std::unique_ptr<TColumn>> {
    ColumnList() = default;
    ColumnList(const ColumnList& other);
    ColumnList& operator=(const ColumnList& other);
    ColumnList(ColumnList&&) noexcept = default;
    ColumnList& operator=(ColumnList&&) noexcept = default;
  };
  ColumnList columns_;
};

// Cell handle with typed access.
class TData {
 public:
  TData(TGridTable& table, int col, int row) : table_(&table), col_(col), row_(row) {}
  double AsReal() const { return table_->Real(col_, row_); }
  int AsInteger() const { return table_->Integer(col_, row_); }
  std::string AsText() const { return table_->Text(col_, row_); }
  TGridTable& SubTable() const { return table_->SubTable(col_, row_); }
  void SetReal(double v) const { table_->SetReal(col_, row_, v); }
  void SetInteger(int v) const { table_->SetInteger(col_, row_, v); }

 private:
  TGridTable* table_;
  int col_, row_;
};

inline TData TGridTable::Cell(int col, int row) { return TData(*this, col, row); }

// Numbers of a curve read from a text file or the clipboard: per line up to 15 numbers
// separated by blanks, TABs or commas, stopping at the first word that is not a number; a
// line holding exactly `columns` numbers becomes a row; at most `maxRows` rows (0 = no limit).
std::vector<std::vector<double>> ParseCurveText(const std::string& text, int columns, int maxRows);

// Replaces the rows of a curve table by the rows ParseCurveText reads from `text` (as many
// numbers per line as the table has columns, at most its MaxRows); integer and choice
// columns take the nearest integer, clamped to the int range. Marks the table changed.
void FillFromCurveText(TGridTable& table, const std::string& text);

}  // namespace tarnel::model
