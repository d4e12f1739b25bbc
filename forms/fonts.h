// The course's fonts. The page descriptions name the faces the lessons were designed with; where
// they are not installed, faces of the same style that cover Traditional Chinese stand in.
#pragma once

#include <QFont>
#include <QString>
#include <utility>
#include <vector>

#include "forms/caption.h"
#include "pagedesc/pagedesc.h"

namespace forms {

// Registers the stand-ins with Qt. Called once at start-up, before any page is built.
void InstallFontSubstitutions();

QFont MakeFont(const pagedesc::FontSpec& described);

// How a label sets its text in the described font. The Chinese faces the pages were designed
// with set their lines one em apart and their spaces half an em wide, and the layouts count on
// both; the stand-ins are taller, so their lines are set at the designed pitch, and drawn a
// little smaller (each face by what its glyphs need) so that neighbouring lines do not touch.
// Other faces use their own measures.
TextStyle MakeTextStyle(const pagedesc::FontSpec& described);

// Opens each font and draws each of its characters once, in the faces a label sets it in.
// Done at start-up, it spares the first visit to a page the wait for fonts to be found and
// glyphs rasterised.
void PrepareFonts(const std::vector<std::pair<QFont, QString>>& fonts);

}  // namespace forms
