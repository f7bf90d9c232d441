// Program file texts as they stand in a file: header, advertisement and department texts
// taken untrimmed (a quoted one without its quotes), other keys trimmed.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace qov
