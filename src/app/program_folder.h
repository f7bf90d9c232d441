#pragma once

#include <string>
#include <vector>

#include "app/database.h"

namespace qov {

inline constexpr const char* kSettingsFileName = "QovCom.ini";
inline constexpr const char* kDatabaseFileName = "QovCom.db";

// The running program's folder, ending in "/".
std::string ExecutableFolder();

// The installation's shared files (display font in fonts/, schema files in db/, the manual in
// manual/): "../share/qovcom/" from the executable's folder, ending in "/". An installed
// program finds /usr/share/qovcom/; a build tree holds share/qovcom/ with links to the source
// tree's folders.
std::string SharedFolder();

// The per-user data folder of the application "QovCom" ($XDG_DATA_HOME/QovCom/, else
// ~/.local/share/QovCom/), ending in "/". The same for the station, qovctl and qovreg.
std::string UserDataFolder();

// Where the program folder may be.
struct FolderPlaces {
    std::string homeVariable;      // the value of QOVCOM_HOME; empty when unset
    std::string executableFolder;  // the running program's folder
    std::string userFolder;        // the per-user data folder
    std::string sharedFolder;      // the shared files (the schema for a first start)
};

enum class FolderKind { Home, Portable, PerUser };

struct ProgramFolder {
    std::string path;  // ends in "/"
    FolderKind kind = FolderKind::PerUser;
    std::string problem;  // why a first start could not set the folder up; empty when fine
};

// The program folder: the folder QOVCOM_HOME names; else the executable's folder when it holds
// QovCom.ini (a portable copy); else the per-user folder, set up by PrepareUserFolder.
// An installed program cannot write beside itself and root can write anywhere, so the choice
// never looks at write access.
ProgramFolder FindProgramFolder(const FolderPlaces& places, Database& database);

// The first start in a per-user folder (one without QovCom.ini): makes the folder, the embedded
// database QovCom.db from `schemaFile` unless one is there, and then the default QovCom.ini.
// A folder that holds QovCom.ini is left as it is. On a failure nothing half-made stays and
// QovCom.ini is not written, so the next start tries again. Returns what failed, or empty text.
std::string PrepareUserFolder(const std::string& folder, const std::string& schemaFile,
                              Database& database);

// The statements of an SQL script, trimmed: split at ";" outside quotes, "--" comments and
// blank statements dropped.
std::vector<std::string> SplitSqlScript(const std::string& script);

// The QovCom.ini of a first start: the embedded database in the program folder, the modem
// commands, the price and payment limits and the display fonts.
std::string DefaultSettingsText();

// The address ("file:///...") of a page of the manual in `sharedFolder` + "manual/", or empty
// text when that page is not installed.
std::string ManualPageUrl(const std::string& sharedFolder, const std::string& page);

}  // namespace qov
