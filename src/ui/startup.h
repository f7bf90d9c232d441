#pragma once

#include <memory>
#include <string>

#include "app/dialogs.h"
#include "app/settings.h"
#include "app/user_store.h"
#include "ui/desktop.h"

namespace qov {

// Names under which the per-user values are kept: the window placement under the
// program's title, the first-start flag under the product name.
inline constexpr const char* kPlacementApp = "QovCom";
inline constexpr const char* kProductName = "QovCom Station";
inline constexpr const char* kPlacementSection = "Settings";
inline constexpr const char* kFontSection = "system.io";
inline constexpr const char* kFontKey = "addfonts";

// The font installer's program name in the program folder.
#ifdef _WIN32
inline constexpr const char* kFontManagerProgram = "zlfontman.exe";
#else
inline constexpr const char* kFontManagerProgram = "zlfontman";
#endif

// Starts the font installer from the program folder; when it cannot be started, says so
// ("Font Manager nije instaliran na vasem racunaru.").
void RunFontManager(Dialogs& dialogs, Desktop& desktop, const std::string& appFolder);

// On the first start (stored "addfonts" is 0) runs the font installer and stores "1",
// whether or not it could be started. Failures inside are ignored.
void CheckFontInstall(UserStore& store, Dialogs& dialogs, Desktop& desktop,
                      const std::string& appFolder);

// The start before the main window: LoadSettings on the program folder, then the
// first-start font offer. Returns the settings instance.
std::unique_ptr<cIniFile> StartUp(SharedState& state, UserStore& store, Dialogs& dialogs,
                                  Desktop& desktop, const std::string& appFolder);

// The main window's state and placement as the per-user store keeps them: state 0 normal,
// 1 minimised, 2 maximised; positions and sizes in twips.
struct WindowPlacement {
    int state = 0;
    int left = 1000;
    int top = 1000;
    int width = 6500;
    int height = 6500;
    // Whether left/top/width/height are to be applied (only for a normal window).
    bool applyGeometry = true;
};

inline constexpr int kTwipsPerPixel = 15;

// Reads the stored state; the stored position and size only when the state is normal.
WindowPlacement ReadWindowPlacement(const UserStore& store);

// Stores the placement (numbers as text) and the state.
void StoreWindowPlacement(UserStore& store, const WindowPlacement& placement);

// The main window's caption: "QovCom Ver. " + version + " - Arvon Cash Registers".
std::string MainCaption();

}  // namespace qov
