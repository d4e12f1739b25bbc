// The course's fonts. The page descriptions name the faces the lessons were designed with; where
// they are not installed, faces of the same style that cover Traditional Chinese stand in.
#pragma once

#include <QFont>
#include <QString>
#include <vector>

#include "pagedesc.h"

namespace forms {

// Registers the stand-ins with Qt. Called once at start-up, before any page is built.
void InstallFontSubstitutions();

QFont MakeFont(const pagedesc::FontSpec& spec);

// The distance between two lines of a label's text. The Chinese faces the pages were designed
// with set their lines one em apart, and the layouts count on it; the stand-ins are taller, so
// their lines are set at the designed pitch. Other faces use their own line height.
qreal LinePitch(const pagedesc::FontSpec& spec, const QFont& font);

}  // namespace forms

namespace forms {

// Opens every font the pages use and draws each given character once in it. Done at start-up,
// it spares the first visit to a page the wait for fonts to be found and glyphs rasterised.
void PrepareFonts(const std::vector<QFont>& fonts, const QString& characters);

}  // namespace forms
