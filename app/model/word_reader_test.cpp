#include "app/model/word_reader.h"

#include <gtest/gtest.h>

namespace tarnel::model {
namespace {

std::string ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const ReadError& e) {
    return e.what();
  }
  return "no error";
}

TEST(WordReader, WordsAcrossLinesAndSeparators) {
  auto r = TWordReader::FromText("Title line\r\n 1 \t2\t\t3  \r\n\r\n4\r\n5");
  EXPECT_EQ(r.WordsRemaining(), 7u);
  EXPECT_EQ(r.ReadLine(), "Title line");
  EXPECT_EQ(r.WordsRemaining(), 5u) << "a title line is taken whole";
  EXPECT_EQ(r.WordCount(), 3u);
  EXPECT_EQ(r.ReadInteger(), 1);
  EXPECT_EQ(r.WordsRemaining(), 4u);
  EXPECT_EQ(r.ReadInteger(), 2);
  EXPECT_EQ(r.ReadReal(), 3.0L);
  EXPECT_EQ(r.WordsLeftOnLine(), 0u);
  EXPECT_EQ(r.ReadInteger(), 4) << "an empty line is passed over";
  EXPECT_FALSE(r.AtEnd());
  EXPECT_EQ(r.ReadInteger(), 5);
  EXPECT_TRUE(r.AtEnd());
  EXPECT_EQ(r.WordsRemaining(), 0u);
  EXPECT_EQ(ErrorOf([&] { r.NextWord(); }), "This file either invalid or incomplete.");
}

TEST(WordReader, TitleAfterSkippingTheRestOfALine) {
  auto r = TWordReader::FromText("9 trailing words\r\n Stage No : 2\r\n");
  EXPECT_EQ(r.ReadInteger(), 9);
  r.SkipRestOfLine();
  EXPECT_EQ(r.ReadLine(), " Stage No : 2");
}

TEST(WordReader, MessagesNameLineAndItem) {
  auto r = TWordReader::FromText("1 2\n3 4,5 6\n");
  r.ReadInteger();
  r.ReadInteger();
  r.ReadInteger();
  EXPECT_EQ(ErrorOf([&] { r.ReadReal(); }),
            "Error on Line 2 Item 2\nA floating point number was expected but not found.");
  auto s = TWordReader::FromText("1\n2.5\n");
  s.ReadInteger();
  EXPECT_EQ(ErrorOf([&] { s.ReadInteger(); }), "Error on Line 2 Item 1\nAn integer was expected but not found.");
  auto t = TWordReader::FromText("3.0 99999999999\n");
  EXPECT_EQ(t.ReadInteger(), 3);
  EXPECT_EQ(ErrorOf([&] { t.ReadInteger(); }), "Error on Line 1 Item 2\nAn integer was expected but not found.");
}

TEST(WordReader, NumbersBeyondTheRangeOfADoubleAreRefused) {
  // 1.8E308 lies just above the largest double (about 1.797E308); 1E-400 is merely tiny.
  auto r = TWordReader::FromText("1.7E308 -1E-400\n2 1.8E308\n-1E400\n");
  EXPECT_EQ(r.ReadReal(), 1.7E308L);
  EXPECT_EQ(static_cast<double>(r.ReadReal()), 0.0);
  EXPECT_EQ(r.ReadReal(), 2.0L);
  EXPECT_EQ(ErrorOf([&] { r.ReadReal(); }),
            "Error on Line 2 Item 2\nA floating point number was expected but not found.");
  EXPECT_EQ(ErrorOf([&] { r.ReadReal(); }),
            "Error on Line 3 Item 1\nA floating point number was expected but not found.");
}

TEST(WordReader, MissingFile) {
  TWordReader r("/nonexistent/folder/file.tn5d");
  EXPECT_FALSE(r.ok());
  EXPECT_TRUE(r.AtEnd());
}

}  // namespace
}  // namespace tarnel::model
