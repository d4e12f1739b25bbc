#pragma once

#include <QColor>

#include "pagedesc/pagedesc.h"

namespace forms {

// A described colour on this screen: a system colour follows the desktop's colour scheme.
QColor ResolveColour(pagedesc::Colour colour);

}  // namespace forms
