// Word-by-word reading of data and stage files.
#include "app/model/word_reader.h"

#include <cfloat>
#include <cmath>

#include "app/model/real_format.h"
#include "app/model/text_file.h"

namespace tarnel::model {

TWordReader::TWordReader(const std::string& path) {
  auto text = ReadWholeFile(path);
  if (!text) {
    ok_ = false;
    return;
  }
  text_ = std::move(*text);
  Split();
}

TWordReader TWordReader::FromText(std::string_view text) {
  TWordReader r;
  r.text_ = std::string(text);
  r.Split();
  return r;
}

void TWordReader::Split() {
  // Lines end at LF; a CR before it belongs to the line end, and a last line without an
  // end counts. Words are separated by blanks, TABs and CRs.
  const std::string_view text(text_);
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    const bool last = end == std::string_view::npos;
    if (last) end = text.size();
    std::size_t rawEnd = end;
    if (rawEnd > pos && text[rawEnd - 1] == '\r') --rawEnd;
    Line line{{pos, rawEnd - pos}, words_.size(), 0};
    std::size_t i = pos;
    while (i < rawEnd) {
      while (i < rawEnd && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r')) ++i;
      const std::size_t start = i;
      while (i < rawEnd && text[i] != ' ' && text[i] != '\t' && text[i] != '\r') ++i;
      if (i > start) words_.push_back({start, i - start});
    }
    line.wordCount = words_.size() - line.firstWord;
    lines_.push_back(line);
    pos = last ? text.size() : end + 1;
  }
}

void TWordReader::Fail(const char* what) const {
  throw ReadError("Error on Line " + std::to_string(lastLine_ + 1) + " Item " +
                  std::to_string(lastWord_) + "\n" + what);
}

std::string TWordReader::ReadLine() {
  if (line_ >= lines_.size()) throw ReadError(kIncompleteFileMessage);
  std::string raw(Text(lines_[line_].raw));
  lastLine_ = line_;
  lastWord_ = 0;
  ++line_;
  word_ = 0;
  return raw;
}

std::string TWordReader::NextWord() { return std::string(TakeWord()); }

std::string_view TWordReader::TakeWord() {
  while (line_ < lines_.size() && word_ >= lines_[line_].wordCount) {
    ++line_;
    word_ = 0;
  }
  if (line_ >= lines_.size()) throw ReadError(kIncompleteFileMessage);
  lastLine_ = line_;
  lastWord_ = word_ + 1;
  return Word(line_, word_++);
}

long double TWordReader::ReadReal() {
  const auto v = ParseReal(TakeWord());
  // Every value of the project is kept as a double: a word such as 1E400 would become an
  // infinity there and be written back as 0, so it is refused like any other bad number.
  if (!v || std::fabs(*v) > static_cast<long double>(DBL_MAX))
    Fail("A floating point number was expected but not found.");
  return *v;
}

int TWordReader::ReadInteger() {
  const auto v = ParseInteger(TakeWord());
  if (!v) Fail("An integer was expected but not found.");
  return *v;
}

std::size_t TWordReader::WordCount() const {
  return line_ < lines_.size() ? lines_[line_].wordCount : 0;
}

std::size_t TWordReader::WordsLeftOnLine() const {
  return line_ < lines_.size() ? lines_[line_].wordCount - word_ : 0;
}

void TWordReader::SkipRestOfLine() {
  if (line_ < lines_.size() && word_ > 0) {
    ++line_;
    word_ = 0;
  }
}

std::size_t TWordReader::WordsRemaining() const {
  const std::size_t total = words_.size();
  const std::size_t taken = line_ < lines_.size() ? lines_[line_].firstWord + word_ : total;
  return total - taken;
}

bool TWordReader::AtEnd() const {
  for (std::size_t l = line_; l < lines_.size(); ++l)
    if ((l == line_ ? word_ : 0) < lines_[l].wordCount) return false;
  return true;
}

}  // namespace tarnel::model
