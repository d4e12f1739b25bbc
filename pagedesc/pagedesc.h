// The data a page and its controls are built from. Plain values, no toolkit types:
// every position and size is in twips, relative to the page's client area.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

namespace pagedesc {

enum class Kind : std::uint8_t { Label, Button, Image, Container };
enum class Alignment : std::uint8_t { Left = 0, Right = 1, Centre = 2 };
enum class Frame : std::uint8_t { FixedSingle };
enum class StartUpPosition : std::uint8_t { CentreScreen };

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
  bool transparent = true;
  // buttons
  bool isDefault = false;
  bool graphical = false;
  // object container: the two stored settings whose meaning is not given
  std::int16_t containerMode = 0;
  bool containerFlag = true;
};

struct PageDescription {
  std::string_view name;
  std::int32_t clientWidth = 9915, clientHeight = 7620;
  float scaleX = 0.9915f, scaleY = 0.9525f;  // twips per page unit
  Colour background = kSystemWindowBackground;
  Frame frame = Frame::FixedSingle;
  std::string_view title;
  bool controlBox = true, minButton = false, maxButton = false;
  StartUpPosition startUp = StartUpPosition::CentreScreen;
  std::vector<ControlDescription> controls;  // front to back

  const ControlDescription* Find(std::string_view control,
                                 std::optional<std::uint16_t> index = std::nullopt) const;
};

// The twenty pages in the order of the course's page table; the first is the start-up page.
std::span<const std::string_view> PageNames();

// The description of a page by name; nullptr for a name that is not a page of the course.
const PageDescription* Describe(std::string_view page);

}  // namespace pagedesc
