// Fill patterns of the soil-layer strip, by the soil code of a layer line: pictures drawn
// here for clay (1), sand (7), silt (8), strong rock (9), weak rock (10), gravel (11) and
// organic soil (12), in the manner of the hatchings of engineering drawings; Qt's hatch
// brushes for the codes 2 to 6; no fill for any other code.
//
// Each picture exists in a screen size (also used in saved pictures) and a larger size for
// printers, whose resolution would shrink the screen tile to a grey smear.
#pragma once

#include <QBrush>
#include <QImage>

enum class PatternSize { Screen, Print };

// Tile of the picture of `code`, black on white; a null image for codes without a picture.
QImage SoilPatternImage(int code, PatternSize size);

// The brush that fills a band of soil `code`; Qt::NoBrush for codes without a fill.
QBrush SoilBrush(int code, PatternSize size);

// Side of the square tiles, in pixels.
int SoilPatternTile(PatternSize size);
