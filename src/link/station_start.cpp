#include "link/station_start.h"

#include "app/vb_convert.h"

namespace qov {

void SetStartValues(SharedState& state) {
    FillDefaultTables(state);
    state.CyrillicLanguage = true;
    state.PortNumber = 1;
    state.LineWidth = 22;
    state.DialCommand = state.PulseDialCommand;
    state.LinePassword.clear();
    state.PhoneNumber.clear();
    state.BaudRate = 9600;
}

void LoadStoredLine(Station& station, StoredLineOptions options) {
    SharedState& s = station.state;
    Database& db = station.database;
    station.link.link().Close_RS232();
    db.open(s.ConnectionString);
    try {
        auto rows = db.query("select * from port");
        if (rows->next()) {
            s.BaudRate = ToInteger32(rows->value("qov"));
            s.PortNumber = ToInteger16(rows->value("port"));
            s.PhoneNumber = rows->value("phonenm");
            s.DialCommand = rows->value("Tone");
            if (options.openLine) {
                station.link.link().Init_RS232bd(s.PortNumber, s.BaudRate);
            }
        }
        if (options.emptyReceivedTables) {
            db.execute("delete from QOV_PLU_RCV");
            db.execute("delete from QOV_PLU_RCV_SOLD");
        }
    } catch (...) {
        db.close();
        throw;
    }
    db.close();
}

}  // namespace qov
