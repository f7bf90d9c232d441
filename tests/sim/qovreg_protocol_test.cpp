// The real link library against a running qovreg, over TCP and a pseudo-terminal.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <chrono>
#include <thread>

#include "qovdll/line.h"
#include "support/test_environment.h"

namespace {

using namespace std::chrono_literals;

std::string pad(std::string s, std::size_t w) {
    s.resize(w, ' ');
    return s;
}

std::string num(long long v, std::size_t w) {
    const std::string s = std::to_string(v);
    return std::string(w - s.size(), '0') + s;
}

// "PR" frame of article 4000 + i.
std::string article(int i) {
    return "PR" + num(4000 + i, 12) + num(i % 10, 2) + pad("ARTIKAL BR " + std::to_string(i), 28) +
           num(100 * i + 5, 8) + "0" + std::to_string(i % 9) + std::to_string(i % 5) + "1";
}

// A qovreg with its frame log, and the link library's line opened towards it on port 1.
class Qovreg {
public:
    explicit Qovreg(QStringList args, bool pty = false, int attempts = 3) {
        args << "--log" << dir_.filePath("reg.log") << (pty ? "--pty" : "--tcp")
             << (pty ? dir_.filePath("ttyQOV") : "127.0.0.1:0");
        process_.start(QStringLiteral(QOV_BIN_DIR "/qovreg"), args);
        while (!process_.canReadLine() && process_.waitForReadyRead(5000)) {
        }
        const std::string ready = process_.readLine().trimmed().toStdString();
        EXPECT_TRUE(ready.starts_with("qovreg listening on ")) << ready;
        address = ready.substr(std::min<std::size_t>(ready.size(), 20));
        // Waits for ACK, reply and byte gap (ms), the byte-time allowance, attempts.
        line.setTimings({{200, 250, 100, 20, attempts}, {200, 250, 100, 0, attempts}, 3000, 3000});
        line.setPortDevice(1, pty ? address : "tcp://" + address);
        EXPECT_EQ(line.Init_RS232bd(1, 9600), 0);
    }
    ~Qovreg() { stop(); }

    // Closes the line and ends qovreg with SIGTERM; its exit code (-1: killed).
    int stop() {
        line.Close_RS232();
        process_.terminate();
        process_.waitForFinished(5000);  // if not, killed with the QProcess
        return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
    }
    // Log lines starting with prefix and holding text.
    int logged(const std::string& prefix, const std::string& text = {}) const {
        const QString log =
            QString::fromLatin1(qov::test::ReadFile(dir_.filePath("reg.log").toStdString()));
        return static_cast<int>(std::ranges::count_if(log.split('\n'), [&](const QString& l) {
            return l.startsWith(prefix.c_str()) && l.contains(QString::fromLatin1(text));
        }));
    }
    int send(const std::string& t) { return line.send_frame(t, static_cast<int>(t.size())); }
    // The reply text without its status byte; empty when get_frame gives no text.
    std::string request(const std::string& text) {
        qovdll::ReplyBuffer reply{};
        const int n = line.get_frame(text, static_cast<int>(text.size()), reply);
        return std::string(reinterpret_cast<const char*>(reply.data()) + 1,
                           static_cast<std::size_t>(std::max(n, 0)));
    }
    // Raw modem answers until want shows up or the reads run out.
    std::string readUntil(const std::string& want) {
        std::string all;
        for (int i = 0; i < 30 && all.find(want) == std::string::npos; ++i) {
            std::string buffer(64, ' ');
            int count = 0;
            line.read_data(count, buffer);
            all += buffer.substr(0, static_cast<std::size_t>(count));
        }
        return all;
    }

    qovdll::Line line;
    std::string address;

private:
    QTemporaryDir dir_;
    QProcess process_;
};

TEST(Qovreg, LostRepliesComeFromTheStoreAndTheReceiptIsSoldOnce) {
    Qovreg reg({"--drop-after-exec", "0.5", "--seed", "3"});
    ASSERT_EQ(reg.send("PR00000000004205" + pad("KAFA", 28) + "000250000100"), 0);
    ASSERT_EQ(reg.send("PQ000000000042000010000"), 0);
    // a sale of two at 250.00; each of the frames below is sent again when its reply is lost
    const std::string sale = "PS10000000000042001234567891230011000002000" + num(0, 8);
    for (const std::string& f :
         std::vector<std::string>{"p", sale, sale, sale, "g10" + num(0, 11), "q"})
        ASSERT_EQ(reg.line.send_frameMD(f, static_cast<int>(f.size())), 0) << f;
    EXPECT_EQ(reg.request("PTFIRST").substr(54), num(150000, 11) + num(6000, 9) + num(4000, 9));
    EXPECT_EQ(reg.request("E00").substr(19), num(150000, 11) + num(1, 6));
    reg.stop();
    EXPECT_EQ(reg.logged("> ", "PS10000000000042"), 3);
    EXPECT_GE(reg.logged("F lost"), 1);
    EXPECT_EQ(reg.logged("F lost"), reg.logged("= "));
}

TEST(Qovreg, BadCommandLineNamedOnStandardError) {
    const std::pair<QStringList, std::string> cases[] = {
        {{"--tcp", "[::1]:70000"}, "bad address for --tcp (HOST:PORT): [::1]:70000"},
        {{"--fault-rate", "0,05"}, "bad value for --fault-rate (a number 0-1): 0,05"},
        {{"--dial", "later"}, "bad value for --dial: later"},
        {{"--log"}, "missing value for --log"},
        {{"--demo=1"}, "unknown option: --demo=1"},
    };
    for (const auto& [args, message] : cases) {
        QProcess p;
        p.start(QStringLiteral(QOV_BIN_DIR "/qovreg"), args);
        ASSERT_TRUE(p.waitForFinished(5000));
        EXPECT_EQ(p.exitCode(), 2);
        const std::string err = p.readAllStandardError().toStdString();
        EXPECT_EQ(err.substr(0, err.find('\n')), "qovreg: " + message);
    }
}

// The demo shop on a pseudo-terminal, its memory kept in the state file for the next start.
TEST(Qovreg, PseudoTerminalLineAndTheMemoryKeptAcrossARestart) {
    QTemporaryDir dir;
    const QString state = dir.filePath("reg.json");
    const std::string type = std::string("SOKOVI") + '\0' + "     ";
    {
        Qovreg reg({"--demo", "--state", state}, true);
        EXPECT_EQ(reg.line.Testconnessione(), 0);
        EXPECT_EQ(reg.request("n").substr(10, 5), "00336");  // the demo shop's articles
        ASSERT_EQ(reg.send(article(7)), 0);
        std::string saved;  // written while it runs
        for (int i = 0; i < 100 && saved.find("ARTIKAL BR 7") == std::string::npos; ++i) {
            std::this_thread::sleep_for(20ms);
            saved = qov::test::ReadFile(state.toStdString());
        }
        EXPECT_NE(saved.find("ARTIKAL BR 7"), std::string::npos);
        EXPECT_EQ(reg.send("ZR4" + type), 0);
        EXPECT_EQ(reg.request("ZT4"), "4" + type);
        EXPECT_EQ(reg.stop(), 0);
        EXPECT_FALSE(QFile::exists(QString::fromStdString(reg.address)));  // the link goes too
    }
    Qovreg reg({"--state", state});
    EXPECT_EQ(reg.request("ZT4"), "4" + type);  // the last change too
    EXPECT_EQ(reg.request("PTFIRST").substr(0, 12), num(4007, 12));
}

TEST(Qovreg, ModemDialFailuresStayInCommandMode) {
    const char* const outcomes[] = {"busy",     "BUSY",      "nocarrier",  "NO CARRIER",
                                    "noanswer", "NO ANSWER", "nodialtone", "NO DIALTONE"};
    for (std::size_t i = 0; i < std::size(outcomes); i += 2) {
        const char *dial = outcomes[i], *text = outcomes[i + 1];
        Qovreg reg({"--modem", "--dial", dial});
        reg.line.send_data("ATDT0111234567\r\n", 16);
        EXPECT_EQ(reg.readUntil(text), std::string("\r\n") + text + "\r\n");
        reg.line.send_data("AT\r\n", 4);
        EXPECT_EQ(reg.readUntil("OK"), "\r\nOK\r\n") << dial;
    }
}

TEST(Qovreg, ModemConnectsWithRingCarriesFramesAndHangsUp) {
    Qovreg reg({"--modem", "--ring"});
    reg.line.send_data("ATDT0111234567\r\n", 16);
    EXPECT_EQ(reg.readUntil("CONNECT"), "\r\nRING\r\n\r\nCONNECT 9600\r\n");
    reg.line.send_data("tajna", 5);
    EXPECT_EQ(reg.line.TestconnessioneM(), 0);
    EXPECT_EQ(reg.line.send_frameM("R00HLEB        00000000", 23), 0);
    reg.line.send_data("+++ATH0\r\n", 9);
    EXPECT_EQ(reg.readUntil("\r\nOK\r\n\r\nOK\r\n"), "\r\nOK\r\n\r\nOK\r\n");  // escape, ATH0
    EXPECT_EQ(reg.line.Testconnessione(), 1);                                  // hung up: no ACK
    reg.stop();
    EXPECT_EQ(reg.logged("> ", "R00HLEB"), 1);
}

// Bytes in pieces as a USB adapter hands them over: one read takes the whole modem answer, the
// line then counts as a modem line, and replies come through whole. A request that stops for
// longer than --byte-gap is answered with NAK.
TEST(Qovreg, AnswersInPiecesAndTheByteGapAsOptions) {
    Qovreg reg({"--modem", "--chunk", "3", "--chunk-delay", "10", "--byte-gap", "100"});
    reg.line.send_data("ATDT0111234567\r\n", 16);
    std::string answer(16, ' ');
    int count = 0;
    for (int read = 0; read < 10 && count == 0; ++read)  // the dial takes 300 ms
        reg.line.read_data(count, answer);
    EXPECT_EQ(answer, "\r\nCONNECT 9600\r\n");
    EXPECT_TRUE(reg.line.modemLine());
    EXPECT_EQ(reg.request("J"), "AR0001100000001FM000001");
    reg.line.send_data(qovdll::encodeFrame('5', "n").substr(0, 4), 4);
    EXPECT_EQ(reg.readUntil("\x15"), "\x15");
}

TEST(Qovreg, EveryTableReadBackIntactOverTcpThroughFivePercentFaults) {
    Qovreg reg({"--fault-rate", "0.05", "--seed", "11"}, false, 6);
    ASSERT_EQ(reg.line.Testconnessione(), 0);
    // Store frame, the request that reads it back and what the reply holds after the frame's
    // text (the frame's command letters left out).
    std::vector<std::array<std::string, 3>> tables = {{"X07300002101130", "L", ""}};
    for (int i = 0; i < 31; ++i) {
        const std::string n = num(i, 2), d = std::to_string(i);
        tables.push_back(
            {"O" + n + pad("KASIR \xC8" + d, 12) + "  " + num(i * 7, 3), "E" + n, num(0, 17)});
        if (i < 10)
            tables.push_back(
                {"R" + n + pad("ODELJ " + d, 12) + num(i * 1000, 8), "B" + n, num(0, 20)});
        if (i < 4)
            tables.push_back({"U" + d + pad("VAL" + d, 12) + "11" + d + ".50000", "M" + d, ""});
        if (i >= 1 && i <= 5)
            tables.push_back({"QR" + d + "U" + d + " ", "QT" + d, ""});
        if (i >= 1 && i <= 8)
            tables.push_back({"ZR" + d + "TIP" + d + '\0' + "       ", "ZT" + d, ""});
        if (i >= 1 && i <= 20)  // the articles in code order, with their stock
            tables.push_back(
                {article(i), i == 1 ? "PTFIRST" : "PTNEXT", num(0, 20) + num(i * 1500, 9)});
    }
    for (const auto& [frame, request, after] : tables) {
        ASSERT_EQ(reg.send(frame), 0) << frame;
        if (frame.starts_with("PR")) {
            ASSERT_EQ(reg.send("PQ" + frame.substr(2, 12) + after.substr(20)), 0);
        }
    }
    for (const auto& [frame, request, after] : tables)
        EXPECT_EQ(reg.request(request), frame.substr(frame[1] == 'R' ? 2 : 1) + after);
    EXPECT_EQ(reg.request("PTNEXT"), "");
    EXPECT_EQ(reg.stop(), 0);        // SIGTERM ends it cleanly
    EXPECT_GT(reg.logged("F "), 5);  // the faults did happen, and no store frame ran twice
    EXPECT_EQ(reg.logged("> ", "O01KASIR \\xC81      007"), 1);  // bytes over 0x7E as \xHH
    EXPECT_EQ(reg.logged("> ", "R03ODELJ 3"), 1);
    EXPECT_EQ(reg.logged("> ", "PQ000000004020"), 1);
}

}  // namespace
