// The curve reader of the chart-paired editors (a text file or the clipboard into the points
// of an external p-y curve or a moment-EI curve). The first byte picks the curve table, the
// rest is the text. Properties: no crash or sanitizer report; every row read has as many
// finite numbers as the table has columns and there are at most MaxRows of them; the project
// holding the curve is saved and read back with the same curve.
#include "app/model/program_data.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/project_diff.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

using namespace tarnel;

namespace {

// The sub-table column of a table (the curve of each row).
int curveColumn(const model::TGridTable& t) {
  for (std::size_t c = 0; c < t.ColumnCount(); ++c)
    if (t.Column(c).Class() == model::ColumnClass::Table) return static_cast<int>(c);
  fuzz::fail("table without a curve column");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  static fuzz::ScratchDir dir;
  static const std::string saved = dir.file("saved.tn5d");
  const bool pyCurve = (data[0] & 1) == 0;
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

  const int columns = 2;
  const auto rows = model::ParseCurveText(text, columns, 17);
  fuzz::check(rows.size() <= 17, "more rows than the limit");
  for (const auto& row : rows) {
    fuzz::check(row.size() == columns, "row of the wrong width");
    for (double v : row) fuzz::check(std::isfinite(v), "non-finite number read");
  }

  model::TProgramData project;
  model::TGridTable& table = pyCurve ? project.PYCurves2() : project.MEICurves2();
  (pyCurve ? project.ApplyExtPY : project.ApplyMEI) = true;
  table.AddRowGroup();
  model::TGridTable& curve = table.SubTable(curveColumn(table), 0);
  model::FillFromCurveText(curve, text);
  fuzz::check(curve.MaxRows() == 0 || curve.RowCount() <= curve.MaxRows(), "curve longer than its limit");

  const std::string written = project.ProjectText();
  fuzz::writeFile(saved, written);
  model::TProgramData back;
  const model::FileResult r = back.CreateFromFile(saved, model::kLayoutTn5d);
  fuzz::check(r.ok, "a project holding a read curve does not read back", [&] { return r.message + "\n" + written; });
  fuzz::check(back.SameContent(project), "the curve read back differs", [&] {
    return fuzz::projectDifference(project, back) + written;
  });
  return 0;
}
