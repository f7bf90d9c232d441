#include "progfile/program_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <random>
#include <string>
#include <vector>

#include "support/scripted_dialogs.h"
#include "support/test_environment.h"

namespace qov {
namespace {

using test::ReadFile;
using test::WriteFile;

const std::string kVersion = "[QOVCOM]\r\nVERSION=QKRTNWZA480213\r\n";
const std::string kLineSetup =
    "[SETPORT]\r\nPORT=3\r\nSPEED=19200\r\n[SETLNG]\r\nLNG=True\r\n[SETWDTH]\r\nWDTH=22\r\n";

// The value a numbered key holds in FullFile(): a row read into the wrong place shows.
std::string Named(const std::string& section, const std::string& key, int row) {
    return section + "." + key + std::to_string(row);
}

// The line set-up as "port|speed|language|width|phone|dial|password".
std::string LineSetup(const SharedState& s) {
    return std::to_string(s.PortNumber) + "|" + std::to_string(s.BaudRate) + "|" +
           std::to_string(s.CyrillicLanguage) + "|" + std::to_string(s.LineWidth) + "|" +
           s.PhoneNumber + "|" + s.DialCommand + "|" + s.LinePassword;
}

// Every key of a program file in writing order, as a fresh save writes it.
std::string FullFile() {
    std::string out = kVersion;
    auto rows = [&out](const std::string& section, const std::vector<std::string>& keys, int first,
                       int last) {
        out += "[" + section + "]\r\n";
        for (int row = first; row <= last; ++row) {
            for (const std::string& key : keys) {
                out += key + std::to_string(row) + "=" + Named(section, key, row) + "\r\n";
            }
        }
    };
    rows("HEADER", {"ROW_"}, 0, 5);
    rows("ADVERTIZE", {"ROW_"}, 0, 5);
    rows("DEPARTMENTS", {"DESCRIPTION_"}, 1, 10);
    rows("OPERATORS", {"CODE_", "NAME_"}, 1, 31);
    rows("VAT", {"TAX_"}, 1, 9);
    out +=
        "[SISTEM]\r\nCASH=07\r\nPRINT=a\r\nGRAFICA1=b\r\nGRAFICA1_IMG=c\r\nGRAFICA2=d\r\n"
        "GRAFICA2_IMG=e\r\nOBLIGATE=f\r\nTEST_MENY=g\r\nSINGLE=h\r\nSPEED=i\r\n";
    rows("VALUTE", {"DESCRIPTION_", "CONVERSION_"}, 1, 4);
    rows("UNITS", {"DESCR_"}, 1, 5);
    rows("PLUTYPE", {"DESCR_"}, 1, 8);
    return out +
           "[SETPORT]\r\nPORT=4\r\nSPEED=38400\r\n[SETLNG]\r\nLNG=False\r\n[SETWDTH]\r\n"
           "WDTH=32\r\n[SETPHONE]\r\nPHONENM=011 555\r\nPHONEPT=ATDT\r\nPHONEPSS=tajna\r\n";
}

class ProgramFileTest : public ::testing::Test {
protected:
    bool load(const std::string& content) {
        WriteFile(path, content);
        state.ProgramFilePath = path;
        return LoadProgramFile(state, dialogs);
    }

    // Every value the file holds, as a save of the state writes it.
    std::string snapshot() {
        SharedState copy = state;
        copy.ProgramFilePath = folder + "/snapshot.ini";
        QFile::remove(QString::fromStdString(copy.ProgramFilePath));
        test::ScriptedDialogs quiet;
        EXPECT_TRUE(SaveProgramFile(copy, quiet));
        return ReadFile(copy.ProgramFilePath);
    }

    void expectBox(const std::string& text, const std::string& title, Icon icon) {
        ASSERT_EQ(dialogs.texts(), std::vector<std::string>{text});
        EXPECT_EQ(dialogs.last().title, title);
        EXPECT_EQ(dialogs.last().icon, icon);
        EXPECT_EQ(dialogs.last().buttons, Buttons::Ok);
    }

    std::string folder = test::MakeTempFolder("qovprog");
    std::string path = folder + "/setup.ini";
    SharedState state;
    test::ScriptedDialogs dialogs;
};

TEST_F(ProgramFileTest, RoundTripKeepsEveryKeyInItsRowAndTheWritingOrder) {
    ASSERT_TRUE(load(FullFile()));
    for (int row = 1; row <= 9; ++row) {
        EXPECT_EQ(state.VatTable[row].rate, Named("VAT", "TAX_", row));
    }
    const auto& s = state;
    const SystemParamsT& p = s.SystemParams;
    EXPECT_EQ(s.HeaderLines[0] + "|" + s.AdvertLines[5] + "|" + s.DepartmentTable[10].description +
                  "|" + s.OperatorTable[31].code + "|" + s.OperatorTable[1].name + "|" +
                  s.CurrencyTable[4].name + "|" + s.CurrencyTable[1].rate + "|" +
                  s.UnitTable[5].name + "|" + s.ArticleTypeTable[8].name,
              "HEADER.ROW_0|ADVERTIZE.ROW_5|DEPARTMENTS.DESCRIPTION_10|OPERATORS.CODE_31|"
              "OPERATORS.NAME_1|VALUTE.DESCRIPTION_4|VALUTE.CONVERSION_1|UNITS.DESCR_5|"
              "PLUTYPE.DESCR_8");
    EXPECT_EQ(p.CASH + p.PRINT + p.GRAFICA1 + p.GRAFICA1_IMG + p.GRAFICA2 + p.GRAFICA2_IMG +
                  p.OBLIGATE + p.TEST_MENY + p.SINGLE + p.SPEED,
              "07abcdefghi");
    EXPECT_EQ(LineSetup(s), "4|38400|0|32|011 555|ATDT|tajna");

    state.ProgramFilePath = folder + "/copy.ini";
    ASSERT_TRUE(SaveProgramFile(state, dialogs));
    EXPECT_EQ(ReadFile(state.ProgramFilePath), FullFile());
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(ProgramFileTest, SavingKeepsTheKeysItDoesNotWriteAndLeavesNoOtherFile) {
    WriteFile(path,
              "; shop 3\r\n[QOVCOM]\r\nVERSION=OLD\r\nAUTHOR=Mira\r\n[UNITS]\r\nSHORT_1=kg\r\n"
              "DESCR_1=old\r\n[LOCAL]\r\nPRINTER=lpt1\r\n");
    state.UnitTable[1].name = "j1";
    // Line ends and NULs in a value cannot split the file.
    state.OperatorTable[1].name = "Ana\r\n[VAT]\r\nTAX_1=0";
    state.OperatorTable[2].name = std::string("Iva\0rest", 8);
    state.VatTable[1].rate = "1100";
    state.ProgramFilePath = path;
    ASSERT_TRUE(SaveProgramFile(state, dialogs));
    const std::string kept =
        "; shop 3\r\n[QOVCOM]\r\nVERSION=QKRTNWZA480213\r\nAUTHOR=Mira\r\n[UNITS]\r\nSHORT_1=kg\r\n"
        "DESCR_1=j1\r\nDESCR_2=\r\nDESCR_3=\r\nDESCR_4=\r\nDESCR_5=\r\n[LOCAL]\r\nPRINTER=lpt1\r\n"
        "[HEADER]\r\n";
    EXPECT_EQ(ReadFile(path).substr(0, kept.size()), kept);
    EXPECT_EQ(QDir(QString::fromStdString(folder)).entryList(QDir::Files | QDir::Hidden),
              QStringList{"setup.ini"});

    SharedState reread;
    reread.ProgramFilePath = path;
    ASSERT_TRUE(LoadProgramFile(reread, dialogs));
    EXPECT_EQ(reread.UnitTable[1].abbreviation, "kg");  // read, never written
    EXPECT_EQ(reread.OperatorTable[1].name + "|" + reread.OperatorTable[2].name + "|" +
                  reread.VatTable[1].rate,
              "Ana|Iva|1100");
}

TEST_F(ProgramFileTest, SavingIntoAMissingFolderIsReportedAndWritesNothing) {
    state.ProgramFilePath = folder + "/missing/setup.ini";
    EXPECT_FALSE(SaveProgramFile(state, dialogs));
    expectBox("Path not found", kProgramTitle, Icon::None);
    EXPECT_FALSE(QDir(QString::fromStdString(folder + "/missing")).exists());
}

TEST_F(ProgramFileTest, AFileWithoutTheVersionIsRefusedAndChangesNothing) {
    ASSERT_TRUE(load(FullFile()));
    const std::string before = snapshot();
    const std::string body = "[HEADER]\r\nROW_0=changed\r\n[VAT]\r\nTAX_1=9999\r\n" + kLineSetup;
    std::vector<std::string> paths{folder + "/none.ini", folder, ""};
    for (const std::string& content :
         {body, "[QOVCOM]\r\nVERSION=QKRTNWZA480214\r\n" + body,
          "[QOVCOM]\r\nVERSION=qkrtnwza480213\r\n" + body,
          "[QOVCOM]\r\nNAME=QKRTNWZA480213\r\n" + body, std::string()}) {
        paths.push_back(folder + "/refused" + std::to_string(paths.size()) + ".ini");
        WriteFile(paths.back(), content);
    }
    for (const std::string& refused : paths) {
        SCOPED_TRACE(refused);
        dialogs.clear();
        state.ProgramFilePath = refused;
        EXPECT_FALSE(LoadProgramFile(state, dialogs));
        expectBox("Fajl nije validan", "Arvon Cash Registers", Icon::Critical);
        EXPECT_EQ(snapshot(), before);
    }
}

TEST_F(ProgramFileTest, AFailingConversionStopsTheLoadKeepingWhatWasReadBefore) {
    struct Case {
        std::string setup;  // the SETPORT .. SETWDTH part of the file
        const char* description;
        const char* lineSetup;  // after the load
    };
    const std::string ok = "[SETPORT]\r\nPORT=3\r\nSPEED=19200\r\n";
    const Case cases[] = {
        {"[SETPORT]\r\nPORT=COM1\r\nSPEED=19200\r\n", "Type mismatch", "7|4800|0|32|old||"},
        {"[SETPORT]\r\nSPEED=19200\r\n", "Type mismatch", "7|4800|0|32|old||"},
        {"[SETPORT]\r\nPORT=70000\r\n", "Overflow", "7|4800|0|32|old||"},
        {"[SETPORT]\r\nPORT=3\r\nSPEED=9999999999\r\n", "Overflow", "3|4800|0|32|old||"},
        {ok + "[SETLNG]\r\nLNG=da\r\n", "Type mismatch", "3|19200|0|32|old||"},
        {ok + "[SETLNG]\r\nLNG=1\r\n[SETWDTH]\r\nWDTH=x\r\n", "Type mismatch",
         "3|19200|1|32|old||"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.setup);
        state = SharedState{};
        state.PortNumber = 7;
        state.BaudRate = 4800;
        state.CyrillicLanguage = false;
        state.LineWidth = 32;
        state.PhoneNumber = "old";
        state.ArticleTypeTable[1].name = "old type";
        dialogs.clear();
        EXPECT_FALSE(load(kVersion + "[PLUTYPE]\r\nDESCR_8=Pice\r\n[VAT]\r\nTAX_9=2000\r\n" +
                          "[SETPHONE]\r\nPHONENM=123\r\nPHONEPT=ATDT\r\n" + c.setup));
        expectBox(c.description, kProgramTitle, Icon::None);
        // Everything before the failing key was read (a missing text empties its target),
        // nothing from it on.
        const auto& types = state.ArticleTypeTable;
        EXPECT_EQ(types[8].name + "|" + types[1].name + "|" + state.VatTable[9].rate, "Pice||2000");
        EXPECT_EQ(LineSetup(state), c.lineSetup);
    }
}

TEST_F(ProgramFileTest, DepartmentsArePaddedAndSystemParametersFittedToTheirWidths) {
    ASSERT_TRUE(
        load("[QOVCOM]\r\nVERSION =  QKRTNWZA480213  \r\n"
             "[DEPARTMENTS]\r\nDESCRIPTION_1=Hleb\r\nDESCRIPTION_2=Mlecni proizvodi\r\n"
             "DESCRIPTION_3=Tacno12znaka\r\n"
             "[SISTEM]\r\nCASH=123\r\nPRINT=23\r\nGRAFICA1=\r\nSPEED=4\r\n" +
             kLineSetup));
    const auto& d = state.DepartmentTable;
    EXPECT_EQ(d[1].description + "|" + d[2].description + "|" + d[3].description + "|" +
                  d[10].description,
              "Hleb        |Mlecni proizvodi|Tacno12znaka|            ");
    const SystemParamsT& p = state.SystemParams;
    EXPECT_EQ(p.CASH + "|" + p.PRINT + "|" + p.GRAFICA1 + "|" + p.GRAFICA1_IMG + "|" + p.SPEED,
              "12|2| | |4");
    ASSERT_TRUE(load(kVersion + "[SISTEM]\r\nCASH=1\r\n" + kLineSetup));
    EXPECT_EQ(state.SystemParams.CASH, "1 ");
}

TEST_F(ProgramFileTest, OddFilesNeverCrash) {
    // LF line ends, a byte-order mark, a value past the 254-character buffer.
    EXPECT_TRUE(load("\xEF\xBB\xBF[QOVCOM]\nVERSION=QKRTNWZA480213\n[DEPARTMENTS]\nDESCRIPTION_1=" +
                     std::string(300, 'N') +
                     "\n[SETPORT]\nPORT=2\nSPEED=9600\n[SETLNG]\nLNG=False\n[SETWDTH]\nWDTH=32\n"));
    EXPECT_EQ(state.DepartmentTable[1].description, std::string(254, 'N'));
    EXPECT_EQ(state.LineWidth, 32);
    // A NUL ends a value; junk lines between sections disturb nothing.
    EXPECT_TRUE(load(kVersion + "\x01\x02\xff=\x80\r\n[\r\n=\r\n]]\r\n[OPERATORS]\r\nNAME_2=Ana" +
                     std::string(1, '\0') + "junk\r\n[VAT]\r\nTAX_1=1800\r\n" + kLineSetup));
    EXPECT_EQ(state.OperatorTable[2].name, "Ana");
    EXPECT_EQ(state.VatTable[1].rate, "1800");

    // Binary junk is refused with the box of the first step it fails.
    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int i = 0; i < 200; ++i) {
        std::string junk(i % 2 == 0 ? kVersion : "");
        for (int n = 0; n < 400; ++n) {
            junk += static_cast<char>(byte(random));
        }
        dialogs.clear();
        EXPECT_FALSE(load(junk));
        EXPECT_EQ(dialogs.texts(),
                  std::vector<std::string>{i % 2 == 0 ? "Type mismatch" : "Fajl nije validan"});
    }
}

}  // namespace
}  // namespace qov
