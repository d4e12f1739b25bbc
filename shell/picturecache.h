// Pictures decoded once for each content of their file.
#pragma once

#include <xxhash.h>

#include <QPixmap>
#include <QString>
#include <map>
#include <string>
#include <string_view>

namespace shell {

// The course's pictures as last decoded, one for each name. A picture is read from its file at
// every load, so that a file gone or spoilt since is still reported there and then; only
// decoding the very same bytes again is skipped, which is most of a page's load time.
class PictureCache {
 public:
  // The picture in the file at path, known to the course as name.
  QPixmap Read(std::string_view name, const QString& path);
  std::size_t Size() const { return pictures_.size(); }

 private:
  struct Decoded {
    XXH128_hash_t hash{};
    QPixmap pixmap;
  };
  // At most one entry for each of the course's picture files.
  std::map<std::string, Decoded, std::less<>> pictures_;
};

}  // namespace shell
