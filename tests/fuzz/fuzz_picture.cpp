// libFuzzer target for the picture reader: any bytes at all must come to a picture within the
// limits or to a failure that names the file; never a crash, a hang or a memory blow-up.
#include <QImageReader>
#include <QLoggingCategory>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "forms/failure.h"
#include "shell/picturefile.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // The course sets the same limit when it starts.
  QImageReader::setAllocationLimit(int(shell::kMaxBytes / (1024 * 1024)));
  // The decoders' complaints about broken input would bury the fuzzer's own report.
  QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio*=false"));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const QString path = QStringLiteral("/course/fuzz.jpg");
  // No copy: a read past the input's end is then a read past the fuzzer's buffer.
  const QByteArray bytes =
      QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
  try {
    const QImage image = shell::DecodePicture(bytes, path);
    if (image.isNull() || image.width() > shell::kMaxSide || image.height() > shell::kMaxSide)
      std::abort();
  } catch (const forms::Failure& failure) {
    if (!failure.Message().endsWith(path)) std::abort();
  }
  return 0;
}
