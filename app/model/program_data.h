// TProgramData: the project the interactive program edits.
//
// It holds the scalar input (title, unit system, wall and earth-pressure values, kept in the
// units of the data file), the option switches that decide which tables take part in an
// analysis, the construction-stage state, the file name and the project tables. It creates a
// new project, reads a data file of any layout (codes 1..5) into itself and writes the
// project as a data file or a stage file in the current layout. Writes go to a temporary file
// in the same folder that replaces the old file only when complete, so a failed save never
// destroys the saved project.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/model/table.h"

namespace tarnel::model {

// Outcome of a file operation; `message` is the text to show the user when !ok.
struct FileResult {
  bool ok = true;
  std::string message;
  explicit operator bool() const { return ok; }
  static FileResult Fail(std::string m) { return {false, std::move(m)}; }
};

// Layout codes of the open dialog's file types.
enum LayoutCode : int {
  kLayoutTn5d = 1,     // "Tarnel 2015 (*.tn5d)"
  kLayoutTn4d = 2,     // "Tarnel 2013 (*.tn4d)"
  kLayoutTnd30 = 3,    // "Tarnel 3.0 (*.tnd)"
  kLayoutTnd20 = 4,    // "Tarnel 2.0 (*.tnd)"
  kLayoutAllFiles = 5  // "All Files (*.*)", read as the oldest layout
};
// 2 for ".tn4d", 3 for ".tnd", 1 otherwise (a file opened without the dialog).
int LayoutCodeFromExtension(std::string_view path);

// File types of the open dialog, in the order of the layout codes 1..5.
const std::vector<std::string>& OpenDialogFileTypes();

inline constexpr const char* kNewProjectFileName = "NewWall.tn5d";
inline constexpr const char* kNewProjectTitle = "New Wall";
inline constexpr const char* kStageHeading = " Stage No : ";

// The title as one record of a data file. A line break in it (pasted text, or a lone CR
// that a file's line ends left inside the line) would shift every later record, so it
// becomes a blank, on writing and on reading alike: what is read is what will be written.
std::string TitleRecord(std::string title);

class TProgramData {
 public:
  TProgramData();  // a new project

  // ---- scalars (engine units: for English lengths in inches, pressures in lb/in^2)
  std::string FileName = kNewProjectFileName;
  std::string Title = kNewProjectTitle;
  int Units = 1;  // change it only through SetUnits
  int Increments = 0;
  double IncrementLength = 0;
  double MaxDeflection = 100;
  double Tolerance = 0.00001;
  double FreeHeight = 0;
  double WidthActive = 0;
  double WidthPY = 0;
  double WaterDepthBack = 0;
  double WaterDepthExc = 0;
  double ActiveFactor = 1.0;
  int PressureSwitch = 1;
  double BackfillSlope = 0;
  double UniformSurcharge = 0;
  // Distance X, point-load, line-load and strip-load magnitudes, strip width.
  std::array<double, 5> LegacySurcharge{};
  int EarthPressureChoice = 2;  // 1 user, 2 triangular, 3 trapezoidal
  int StageCount = 1;
  int CurrentStage = 1;
  std::string StageFileName;      // stage file of the current stage (set by the caller)
  std::string PreviousFileName;   // old data-file name while a staged project is renamed

  // ---- option switches
  bool ApplyRestraints = false;  // SoilLayer
  bool ApplyConcLoads = false;   // BoundCond
  bool ApplySprings = false;     // SoilStrength
  bool ApplyTiebacks = false;    // TiebackTable1
  bool ApplyPYMod = false;       // PYMod
  bool ApplyExtPY = false;       // PYCurves2
  bool ApplyMEI = false;         // MEICurves2
  bool ApplySurcharge = false;   // SurchargeTable
  bool GeneratePY = true;        // NewSoil, LongSoil
  bool LongTerm = false;         // LongDist, LongSoil

  // ---- tables by component name ("PileSect", ..., "MEICurves2"); throws
  // std::out_of_range for an unknown name. Grid tables are padded to their minimum rows;
  // the chart-paired PYCurves2 and MEICurves2 start empty.
  TGridTable& Table(std::string_view componentName);
  const TGridTable& Table(std::string_view componentName) const;
  std::vector<TGridTable*> Tables();
  TGridTable& PileSect() { return Table("PileSect"); }
  TGridTable& SoilLayer() { return Table("SoilLayer"); }
  TGridTable& BoundCond() { return Table("BoundCond"); }
  TGridTable& SoilStrength() { return Table("SoilStrength"); }
  TGridTable& TiebackTable1() { return Table("TiebackTable1"); }
  TGridTable& PYMod() { return Table("PYMod"); }
  TGridTable& DistLoad() { return Table("DistLoad"); }
  TGridTable& LongDist() { return Table("LongDist"); }
  TGridTable& SurchargeTable() { return Table("SurchargeTable"); }
  TGridTable& NewSoil() { return Table("NewSoil"); }
  TGridTable& LongSoil() { return Table("LongSoil"); }
  TGridTable& PYCurves2() { return Table("PYCurves2"); }
  TGridTable& MEICurves2() { return Table("MEICurves2"); }

  // ---- lifecycle
  // Resets everything to a new project (English, defaults, minimum rows, flag cleared).
  void CreateNew();
  // Starts like a new project, sets FileName and reads the file in the given layout. On a
  // reading error the values read so far stay, the tables are padded and the message
  // ("Error on Line n Item m\n...") is returned; the project is usable either way.
  FileResult CreateFromFile(const std::string& path, int layoutCode);
  // What the last CreateFromFile read but the project cannot keep, as the message shown on
  // open; empty when the project holds the whole file.
  std::string DroppedData;
  // Reads one stage file (current layout unless told otherwise) into the tables, switches
  // and scalars. A missing file is not an error and leaves everything as it is.
  FileResult ReadStage(const std::string& path, int layoutCode = kLayoutTn5d);

  // Writes FileName as one problem block, or two with LongTerm (call with StageCount = 1).
  // Tables whose option is off are emptied first. Clears the modified flag on success.
  FileResult WriteProject();
  FileResult WriteProject(const std::string& path);
  // Writes the problem block of CurrentStage to a stage file (title rule of stages, C8 =
  // StageCount, terminator = CurrentStage). Clears the modified flag on success.
  FileResult WriteStage(const std::string& path);
  // The text WriteProject would write (CR LF line ends). Also empties switched-off tables.
  std::string ProjectText();
  std::string StageText();

  // Converts scalars and tables to another unit system (1..3, clamped) and calls
  // UnitsChanged so open dialogs refresh.
  void SetUnits(int units);
  std::function<void(int units)> UnitsChanged;
  // False when some value, converted to `units`, would leave the range of a double (a value
  // read from a file near that limit). Such a value would be saved as 0, so the program
  // keeps the units instead.
  bool UnitsConvertible(int units) const;
  // Every number a data or stage file of the project would hold is finite: the values held
  // and the depths English files keep in inches. The writers refuse a project where one is
  // not, as it would be written as 0.
  bool NumbersFitTheFile() const;

  // ---- modified state: the flag or any table's change mark.
  bool Modified = false;
  bool IsModified() const;
  void SetModified() { Modified = true; }
  void ClearModified();  // also clears the tables' change marks

  // Same scalars, switches and table data (tables compared with a relative tolerance).
  bool SameContent(const TProgramData& other, double relTol = 1e-7) const;

 private:
  struct BuildTag {};
  explicit TProgramData(BuildTag);
  static const TProgramData& NewProject();
  // The project tables in ProjectTableNames() order. Copying the project copies every table
  // into new objects, so the compiler-made copy, move and assignment of TProgramData are
  // complete whatever fields it gains.
  struct TableList : std::vector<std::unique_ptr<TGridTable>> {
    TableList() = default;
    TableList(const TableList& other);
    TableList& operator=(const TableList& other);
    TableList(TableList&&) noexcept = default;
    TableList& operator=(TableList&&) noexcept = default;
  };
  TableList tables_;
  friend class DataFileReader;
  friend class DataFileWriter;
};

// The option switches with their Options-menu captions and the table each one governs
// (soil layers for GeneratePY, the long-term tables for LongTerm).
struct OptionSwitch {
  const char* name;
  const char* menuCaption;
  const char* table;
  bool TProgramData::*member;
};
const std::vector<OptionSwitch>& OptionSwitches();

}  // namespace tarnel::model
