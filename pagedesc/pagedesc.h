// The data a page and its controls are built from. Plain values, no toolkit types:
// every position and size is in twips, relative to the page's client area.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace pagedesc {

enum class Kind : std::uint8_t { Label, Button, Image, Container };
enum class Alignment : std::uint8_t { Left = 0, Right = 1, Centre = 2 };

// A colour: with the top bit set the low byte names a system colour, otherwise &H00BBGGRR&.
using Colour = std::uint32_t;
inline constexpr Colour kSystemWindowBackground = 0x80000005;
inline constexpr Colour kSystemButtonText = 0x80000012;
inline constexpr Colour kBlue = 0x00FF0000;
inline constexpr Colour kLightRed = 0x008080FF;

inline constexpr bool IsSystemColour(Colour c) { return (c & 0x80000000u) != 0; }

inline constexpr std::uint16_t kCharsetWestern = 0;
inline constexpr std::uint16_t kCharsetBig5 = 136;

struct FontSpec {
  std::string_view family;
  std::uint32_t size;  // points multiplied by 10000
  std::uint16_t weight = 700;
  bool underline = false;
  bool italic = false;
  bool strikethrough = false;
  std::uint16_t charset = kCharsetBig5;

  double Points() const { return size / 10000.0; }
};

struct ControlDescription {
  std::string_view name;
  std::optional<std::uint16_t> index;  // elements of a control array only
  Kind kind = Kind::Label;
  std::int16_t left = 0, top = 0, width = 0, height = 0;
  std::optional<std::uint16_t> tab;  // none for image boxes
  bool visible = true;

  // labels and buttons
  std::string_view caption;
  std::optional<FontSpec> font;
  // labels
  Colour colour = kSystemButtonText;
  Alignment alignment = Alignment::Left;
  // buttons
  bool isDefault = false;
  bool graphical = false;
  // for screen readers: the label that names a button without a caption of its own, and what
  // the control is, beyond its name
  std::string_view labelledBy;
  std::string_view spokenDescription;
};

struct PageDescription {
  std::string_view name;
  std::int32_t clientWidth = 9915, clientHeight = 7620;
  float scaleX = 0.9915f, scaleY = 0.9525f;  // twips per page unit
  Colour background = kSystemWindowBackground;
  std::string_view title;
  // What a screen reader calls the page: the caption of its heading, or where it has none a
  // name of its own.
  std::string_view heading;
  std::string_view spokenName;
  // What the page is for, beyond its name: how to go on where nothing on it says so.
  std::string_view spokenDescription;
  std::vector<ControlDescription> controls;  // front to back

  const ControlDescription* Find(std::string_view control,
                                 std::optional<std::uint16_t> index = std::nullopt) const;
};

}  // namespace pagedesc
