// The profile view as a picture file, for the Side View's Save and for tarnel-plot: the
// same layout and painting as the window, on a white ground.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include "app/results/profile_model.h"

// The profile of `model` (already rebuilt) drawn into an image of `size` pixels at `ppi`.
// Null when the size is empty or too large to allocate.
QImage RenderProfileImage(const ProfileModel& model, const tarnel::model::TProgramData& project,
                          const QSize& size, int ppi, const ProfileColors& colors = ProfileColors());

// Writes the profile of a project to `path`, widthIn x heightIn inches at `ppi` pixels per
// inch; the type comes from the extension: .png, .bmp, .svg or .pdf. False with a message
// in `error` for a bad size, an unknown type or a file that cannot be written.
bool WriteProfilePicture(const tarnel::model::TProgramData& project, const QString& path,
                         double widthIn, double heightIn, int ppi, QString* error);

// Writes an image as .png or .bmp by the path's extension; false with a message in `error`.
bool SaveProfileImage(const QImage& image, const QString& path, QString* error);
