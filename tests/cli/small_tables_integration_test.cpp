// Cashiers, currencies, units and article types sent by qovctl to the register simulator over a
// line that loses 1 % of the frames, then read back with the VAT rates into a program file.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <map>

#include "qovctl_fixture.h"

namespace qov::test {
namespace {

using Values = std::map<std::string, std::string>;

// The keys of one section of a program file with their values as written, blanks kept.
Values Section(const std::string& file, const std::string& section) {
    Values values;
    bool inside = false;
    std::size_t start = 0;
    while (start < file.size()) {
        std::size_t end = file.find("\r\n", start);
        end = end == std::string::npos ? file.size() : end;
        const std::string line = file.substr(start, end - start);
        start = end + 2;
        if (line.starts_with("[")) {
            inside = line == "[" + section + "]";
        } else if (inside && line.find('=') != std::string::npos) {
            values[line.substr(0, line.find('='))] = line.substr(line.find('=') + 1);
        }
    }
    return values;
}

std::string Pad(std::string text, std::size_t width) {
    text.resize(std::max(width, text.size()), ' ');
    return text;
}

// "VALUTA 1" in register code: a default currency name as the currency screen leaves it.
const std::string kValuta1 = "\xB2\xB0\xBB\xC3\xC2\xB0 1";

class SmallTables : public Qovctl {};

TEST_F(SmallTables, SentToTheRegisterAndReadBackWithTheVatRates) {
    const Strings cashiers = {"MILAN", "@ELENA", "\\OR\\E", "^EDA",
                              "[ANA",  "WEGO[",  "QUBA",    "]IRA"};
    const Strings currencies[4] = {
        {kValuta1, "0.000000"}, {"EUR", "117.50000"}, {"USD", "108,30000"}, {"FUNTA", "135.00000"}};
    const Strings units = {"kom", "kg", "l", "m", "pak"};
    const Strings types = {"Prodajni", "Usluga", "Ambala@a", "Akcija",
                           "Povratni", "Doma]i", "Uvozni",   "Ostalo"};
    std::string file = "[QOVCOM]\r\nVERSION=QKRTNWZA480213\r\n[OPERATORS]\r\n";
    Values cashiersBack;  // what the receive must write, after the send's normalisations
    for (int n = 1; n <= 31; ++n) {
        // The first is typed in Latin letters: the Cyrillic mode packs its digraph.
        const std::string name =
            n == 1 ? "Njegos" : cashiers[static_cast<std::size_t>(n) % 8] + " " + std::to_string(n);
        file += "CODE_" + std::to_string(n) + "=" + std::to_string(7 * n) + "\r\nNAME_" +
                std::to_string(n) + "=" + name + "\r\n";
        const std::string code = std::to_string(7 * n);
        cashiersBack["CODE_" + std::to_string(n)] = std::string(5 - code.size(), ' ') + code;
        cashiersBack["NAME_" + std::to_string(n)] = Pad(n == 1 ? "Wegos" : name, 12);
    }
    file += "[VALUTE]\r\n";
    Values currenciesBack;
    for (int n = 1; n <= 4; ++n) {
        const Strings& c = currencies[n - 1];
        file += "DESCRIPTION_" + std::to_string(n) + "=" + c[0] + "\r\nCONVERSION_" +
                std::to_string(n) + "=" + c[1] + "\r\n";
        currenciesBack["DESCRIPTION_" + std::to_string(n)] = Pad(n == 1 ? "VALUTA 1" : c[0], 12);
        currenciesBack["CONVERSION_" + std::to_string(n)] =
            std::string(9 - c[1].size(), '0') + c[1];
    }
    file += "[UNITS]\r\n";
    Values unitsBack;
    for (int n = 1; n <= 5; ++n) {
        file += "DESCR_" + std::to_string(n) + "=" + units[n - 1] + "\r\n";
        unitsBack["DESCR_" + std::to_string(n)] = Pad(units[n - 1], 3);
    }
    file += "[PLUTYPE]\r\n";
    Values typesBack;
    for (int n = 1; n <= 8; ++n) {
        file += "DESCR_" + std::to_string(n) + "=" + types[n - 1] + "\r\n";
        typesBack["DESCR_" + std::to_string(n)] = Pad(types[n - 1], 12);
    }
    WriteFile(home + "source.ini",
              file +
                  "[SETPORT]\r\nPORT=1\r\nSPEED=9600\r\n[SETLNG]\r\nLNG=True\r\n"
                  "[SETWDTH]\r\nWDTH=22\r\n");

    const std::string state = home + "register.json";
    std::string sent, received;
    {
        Simulator sim;
        const std::string device = Start(sim, {"--tcp", "127.0.0.1:0", "--demo", "--state", state,
                                               "--fault-rate", "0.01", "--seed", "11"});
        sent = run(device, {"--retries", "5", "--load", home + "source.ini", "send", "operators",
                            "currencies", "units", "types"});
        received = run(device, {"--retries", "5", "--save", home + "back.ini", "receive",
                                "operators", "currencies", "vat", "units", "types"});
        sim.terminate();
        ASSERT_TRUE(sim.waitForFinished(10000));  // the memory is in the state file now
    }
    // Boxes of retried frames may follow on the error stream.
    const std::string sendOk =
        "0|Kasiri: OK\nValute: OK\nJedinice mere: OK\nTipovi artikala: OK\n|";
    const std::string receiveOk =
        "0|Kasiri: OK\nValute: OK\nPoreske stope: OK\nJedinice mere: OK\nTipovi artikala: OK\n|";
    ASSERT_EQ(sent.substr(0, sendOk.size()), sendOk);
    ASSERT_EQ(received.substr(0, receiveOk.size()), receiveOk);

    const std::string back = ReadFile(home + "back.ini");
    EXPECT_EQ(Section(back, "OPERATORS"), cashiersBack);
    EXPECT_EQ(Section(back, "VALUTE"), currenciesBack);
    EXPECT_EQ(Section(back, "UNITS"), unitsBack);
    EXPECT_EQ(Section(back, "PLUTYPE"), typesBack);

    // The register's rate n comes back at position n, which the file keeps under TAX_n: its
    // rate 0 has no key, and TAX_9 keeps what the station held (nothing).
    const QJsonArray rates =
        QJsonDocument::fromJson(QByteArray::fromStdString(ReadFile(state)))["vatRates"].toArray();
    ASSERT_EQ(rates.size(), 9);
    Values vatBack{{"TAX_9", ""}};
    for (int n = 1; n <= 8; ++n) {
        vatBack["TAX_" + std::to_string(n)] = rates[n].toObject()["rate"].toString().toStdString();
    }
    EXPECT_EQ(Section(back, "VAT"), vatBack);
    EXPECT_EQ(vatBack["TAX_1"] + vatBack["TAX_4"], "10001800");  // the demo shop's 10 % and 18 %
}

}  // namespace
}  // namespace qov::test
