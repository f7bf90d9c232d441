// zlfontman: installs the station's Cyrillic display font for the current user.
//
//   zlfontman [FONT]
//
// Without FONT the bundled HelveticaCiril.ttf is looked for in the program folder
// (QOVCOM_HOME), beside this program and in ../share/qovcom/fonts. The font goes into the user's
// font folder
// ($XDG_DATA_HOME/fonts or ~/.local/share/fonts) and the font cache is refreshed.
// Exit status: 0 installed, 1 font not found, 2 not installed.

#include <unistd.h>
#include <climits>
#include <cstdio>

#include "font_install.h"

namespace fs = std::filesystem;

namespace {

fs::path ProgramFolder(const char* argv0) {
    char buffer[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
    if (n > 0) {
        buffer[n] = '\0';
        return fs::path(buffer).parent_path();
    }
    std::error_code error;
    return fs::absolute(fs::path(argv0), error).parent_path();
}

}  // namespace

int main(int argc, char** argv) {
    fs::path font;
    if (argc > 1) {
        font = argv[1];
    } else {
        for (const fs::path& candidate : zlfontman::FontCandidates(ProgramFolder(argv[0]))) {
            std::error_code error;
            if (fs::is_regular_file(candidate, error)) {
                font = candidate;
                break;
            }
        }
    }
    std::error_code error;
    if (font.empty() || !fs::is_regular_file(font, error)) {
        std::fprintf(stderr, "zlfontman: %s not found\n",
                     font.empty() ? zlfontman::kFontFile : font.c_str());
        return 1;
    }
    const auto folder = zlfontman::UserFontFolder();
    if (!folder) {
        std::fprintf(stderr, "zlfontman: no user font folder (HOME is not set)\n");
        return 2;
    }
    const std::string failure = zlfontman::InstallFont(font, *folder);
    if (!failure.empty()) {
        std::fprintf(stderr, "zlfontman: %s\n", failure.c_str());
        return 2;
    }
    const bool cached = zlfontman::RefreshFontCache(*folder);
    std::printf("zlfontman: %s installed in %s%s\n", font.filename().c_str(), folder->c_str(),
                cached ? "" : " (font cache not refreshed)");
    return 0;
}
