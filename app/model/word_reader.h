// TWordReader: the word tokenizer with which data and stage files are read.
//
// The whole file is read at creation and every line split into words at blanks and TABs
// (runs count as one separator; CR of CR LF line ends is dropped). Values are taken in order,
// moving to the next line when the current one is used up; a title is taken as a whole line.
// Errors throw ReadError with the message the user sees, naming the 1-based line and item.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tarnel::model {

class ReadError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr const char* kIncompleteFileMessage = "This file either invalid or incomplete.";

class TWordReader {
 public:
  // Reads the file; `ok()` is false when it cannot be opened.
  explicit TWordReader(const std::string& path);
  // Reads from text already in memory.
  static TWordReader FromText(std::string_view text);

  bool ok() const { return ok_; }

  // The raw text of the current line (words not yet taken are skipped); moves to the next
  // line. Throws the incomplete-file error at the end of the text.
  std::string ReadLine();
  // The next word, moving over used-up and empty lines.
  std::string NextWord();
  // "A floating point number was expected but not found." also for a magnitude beyond the
  // range of a double.
  long double ReadReal();
  int ReadInteger();       // "An integer was expected but not found."
  // Refuses the word read last (a value that reads well but cannot be kept), naming its
  // line and item like the errors above.
  [[noreturn]] void RefuseLastWord(const char* what) const { Fail(what); }

  // Number of words on the line the next word would come from (the current line).
  std::size_t WordCount() const;
  // Words of the current line not yet taken.
  std::size_t WordsLeftOnLine() const;
  // Moves to the start of the next line when words of the current line have been taken.
  void SkipRestOfLine();
  // True when no word is left in the text.
  bool AtEnd() const;
  // Number of words not yet taken; a reader checks a count read from a file against it
  // before it allocates for that count.
  std::size_t WordsRemaining() const;
  // Throws ReadError naming the line and item of the word taken last.
  [[noreturn]] void Fail(const char* what) const;

 private:
  TWordReader() = default;
  void Split();

  // The text is kept whole; lines and words are spans of it (one allocation per table
  // instead of one per word: a data file has thousands of words).
  struct Span {
    std::size_t begin, size;
  };
  struct Line {
    Span raw;                // the line without its end (LF, or CR LF)
    std::size_t firstWord;   // index in words_ of the line's first word = words before it
    std::size_t wordCount;
  };
  std::string_view Text(Span s) const { return std::string_view(text_).substr(s.begin, s.size); }
  std::string_view Word(std::size_t line, std::size_t word) const {
    return Text(words_[lines_[line].firstWord + word]);
  }
  // The next word, as NextWord takes it.
  std::string_view TakeWord();
  bool ok_ = true;
  std::string text_;
  std::vector<Line> lines_;
  std::vector<Span> words_;
  std::size_t line_ = 0;
  std::size_t word_ = 0;
  std::size_t lastLine_ = 0;
  std::size_t lastWord_ = 0;
};

}  // namespace tarnel::model
