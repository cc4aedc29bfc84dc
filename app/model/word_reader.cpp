// Word-by-word reading of data and stage files.
#include "app/model/word_reader.h"

#include <cfloat>
#include <cmath>

#include "app/model/real_format.h"
#include "app/model/text_file.h"

namespace tarnel::model {

TWordReader::TWordReader(const std::string& path) {
  const auto text = ReadWholeFile(path);
  if (!text) {
    ok_ = false;
    return;
  }
  Split(*text);
}

TWordReader TWordReader::FromText(std::string_view text) {
  TWordReader r;
  r.Split(text);
  return r;
}

void TWordReader::Split(std::string_view text) {
  for (std::string& raw : SplitLines(std::string(text))) {
    Line line;
    std::size_t i = 0;
    while (i < raw.size()) {
      while (i < raw.size() && (raw[i] == ' ' || raw[i] == '\t' || raw[i] == '\r')) ++i;
      const std::size_t start = i;
      while (i < raw.size() && raw[i] != ' ' && raw[i] != '\t' && raw[i] != '\r') ++i;
      if (i > start) line.words.emplace_back(raw.substr(start, i - start));
    }
    line.raw = std::move(raw);
    wordsBefore_.push_back(lines_.empty() ? 0 : wordsBefore_.back() + lines_.back().words.size());
    lines_.push_back(std::move(line));
  }
}

void TWordReader::Fail(const char* what) const {
  throw ReadError("Error on Line " + std::to_string(lastLine_ + 1) + " Item " +
                  std::to_string(lastWord_) + "\n" + what);
}

std::string TWordReader::ReadLine() {
  if (line_ >= lines_.size()) throw ReadError(kIncompleteFileMessage);
  std::string raw = lines_[line_].raw;
  lastLine_ = line_;
  lastWord_ = 0;
  ++line_;
  word_ = 0;
  return raw;
}

std::string TWordReader::NextWord() {
  while (line_ < lines_.size() && word_ >= lines_[line_].words.size()) {
    ++line_;
    word_ = 0;
  }
  if (line_ >= lines_.size()) throw ReadError(kIncompleteFileMessage);
  lastLine_ = line_;
  lastWord_ = word_ + 1;
  return lines_[line_].words[word_++];
}

long double TWordReader::ReadReal() {
  const std::string w = NextWord();
  const auto v = ParseReal(w);
  // Every value of the project is kept as a double: a word such as 1E400 would become an
  // infinity there and be written back as 0, so it is refused like any other bad number.
  if (!v || std::fabs(*v) > static_cast<long double>(DBL_MAX))
    Fail("A floating point number was expected but not found.");
  return *v;
}

int TWordReader::ReadInteger() {
  const std::string w = NextWord();
  const auto v = ParseInteger(w);
  if (!v) Fail("An integer was expected but not found.");
  return *v;
}

std::size_t TWordReader::WordCount() const {
  return line_ < lines_.size() ? lines_[line_].words.size() : 0;
}

std::size_t TWordReader::WordsLeftOnLine() const {
  return line_ < lines_.size() ? lines_[line_].words.size() - word_ : 0;
}

void TWordReader::SkipRestOfLine() {
  if (line_ < lines_.size() && word_ > 0) {
    ++line_;
    word_ = 0;
  }
}

std::size_t TWordReader::WordsRemaining() const {
  if (lines_.empty()) return 0;
  const std::size_t total = wordsBefore_.back() + lines_.back().words.size();
  const std::size_t taken = line_ < lines_.size() ? wordsBefore_[line_] + word_ : total;
  return total - taken;
}

bool TWordReader::AtEnd() const {
  for (std::size_t l = line_; l < lines_.size(); ++l)
    if ((l == line_ ? word_ : 0) < lines_[l].words.size()) return false;
  return true;
}

}  // namespace tarnel::model
