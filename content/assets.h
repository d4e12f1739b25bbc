// The picture and program files of the course, as the pages name them. Each name starts with a
// backslash; the shell turns it into the platform's separator when it forms the full path.
// The pictures come from content/pictures.def, the one list of them.
#pragma once

#include <array>
#include <string_view>

namespace content {

#define PICTURE(constant, file, description) inline constexpr std::string_view constant = "\\" file;
#include "content/pictures.def"
#undef PICTURE

// Not a picture: the animation program the object container starts.
inline constexpr std::string_view kOptical = "\\7optical.exe";

// Every picture the course reads, in the order the course meets them, for checks over the
// whole set.
inline constexpr std::array kPictures = {
#define PICTURE(constant, file, description) constant,
#include "content/pictures.def"
#undef PICTURE
};

// A short description of each picture, read out by screen readers in place of the picture;
// empty for a name that is not one of kPictures.
std::string_view DescribePicture(std::string_view asset);

}  // namespace content
