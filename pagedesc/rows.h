// Helpers that let a page description read like its layout table: one call per row.
#pragma once

#include "pagedesc/pagedesc.h"

namespace pagedesc::rows {

// The font styles the course uses, all bold.
inline constexpr FontSpec Ming12{"新細明體", 120000};
inline constexpr FontSpec Ming1425{"新細明體", 142500};
inline constexpr FontSpec Ming1575{"新細明體", 157500};
inline constexpr FontSpec Ming2025{"新細明體", 202500};
inline constexpr FontSpec Ming2175U{"新細明體", 217500, 700, true};
inline constexpr FontSpec Ming24{"新細明體", 240000};
inline constexpr FontSpec Kai24{"標楷體", 240000};
inline constexpr FontSpec Kai2775{"標楷體", 277500};
inline constexpr FontSpec Kai36{"標楷體", 360000};
inline constexpr FontSpec Kai48{"標楷體", 480000};
inline constexpr FontSpec Kai72{"標楷體", 720000};
inline constexpr FontSpec Times48{"Times New Roman", 480000, 700, false, false, false,
                                  kCharsetWestern};
inline constexpr FontSpec Times24{"Times New Roman", 240000, 700, false, false, false,
                                  kCharsetWestern};

inline constexpr Colour Default = kSystemButtonText;

// The Notes column.
enum Note : unsigned {
  None = 0,
  Centred = 1u << 0,
  Hidden = 1u << 1,  // hidden at design time
  DefaultButton = 1u << 2,
  Graphical = 1u << 3,  // the button face shows a picture
};

inline ControlDescription Label(std::string_view name, int left, int top, int width, int height,
                                int tab, FontSpec font, Colour colour, std::string_view caption,
                                unsigned notes = None) {
  ControlDescription c;
  c.name = name;
  c.kind = Kind::Label;
  c.left = static_cast<std::int16_t>(left);
  c.top = static_cast<std::int16_t>(top);
  c.width = static_cast<std::int16_t>(width);
  c.height = static_cast<std::int16_t>(height);
  c.tab = static_cast<std::uint16_t>(tab);
  c.font = font;
  c.colour = colour;
  c.caption = caption;
  c.alignment = (notes & Centred) ? Alignment::Centre : Alignment::Left;
  c.visible = !(notes & Hidden);
  return c;
}

inline ControlDescription Button(std::string_view name, int left, int top, int width, int height,
                                 int tab, FontSpec font, std::string_view caption,
                                 unsigned notes = None) {
  ControlDescription c;
  c.name = name;
  c.kind = Kind::Button;
  c.left = static_cast<std::int16_t>(left);
  c.top = static_cast<std::int16_t>(top);
  c.width = static_cast<std::int16_t>(width);
  c.height = static_cast<std::int16_t>(height);
  c.tab = static_cast<std::uint16_t>(tab);
  c.font = font;
  c.caption = caption;
  c.isDefault = (notes & DefaultButton) != 0;
  c.graphical = (notes & Graphical) != 0;
  c.visible = !(notes & Hidden);
  return c;
}

// A graphical button has no caption and no font of its own.
inline ControlDescription PictureButton(std::string_view name, int left, int top, int width,
                                        int height, int tab) {
  ControlDescription c = Button(name, left, top, width, height, tab, Ming12, "", Graphical);
  c.font.reset();
  return c;
}

// An element of a control array: same name, its own index.
inline ControlDescription Element(ControlDescription c, int index) {
  c.index = static_cast<std::uint16_t>(index);
  return c;
}

inline ControlDescription Image(std::string_view name, int left, int top, int width, int height,
                                unsigned notes = None) {
  ControlDescription c;
  c.name = name;
  c.kind = Kind::Image;
  c.left = static_cast<std::int16_t>(left);
  c.top = static_cast<std::int16_t>(top);
  c.width = static_cast<std::int16_t>(width);
  c.height = static_cast<std::int16_t>(height);
  c.visible = !(notes & Hidden);
  return c;
}

inline ControlDescription Container(std::string_view name, int left, int top, int width, int height,
                                    int tab) {
  ControlDescription c;
  c.name = name;
  c.kind = Kind::Container;
  c.left = static_cast<std::int16_t>(left);
  c.top = static_cast<std::int16_t>(top);
  c.width = static_cast<std::int16_t>(width);
  c.height = static_cast<std::int16_t>(height);
  c.tab = static_cast<std::uint16_t>(tab);
  return c;
}

// What a screen reader calls the page: the caption of one of its labels, or a name of its own.
inline PageDescription HeadedBy(std::string_view label, PageDescription p) {
  p.heading = label;
  return p;
}
inline PageDescription Spoken(std::string_view name, PageDescription p) {
  p.spokenName = name;
  return p;
}
inline PageDescription Described(std::string_view description, PageDescription p) {
  p.spokenDescription = description;
  return p;
}
// A button named by a label beside it, and what a control is, for screen readers.
inline ControlDescription LabelledBy(std::string_view label, ControlDescription c) {
  c.labelledBy = label;
  return c;
}
inline ControlDescription Described(std::string_view description, ControlDescription c) {
  c.spokenDescription = description;
  return c;
}

// Page windows come in two design sizes.
inline PageDescription Page(std::string_view name, std::vector<ControlDescription> controls) {
  PageDescription p;
  p.name = name;
  p.controls = std::move(controls);
  return p;
}

inline PageDescription NarrowPage(std::string_view name, std::vector<ControlDescription> controls) {
  PageDescription p = Page(name, std::move(controls));
  p.clientWidth = 9885;
  p.clientHeight = 7590;
  p.scaleX = 0.9885f;
  p.scaleY = 0.94875f;
  return p;
}

}  // namespace pagedesc::rows
