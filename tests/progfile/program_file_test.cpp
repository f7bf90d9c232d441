#include "progfile/program_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <random>
#include <string>
#include <vector>

#include "progfile/state_snapshot.h"
#include "support/scripted_dialogs.h"
#include "support/test_environment.h"

namespace qov {
namespace {

using test::ProgramFileSnapshot;
using test::ReadFile;
using test::ScriptedDialogs;
using test::WriteFile;

const std::string kVersionLine = "[QOVCOM]\r\nVERSION=QKRTNWZA480213\r\n";
const std::string kSetupTail =
    "[SETPORT]\r\nPORT=3\r\nSPEED=19200\r\n[SETLNG]\r\nLNG=True\r\n[SETWDTH]\r\nWDTH=22\r\n";

class ProgramFileTest : public ::testing::Test {
protected:
    std::string folder = test::MakeTempFolder("qovprog");
    std::string path = folder + "/setup.ini";
    SharedState state;
    ScriptedDialogs dialogs;

    bool load(const std::string& content) {
        WriteFile(path, content);
        state.ProgramFilePath = path;
        return LoadProgramFile(state, dialogs);
    }
};

// The section/key lines of a file, in order ("[SECTION]" for headers, "KEY" for keys).
std::vector<std::string> Layout(const std::string& content) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find('\n', start);
        if (end == std::string::npos)
            end = content.size();
        std::string line = content.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line.front() == '[') {
            out.push_back(line);
        } else if (line.find('=') != std::string::npos) {
            out.push_back(line.substr(0, line.find('=')));
        }
        start = end + 1;
    }
    return out;
}

std::vector<std::string> WritingOrder() {
    std::vector<std::string> keys{"[QOVCOM]", "VERSION", "[HEADER]"};
    auto rows = [&keys](const char* name, int first, int last) {
        for (int n = first; n <= last; ++n)
            keys.push_back(name + std::to_string(n));
    };
    rows("ROW_", 0, 5);
    keys.push_back("[ADVERTIZE]");
    rows("ROW_", 0, 5);
    keys.push_back("[DEPARTMENTS]");
    rows("DESCRIPTION_", 1, 10);
    keys.push_back("[OPERATORS]");
    for (int n = 1; n <= 31; ++n) {
        keys.push_back("CODE_" + std::to_string(n));
        keys.push_back("NAME_" + std::to_string(n));
    }
    keys.push_back("[VAT]");
    rows("TAX_", 1, 9);
    for (const char* k : {"[SISTEM]", "CASH", "PRINT", "GRAFICA1", "GRAFICA1_IMG", "GRAFICA2",
                          "GRAFICA2_IMG", "OBLIGATE", "TEST_MENY", "SINGLE", "SPEED", "[VALUTE]"}) {
        keys.push_back(k);
    }
    for (int n = 1; n <= 4; ++n) {
        keys.push_back("DESCRIPTION_" + std::to_string(n));
        keys.push_back("CONVERSION_" + std::to_string(n));
    }
    keys.push_back("[UNITS]");
    rows("DESCR_", 1, 5);
    keys.push_back("[PLUTYPE]");
    rows("DESCR_", 1, 8);
    for (const char* k : {"[SETPORT]", "PORT", "SPEED", "[SETLNG]", "LNG", "[SETWDTH]", "WDTH",
                          "[SETPHONE]", "PHONENM", "PHONEPT", "PHONEPSS"}) {
        keys.push_back(k);
    }
    return keys;
}

TEST_F(ProgramFileTest, RoundTripRestoresEverySection) {
    test::FillDistinct(state);
    state.ProgramFilePath = path;
    ASSERT_TRUE(SaveProgramFile(state, dialogs));
    EXPECT_TRUE(dialogs.boxes.empty());

    SharedState reread;
    reread.ProgramFilePath = path;
    ASSERT_TRUE(LoadProgramFile(reread, dialogs));
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(ProgramFileSnapshot(reread), ProgramFileSnapshot(state));
    // The unit companion text is read but never written.
    EXPECT_EQ(reread.UnitTable[1].abbreviation, "");
}

TEST_F(ProgramFileTest, FreshFileHasTheWritingOrderAndItsValues) {
    test::FillDistinct(state);
    state.ProgramFilePath = path;
    ASSERT_TRUE(SaveProgramFile(state, dialogs));
    const std::string content = ReadFile(path);
    EXPECT_EQ(Layout(content), WritingOrder());
    for (const char* line :
         {"VERSION=QKRTNWZA480213\r\n", "TAX_1=1100\r\n", "TAX_9=1900\r\n", "CASH=07\r\n",
          "PORT=4\r\n", "SPEED=38400\r\n", "LNG=False\r\n", "WDTH=32\r\n", "PHONEPT=ATDT\r\n",
          "NAME_31=Kasir@31\r\n", "CONVERSION_4=147.500000\r\n"}) {
        EXPECT_NE(content.find(line), std::string::npos) << line;
    }
    state.CyrillicLanguage = true;
    ASSERT_TRUE(SaveProgramFile(state, dialogs));
    EXPECT_NE(ReadFile(path).find("LNG=True\r\n"), std::string::npos);
}

TEST_F(ProgramFileTest, VatRatesStayInTheirRows) {
    std::string content = kVersionLine + "[VAT]\r\n";
    for (int n = 1; n <= 9; ++n) {
        content += "TAX_" + std::to_string(n) + "=" + std::to_string(n) + "000\r\n";
    }
    state.VatTable[0].rate = "keep";
    ASSERT_TRUE(load(content + kSetupTail));
    EXPECT_EQ(state.VatTable[0].rate, "keep");
    for (int n = 1; n <= 9; ++n) {
        EXPECT_EQ(state.VatTable[n].rate, std::to_string(n) + "000") << n;
    }
    state.VatTable[9].rate = "0900";
    ASSERT_TRUE(SaveProgramFile(state, dialogs));
    SharedState reread;
    reread.ProgramFilePath = path;
    ASSERT_TRUE(LoadProgramFile(reread, dialogs));
    for (int n = 1; n <= 9; ++n) {
        EXPECT_EQ(reread.VatTable[n].rate, state.VatTable[n].rate) << n;
    }
}

TEST_F(ProgramFileTest, SavingKeepsKeysItDoesNotWrite) {
    WriteFile(path,
              "; set-up of shop 3\r\n[QOVCOM]\r\nVERSION=OLD\r\nAUTHOR=Mira\r\n"
              "[UNITS]\r\nSHORT_1=kg\r\nDESCR_1=old\r\n[VAT]\r\nTAX_10=2500\r\n"
              "[LOCAL]\r\nPRINTER=lpt1\r\n");
    test::FillDistinct(state);
    state.ProgramFilePath = path;
    ASSERT_TRUE(SaveProgramFile(state, dialogs));
    const std::string content = ReadFile(path);
    for (const char* kept : {"; set-up of shop 3\r\n", "AUTHOR=Mira\r\n", "SHORT_1=kg\r\n",
                             "TAX_10=2500\r\n", "[LOCAL]\r\nPRINTER=lpt1\r\n"}) {
        EXPECT_NE(content.find(kept), std::string::npos) << kept;
    }
    EXPECT_NE(content.find("VERSION=QKRTNWZA480213\r\n"), std::string::npos);
    EXPECT_EQ(content.find("VERSION=OLD"), std::string::npos);
    EXPECT_NE(content.find("DESCR_1=j1\r\n"), std::string::npos);
    EXPECT_EQ(content.find("DESCR_1=old"), std::string::npos);

    SharedState reread;
    reread.ProgramFilePath = path;
    ASSERT_TRUE(LoadProgramFile(reread, dialogs));
    EXPECT_EQ(reread.UnitTable[1].abbreviation, "kg");
}

TEST_F(ProgramFileTest, SavingLeavesOnlyTheFileBehind) {
    WriteFile(path, kVersionLine);
    test::FillDistinct(state);
    state.ProgramFilePath = path;
    ASSERT_TRUE(SaveProgramFile(state, dialogs));
    const QStringList entries =
        QDir(QString::fromStdString(folder)).entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(entries, QStringList{"setup.ini"});
}

TEST_F(ProgramFileTest, SavingIntoAMissingFolderReportsAndWritesNothing) {
    test::FillDistinct(state);
    state.ProgramFilePath = folder + "/missing/setup.ini";
    EXPECT_FALSE(SaveProgramFile(state, dialogs));
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.last().text, "Path not found");
    EXPECT_EQ(dialogs.last().title, kProgramTitle);
    EXPECT_EQ(dialogs.last().icon, Icon::None);
    EXPECT_FALSE(QDir(QString::fromStdString(folder + "/missing")).exists());
}

TEST_F(ProgramFileTest, ValuesCannotBreakTheFileApart) {
    test::FillDistinct(state);
    state.OperatorTable[1].name = "Ana\r\n[VAT]\r\nTAX_1=0";
    state.OperatorTable[2].name = std::string("Iva\0rest", 8);
    state.ProgramFilePath = path;
    ASSERT_TRUE(SaveProgramFile(state, dialogs));
    EXPECT_EQ(Layout(ReadFile(path)), WritingOrder());

    SharedState reread;
    reread.ProgramFilePath = path;
    ASSERT_TRUE(LoadProgramFile(reread, dialogs));
    EXPECT_EQ(reread.OperatorTable[1].name, "Ana");
    EXPECT_EQ(reread.OperatorTable[2].name, "Iva");
    EXPECT_EQ(reread.VatTable[1].rate, "1100");
}

TEST_F(ProgramFileTest, InvalidVersionChangesNothing) {
    test::FillDistinct(state);
    const std::string before = ProgramFileSnapshot(state);
    const std::string fullSetup =
        "[HEADER]\r\nROW_0=changed\r\n[VAT]\r\nTAX_1=9999\r\n" + kSetupTail;
    const std::string files[] = {
        fullSetup,                                             // no [QOVCOM]
        "[QOVCOM]\r\nVERSION=QKRTNWZA480214\r\n" + fullSetup,  // another version
        "[QOVCOM]\r\nVERSION=qkrtnwza480213\r\n" + fullSetup,  // case matters
        "[QOVCOM]\r\nNAME=QKRTNWZA480213\r\n" + fullSetup,     // no VERSION key
        "",                                                    // empty file
    };
    for (const std::string& file : files) {
        dialogs.boxes.clear();
        EXPECT_FALSE(load(file)) << file;
        ASSERT_EQ(dialogs.boxes.size(), 1u);
        EXPECT_EQ(dialogs.last().text, "Fajl nije validan");
        EXPECT_EQ(dialogs.last().title, "Arvon Cash Registers");
        EXPECT_EQ(dialogs.last().icon, Icon::Critical);
        EXPECT_EQ(ProgramFileSnapshot(state), before);
    }
    // A file that does not exist, or a folder, is refused the same way.
    for (const std::string& odd : {folder + "/none.ini", folder, std::string()}) {
        dialogs.boxes.clear();
        state.ProgramFilePath = odd;
        EXPECT_FALSE(LoadProgramFile(state, dialogs)) << odd;
        EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Fajl nije validan"});
        EXPECT_EQ(ProgramFileSnapshot(state), before);
    }
}

TEST_F(ProgramFileTest, VersionIsTrimmed) {
    EXPECT_TRUE(load("[QOVCOM]\r\nVERSION =   QKRTNWZA480213   \r\n" + kSetupTail));
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(ProgramFileTest, FailingConversionStopsTheLoadKeepingWhatWasRead) {
    struct Case {
        const char* setup;  // the SETPORT .. SETWDTH part of the file
        const char* description;
        int port;  // expected after the load (-1: untouched)
        int speed;
        int lngUntouched;  // 1 when CyrillicLanguage must keep its old value
    };
    const Case cases[] = {
        {"[SETPORT]\r\nPORT=COM1\r\nSPEED=19200\r\n", "Type mismatch", -1, -1, 1},
        {"[SETPORT]\r\nSPEED=19200\r\n", "Type mismatch", -1, -1, 1},
        {"[SETPORT]\r\nPORT=70000\r\n", "Overflow", -1, -1, 1},
        {"[SETPORT]\r\nPORT=3\r\nSPEED=fast\r\n", "Type mismatch", 3, -1, 1},
        {"[SETPORT]\r\nPORT=3\r\nSPEED=9999999999\r\n", "Overflow", 3, -1, 1},
        {"[SETPORT]\r\nPORT=3\r\nSPEED=19200\r\n[SETLNG]\r\n", "Type mismatch", 3, 19200, 1},
        {"[SETPORT]\r\nPORT=3\r\nSPEED=19200\r\n[SETLNG]\r\nLNG=da\r\n", "Type mismatch", 3, 19200,
         1},
        {"[SETPORT]\r\nPORT=3\r\nSPEED=19200\r\n[SETLNG]\r\nLNG=True\r\n[SETWDTH]\r\nWDTH=x\r\n",
         "Type mismatch", 3, 19200, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.setup);
        state = SharedState{};
        state.PortNumber = 7;
        state.BaudRate = 4800;
        state.CyrillicLanguage = false;
        state.LineWidth = 32;
        state.PhoneNumber = "old phone";
        dialogs.boxes.clear();

        EXPECT_FALSE(load(kVersionLine + "[PLUTYPE]\r\nDESCR_8=Pice\r\n[VAT]\r\nTAX_9=2000\r\n" +
                          "[SETPHONE]\r\nPHONENM=123\r\n" + c.setup));
        ASSERT_EQ(dialogs.boxes.size(), 1u);
        EXPECT_EQ(dialogs.last().text, c.description);
        EXPECT_EQ(dialogs.last().title, kProgramTitle);
        EXPECT_EQ(dialogs.last().icon, Icon::None);
        EXPECT_EQ(dialogs.last().buttons, Buttons::Ok);

        // Everything before the failing key was read ...
        EXPECT_EQ(state.ArticleTypeTable[8].name, "Pice");
        EXPECT_EQ(state.VatTable[9].rate, "2000");
        EXPECT_EQ(state.ArticleTypeTable[1].name, "");  // a missing text empties its target
        // ... nothing from it on.
        EXPECT_EQ(state.PortNumber, c.port < 0 ? 7 : c.port);
        EXPECT_EQ(state.BaudRate, c.speed < 0 ? 4800 : c.speed);
        EXPECT_EQ(state.CyrillicLanguage, c.lngUntouched ? false : true);
        EXPECT_EQ(state.LineWidth, 32);
        EXPECT_EQ(state.PhoneNumber, "old phone");
    }
}

TEST_F(ProgramFileTest, NumericAndBooleanKeys) {
    struct Case {
        const char* port;
        const char* speed;
        const char* lng;
        const char* width;
        int expectPort;
        int expectSpeed;
        bool expectLng;
        int expectWidth;
    };
    const Case cases[] = {
        {"2", "9600", "True", "22", 2, 9600, true, 22},
        {" 5 ", "57600", "False", "32", 5, 57600, false, 32},
        {"3", "19200", "true", "32", 3, 19200, true, 32},
        {"3", "19200", "1", "32", 3, 19200, true, 32},
        {"3", "19200", "-1", "32", 3, 19200, true, 32},
        {"3", "19200", "0", "32", 3, 19200, false, 32},
        {"3", "19200", "7", "32", 3, 19200, true, 32},
        {"2.5", "38400.4", "false", "31.5", 2, 38400, false, 32},
    };
    for (const Case& c : cases) {
        dialogs.boxes.clear();
        const std::string file = kVersionLine + "[SETPORT]\r\nPORT=" + c.port +
                                 "\r\nSPEED=" + c.speed + "\r\n[SETLNG]\r\nLNG=" + c.lng +
                                 "\r\n[SETWDTH]\r\nWDTH=" + c.width +
                                 "\r\n[SETPHONE]\r\nPHONENM= 064 1 \r\nPHONEPT=ATDP\r\n";
        EXPECT_TRUE(load(file)) << c.port << " " << c.lng;
        EXPECT_TRUE(dialogs.boxes.empty());
        EXPECT_EQ(state.PortNumber, c.expectPort);
        EXPECT_EQ(state.BaudRate, c.expectSpeed);
        EXPECT_EQ(state.CyrillicLanguage, c.expectLng) << c.lng;
        EXPECT_EQ(state.LineWidth, c.expectWidth);
        EXPECT_EQ(state.PhoneNumber, "064 1");
        EXPECT_EQ(state.DialCommand, "ATDP");
        EXPECT_EQ(state.LinePassword, "");
    }
}

TEST_F(ProgramFileTest, DepartmentNamesArePaddedTo12) {
    ASSERT_TRUE(load(kVersionLine +
                     "[DEPARTMENTS]\r\nDESCRIPTION_1=Hleb\r\nDESCRIPTION_2=Mlecni proizvodi\r\n"
                     "DESCRIPTION_3=Tacno12znaka\r\nDESCRIPTION_10=Voce i povrce\r\n" +
                     kSetupTail));
    EXPECT_EQ(state.DepartmentTable[1].description, "Hleb        ");
    EXPECT_EQ(state.DepartmentTable[2].description, "Mlecni proizvodi");
    EXPECT_EQ(state.DepartmentTable[3].description, "Tacno12znaka");
    EXPECT_EQ(state.DepartmentTable[4].description, std::string(12, ' '));
    EXPECT_EQ(state.DepartmentTable[10].description, "Voce i povrce");
}

TEST_F(ProgramFileTest, SystemParametersAreFittedToTheirWidths) {
    ASSERT_TRUE(load(kVersionLine +
                     "[SISTEM]\r\nCASH=1\r\nPRINT=23\r\nGRAFICA1=\r\nGRAFICA2_IMG=3\r\n"
                     "TEST_MENY=  1  \r\nSPEED=4\r\n" +
                     kSetupTail));
    EXPECT_EQ(state.SystemParams.CASH, "1 ");
    EXPECT_EQ(state.SystemParams.PRINT, "2");
    EXPECT_EQ(state.SystemParams.GRAFICA1, " ");
    EXPECT_EQ(state.SystemParams.GRAFICA1_IMG, " ");  // missing
    EXPECT_EQ(state.SystemParams.GRAFICA2_IMG, "3");
    EXPECT_EQ(state.SystemParams.TEST_MENY, "1");
    EXPECT_EQ(state.SystemParams.SPEED, "4");

    ASSERT_TRUE(load(kVersionLine + "[SISTEM]\r\nCASH=123\r\n" + kSetupTail));
    EXPECT_EQ(state.SystemParams.CASH, "12");
}

TEST_F(ProgramFileTest, TextsAndFontCharactersArriveAsWritten) {
    ASSERT_TRUE(load(kVersionLine +
                     "[HEADER]\r\nROW_0=PRODAVNICA `IVKA          10\r\n"
                     "[OPERATORS]\r\nCODE_1=  12345\r\nNAME_1=  Wego{  \r\n"
                     "[VALUTE]\r\nDESCRIPTION_2=EUR\r\nCONVERSION_2= 117.5000\r\n"
                     "[UNITS]\r\nDESCR_3=kg\r\nSHORT_3=kilogram\r\n" +
                     kSetupTail));
    EXPECT_EQ(state.HeaderLines[0], "PRODAVNICA `IVKA          10");
    EXPECT_EQ(state.HeaderLines[1], "");
    EXPECT_EQ(state.OperatorTable[1].code, "12345");
    EXPECT_EQ(state.OperatorTable[1].name, "Wego{");
    EXPECT_EQ(state.CurrencyTable[2].name, "EUR");
    EXPECT_EQ(state.CurrencyTable[2].rate, "117.5000");
    EXPECT_EQ(state.UnitTable[3].name, "kg");
    EXPECT_EQ(state.UnitTable[3].abbreviation, "kilogram");
}

TEST_F(ProgramFileTest, OddFilesLoadWithoutHarm) {
    const std::string longName(300, 'N');
    // LF line ends and a byte-order mark.
    EXPECT_TRUE(
        load("\xEF\xBB\xBF[QOVCOM]\nVERSION=QKRTNWZA480213\n[DEPARTMENTS]\n"
             "DESCRIPTION_1=" +
             longName +
             "\n[SETPORT]\nPORT=2\nSPEED=9600\n"
             "[SETLNG]\nLNG=False\n[SETWDTH]\nWDTH=32\n"));
    EXPECT_EQ(state.DepartmentTable[1].description, std::string(254, 'N'));
    EXPECT_EQ(state.PortNumber, 2);
    EXPECT_EQ(state.LineWidth, 32);

    // A NUL inside a value ends it.
    EXPECT_TRUE(load(kVersionLine + "[OPERATORS]\r\nNAME_2=Ana" + std::string(1, '\0') +
                     "junk\r\n" + kSetupTail));
    EXPECT_EQ(state.OperatorTable[2].name, "Ana");

    // Binary junk: refused or loaded, never a crash, and the result is one of the two.
    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int i = 0; i < 200; ++i) {
        std::string junk;
        for (int n = 0; n < 400; ++n)
            junk += static_cast<char>(byte(random));
        dialogs.boxes.clear();
        const bool withVersion = i % 2 == 0;
        const bool ok = load((withVersion ? kVersionLine : std::string()) + junk);
        EXPECT_FALSE(ok);
        ASSERT_EQ(dialogs.boxes.size(), 1u);
        EXPECT_EQ(dialogs.last().text, withVersion ? "Type mismatch" : "Fajl nije validan");
    }
    // Junk between valid sections does not disturb them.
    EXPECT_TRUE(load(kVersionLine + "\x01\x02\xff=\x80\r\n[\r\n=\r\n]]\r\n" +
                     "[VAT]\r\nTAX_1=1800\r\n" + kSetupTail));
    EXPECT_EQ(state.VatTable[1].rate, "1800");
}

}  // namespace
}  // namespace qov
