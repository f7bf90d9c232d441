// The real link library against a running qovreg, over TCP and a pseudo-terminal.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "qovdll/line.h"
#include "support/test_environment.h"

namespace {

using namespace std::chrono_literals;

// A qovreg process for one test; stopped with SIGTERM at the end.
class Qovreg {
public:
    explicit Qovreg(QStringList args) {
        process_.setProgram(QStringLiteral(QOV_BIN_DIR "/qovreg"));
        process_.setArguments(args);
        process_.setProcessChannelMode(QProcess::SeparateChannels);
        process_.start();
        if (!process_.waitForStarted(5000))
            return;
        while (!process_.canReadLine() && process_.waitForReadyRead(5000)) {
        }
        const std::string line = process_.readLine().trimmed().toStdString();
        const std::string prefix = "qovreg listening on ";
        if (line.starts_with(prefix))
            address_ = line.substr(prefix.size());
    }
    ~Qovreg() { stop(); }

    // "HOST:PORT" or the pty link, as the ready line names it; empty when it did not start.
    const std::string& address() const { return address_; }
    // SIGTERM, then the exit code (-1 when it had to be killed or never ran).
    int stop() {
        if (process_.state() == QProcess::NotRunning)
            return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
        process_.terminate();
        if (!process_.waitForFinished(5000)) {
            process_.kill();
            process_.waitForFinished(2000);
            return -1;
        }
        return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
    }

private:
    QProcess process_;
    std::string address_;
};

qovdll::Timings fastTimings(int attempts = 3) {
    qovdll::Timings t;
    t.direct = {200, 250, 100, 20, attempts};
    t.modem = {200, 250, 100, 0, attempts};
    t.busyMs = 3000;
    t.busy120sMs = 3000;
    t.readDataMs = 100;
    t.connectMs = 2000;
    return t;
}

// A line opened on port 1 towards the simulator.
void open(qovdll::Line& line, const std::string& device, int attempts = 3) {
    line.setTimings(fastTimings(attempts));
    line.setPortDevice(1, device);
    ASSERT_EQ(line.Init_RS232bd(1, 9600), 0) << device;
}

std::string request(qovdll::Line& line, const std::string& text, int* result = nullptr) {
    qovdll::ReplyBuffer reply{};
    const int n = line.get_frame(text, static_cast<int>(text.size()), reply);
    if (result)
        *result = n;
    if (n <= 0)
        return {};
    return std::string(reinterpret_cast<const char*>(reply.data()) + 1,
                       static_cast<std::size_t>(n));
}

int send(qovdll::Line& line, const std::string& text) {
    return line.send_frame(text, static_cast<int>(text.size()));
}

std::vector<std::string> logLines(const std::string& path) {
    std::vector<std::string> lines;
    std::string text = qov::test::ReadFile(path);
    std::size_t start = 0;
    for (std::size_t nl; (nl = text.find('\n', start)) != std::string::npos; start = nl + 1)
        lines.push_back(text.substr(start, nl - start));
    return lines;
}

int countLines(const std::vector<std::string>& lines, const std::string& prefix,
               const std::string& containing = {}) {
    int n = 0;
    for (const auto& l : lines)
        n += l.starts_with(prefix) && l.find(containing) != std::string::npos;
    return n;
}

std::string pad(std::string s, std::size_t w) {
    s.resize(w, ' ');
    return s;
}

std::string digits(long long v, int w) {
    std::string s = std::to_string(v);
    return std::string(static_cast<std::size_t>(w) - s.size(), '0') + s;
}

std::string article(int i) {
    return "PR" + digits(4000 + i, 12) + digits(i % 10, 2) +
           pad("ARTIKAL BR " + std::to_string(i), 28) + digits(100 * i + 5, 8) + "0" +
           std::to_string(i % 9) + std::to_string(i % 5) + "1";
}

TEST(Qovreg, TcpConnectionTableAndLog) {
    QTemporaryDir dir;
    const std::string log = dir.filePath("reg.log").toStdString();
    Qovreg reg({"--tcp", "127.0.0.1:0", "--log", QString::fromStdString(log)});
    ASSERT_FALSE(reg.address().empty());
    qovdll::Line line;
    open(line, "tcp://" + reg.address());

    EXPECT_EQ(line.Testconnessione(), 0);
    EXPECT_EQ(send(line, "R03SALATE      00001250"), 0);
    EXPECT_EQ(request(line, "B03"), "03SALATE      00001250" + digits(0, 20));
    EXPECT_EQ(send(line, "R10SALATE      00001250"), 1);  // refused
    int n = 0;
    request(line, "B10", &n);
    EXPECT_EQ(n, -4);
    EXPECT_EQ(request(line, "n"), "010008000000000");  // the refusal's error code 08
    EXPECT_EQ(send(line, "C"), 0);
    const std::string shown = request(line, "r");
    ASSERT_EQ(shown.size(), 50u);
    EXPECT_EQ(shown.substr(16, 1) + shown.substr(33, 1), "||");

    EXPECT_EQ(reg.stop(), 0);  // SIGTERM ends it cleanly
    const auto lines = logLines(log);
    EXPECT_EQ(countLines(lines, "> ", "R03SALATE"), 1);
    EXPECT_EQ(countLines(lines, "< ", "A03SALATE      00001250"), 1);
    EXPECT_EQ(countLines(lines, "E ENQ"), 1);  // the connection test opened the session
}

TEST(Qovreg, RepeatedRequestAnsweredFromTheStoredReplyAndExecutedOnce) {
    QTemporaryDir dir;
    const std::string log = dir.filePath("reg.log").toStdString();
    Qovreg reg(
        {"--tcp", "127.0.0.1:0", "--log", QString::fromStdString(log), "--drop-after-exec", "1"});
    qovdll::Line line;
    open(line, "tcp://" + reg.address());
    // Every first reply is lost; the library's retry of the same frame gets the stored one.
    EXPECT_EQ(send(line, "O04" + pad("MILICA", 12) + "  444"), 0);
    EXPECT_EQ(request(line, "E04"), "04" + pad("MILICA", 12) + "  444" + digits(0, 17));
    reg.stop();
    const auto lines = logLines(log);
    EXPECT_EQ(countLines(lines, "> ", "O04MILICA"), 1);
    EXPECT_EQ(countLines(lines, "> ", "E04"), 1);
    EXPECT_EQ(countLines(lines, "= "), 2);
    EXPECT_EQ(countLines(lines, "F lost"), 2);
}

TEST(Qovreg, ReceiptWhoseRepliesAreLostIsSoldOnce) {
    QTemporaryDir dir;
    const std::string log = dir.filePath("reg.log").toStdString();
    Qovreg reg({"--tcp", "127.0.0.1:0", "--log", QString::fromStdString(log), "--drop-after-exec",
                "0.5", "--seed", "3"});
    qovdll::Line line;
    open(line, "tcp://" + reg.address());
    ASSERT_EQ(send(line,
                   "PR000000000042"
                   "05" +
                       pad("KAFA", 28) +
                       "00025000"
                       "0100"),
              0);
    ASSERT_EQ(send(line, "PQ000000000042000010000"), 0);
    ASSERT_EQ(line.send_frameMD("p", 1), 0);
    const std::string sale =
        "PS10000000000042"
        "00"
        "123456789123"
        "0011"
        "000002000"
        "00000000";  // 2 x 250.00
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(line.send_frameMD(sale, static_cast<int>(sale.size())), 0);
    ASSERT_EQ(line.send_frameMD("g10" + digits(0, 11), 14), 0);
    ASSERT_EQ(line.send_frameMD("q", 1), 0);

    const std::string first = request(line, "PTFIRST");
    ASSERT_EQ(first.size(), 83u);
    EXPECT_EQ(first.substr(54), digits(150000, 11) + digits(6000, 9) + digits(4000, 9));
    EXPECT_EQ(request(line, "E00").substr(19), digits(150000, 11) + digits(1, 6));
    reg.stop();
    const auto lines = logLines(log);
    EXPECT_EQ(countLines(lines, "> ", "PS10000000000042"), 3);
    EXPECT_GE(countLines(lines, "F lost"), 1);
    EXPECT_EQ(countLines(lines, "F lost"), countLines(lines, "= "));
}

TEST(Qovreg, PseudoTerminalLine) {
    QTemporaryDir dir;
    const std::string link = dir.filePath("ttyQOV").toStdString();
    Qovreg reg({"--pty", QString::fromStdString(link)});
    ASSERT_EQ(reg.address(), link);
    qovdll::Line line;
    open(line, link);
    EXPECT_EQ(line.Testconnessione(), 0);
    EXPECT_EQ(send(line, "QR3m  "), 0);
    EXPECT_EQ(request(line, "QT3"), "3m  ");
    const std::string type = std::string("SOKOVI") + '\0' + "     ";
    EXPECT_EQ(send(line, "ZR4" + type), 0);
    EXPECT_EQ(request(line, "ZT4"), "4" + type);
    line.Close_RS232();
    EXPECT_EQ(reg.stop(), 0);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(link)));  // the link goes with it
}

TEST(Qovreg, SynKeepsTheStationWaitingThroughSlowWork) {
    Qovreg reg({"--tcp", "127.0.0.1:0", "--syn-ms", "700", "--demo"});
    qovdll::Line line;
    open(line, "tcp://" + reg.address());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(send(line, "PE"), 0);  // T_REPLY is 250 ms: only the SYNs keep it waiting
    EXPECT_GE(std::chrono::steady_clock::now() - start, 650ms);
    qovdll::ReplyBuffer reply{};
    EXPECT_EQ(line.get_frame120s("PTSOLD", 6, reply), 0);         // nothing sold after clearing
    EXPECT_GT(std::stoi(request(line, "n").substr(10, 5)), 300);  // the demo shop's articles
}

TEST(Qovreg, StateFileKeepsTheMemoryAcrossARestart) {
    QTemporaryDir dir;
    const QString state = dir.filePath("reg.json");
    {
        Qovreg reg({"--tcp", "127.0.0.1:0", "--state", state});
        qovdll::Line line;
        open(line, "tcp://" + reg.address());
        ASSERT_EQ(send(line, "U2" + pad("DIN", 12) + "001.00000"), 0);
        ASSERT_EQ(send(line, article(7)), 0);
        // written while it runs, shortly after the change
        const auto deadline = std::chrono::steady_clock::now() + 2s;
        while (qov::test::ReadFile(state.toStdString()).find("ARTIKAL BR 7") == std::string::npos &&
               std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(20ms);
        EXPECT_NE(qov::test::ReadFile(state.toStdString()).find("DIN"), std::string::npos);
        ASSERT_EQ(send(line, "U2" + pad("DINAR", 12) + "001.00000"), 0);
        line.Close_RS232();
        EXPECT_EQ(reg.stop(), 0);
    }
    EXPECT_NE(qov::test::ReadFile(state.toStdString()).find("ARTIKAL BR 7"), std::string::npos);
    Qovreg reg({"--tcp", "127.0.0.1:0", "--state", state});
    qovdll::Line line;
    open(line, "tcp://" + reg.address());
    EXPECT_EQ(request(line, "M2"), "2" + pad("DINAR", 12) + "001.00000");  // the last change too
    EXPECT_EQ(request(line, "PTFIRST").substr(0, 12), digits(4007, 12));
}

TEST(Qovreg, BadCommandLines) {
    for (const QStringList& args :
         {QStringList{"--bogus"}, QStringList{"--tcp", "localhost"}, QStringList{"--dial", "maybe"},
          QStringList{"--fault-rate", "1,5"}, QStringList{"--seed"}}) {
        QProcess p;
        p.start(QStringLiteral(QOV_BIN_DIR "/qovreg"), args);
        ASSERT_TRUE(p.waitForFinished(5000));
        EXPECT_EQ(p.exitCode(), 2) << args.join(' ').toStdString();
        EXPECT_TRUE(p.readAllStandardOutput().isEmpty());
        EXPECT_TRUE(p.readAllStandardError().startsWith("qovreg: "));
    }
}

// ---- modem -------------------------------------------------------------------------------

// Reads modem answers until `want` shows up or the reads run out; returns all that came.
std::string readUntil(qovdll::Line& line, const std::string& want, int reads = 30) {
    std::string all;
    for (int i = 0; i < reads && all.find(want) == std::string::npos; ++i) {
        std::string buffer(64, ' ');
        int count = 0;
        line.read_data(count, buffer);
        all += buffer.substr(0, static_cast<std::size_t>(count));
    }
    return all;
}

TEST(Qovreg, ModemDialOutcomes) {
    const std::pair<const char*, const char*> cases[] = {
        {"busy", "BUSY"},
        {"nocarrier", "NO CARRIER"},
        {"noanswer", "NO ANSWER"},
        {"nodialtone", "NO DIALTONE"},
    };
    for (const auto& [dial, text] : cases) {
        Qovreg reg({"--tcp", "127.0.0.1:0", "--modem", "--dial", dial});
        qovdll::Line line;
        open(line, "tcp://" + reg.address());
        line.send_data("ATDT0111234567\r\n", 16);
        const std::string answer = readUntil(line, text);
        EXPECT_EQ(answer, std::string("\r\n") + text + "\r\n") << dial;
        line.send_data("AT\r\n", 4);  // still in command mode
        EXPECT_EQ(readUntil(line, "OK"), "\r\nOK\r\n") << dial;
    }
}

TEST(Qovreg, ModemConnectsWithRingCarriesFramesAndHangsUp) {
    QTemporaryDir dir;
    const std::string log = dir.filePath("reg.log").toStdString();
    Qovreg reg({"--tcp", "127.0.0.1:0", "--modem", "--ring", "--log", QString::fromStdString(log)});
    qovdll::Line line;
    open(line, "tcp://" + reg.address());
    line.send_data("ATZ\r\n", 5);
    EXPECT_EQ(readUntil(line, "OK"), "\r\nOK\r\n");
    line.send_data("ATDT0111234567\r\n", 16);
    const std::string dialled = readUntil(line, "CONNECT");
    EXPECT_EQ(dialled, "\r\nRING\r\n\r\nCONNECT 9600\r\n");
    line.send_data("tajna", 5);
    EXPECT_EQ(line.TestconnessioneM(), 0);
    EXPECT_EQ(line.send_frameM("R00HLEB        00000000", 23), 0);
    qovdll::ReplyBuffer reply{};
    EXPECT_EQ(line.get_frameM("B00", 3, reply), 42);

    line.send_data("+++ATH0\r\n", 9);
    EXPECT_NE(readUntil(line, "OK").find("OK"), std::string::npos);
    EXPECT_EQ(line.Testconnessione(), 1);
    reg.stop();
    const auto lines = logLines(log);
    EXPECT_EQ(countLines(lines, "M > ATDT0111234567"), 1);
    EXPECT_EQ(countLines(lines, "M password tajna"), 1);
    EXPECT_EQ(countLines(lines, "M < CONNECT 9600"), 1);
    EXPECT_EQ(countLines(lines, "> ", "R00HLEB"), 1);
}

// ---- faults ------------------------------------------------------------------------------

TEST(Qovreg, EveryTableReadBackIntactThroughFivePercentFaults) {
    QTemporaryDir dir;
    const std::string log = dir.filePath("reg.log").toStdString();
    Qovreg reg({"--tcp", "127.0.0.1:0", "--fault-rate", "0.05", "--seed", "11", "--log",
                QString::fromStdString(log)});
    qovdll::Line line;
    open(line, "tcp://" + reg.address(), 6);
    ASSERT_EQ(line.Testconnessione(), 0);

    // request -> expected reply, filled while sending
    std::vector<std::pair<std::string, std::string>> expected;
    for (int i = 0; i < 10; ++i) {
        const std::string name = pad("ODELJ " + std::to_string(i), 12);
        ASSERT_EQ(send(line, "R" + digits(i, 2) + name + digits(i * 1000, 8)), 0);
        expected.push_back(
            {"B" + digits(i, 2), digits(i, 2) + name + digits(i * 1000, 8) + digits(0, 20)});
    }
    for (int i = 0; i < 31; ++i) {
        const std::string name = pad("KASIR \xC8" + std::to_string(i), 12);
        const std::string code = std::string(2, ' ') + digits(i * 7, 3);
        ASSERT_EQ(send(line, "O" + digits(i, 2) + name + code), 0);
        expected.push_back({"E" + digits(i, 2), digits(i, 2) + name + code + digits(0, 17)});
    }
    for (int i = 0; i < 4; ++i) {
        const std::string name = pad("VAL" + std::to_string(i), 12);
        ASSERT_EQ(send(line, "U" + std::to_string(i) + name + "11" + std::to_string(i) + ".50000"),
                  0);
        expected.push_back({"M" + std::to_string(i),
                            std::to_string(i) + name + "11" + std::to_string(i) + ".50000"});
    }
    for (int i = 1; i <= 5; ++i) {
        const std::string name = "U" + std::to_string(i) + " ";
        ASSERT_EQ(send(line, "QR" + std::to_string(i) + name), 0);
        expected.push_back({"QT" + std::to_string(i), std::to_string(i) + name});
    }
    for (int i = 1; i <= 8; ++i) {
        const std::string name = std::string("TIP") + char('0' + i) + '\0' + "       ";
        ASSERT_EQ(send(line, "ZR" + std::to_string(i) + name), 0);
        expected.push_back({"ZT" + std::to_string(i), std::to_string(i) + name});
    }
    ASSERT_EQ(send(line, "X07300002101130"), 0);
    expected.push_back({"L", "07300002101130"});
    for (int i = 1; i <= 20; ++i) {
        const std::string frame = article(i);
        ASSERT_EQ(send(line, frame), 0);
        ASSERT_EQ(send(line, "PQ" + frame.substr(2, 12) + digits(i * 1500, 9)), 0);
    }
    for (int i = 0; i < 6; ++i) {
        ASSERT_EQ(
            send(line, "S" + std::to_string(i) + pad("ZAGLAVLJE " + std::to_string(i), 32) + '\0'),
            0);
        ASSERT_EQ(
            send(line, "A" + std::to_string(i) + pad("REKLAMA " + std::to_string(i), 32) + '\0'),
            0);
    }

    for (const auto& [req, want] : expected)
        EXPECT_EQ(request(line, req), want) << req;
    for (int i = 1; i <= 20; ++i) {
        const std::string frame = article(i);
        const std::string got = request(line, i == 1 ? "PTFIRST" : "PTNEXT");
        EXPECT_EQ(got, frame.substr(2) + digits(0, 20) + digits(i * 1500, 9)) << i;
    }
    EXPECT_EQ(request(line, "PTNEXT"), "");
    reg.stop();

    const auto lines = logLines(log);
    // the faults did happen, and no store frame ran twice
    EXPECT_GT(countLines(lines, "F "), 5);
    EXPECT_EQ(countLines(lines, "> ", "R03ODELJ 3"), 1);
    EXPECT_EQ(countLines(lines, "> ", "PQ000000004020"), 1);
}

}  // namespace
