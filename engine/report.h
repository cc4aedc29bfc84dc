// The fixed-layout report (.tn5o): header with banner, file names and the time of the
// analysis, title lines, unit labels, program control parameters, the wall record, the
// specified deflections and slopes, the stiffness and load data, the specified and
// generated earth-pressure tables, and the closing "END OF ANALYSIS".
// Writers take the stream they write to, so each section can be checked on its own.
#pragma once

#include "engine/run_state.h"

#include <array>
#include <ctime>
#include <ostream>
#include <string>
#include <vector>

namespace tarnel::engine {

// A path split like the file lines of the header need it.
struct PathParts {
  std::string drive, directory, name, extension;
};
PathParts splitPath(const std::string& path);

void writeReportHeader(std::ostream& out, const std::string& version, const std::string& dataPath,
                       const std::string& reportPath, const std::string& plotPath, const std::tm& now);

// A section title between two rules of 50 stars, each line indented by six blanks.
void writeFramedTitle(std::ostream& out, const std::string& title);

// "Stage No :" for staged runs, the problem's own title for the first problem, else
// "Long Term :" with the run title.
void writeTitleLine(std::ostream& out, int nStages, int problemCounter, const std::string& runTitle,
                    const std::string& title);

// Labels for units code 1 (English) and 2 (SI); any other code keeps the labels as they are.
void setUnitLabels(UnitLabels& labels, int units);

void writeControlParameters(std::ostream& out, const ControlRecord& control);
void writeWallRecord(std::ostream& out, const WallRecord& wall, const UnitLabels& labels);

// An empty line and a line of 20 blanks: a table without rows.
void writeNoTable(std::ostream& out);

void writeSpecifiedHeading(std::ostream& out);
void writeSpecifiedRow(std::ostream& out, const RestraintRow& row);

void writeStiffnessHeading(std::ostream& out, const UnitLabels& labels);
// One row of the stiffness and load data: kind 1 prints FROM and TO, kind 2 FROM only,
// kinds 3 and 4 TO only; CONTD is printed as CONTD - 1. Values: EI, Q, S, T, R, P.
void writeStiffnessRow(std::ostream& out, int kind, int from, int to, int contd, const std::array<double, 6>& values);

// Pressure heading: with the framed "SPECIFIED ACTIVE EARTH PRESSURE" title for a user
// table, without it for a generated one.
void writePressureHeading(std::ostream& out, const UnitLabels& labels, bool framed);
void writePressureRow(std::ostream& out, double depth, double pressure);

// Indices of the table points that the report and the plot file show: all of them up to
// 50 points, else every 6th (English) or every 4th point from the first, and the last.
std::vector<std::size_t> printedPressureRows(std::size_t count, int units);

void writeEndOfAnalysis(std::ostream& out);

}  // namespace tarnel::engine
