#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace zlfontman {

inline constexpr const char* kFontFile = "HelveticaCiril.ttf";

// Where the bundled font may be, in order: the program folder named by QOVCOM_HOME, the
// folder of this program, its "fonts" subfolder, and ../share/qovcom/fonts (installed).
std::vector<std::filesystem::path> FontCandidates(const std::filesystem::path& programFolder);

// The user's font folder: $XDG_DATA_HOME/fonts, else $HOME/.local/share/fonts.
std::optional<std::filesystem::path> UserFontFolder();

// Copies `font` into `folder` (made when missing), replacing an older copy.
// Returns an empty text on success, else what went wrong.
std::string InstallFont(const std::filesystem::path& font, const std::filesystem::path& folder);

// Runs "fc-cache -f folder" when fc-cache is on the PATH; false when it is not there or failed.
bool RefreshFontCache(const std::filesystem::path& folder);

}  // namespace zlfontman
