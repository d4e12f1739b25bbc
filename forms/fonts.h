// The course's fonts. The page descriptions name the faces the lessons were designed with; where
// they are not installed, faces of the same style that cover Traditional Chinese stand in.
#pragma once

#include <QFont>

#include "pagedesc.h"

namespace forms {

// Registers the stand-ins with Qt. Called once at start-up, before any page is built.
void InstallFontSubstitutions();

QFont MakeFont(const pagedesc::FontSpec& spec);

}  // namespace forms
