#include "app/results/zip_archive.h"

#include <QBuffer>
#include <cstring>
#include <unzip.h>
#include <zip.h>

namespace {

// minizip reaches its "file" through these callbacks; the stream is a QBuffer over the bytes,
// so nothing touches the disk and no path encoding is involved.
voidpf openBuffer(voidpf opaque, const void*, int) { return opaque; }
uLong readBuffer(voidpf, voidpf stream, void* buf, uLong size) {
  const qint64 n = static_cast<QBuffer*>(stream)->read(static_cast<char*>(buf), static_cast<qint64>(size));
  return n < 0 ? 0 : static_cast<uLong>(n);
}
uLong writeBuffer(voidpf, voidpf stream, const void* buf, uLong size) {
  const qint64 n = static_cast<QBuffer*>(stream)->write(static_cast<const char*>(buf), static_cast<qint64>(size));
  return n < 0 ? 0 : static_cast<uLong>(n);
}
ZPOS64_T tellBuffer(voidpf, voidpf stream) { return static_cast<ZPOS64_T>(static_cast<QBuffer*>(stream)->pos()); }
long seekBuffer(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
  auto* b = static_cast<QBuffer*>(stream);
  qint64 base = 0;
  switch (origin) {
    case ZLIB_FILEFUNC_SEEK_CUR: base = b->pos(); break;
    case ZLIB_FILEFUNC_SEEK_END: base = b->size(); break;
    default: break;
  }
  const qint64 to = base + static_cast<qint64>(offset);
  if (to < 0) return -1;
  // A writer may seek past the end; QBuffer grows on the next write.
  if (to > b->size() && !(b->openMode() & QIODevice::WriteOnly)) return -1;
  return b->seek(to) ? 0 : -1;
}
int closeBuffer(voidpf, voidpf) { return 0; }
int errorBuffer(voidpf, voidpf) { return 0; }

zlib_filefunc64_def callbacks(QBuffer* buffer) {
  zlib_filefunc64_def def{};
  def.zopen64_file = openBuffer;
  def.zread_file = readBuffer;
  def.zwrite_file = writeBuffer;
  def.ztell64_file = tellBuffer;
  def.zseek64_file = seekBuffer;
  def.zclose_file = closeBuffer;
  def.zerror_file = errorBuffer;
  def.opaque = buffer;
  return def;
}

}  // namespace

std::optional<std::vector<ZipEntry>> ReadZip(const QByteArray& bytes) {
  QByteArray copy = bytes;
  QBuffer buffer(&copy);
  if (!buffer.open(QIODevice::ReadOnly)) return std::nullopt;
  zlib_filefunc64_def def = callbacks(&buffer);
  unzFile zip = unzOpen2_64("memory", &def);
  if (!zip) return std::nullopt;
  std::vector<ZipEntry> entries;
  bool ok = true;
  for (int r = unzGoToFirstFile(zip); r == UNZ_OK; r = unzGoToNextFile(zip)) {
    unz_file_info64 info{};
    char name[1024];
    if (unzGetCurrentFileInfo64(zip, &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK ||
        info.uncompressed_size > 1024ull * 1024 * 1024 || unzOpenCurrentFile(zip) != UNZ_OK) {
      ok = false;
      break;
    }
    ZipEntry e;
    e.name = QString::fromUtf8(name);
    e.data.resize(static_cast<qsizetype>(info.uncompressed_size));
    const int n = e.data.isEmpty() ? 0 : unzReadCurrentFile(zip, e.data.data(), static_cast<unsigned>(e.data.size()));
    // Closing checks the CRC of what was read.
    const int closed = unzCloseCurrentFile(zip);
    if (n != e.data.size() || closed != UNZ_OK) {
      ok = false;
      break;
    }
    entries.push_back(std::move(e));
  }
  unzClose(zip);
  if (!ok) return std::nullopt;
  return entries;
}

QByteArray WriteZip(const std::vector<ZipEntry>& entries) {
  QByteArray out;
  QBuffer buffer(&out);
  if (!buffer.open(QIODevice::ReadWrite)) return {};
  zlib_filefunc64_def def = callbacks(&buffer);
  zipFile zip = zipOpen2_64("memory", APPEND_STATUS_CREATE, nullptr, &def);
  if (!zip) return {};
  bool ok = true;
  for (const ZipEntry& e : entries) {
    const QByteArray name = e.name.toUtf8();
    zip_fileinfo info{};
    info.tmz_date.tm_mday = 1;  // a fixed date, so the same workbook gives the same bytes
    info.tmz_date.tm_year = 1980;
    if (zipOpenNewFileInZip64(zip, name.constData(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                              Z_DEFAULT_COMPRESSION, e.data.size() >= 0xFFFFFFFFll) != ZIP_OK ||
        (!e.data.isEmpty() &&
         zipWriteInFileInZip(zip, e.data.constData(), static_cast<unsigned>(e.data.size())) != ZIP_OK) ||
        zipCloseFileInZip(zip) != ZIP_OK) {
      ok = false;
      break;
    }
  }
  if (zipClose(zip, nullptr) != ZIP_OK) ok = false;
  buffer.close();
  return ok ? out : QByteArray();
}

const ZipEntry* FindZipEntry(const std::vector<ZipEntry>& entries, const QString& name) {
  for (const ZipEntry& e : entries)
    if (e.name == name) return &e;
  return nullptr;
}
