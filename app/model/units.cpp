// Unit labels and conversion factors of unit templates.
#include "app/model/units.h"

#include <array>
#include <cctype>
#include <cmath>
#include <initializer_list>

namespace tarnel::model {
namespace {

struct TokenRow {
  const char* token;
  const char* english;
  const char* si;
  const char* other;
  double factor;  // English units per SI unit
};

constexpr std::array<TokenRow, 12> kTokens{{
    {"F", "lbs", "kN", "F", 224.8089237},
    {"F0", "lbs", "kN", "F", 224.8089237},
    {"F1", "kips", "kN", "F", 0.2248089237},
    {"F2", "tons", "kN", "F", 0.1124044745},
    {"F4", "lb-sec2/in", "Mg", "M", 5.7101483},
    {"F5", "sec", "sec", "T", 1.0},
    {"F6", "slug", "Mg", "F", 68.364249},
    {"L", "in", "m", "L", 39.37007874},
    {"L0", "in", "m", "L", 39.37007874},
    {"L1", "in", "mm", "L", 0.03937007874},
    {"L2", "ft", "m", "L", 3.280839895},
    {"L3", "rad", "rad", "L", 1.0},
}};

const TokenRow* FindToken(std::string_view token) {
  for (const auto& row : kTokens)
    if (token == row.token) return &row;
  return nullptr;
}

void ReplaceAll(std::string& s, std::string_view what, std::string_view with) {
  std::size_t pos = 0;
  while ((pos = s.find(what, pos)) != std::string::npos) {
    s.replace(pos, what.size(), with);
    pos += with.size();
  }
}

// Replaces every token letter `letter` that is not followed by a digit.
void ReplacePlain(std::string& s, char letter, std::string_view with) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == letter && !(i + 1 < s.size() && std::isdigit(static_cast<unsigned char>(s[i + 1])))) {
      out += with;
    } else {
      out += s[i];
    }
  }
  s = out;
}

// Replaces the first of `tokens` that occurs in `s` (every occurrence of it) by its label,
// else every plain `letter`: an entry field shows one kind of force and one kind of length.
void ReplaceOneKind(std::string& s, char letter, std::initializer_list<const char*> tokens, int units) {
  for (const char* tok : tokens) {
    if (s.find(tok) != std::string::npos) {
      ReplaceAll(s, tok, TokenLabel(tok, units));
      return;
    }
  }
  ReplacePlain(s, letter, TokenLabel(std::string_view(&letter, 1), units));
}

// Factor of one side of a template: [force token [^p] separator] [length token [^p]].
double PartFactor(std::string_view part) {
  std::size_t i = 0;
  double factor = 1.0;
  auto token = [&](char letter) -> bool {
    if (i >= part.size() || part[i] != letter) return false;
    std::string tok(1, letter);
    ++i;
    if (i < part.size() && std::isdigit(static_cast<unsigned char>(part[i]))) tok += part[i++];
    int power = 1;
    if (i + 1 < part.size() && part[i] == '^' && std::isdigit(static_cast<unsigned char>(part[i + 1]))) {
      power = part[i + 1] - '0';
      i += 2;
    }
    factor *= std::pow(TokenFactor(tok), power);
    return true;
  };
  if (token('F')) ++i;  // the separator after a force token ("-" in "F-L")
  token('L');
  return factor;
}

}  // namespace

int ClampUnitSystem(int units) { return units < 1 ? 1 : (units > 3 ? 3 : units); }

std::string TokenLabel(std::string_view token, int units) {
  const TokenRow* row = FindToken(token);
  if (!row) return {};
  switch (ClampUnitSystem(units)) {
    case kEnglish: return row->english;
    case kSI: return row->si;
    default: return row->other;
  }
}

double TokenFactor(std::string_view token) {
  const TokenRow* row = FindToken(token);
  return row ? row->factor : 1.0;
}

std::string ColumnUnitLabel(std::string_view unitTemplate, int units) {
  std::string s(unitTemplate);
  // Longer tokens first so "F2" is not taken for "F" followed by 2.
  for (const char* tok : {"F2", "F1", "F4", "F5", "F6", "F0"}) ReplaceAll(s, tok, TokenLabel(tok, units));
  ReplacePlain(s, 'F', TokenLabel("F", units));
  for (const char* tok : {"L3", "L2", "L1", "L0"}) ReplaceAll(s, tok, TokenLabel(tok, units));
  ReplacePlain(s, 'L', TokenLabel("L", units));
  return s;
}

std::string CaptionWithUnits(std::string_view caption, std::string_view unitTemplate, int units) {
  std::string s(caption);
  if (unitTemplate.empty()) return s;
  return s + " (" + ColumnUnitLabel(unitTemplate, units) + ")  ";
}

std::string FieldUnitLabel(std::string_view unitTemplate, int units) {
  std::string s(unitTemplate);
  if (ClampUnitSystem(units) == kOther) return s;
  ReplaceOneKind(s, 'F', {"F6", "F5", "F4", "F2", "F1"}, units);
  ReplaceOneKind(s, 'L', {"L2", "L1", "L3"}, units);
  return s;
}

std::string FieldCaption(std::string_view caption, std::string_view unitTemplate, int units) {
  std::string s(caption);
  if (unitTemplate.empty()) return s;
  return s + " (" + FieldUnitLabel(unitTemplate, units) + ")";
}

double TemplateFactor(std::string_view unitTemplate) {
  const std::size_t slash = unitTemplate.find('/');
  if (slash == std::string_view::npos) return PartFactor(unitTemplate);
  return PartFactor(unitTemplate.substr(0, slash)) / PartFactor(unitTemplate.substr(slash + 1));
}

double ColumnConversion(std::string_view unitTemplate, int fromUnits, int toUnits) {
  fromUnits = ClampUnitSystem(fromUnits);
  toUnits = ClampUnitSystem(toUnits);
  if (fromUnits == toUnits || fromUnits == kOther || toUnits == kOther) return 1.0;
  const double f = TemplateFactor(unitTemplate);
  return fromUnits == kEnglish ? 1.0 / f : f;
}

ScalarFactors ProjectScalarFactors(int fromUnits, int toUnits) {
  fromUnits = ClampUnitSystem(fromUnits);
  toUnits = ClampUnitSystem(toUnits);
  if (fromUnits == kEnglish && toUnits == kSI) return {true, 0.0254, 0.004448222468060651};
  // Back to English with the inverses: an English value switched to SI and back is the
  // value the user typed (the rounded 39.3701 in/m turned 6 in into 6.0000032).
  if (fromUnits == kSI && toUnits == kEnglish) return {true, 1.0 / 0.0254, 1.0 / 0.004448222468060651};
  return {};
}

double SurchargeMagnitudeFactor(int loadType, const ScalarFactors& f) {
  if (!f.valid) return 1.0;
  switch (loadType) {
    case 1: return f.c;
    case 2: return f.c / f.b;
    case 3: return f.c / (f.b * f.b);
    default: return 1.0;
  }
}

}  // namespace tarnel::model
