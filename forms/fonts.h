// The course's fonts. The page descriptions name the faces the lessons were designed with; where
// they are not installed, faces of the same style that cover Traditional Chinese stand in.
#pragma once

#include <QFont>
#include <QString>
#include <tuple>
#include <utility>
#include <vector>

#include "forms/caption.h"
#include "pagedesc/pagedesc.h"

namespace forms {

// Registers the stand-ins with Qt. Called once at start-up, before any page is built.
void InstallFontSubstitutions();

// A course folder may bring font files of its own (fonts/, beside the course on Windows). Where
// the system lacks a designed face, they are registered with Qt as if installed, for the
// substitutions to find. Called once at start-up, before anything asks for a font.
void RegisterShippedFonts(const QString& courseFolder);

// The described font, at its size times the scale (a page shown larger or smaller).
QFont MakeFont(const pagedesc::FontSpec& described, double scale = 1);

// How a label sets its text in the described font. The Chinese faces the pages were designed
// with set their lines one em apart and their spaces half an em wide, and the layouts count on
// both; the stand-ins are taller, so their lines are set at the designed pitch, and drawn a
// little smaller (each face by what its glyphs need) so that neighbouring lines do not touch.
// Other faces use their own measures. At another scale every measure is the designed one times
// the scale.
TextStyle MakeTextStyle(const pagedesc::FontSpec& described, double scale = 1);

// What tells one described font from another.
using FontKey =
    std::tuple<std::string_view, std::uint32_t, std::uint16_t, bool, bool, bool, std::uint16_t>;
FontKey KeyOf(const pagedesc::FontSpec& described);

// The same, made once for each described font and kept for the program's life: every label in
// that font shares it, and its address stands for it. Kept, its faces keep their rasterised
// glyphs too: Qt drops the glyphs of fonts nobody holds. Likewise for each scale in use.
const TextStyle& TextStyleOf(const pagedesc::FontSpec& described, double scale = 1);
// The font a button draws its caption in, kept likewise.
const QFont& FontOf(const pagedesc::FontSpec& described, double scale = 1);

// Characters to draw once in a described font: as a label sets them (in the faces of its text
// style) or as a button's caption (in the font itself).
struct FontSample {
  const pagedesc::FontSpec* described;
  QString characters;
  bool asLabel = true;
};

// Opens each font and draws each character once in the faces it will be drawn in, at the
// screen's device pixel ratio. Done before a page is first shown, it spares its first visit the
// wait for fonts to be found and glyphs rasterised.
void PrepareFonts(const std::vector<FontSample>& samples);

}  // namespace forms
