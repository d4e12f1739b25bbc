#pragma once

namespace forms {

// Screen readers: image boxes are graphics named by their picture's description.
void InstallAccessibility();

}  // namespace forms
