// The lines and words of an engine output read back as bytes. A batch reads back every
// report and plot file it makes; looking at them in place, and making text only of the
// few lines that matter, keeps that small beside the analysis itself.
#pragma once

#include <QByteArrayView>
#include <QList>

#include <algorithm>
#include <initializer_list>
#include <vector>

namespace tarnel::runner {

// Calls `f` with each line of `bytes`, split at '\n' (which is not part of the line). A
// final '\n' is followed by an empty line, as QByteArray::split gives it.
template <class F>
void forEachLine(QByteArrayView bytes, F&& f) {
  for (qsizetype from = 0; from <= bytes.size();) {
    qsizetype nl = bytes.indexOf('\n', from);
    if (nl < 0) nl = bytes.size();
    f(bytes.sliced(from, nl - from));
    from = nl + 1;
  }
}

// The lines of `bytes` that hold any of `marks`, in the order of the file. Each mark is
// looked for once over the whole of `bytes`, not line by line: a report has thousands of
// lines and only a few of them matter.
inline std::vector<QByteArrayView> linesHolding(QByteArrayView bytes, std::initializer_list<QByteArrayView> marks) {
  std::vector<qsizetype> starts;
  for (const QByteArrayView mark : marks) {
    for (qsizetype at = bytes.indexOf(mark); at >= 0;) {
      const qsizetype start = at == 0 ? 0 : bytes.lastIndexOf('\n', at - 1) + 1;
      starts.push_back(start);
      const qsizetype nl = bytes.indexOf('\n', at);
      if (nl < 0) break;
      at = bytes.indexOf(mark, nl + 1);
    }
  }
  std::sort(starts.begin(), starts.end());
  starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
  std::vector<QByteArrayView> lines;
  lines.reserve(starts.size());
  for (const qsizetype start : starts) {
    qsizetype nl = bytes.indexOf('\n', start);
    if (nl < 0) nl = bytes.size();
    lines.push_back(bytes.sliced(start, nl - start));
  }
  return lines;
}

// The words of a line, separated by blanks, tabs and carriage returns.
inline QList<QByteArrayView> blankSeparatedWords(QByteArrayView line) {
  QList<QByteArrayView> out;
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  for (qsizetype i = 0, n = line.size(); i < n;) {
    while (i < n && blank(line[i])) ++i;
    const qsizetype start = i;
    while (i < n && !blank(line[i])) ++i;
    if (i > start) out << line.sliced(start, i - start);
  }
  return out;
}

}  // namespace tarnel::runner
