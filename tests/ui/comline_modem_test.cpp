// Dialling and hanging up through the real link library against the register simulator's
// Hayes modem (qovreg --modem), one case per dial outcome.

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QProcess>

#include "app/ini_file.h"
#include "link/comline.h"
#include "link/qovdll_link.h"
#include "support/memory_user_store.h"
#include "support/scripted_dialogs.h"
#include "ui/temp_database.h"

namespace qov {
namespace {

// qovreg on a free loopback port, stopped when the object goes.
class ModemSimulator {
public:
    explicit ModemSimulator(const QStringList& args) {
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(QOV_BIN_DIR "/qovreg", QStringList{"--tcp", "127.0.0.1:0"} + args);
        if (!process_.waitForStarted(10000)) {
            return;
        }
        const QByteArray marker = "qovreg listening on ";
        QDeadlineTimer deadline(10000);
        while (!deadline.hasExpired() && process_.state() == QProcess::Running) {
            if (!process_.canReadLine() && !process_.waitForReadyRead(200)) {
                continue;
            }
            const QByteArray line = process_.readLine().trimmed();
            if (line.startsWith(marker)) {
                address_ = "tcp://" + line.mid(marker.size()).toStdString();
                return;
            }
        }
    }
    ~ModemSimulator() {
        process_.terminate();
        if (!process_.waitForFinished(5000)) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }
    const std::string& address() const { return address_; }

private:
    QProcess process_;
    std::string address_;
};

struct Outcome {
    const char* dial;
    bool ring;
    std::vector<std::string> texts;
    bool modemMode;
};

class ComLineModemTest : public ::testing::TestWithParam<Outcome> {};

TEST_P(ComLineModemTest, DialsTheSimulatedModem) {
    const Outcome& o = GetParam();
    QStringList args{"--modem", "--dial", o.dial};
    if (o.ring) {
        args << "--ring";
    }
    ModemSimulator sim(args);
    ASSERT_FALSE(sim.address().empty()) << "qovreg did not start";

    const std::string folder = test::MakeTempFolder("qovmodem") + "/";
    test::WriteFile(folder + "QovCom.ini", "[ports]\r\ncom1=" + sim.address() + "\r\n");
    const IniFile ini(folder + "QovCom.ini");
    const auto link = makeQovDllLink(ini, folder);

    SharedState state;
    state.ConnectionString = test::MakeTempDatabase();
    state.ToneDialCommand = "ATDT";
    state.PulseDialCommand = "ATDP";
    state.DialCommand = "ATDT";
    // Online, the modem passes everything on: the hang-up escapes to command mode first.
    state.HangupCommand = "+++ATH";
    test::ScriptedDialogs dialogs;
    dialogs.answer(Answer::Cancel);
    LinkCalls calls(state, *link);
    test::RecordingDatabase db;
    test::MemoryUserStore store;
    Station station{state, dialogs, calls, db, store};

    ComLine screen(station);
    screen.open();
    screen.portIndex = 0;
    screen.phoneNumber = "0113334444";
    screen.password = "tajna";
    screen.onToolbar("Connect");
    EXPECT_EQ(dialogs.texts(), o.texts);
    EXPECT_EQ(state.ModemMode, o.modemMode);

    if (o.modemMode) {
        // Over the dialled line the link test takes the modem form and the register answers.
        dialogs.clear();
        TestLink(station);
        EXPECT_EQ(dialogs.texts(), (std::vector<std::string>{"Veza je u redu!"}));
        dialogs.clear();
        screen.onToolbar("Disconnect");
        EXPECT_EQ(dialogs.texts(), (std::vector<std::string>{"Komunikacija je prekinuta ! "}));
        EXPECT_FALSE(state.ModemMode);
    }
    link->Close_RS232();
}

INSTANTIATE_TEST_SUITE_P(
    Qovreg, ComLineModemTest,
    ::testing::Values(
        Outcome{"connect", false, {"Komunikacija je ostvarena ! "}, true},
        Outcome{"connect", true, {"Imate poziv ! ", "Komunikacija je ostvarena ! "}, true},
        Outcome{"busy", false, {"Broj je zauzet !\n"}, false},
        Outcome{"nocarrier", false, {"Linija je zauzeta !\n"}, false},
        Outcome{"noanswer", false, {"Nema odgovora !\n"}, false},
        Outcome{"nodialtone", false, {"Linija je prekinuta !\n"}, false}),
    [](const ::testing::TestParamInfo<Outcome>& info) {
        return std::string(info.param.dial) + (info.param.ring ? "_ring" : "");
    });

}  // namespace
}  // namespace qov
