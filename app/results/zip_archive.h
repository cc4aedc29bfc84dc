// A zip archive held in memory: its entries in order, read from and written to bytes. The
// workbook writer rewrites chart parts of a finished .xlsx through it (an .xlsx is a zip of
// XML parts), and the tests read workbooks back with it.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

struct ZipEntry {
  QString name;      // path inside the archive, "/" separated
  QByteArray data;   // uncompressed contents
};

// The entries of an archive, in the archive's order; nullopt when `bytes` is no readable zip.
std::optional<std::vector<ZipEntry>> ReadZip(const QByteArray& bytes);

// An archive of `entries` in order, each deflated; empty when zlib fails.
QByteArray WriteZip(const std::vector<ZipEntry>& entries);

// The entry called `name`, or nullptr.
const ZipEntry* FindZipEntry(const std::vector<ZipEntry>& entries, const QString& name);
