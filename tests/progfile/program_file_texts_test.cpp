// Program files that keep what they hold: header, advertisement and department texts come back
// byte for byte (blanks, quotes, marks, font text), in a folder and under a name that need more
// than ASCII.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <algorithm>
#include <string>

#include "progfile/program_file.h"
#include "support/scripted_dialogs.h"
#include "support/test_environment.h"

namespace qov {
namespace {

std::string Blanks(std::size_t n) {
    return std::string(n, ' ');
}

TEST(ProgramFileTexts, UnquotedTextsAreTakenUntrimmedOtherKeysTrimmed) {
    const std::string path = test::MakeTempFolder("qovtexts") + "/other.ini";
    test::WriteFile(path, "[QOVCOM]\r\nVERSION= QKRTNWZA480213 \r\n[HEADER]\r\nROW_0=" +
                              Blanks(32) + "00\r\nROW_1=  ZDRAVO" + Blanks(24) +
                              "10\r\nROW_2=\" x \"\r\n[ADVERTIZE]\r\nROW_0=Hvala \r\n"
                              "[DEPARTMENTS]\r\nDESCRIPTION_1=  Mleko\r\n"
                              "[OPERATORS]\r\nCODE_1= 5 \r\nNAME_1=  Pera  \r\n"
                              "[SETPORT]\r\nPORT=1\r\nSPEED=9600\r\n[SETLNG]\r\nLNG=1\r\n"
                              "[SETWDTH]\r\nWDTH=32\r\n");
    SharedState state;
    state.ProgramFilePath = path;
    test::ScriptedDialogs dialogs;
    ASSERT_TRUE(LoadProgramFile(state, dialogs));
    EXPECT_EQ(state.HeaderLines[0], Blanks(32) + "00");
    EXPECT_EQ(state.HeaderLines[1], "  ZDRAVO" + Blanks(24) + "10");
    EXPECT_EQ(state.HeaderLines[2], " x ");
    EXPECT_EQ(state.AdvertLines[0], "Hvala ");
    EXPECT_EQ(state.DepartmentTable[1].description, "  Mleko     ");
    EXPECT_EQ(state.OperatorTable[1].code + "|" + state.OperatorTable[1].name, "5|Pera");
}

TEST(ProgramFileTexts, EverySectionWithBlanksQuotesMarksAndFontTextRoundTripsInASerbianFolder) {
    const std::string folder = test::MakeTempFolder("qovtexts") + "/Radna površina šđčćž";
    ASSERT_TRUE(QDir().mkpath(QString::fromUtf8(folder.c_str())));
    SharedState s;
    FillDefaultTables(s);
    const std::string lines[] = {Blanks(32) + "00",
                                 "  ZDRAVO" + Blanks(24) + "10",
                                 "\"Kod Milana\"" + Blanks(20) + "11",
                                 "Wiva ^a~a [ta]" + Blanks(18) + "01",
                                 "'" + Blanks(31) + "00",
                                 Blanks(31) + "x00"};
    for (int row = 0; row <= 5; ++row) {
        s.HeaderLines[row] = lines[row];
        s.AdvertLines[row] = lines[5 - row];
    }
    s.DepartmentTable[1].description = " Hleb       ";
    s.DepartmentTable[2].description = "\"Sok\"       ";
    s.DepartmentTable[3].description = "{e}e\\|@`   ";
    s.SystemParams = {"7 ", "3", "1", "2", "0", "0", "1", "0", "4", "1"};
    s.ProgramFilePath = folder + "/Čačak.ini";
    test::ScriptedDialogs dialogs;
    ASSERT_TRUE(SaveProgramFile(s, dialogs));
    EXPECT_TRUE(QFile::exists(QString::fromUtf8(s.ProgramFilePath.c_str())));

    SharedState back;
    back.ProgramFilePath = s.ProgramFilePath;
    ASSERT_TRUE(LoadProgramFile(back, dialogs));
    EXPECT_TRUE(dialogs.boxes.empty());
    for (int row = 0; row <= 5; ++row) {
        EXPECT_EQ(back.HeaderLines[row], s.HeaderLines[row]) << row;
        EXPECT_EQ(back.AdvertLines[row], s.AdvertLines[row]) << row;
    }
    for (int row = 1; row <= 10; ++row) {
        // Loading pads a department name to 12 characters.
        std::string name = s.DepartmentTable[row].description;
        name.resize(std::max<std::size_t>(name.size(), 12), ' ');
        EXPECT_EQ(back.DepartmentTable[row].description, name) << row;
    }
    EXPECT_EQ(back.SystemParams.CASH + back.SystemParams.SPEED + back.SystemParams.TEST_MENY,
              "7 41");
}

}  // namespace
}  // namespace qov
