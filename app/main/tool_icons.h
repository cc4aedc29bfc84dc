// The pictures of the tool bar buttons, drawn rather than shipped as files: a page for the
// title, the wall, the soil layers, the curves and diagrams of the results, the stages.
#pragma once

#include <QIcon>
#include <QString>

// Icon by name: "title", "wall", "config", "soils", "stages", "output", "profile", "3d",
// "py", "defl", "mom", "shear", "reac", "dmv", "press", or "stage1".."stage5".
QIcon toolIcon(const QString& name);
