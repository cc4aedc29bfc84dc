// Unit systems and unit templates of the project.
//
// A unit template is a short text written with the force token F and the length token L
// (optionally followed by a digit: F1 kips, L2 feet, ...). It gives the label shown to the
// user for a system and the factor by which stored values change between English and SI.
// System codes: 1 English, 2 SI, 3 Other (abstract F and L; nothing is ever converted).
#pragma once

#include <string>
#include <string_view>

namespace tarnel::model {

enum UnitSystem : int { kEnglish = 1, kSI = 2, kOther = 3 };

// English projects show some depths in feet and some unit weights and strengths per
// cubic or square foot, while the data file holds inches throughout.
inline constexpr double kInchesPerFoot = 12.0;
inline constexpr double kSquareInchesPerSquareFoot = kInchesPerFoot * kInchesPerFoot;
inline constexpr double kCubicInchesPerCubicFoot = kInchesPerFoot * kInchesPerFoot * kInchesPerFoot;

// Clamps any integer into 1..3.
int ClampUnitSystem(int units);

// Label of one token ("F", "F1", "L2", ...) for a system; empty for an unknown token.
std::string TokenLabel(std::string_view token, int units);

// English units per SI unit of one token; 1 for an unknown token.
double TokenFactor(std::string_view token);

// Label of a template as shown in a table column header: every occurrence of F2, F1, F4, F5,
// F6, F, L3, L2, L1 and L (in this order) replaced by the label of the system.
std::string ColumnUnitLabel(std::string_view unitTemplate, int units);

// A column caption line with its unit label appended: caption + " (" + label + ")  ".
// An empty template leaves the caption unchanged.
std::string CaptionWithUnits(std::string_view caption, std::string_view unitTemplate, int units);

// Label of a template as shown by a numeric entry field: one force kind and one length kind
// are replaced; in the Other system the template itself is shown.
std::string FieldUnitLabel(std::string_view unitTemplate, int units);

// caption, or caption + " (" + label + ")" when the field has a template.
std::string FieldCaption(std::string_view caption, std::string_view unitTemplate, int units);

// Conversion factor (English per SI) of a whole template such as "F/L2^3" or "F-L/RAD.".
double TemplateFactor(std::string_view unitTemplate);

// Multiplier that converts a stored value of a template column from one system to another:
// 1/factor English->SI, factor SI->English, 1 whenever Other is involved or from == to.
double ColumnConversion(std::string_view unitTemplate, int fromUnits, int toUnits);

// Scalar factors of a project unit switch: b for lengths, c for forces. `valid` is false when
// no scalar is converted (same system, or Other involved).
struct ScalarFactors {
  bool valid = false;
  double b = 1.0;
  double c = 1.0;
};
ScalarFactors ProjectScalarFactors(int fromUnits, int toUnits);

// Load-magnitude multiplier of a surcharge row by load type (1 point x c, 2 line x c/b,
// 3 strip x c/b^2); 1 when the factors are not valid or the type is unknown.
double SurchargeMagnitudeFactor(int loadType, const ScalarFactors& f);

}  // namespace tarnel::model
