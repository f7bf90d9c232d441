#pragma once

#include <array>
#include <functional>
#include <string>

#include "link/station.h"

namespace qov {

// Line speeds of the speed list, by list position ("speed index").
inline constexpr std::array<int, 5> kLineSpeeds{4800, 9600, 19200, 38400, 57600};
inline constexpr int kPortCount = 8;

// The list position of a line speed, or -1 when the speed is not in the list.
int SpeedIndexOf(int baudRate);

// Waits by polling the millisecond tick counter until at least `ms` milliseconds have
// passed since the call.
void Pause(int ms);

// The link test of the navigation menu: TestconnessioneM while ModemMode, else
// Testconnessione; an answering register gives "Veza je u redu!".
void TestLink(Station& station);

// The remote keyboard's speed follow-up after its subtotal key, with the register's
// display text: "5.8.11.1" followed by the speed index at the 10th character takes that
// index; "5.8.11.4" reopens the line at the speed of `speedIndex` and stores the PORT row.
void CheckForSpeed(Station& station, const std::string& display, int& speedIndex);

// The line set-up screen "Komunikacija" (frmcomline): serial port, speed, tone or pulse
// dialling, phone number and password; stores the set-up in the PORT table, dials and
// hangs up a modem.
class ComLine {
public:
    static constexpr const char* kFormName = "frmcomline";
    static constexpr int kDialReads = 150;
    static constexpr int kHangupReads = 100;

    explicit ComLine(Station& station);

    // Screen fields. portIndex: 0-7 ("Com1".."Com8"), -1 none; speedIndex: 0-4, -1 none.
    int portIndex = -1;
    int speedIndex = -1;
    bool tone = false;
    std::string phoneNumber;
    std::string password;

    // The screen opens: CurrentForm = "frmcomline", then the fields from the shared state.
    void open();
    // The fields from the shared state.
    void RefreshLineScreen();

    // The "Tone" check box was clicked and now shows `checked`.
    void onToneClicked(bool checked);

    // A toolbar button by its key: "Salva", "Annulla", "Connect", "Disconnect".
    void onToolbar(const std::string& key);

    // Set by "Annulla": the screen asks to be closed.
    bool closeRequested() const { return closeRequested_; }

    // The wait before a redial (Pause by default; tests replace it).
    std::function<void(int)> pause = Pause;

private:
    void salva();
    void connect();
    void disconnect();
    // Dials once and reads the answer; true when the user asked to dial again.
    bool dialOnce();
    void applyFields();
    void storePortRow();

    Station& st_;
    bool closeRequested_ = false;
};

// The PORT row statements ("Salva" form: port unquoted; keyboard form: every value quoted).
std::string PortDeleteStatement();
std::string PortInsertStatement(const SharedState& state, bool quotePort);

}  // namespace qov
