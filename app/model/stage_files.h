// Stage files of a staged-construction project: one problem block per file beside the data
// file ("wall.tn5d" -> "wall.st1" .. "wall.st5"). Splitting cuts a staged data file into its
// stage files, joining writes the data file back as their concatenation, converting rewrites
// stage files of an older layout in the current one.
#pragma once

#include <string>
#include <string_view>

#include "app/model/program_data.h"

namespace tarnel::model {

// The data file's full name with its extension replaced by ".st" + stage (1..5).
std::string StageFileName(std::string_view dataFile, int stage);

// Deletes stage files 1..5 of a data file that exist (`from` is the first stage deleted).
void DeleteStageFiles(std::string_view dataFile, int from = 1);

// Cuts a staged data file into stage files 1..stageCount: section 1 starts at line 1, every
// later line containing " Stage No :" starts a new section. Existing stage files are deleted
// first.
FileResult SplitStagedFile(const std::string& dataFile, int stageCount);

// Writes `dataFile` as the lines of the stage files 1..stageCount of `stageSource` (the data
// file whose stage files are used; usually the same name). A missing stage file is an error
// and leaves the data file untouched. With a different `stageSource` the stage files are
// then moved to the new name; the old name keeps no stage file.
FileResult JoinStageFiles(const std::string& dataFile, int stageCount,
                          const std::string& stageSource);

// Reads every stage file 1..stageCount of `dataFile` in an older layout (2 for ".tn4d", 3
// for ".tnd") and writes it back in the current layout; `project` ends with stage 1 loaded.
FileResult ConvertStageFiles(TProgramData& project, const std::string& dataFile,
                             int stageCount, int layoutCode);

}  // namespace tarnel::model
