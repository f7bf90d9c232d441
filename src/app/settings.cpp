#include "app/settings.h"

#include <cstdlib>

#include "app/database.h"
#include "app/program_folder.h"

namespace qov {

cIniFile::cIniFile(std::string path) : ini_(std::move(path)) {}

std::string cIniFile::GetSetting(const std::string& section, const std::string& key) const {
    return ini_.getString(section, key, " ");
}

std::string AppFolder() {
    const char* home = std::getenv("QOVCOM_HOME");
    const auto database = CreateSqlDatabase();
    return FindProgramFolder(
               {home != nullptr ? home : "", ExecutableFolder(), UserDataFolder(), SharedFolder()},
               *database)
        .path;
}

std::string ExpandAppPath(const std::string& text, const std::string& appFolder) {
    static const std::string kToken = "{app.path}\\";
    std::string result;
    std::size_t start = 0;
    while (true) {
        const std::size_t at = text.find(kToken, start);
        if (at == std::string::npos) {
            result.append(text, start, std::string::npos);
            return result;
        }
        result.append(text, start, at - start);
        result += appFolder;
        start = at + kToken.size();
    }
}

std::string ExpandAppPath(const std::string& text) {
    return ExpandAppPath(text, AppFolder());
}

std::string VersionText() {
    return std::to_string(QOV_VERSION_MAJOR) + "." + std::to_string(QOV_VERSION_MINOR) + "." +
           std::to_string(QOV_VERSION_PATCH);
}

std::string ReadSetting(const cIniFile& settings, const std::string& section,
                        const std::string& key) {
    return settings.GetSetting(section, key);
}

std::unique_ptr<cIniFile> LoadSettings(SharedState& state, const std::string& appFolder) {
    auto settings = std::make_unique<cIniFile>(ExpandAppPath("{app.path}\\QovCom.ini", appFolder));
    const cIniFile& ini = *settings;

    state.ConnectionString =
        ExpandAppPath(ReadSetting(ini, "database", "connectionstring"), appFolder);
    state.ToneDialCommand = ReadSetting(ini, "modem", "atdt");
    state.PulseDialCommand = ReadSetting(ini, "modem", "atdp");
    state.DialCommand = state.PulseDialCommand;
    state.HangupCommand = ReadSetting(ini, "modem", "atdisconnect");
    state.MaxPrice = LeadingNumber(ReadSetting(ini, "application.rules", "maxcena"));
    state.MaxCheque = LeadingNumber(ReadSetting(ini, "application.rules", "maxcek"));
    state.MaxCard = LeadingNumber(ReadSetting(ini, "application.rules", "maxkartica"));
    state.MaxCash = LeadingNumber(ReadSetting(ini, "application.rules", "maxkes"));
    state.CyrillicFontName = ReadSetting(ini, "application.rules", "fontcyrilic");
    state.LatinFontName = ReadSetting(ini, "application.rules", "fontlatin");
    return settings;
}

}  // namespace qov
