#include "font_install.h"

#include <sys/wait.h>
#include <unistd.h>
#include <cstdlib>

namespace fs = std::filesystem;

namespace zlfontman {

std::vector<fs::path> FontCandidates(const fs::path& programFolder) {
    std::vector<fs::path> candidates;
    if (const char* home = std::getenv("QOVCOM_HOME"); home != nullptr && *home != '\0') {
        candidates.push_back(fs::path(home) / kFontFile);
        candidates.push_back(fs::path(home) / "fonts" / kFontFile);
    }
    candidates.push_back(programFolder / kFontFile);
    candidates.push_back(programFolder / "fonts" / kFontFile);
    // An installed program: /usr/bin/zlfontman and /usr/share/qovcom/fonts/.
    candidates.push_back(programFolder.parent_path() / "share" / "qovcom" / "fonts" / kFontFile);
    return candidates;
}

std::optional<fs::path> UserFontFolder() {
    if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && *data == '/') {
        return fs::path(data) / "fonts";
    }
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return fs::path(home) / ".local" / "share" / "fonts";
    }
    return std::nullopt;
}

std::string InstallFont(const fs::path& font, const fs::path& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) {
        return "cannot create " + folder.string() + ": " + error.message();
    }
    // Copy beside the target and rename, so a font viewer never sees half a file.
    const fs::path target = folder / font.filename();
    const fs::path partial = folder / (font.filename().string() + ".part");
    fs::copy_file(font, partial, fs::copy_options::overwrite_existing, error);
    if (error) {
        return "cannot copy " + font.string() + ": " + error.message();
    }
    fs::permissions(partial,
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                        fs::perms::others_read,
                    error);
    fs::rename(partial, target, error);
    if (error) {
        fs::remove(partial, error);
        return "cannot write " + target.string();
    }
    return {};
}

bool RefreshFontCache(const fs::path& folder) {
    const pid_t child = fork();
    if (child < 0) {
        return false;
    }
    if (child == 0) {
        const std::string dir = folder.string();
        execlp("fc-cache", "fc-cache", "-f", dir.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    if (waitpid(child, &status, 0) < 0) {
        return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace zlfontman
