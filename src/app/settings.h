#pragma once

#include <memory>
#include <string>

#include "app/ini_file.h"
#include "app/shared_state.h"
#include "app/vb_convert.h"

namespace qov {

// The settings file class: one instance for QovCom.ini, created at start.
class cIniFile {
public:
    explicit cIniFile(std::string path);

    const std::string& path() const { return ini_.path(); }

    // The value of section/key read into a 255-character buffer (at most 254 characters
    // come back) with a single space as the default.
    std::string GetSetting(const std::string& section, const std::string& key) const;

    // Key names of a section (for the [ports] map and the like).
    std::vector<std::string> keyNames(const std::string& section) const {
        return ini_.keyNames(section);
    }

private:
    IniFile ini_;
};

// The program folder, always ending in a path separator: the folder named by the
// environment variable QOVCOM_HOME when it is set, else the executable's folder when it holds
// QovCom.ini, else the per-user folder, set up at the first start (FindProgramFolder).
std::string AppFolder();

// Replaces every "{app.path}\" (exact case) by `appFolder`.
std::string ExpandAppPath(const std::string& text, const std::string& appFolder);
// The same with AppFolder().
std::string ExpandAppPath(const std::string& text);

// Major "." minor "." revision of the program's version.
std::string VersionText();

// GetSetting on the shared instance.
std::string ReadSetting(const cIniFile& settings, const std::string& section,
                        const std::string& key);

// Creates the settings instance on `appFolder` + "QovCom.ini" and reads every start-up
// key into the shared state (ConnectionString expanded, dial commands, price and
// payment limits, font names). A missing file or key gives " " for texts and 0 for numbers.
std::unique_ptr<cIniFile> LoadSettings(SharedState& state, const std::string& appFolder);

}  // namespace qov
