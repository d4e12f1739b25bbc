#include "shell/picturecache.h"

#include "shell/picturefile.h"

namespace shell {

QPixmap PictureCache::Read(std::string_view name, const QString& path) {
  const QByteArray bytes = ReadPictureBytes(path);
  // 128 bits, so that two different contents hashing alike is out of reach by chance; whoever
  // could craft such a pair could as well replace the picture itself.
  const XXH128_hash_t hash =
      XXH3_128bits(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  const auto known = pictures_.find(name);
  if (known != pictures_.end() && XXH128_isEqual(known->second.hash, hash))
    return known->second.pixmap;
  // Bytes not seen before go through every check; the old picture is dropped first, so that a
  // failure leaves nothing stale behind.
  if (known != pictures_.end()) pictures_.erase(known);
  QPixmap pixmap = QPixmap::fromImage(DecodePicture(bytes, path));
  pictures_.emplace(std::string(name), Decoded{hash, pixmap});
  return pixmap;
}

}  // namespace shell
