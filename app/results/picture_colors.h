// The colour depth of a saved chart picture, as the "Colors" choice of the "Save Attributes"
// dialog names it. ApplyPictureColors is what the chart window's Save calls on the finished
// picture, just before writing it:
//
//   0 "Black and White"      1 bit, white and black. Every pixel that is not close to white
//                            (each channel at least 0xE0) turns black, so that light lines
//                            (yellow, aqua, silver) stay visible instead of vanishing under a
//                            brightness threshold.
//   1 "16 Colors" (default)  8-bit indexed with the 16 standard colours (black, maroon, green,
//                            olive, navy, purple, teal, silver, gray, red, lime, yellow, blue,
//                            fuchsia, aqua, white), each pixel mapped to the nearest one. Every
//                            line colour of the charts is among them, so lines keep their colour.
//   2 "256 Colors"           8-bit indexed; a picture of at most 256 colours keeps them exactly,
//                            otherwise they are reduced to a colour cube.
//   3 "High Color (16 bit)"  RGB 5-6-5.
//   4 "True Color (24 bit)"  RGB 8-8-8.
//
// Any other index leaves the picture unchanged. The BMP writer stores these as 1-bit, 4-bit
// (at most 16 colours), 8-bit and 24-bit files (a high-colour picture with its reduced
// colours in 24 bits); PNG stores each format as it is.
#pragma once

#include <QImage>
#include <QStringList>

constexpr int kDefaultPictureColors = 1;

// The choice's texts in index order.
QStringList PictureColorNames();

// The picture reduced to the colours of `colorsIndex` (see above); a null image stays null.
QImage ApplyPictureColors(const QImage& image, int colorsIndex);
