#pragma once

#include <string>

namespace qov {

inline constexpr const char* kDisplayFontFile = "HelveticaCiril.ttf";

// Loads the Cyrillic display font for this run: from the program folder, else from the shared
// files (fonts/), else from beside the program. Returns the font's family name ("Helvetica Ciril"),
// or empty text when no copy could be loaded.
std::string LoadDisplayFont(const std::string& appFolder);

}  // namespace qov
