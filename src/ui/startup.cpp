#include "ui/startup.h"

#include <algorithm>
#include <cmath>
#include <exception>

#include "app/settings.h"

namespace qov {

namespace {

int StoredNumber(const UserStore& store, const char* key, const char* defaultValue) {
    const double value =
        LeadingNumber(store.get(kPlacementApp, kPlacementSection, key, defaultValue));
    // A stored value past any screen is cut to the int range rather than overflowing.
    if (!std::isfinite(value)) {
        return 0;
    }
    return static_cast<int>(std::clamp(value, -1e9, 1e9));
}

}  // namespace

void RunFontManager(Dialogs& dialogs, Desktop& desktop, const std::string& appFolder) {
    if (!desktop.startProgram(appFolder + kFontManagerProgram)) {
        dialogs.message("Font Manager nije instaliran na vasem racunaru.", "Font Manager",
                        Icon::Exclamation);
    }
}

void CheckFontInstall(UserStore& store, Dialogs& dialogs, Desktop& desktop,
                      const std::string& appFolder) {
    try {
        if (LeadingNumber(store.get(kProductName, kFontSection, kFontKey, "0")) == 0) {
            RunFontManager(dialogs, desktop, appFolder);
            store.set(kProductName, kFontSection, kFontKey, "1");
        }
    } catch (const std::exception&) {
        // The first-start offer is a courtesy; nothing stops the start-up.
    }
}

std::unique_ptr<cIniFile> StartUp(SharedState& state, UserStore& store, Dialogs& dialogs,
                                  Desktop& desktop, const std::string& appFolder) {
    auto settings = LoadSettings(state, appFolder);
    CheckFontInstall(store, dialogs, desktop, appFolder);
    return settings;
}

WindowPlacement ReadWindowPlacement(const UserStore& store) {
    WindowPlacement p;
    p.state = StoredNumber(store, "windowstate", "0");
    p.applyGeometry = p.state == 0;
    if (p.applyGeometry) {
        p.left = StoredNumber(store, "MainLeft", "1000");
        p.top = StoredNumber(store, "MainTop", "1000");
        p.width = StoredNumber(store, "MainWidth", "6500");
        p.height = StoredNumber(store, "MainHeight", "6500");
    }
    return p;
}

void StoreWindowPlacement(UserStore& store, const WindowPlacement& p) {
    store.set(kPlacementApp, kPlacementSection, "MainLeft", std::to_string(p.left));
    store.set(kPlacementApp, kPlacementSection, "MainTop", std::to_string(p.top));
    store.set(kPlacementApp, kPlacementSection, "MainWidth", std::to_string(p.width));
    store.set(kPlacementApp, kPlacementSection, "MainHeight", std::to_string(p.height));
    store.set(kPlacementApp, kPlacementSection, "windowstate", std::to_string(p.state));
}

std::string MainCaption() {
    return "QovCom Ver. " + VersionText() + " - Arvon Cash Registers";
}

}  // namespace qov
