// Whole-file text reads and safe replacement of files.
//
// A save never writes over the previous file in place: the new text goes to a temporary file
// in the same folder, which replaces the old one (a rename) only after it was written and
// closed without error. A full disk or a crash during the write leaves the old file intact.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tarnel::model {

struct FileResult;

// Replaces (or creates) `path` with `text`, safely. On failure the old file is untouched and
// the message names the file ("Unable to write file <path>: <reason>").
FileResult WriteFileSafely(const std::string& path, const std::string& text);

// The whole file, or nullopt when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path);

// Lines of a text (LF or CR LF ends; a last line without an end counts).
std::vector<std::string> SplitLines(const std::string& text);

}  // namespace tarnel::model
