#pragma once

#include <string>

#include "link/station.h"
#include "tables/transfer_context.h"

namespace qov::settings {

// The title of the system screen's check box and of the header and advertisement width boxes.
inline constexpr const char* kSettingsTitle = "Arvon Cash Regiters";

// The items of the communication speed list; SPEED is the selected index + 1.
inline constexpr const char* kSpeedItems[] = {"9600 bps", "19200 bps", "38400 bps", "57600 bps"};
inline constexpr int kSpeedItemCount = 4;

// The logic of the system screen frmsistema ("Sistem"): the fields of the system record, the
// check before storing and the storing. Works directly on the shared SystemParams.
class SystemEditor {
public:
    explicit SystemEditor(Station& station) : station_(station) {}

    static constexpr const char* kFormName = "frmsistema";
    static constexpr const char* kCaption = "Sistem";
    static constexpr const char* kHeading = "Podesavanje Sistema";

    // Opening: vis, then CurrentForm.
    void open();
    // Shows the record in the fields.
    void vis();
    // Checks every field in turn; the last failure found is the one shown. True when all pass.
    bool contr();
    // Stores the fields into the record.
    void ins();

    // Toolbar keys "Salva" (contr, ins, close) and "Annulla" (close without storing).
    // Returns true when the screen closes.
    bool onToolbar(const std::string& key);

    // A program file was opened: the fields from the record again.
    void reload() { vis(); }

    std::string txtncassa;     // "Broj Kase"
    std::string txtcarta;      // "Intenzitet Stampe"
    bool chkgrafica1 = false;  // "Grafika - 1"; makes txtgrafica1 available
    std::string txtgrafica1;
    bool chkgrafica2 = false;  // "Grafika - 2"; makes txtgrafica2 available
    std::string txtgrafica2;
    bool chkop = false;     // "Duzenje Kasira"
    bool chkcic = false;    // "Tonski Signal"
    bool chkmanut = false;  // "Meni Odrzavanja"
    int speedIndex = -1;    // Combo2, -1 with no item selected

private:
    Station& station_;
};

// Frame "X" from the record as it stands: every field without the blanks around it, so a blank
// field makes the frame shorter. Changes nothing.
std::string SystemFrame(const SystemParamsT& params);

// Stores an "L" reply into the record: characters 1-2 CASH, 3 PRINT, 8 and 9 the graphic
// numbers, 11-14 OBLIGATE, SINGLE, SPEED, TEST_MENY (each fitted to its width, a NUL ending a
// field early); CASH zero-filled to two digits; a graphic number other than 0 switches its
// graphic on.
void StoreSystemReply(SystemParamsT& params, const std::string& reply);

// Sends the system record (frame "X") after normalising it in place.
bool invia_sist(tables::TransferContext& ctx);
// Reads the system record back (request "L").
bool ricevi_sist(tables::TransferContext& ctx);

}  // namespace qov::settings
