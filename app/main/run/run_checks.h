// The checks made before the engine is called: input the engine cannot survive is refused
// with a message naming what to correct (wall stiffness rows beyond the last node, a
// backfill slope steeper than the friction angle of a sand or silt layer, soil layering
// that stops above the tip of the wall).
#pragma once

#include <QString>
#include <optional>

namespace tarnel::model {
class TProgramData;
}

// The message of the first failed check, or nothing when the project may be run.
std::optional<QString> checkBeforeRun(const tarnel::model::TProgramData& project);
