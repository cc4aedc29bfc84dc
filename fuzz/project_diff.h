// A readable account of where two projects differ, for the message of a finding.
#pragma once

#include "app/model/program_data.h"

#include <string>

namespace tarnel::fuzz {

std::string projectDifference(const model::TProgramData& a, const model::TProgramData& b);

}  // namespace tarnel::fuzz
