// Painting of the wall and soil profile: one path for the Side View window, the printer and
// saved pictures; only the device, its resolution and the frame differ. What is painted is
// the ProfileModel's item list (profile_model.h), so what tests compute is what is drawn.
//
//   PaintProfileView(painter, model, project, area, frame, colors);   // fills `area`,
//                                                                       // draws in `frame`
//   PrintProfile(printer, model, project);      // one landscape page "Soil-Pile Profile"
#pragma once

#include <QFont>
#include <QRectF>

#include "app/results/profile_model.h"

class QPainter;
class QPaintDevice;
class QPrinter;

// The profile's texts: Arial (or the desktop's sans serif where Arial is missing), 9 points
// on every device, so a print or a 300 ppi picture keeps the proportions of the window.
QFont ProfileFont();

// Pixel scale and text height of the profile's font on a device.
ProfileMetrics ProfileMetricsFor(const QPaintDevice& device, const QFont& font);

// Draws a computed drawing: background over `area`, then the items clipped to the frame.
void PaintProfile(QPainter& painter, const ProfileDrawing& drawing, const QRectF& area,
                  const QFont& font);

// Lays out the project for the painter's device and draws it.
void PaintProfileView(QPainter& painter, const ProfileModel& model,
                      const tarnel::model::TProgramData& project, const QRectF& area,
                      const QRectF& frame, const ProfileColors& colors = ProfileColors());

// The part of a printed page the profile fills: 80 % of its width and height, with 10 %
// margins (the world box's depth range spans the frame's height on a landscape page).
QRectF ProfilePrintFrame(const QRectF& page);

inline constexpr const char* kProfilePrintTitle = "Soil-Pile Profile";

// Prints the profile on one landscape page with a white background, the job titled
// "Soil-Pile Profile". False when the printer could not be opened.
bool PrintProfile(QPrinter& printer, const ProfileModel& model,
                  const tarnel::model::TProgramData& project);
