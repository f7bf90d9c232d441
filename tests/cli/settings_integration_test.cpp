// System parameters, receipt header and advertisement through qovctl against the simulator:
// what the register holds after the send, and the system record read back into a program file.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "qovctl_fixture.h"

namespace qov::test {
namespace {

std::string Blanks(std::size_t n) {
    return std::string(n, ' ');
}

// A bold text as the register gets it: ESC before every character.
std::string Bold(const std::string& text) {
    std::string out;
    for (char c : text) {
        out += '\x1b';
        out += c;
    }
    return out;
}

// The register's stored lines of one table ("header", "advert") from its state file.
Strings StoredLines(const std::string& stateFile, const char* table) {
    const QJsonObject root =
        QJsonDocument::fromJson(QByteArray::fromStdString(ReadFile(stateFile))).object();
    Strings lines;
    for (const QJsonValue& line : root.value(table).toArray()) {
        const QByteArray bytes = line.toString().toLatin1();
        lines.emplace_back(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    }
    return lines;
}

// The SISTEM keys of a program file, "KEY=value" in file order.
std::string SystemSection(const std::string& file) {
    std::string keys;
    bool inside = false;
    for (const QString& line : QString::fromLatin1(ReadFile(file)).split("\r\n")) {
        if (line.startsWith('[')) {
            inside = line == "[SISTEM]";
        } else if (inside && !line.isEmpty()) {
            keys += line.toStdString() + " ";
        }
    }
    return keys;
}

TEST_F(Qovctl, SystemHeaderAndAdvertisementReachTheRegisterAndTheSystemComesBack) {
    const std::string stateFile = home + "register.json";
    std::string device;
    {
        Simulator sim;
        device = Start(sim, {"--tcp", "127.0.0.1:0", "--state", stateFile});
        WriteFile(home + "source.ini",
                  "[QOVCOM]\r\nVERSION=QKRTNWZA480213\r\n"
                  "[HEADER]\r\nROW_0=PRODAVNICA" +
                      Blanks(22) +
                      "11\r\n"
                      "ROW_1=Beograd" +
                      Blanks(25) +
                      "00\r\n"
                      "[ADVERTIZE]\r\nROW_0=Hvala" +
                      Blanks(27) +
                      "01\r\n"
                      "[SISTEM]\r\nCASH=5\r\nPRINT=2\r\nGRAFICA1=1\r\nGRAFICA1_IMG=1\r\n"
                      "GRAFICA2=0\r\nGRAFICA2_IMG=0\r\nOBLIGATE=1\r\nTEST_MENY=0\r\nSINGLE=0\r\n"
                      "SPEED=2\r\n"
                      "[SETPORT]\r\nPORT=1\r\nSPEED=9600\r\n[SETLNG]\r\nLNG=False\r\n"
                      "[SETWDTH]\r\nWDTH=32\r\n");
        EXPECT_EQ(
            run(device, {"--load", home + "source.ini", "send", "system", "header", "advert"}),
            "0|Opsti podaci: OK\nZaglavlje: OK\nReklama: OK\n|");
        EXPECT_EQ(run(device, {"--save", home + "back.ini", "receive", "system"}),
                  "0|Opsti podaci: OK\n|");
        sim.terminate();
        ASSERT_TRUE(sim.waitForFinished(10000));
    }
    const std::string nulLine = std::string(1, '\0') + Blanks(31);
    EXPECT_EQ(StoredLines(stateFile, "header"),
              (Strings{Blanks(5) + Bold("PRODAVNICA") + Blanks(7), "Beograd" + Blanks(25), nulLine,
                       nulLine, nulLine, nulLine}));
    EXPECT_EQ(StoredLines(stateFile, "advert")[0], Blanks(13) + "Hvala" + Blanks(14));
    EXPECT_EQ(StoredLines(stateFile, "advert")[1], nulLine);
    EXPECT_EQ(SystemSection(home + "back.ini"),
              "CASH=05 PRINT=2 GRAFICA1=1 GRAFICA1_IMG=1 GRAFICA2=0 GRAFICA2_IMG=0 OBLIGATE=1 "
              "TEST_MENY=0 SINGLE=0 SPEED=2 ");
}

}  // namespace
}  // namespace qov::test
