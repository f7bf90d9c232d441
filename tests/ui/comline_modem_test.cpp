// "Connect" through the real link library against the register simulator's
// Hayes modem (qovreg --modem), one case per dial outcome.

#include <gtest/gtest.h>

#include <QProcess>

#include "app/ini_file.h"
#include "link/comline.h"
#include "link/qovdll_link.h"
#include "support/memory_user_store.h"
#include "support/scripted_dialogs.h"
#include "support/test_environment.h"

namespace qov {
namespace {

using Texts = std::vector<std::string>;

struct Outcome {
    const char* dial;  // qovreg --dial
    bool ring;         // qovreg --ring: the modem reports RING before the answer
    Texts boxes;
};

void PrintTo(const Outcome& o, std::ostream* os) {
    *os << o.dial << (o.ring ? "_ring" : "");
}

class ComLineModemTest : public ::testing::TestWithParam<Outcome> {};

TEST_P(ComLineModemTest, DialsTheSimulatedModem) {
    const Outcome& o = GetParam();
    // qovreg on a free loopback port tells the address it listens on; the process is killed
    // when `qovreg` goes out of scope.
    QProcess qovreg;
    qovreg.start(QOV_BIN_DIR "/qovreg",
                 QStringList{"--tcp", "127.0.0.1:0", "--modem", "--dial", o.dial} +
                     (o.ring ? QStringList{"--ring"} : QStringList{}));
    const QByteArray marker = "qovreg listening on ";
    std::string address;
    while (address.empty() && (qovreg.canReadLine() || qovreg.waitForReadyRead(10000))) {
        const QByteArray line = qovreg.readLine().trimmed();
        if (line.startsWith(marker))
            address = "tcp://" + line.mid(marker.size()).toStdString();
    }
    ASSERT_NE(address, "") << "qovreg did not start";
    const std::string folder = test::MakeTempFolder("qovmodem") + "/";
    test::WriteFile(folder + "QovCom.ini", "[ports]\r\ncom1=" + address + "\r\n");
    const auto link = makeQovDllLink(IniFile(folder + "QovCom.ini"), folder);

    SharedState state;
    state.ConnectionString = test::MakeTempDatabase();
    state.DialCommand = "ATDT";
    state.HangupCommand = "+++ATH";  // online the modem passes everything on: escape first
    test::ScriptedDialogs dialogs;
    dialogs.answer(Answer::Cancel);  // no second try after a failed dial
    LinkCalls calls(state, *link);
    const auto db = CreateSqlDatabase();
    test::MemoryUserStore store;
    Station station{state, dialogs, calls, *db, store};

    ComLine screen(station);
    screen.open();  // port 1 at 9600
    screen.phoneNumber = "0113334444";
    screen.password = "tajna";
    screen.onToolbar("Connect");
    EXPECT_EQ(dialogs.texts(), o.boxes);
    EXPECT_EQ(state.ModemMode, o.boxes.back() == "Komunikacija je ostvarena ! ");
    link->Close_RS232();
}

INSTANTIATE_TEST_SUITE_P(
    Qovreg, ComLineModemTest,
    ::testing::Values(Outcome{"connect", false, {"Komunikacija je ostvarena ! "}},
                      Outcome{"connect", true, {"Imate poziv ! ", "Komunikacija je ostvarena ! "}},
                      Outcome{"busy", false, {"Broj je zauzet !\n"}},
                      Outcome{"nocarrier", false, {"Linija je zauzeta !\n"}},
                      Outcome{"noanswer", false, {"Nema odgovora !\n"}},
                      Outcome{"nodialtone", false, {"Linija je prekinuta !\n"}}),
    ::testing::PrintToStringParamName());

}  // namespace
}  // namespace qov
