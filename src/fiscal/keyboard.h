#pragma once

#include <array>
#include <string>
#include <string_view>

#include "fiscal/register_commands.h"
#include "link/station.h"

namespace qov::fiscal {

// One key of the register's keyboard: the button's name and its two-character code.
struct KeyboardKey {
    const char* name;
    const char* code;
};

// clang-format off
inline constexpr std::array<KeyboardKey, 36> kKeyboardKeys{{
    {"zero", "30"}, {"one", "31"}, {"two", "32"}, {"three", "33"}, {"four", "34"},
    {"five", "35"}, {"six", "36"}, {"seven", "37"}, {"eight", "38"}, {"nine", "39"},
    {"comma", "2C"}, {"doublezero", "80"}, {"dep1", "81"}, {"dep2", "82"}, {"dep3", "83"},
    {"dep4", "84"}, {"dep5", "85"}, {"clear", "86"}, {"total", "87"}, {"subtotal", "88"},
    {"currencyV", "89"}, {"ticket", "8A"}, {"creditcard", "8B"}, {"check", "8C"},
    {"key", "8D"}, {"cashin", "8E"}, {"cashout", "8F"}, {"storno", "90"},
    {"returnitem", "91"}, {"discountperc", "92"}, {"discountval", "93"}, {"plu", "94"},
    {"per", "95"}, {"feedjourn", "96"}, {"feedsc", "97"}, {"shift", "98"},
}};
// clang-format on

// The key named `name` (exact spelling of the table), or nullptr.
const KeyboardKey* FindKeyboardKey(std::string_view name);

// The display lines as shown: each line of the split reply ended early by a NUL.
DisplayLines ShownDisplay(DisplayLines lines);

// frmkeyboard, the remote keyboard without the window: key frames, the display poll and its
// timer state, the speed check after "subtotal".
class Keyboard {
public:
    static constexpr const char* kFormName = "frmkeyboard";
    static constexpr const char* kCaption = "Emulacija Tastature";
    static constexpr const char* kLinkLost = "Veza nije u redu !";
    static constexpr int kPollInterval = 100;   // ms
    static constexpr int kDisplayWait = 30000;  // ms, passed to get_frameT

    explicit Keyboard(Station& station);

    // The screen opens: CurrentForm, and the speed index from BaudRate (other speeds leave
    // it as it was).
    void open();

    // A key button: starts the poll, sends the key frame with send_frameMD under the
    // hourglass; after "subtotal" the speed check reads UserDisplay1. False for a name that
    // is not a key (nothing is sent).
    bool press(std::string_view name);

    // One tick of the poll: requests the display and shows it; a poll without reply shows
    // "Veza nije u redu !", stops the poll and asks for the screen to close. A tick while an
    // exchange is still running (the link lets the window system work while it waits) is
    // skipped. True when the lines changed.
    bool poll();

    // "Izlaz" or Esc: the poll stops and the screen asks to be closed.
    void cancel();

    // The poll's timer: 0 = no interval (does not tick), else the interval in ms.
    int timerInterval() const { return timerInterval_; }
    bool closeRequested() const { return closeRequested_; }
    const DisplayLines& display() const { return display_; }

private:
    Station& st_;
    DisplayLines display_;
    int timerInterval_ = 0;
    bool closeRequested_ = false;
    bool exchanging_ = false;
};

}  // namespace qov::fiscal
