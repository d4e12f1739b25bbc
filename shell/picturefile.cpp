#include "shell/picturefile.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <algorithm>

#include "forms/failure.h"

namespace shell {

namespace {

// How a file's structure ends: whole, cut off before its end, or not laid out as its format
// says at all.
enum class Ending { kWhole, kCut, kBroken };

// What a walk over a file's structure found. Width and height are the largest the file states
// for itself or any of its frames: a decoder may allocate that much, whatever size it reports.
struct Layout {
  Ending ending = Ending::kCut;
  qint64 width = 0;
  qint64 height = 0;

  void Grow(qint64 w, qint64 h) {
    width = std::max(width, w);
    height = std::max(height, h);
  }
  Layout& End(Ending how) {
    ending = how;
    return *this;
  }
};

qint64 BigEndian16(const uchar* p) { return qint64(p[0]) << 8 | p[1]; }
qint64 LittleEndian16(const uchar* p) { return qint64(p[1]) << 8 | p[0]; }

// --- JPEG: marker segments, and after each start of scan its entropy-coded data ---

// A progressive picture is drawn in a handful of scans. The decoder passes over the whole
// picture for each, so a file of a megabyte with tens of thousands of empty scans would hold
// the course for minutes.
constexpr int kMaxScans = 100;

bool IsFrameHeader(uchar marker) {
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Skips a scan's entropy-coded data from i; returns where the marker after it starts, or -1
// when the data runs to the end of the file.
qsizetype SkipEntropyData(const uchar* p, qsizetype n, qsizetype i) {
  for (;;) {
    while (i < n && p[i] != 0xFF) ++i;
    if (n - i < 2) return -1;
    const uchar next = p[i + 1];
    // A stuffed zero and the restart markers are part of the data; a repeated 0xFF is fill.
    if (next == 0x00 || (next >= 0xD0 && next <= 0xD7))
      i += 2;
    else if (next == 0xFF)
      i += 1;
    else
      return i;
  }
}

// Walks from after the start-of-image marker to the end-of-image marker; whatever follows
// that (a maker's data, an editor's padding) is none of the picture's business.
Layout WalkJpeg(const uchar* p, qsizetype n) {
  Layout layout;
  qsizetype i = 2;
  int scans = 0;
  for (;;) {
    // Like the decoder, pass over stray bytes and fill bytes in front of a marker.
    while (i < n && p[i] != 0xFF) ++i;
    while (i < n && p[i] == 0xFF) ++i;
    if (i >= n) return layout.End(Ending::kCut);
    const uchar marker = p[i++];
    if (marker == 0xD9) return layout.End(scans > 0 ? Ending::kWhole : Ending::kBroken);
    if (marker == 0xD8) return layout.End(Ending::kBroken);
    if (marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;
    if (n - i < 2) return layout.End(Ending::kCut);
    const qint64 length = BigEndian16(p + i);
    if (length < 2) return layout.End(Ending::kBroken);
    if (n - i < length) return layout.End(Ending::kCut);
    // Length, precision, height, width.
    if (IsFrameHeader(marker) && length >= 7)
      layout.Grow(BigEndian16(p + i + 5), BigEndian16(p + i + 3));
    i += length;
    if (marker == 0xDA) {
      if (++scans > kMaxScans) return layout.End(Ending::kBroken);
      i = SkipEntropyData(p, n, i);
      if (i < 0) return layout.End(Ending::kCut);
    }
  }
}

// --- GIF: header, screen, colour table, then blocks up to the trailer ---

qsizetype ColourTableBytes(uchar flags) { return (flags & 0x80) ? 3 << ((flags & 7) + 1) : 0; }

// Skips a chain of data sub-blocks and its terminator from i; -1 when the file ends first.
qsizetype SkipSubBlocks(const uchar* p, qsizetype n, qsizetype i) {
  while (i < n) {
    const uchar size = p[i++];
    if (size == 0) return i;
    i += size;
  }
  return -1;
}

Layout WalkGif(const uchar* p, qsizetype n) {
  Layout layout;
  if (n < 13) return layout.End(Ending::kCut);
  layout.Grow(LittleEndian16(p + 6), LittleEndian16(p + 8));
  qsizetype i = 13 + ColourTableBytes(p[10]);
  for (;;) {
    if (i >= n) return layout.End(Ending::kCut);
    const uchar introducer = p[i++];
    if (introducer == 0x3B) return layout.End(Ending::kWhole);
    if (introducer == 0x21) {  // extension: label, then sub-blocks
      if (i >= n) return layout.End(Ending::kCut);
      i = SkipSubBlocks(p, n, i + 1);
    } else if (introducer == 0x2C) {  // image: descriptor, colour table, code size, sub-blocks
      if (n - i < 9) return layout.End(Ending::kCut);
      layout.Grow(LittleEndian16(p + i) + LittleEndian16(p + i + 4),
                  LittleEndian16(p + i + 2) + LittleEndian16(p + i + 6));
      i += 9 + ColourTableBytes(p[i + 8]);
      if (i >= n) return layout.End(Ending::kCut);
      i = SkipSubBlocks(p, n, i + 1);
    } else {
      return layout.End(Ending::kBroken);
    }
    if (i < 0) return layout.End(Ending::kCut);
  }
}

// --- the picture ---

// The format by the file's content, whatever its name says.
QByteArray FormatOf(const QByteArray& bytes) {
  if (bytes.size() >= 2 && uchar(bytes[0]) == 0xFF && uchar(bytes[1]) == 0xD8) return "jpeg";
  if (bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a")) return "gif";
  return {};
}

[[noreturn]] void NotAPicture(const QString& path) {
  throw forms::Failure(
      QStringLiteral("無法讀取圖片檔案（不是可讀的 JPEG 或 GIF 圖片）：%1").arg(path));
}

[[noreturn]] void Unreadable(const QString& path) {
  throw forms::Failure(QStringLiteral("無法讀取圖片檔案：%1").arg(path));
}

void CheckSize(qint64 width, qint64 height, const QString& path) {
  if (width > kMaxSide || height > kMaxSide || width * height * 4 > kMaxBytes)
    throw forms::Failure(
        QStringLiteral("圖片太大（%1 × %2 像素），無法載入：%3").arg(width).arg(height).arg(path));
}

}  // namespace

QImage DecodePicture(const QByteArray& bytes, const QString& path) {
  if (bytes.size() > kMaxBytes) Unreadable(path);
  const QByteArray format = FormatOf(bytes);
  if (format.isEmpty()) NotAPicture(path);
  const auto* p = reinterpret_cast<const uchar*>(bytes.constData());
  const Layout layout = format == "jpeg" ? WalkJpeg(p, bytes.size()) : WalkGif(p, bytes.size());
  if (layout.ending == Ending::kBroken) NotAPicture(path);
  // The decoders show whatever part of a cut-off file they can read; a picture that has lost its
  // end is damaged and is refused like any other unreadable file.
  if (layout.ending == Ending::kCut)
    throw forms::Failure(QStringLiteral("無法讀取圖片檔案（檔案不完整）：%1").arg(path));

  QBuffer buffer;
  buffer.setData(bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, format);
  reader.setAutoDetectImageFormat(false);
  if (!reader.canRead()) NotAPicture(path);
  const QSize stated = reader.size();
  CheckSize(std::max<qint64>(layout.width, stated.width()),
            std::max<qint64>(layout.height, stated.height()), path);
  QImage image;
  if (!reader.read(&image) || image.isNull())
    throw forms::Failure(
        QStringLiteral("無法讀取圖片檔案（%1）：%2").arg(reader.errorString(), path));
  return image;
}

QByteArray ReadPictureBytes(const QString& path) {
  QFile file(path);
  const qint64 size = file.size();
  if (size > kMaxBytes || !file.open(QIODevice::ReadOnly)) Unreadable(path);
  // A buffer the size the file has now and one byte more: one of the limit's size would be
  // mapped and dropped again on every page that shows a picture. A file that has grown since it
  // was looked at is read on, still no further than the limit and one byte.
  QByteArray bytes = file.read(size + 1);
  if (bytes.size() > size && file.error() == QFileDevice::NoError)
    bytes += file.read(kMaxBytes + 1 - bytes.size());
  if (file.error() != QFileDevice::NoError) Unreadable(path);
  return bytes;
}

QImage ReadPictureFile(const QString& path) { return DecodePicture(ReadPictureBytes(path), path); }

}  // namespace shell
