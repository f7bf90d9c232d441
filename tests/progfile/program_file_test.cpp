#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <random>
#include <string>
#include <vector>

#include "progfile/program_file.h"
#include "progfile/program_file_menu.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_link.h"
#include "support/test_environment.h"

namespace qov {
namespace {

using test::ReadFile;
using test::WriteFile;
using Texts = std::vector<std::string>;

const std::string kVersion = "[QOVCOM]\r\nVERSION=QKRTNWZA480213\r\n";
const std::string kLineSetup =
    "[SETPORT]\r\nPORT=3\r\nSPEED=19200\r\n[SETLNG]\r\nLNG=True\r\n[SETWDTH]\r\nWDTH=22\r\n";

// Every key of a program file in writing order, as a fresh save writes it. A numbered key
// holds "SECTION.KEYn", so a row read into the wrong place shows.
std::string FullFile() {
    std::string out = kVersion;
    auto rows = [&out](const std::string& section, const std::vector<std::string>& keys, int first,
                       int last) {
        out += "[" + section + "]\r\n";
        for (int row = first; row <= last; ++row) {
            for (const std::string& key : keys) {
                out += key + std::to_string(row) + "=" + section + "." + key + std::to_string(row) +
                       "\r\n";
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

constexpr const char* kValidFile =
    "[QOVCOM]\r\nVERSION=QKRTNWZA480213\r\n[VAT]\r\nTAX_1=1800\r\n"
    "[SETPORT]\r\nPORT=3\r\nSPEED=19200\r\n[SETLNG]\r\nLNG=False\r\n[SETWDTH]\r\nWDTH=32\r\n";

// The line set-up as "port|speed|language|width|phone|dial|password".
std::string LineSetup(const SharedState& s) {
    return std::to_string(s.PortNumber) + "|" + std::to_string(s.BaudRate) + "|" +
           std::to_string(s.CyrillicLanguage) + "|" + std::to_string(s.LineWidth) + "|" +
           s.PhoneNumber + "|" + s.DialCommand + "|" + s.LinePassword;
}

class ProgramFileTest : public ::testing::Test {
protected:
    ProgramFileTest() {
        menu.reloadScreen = [this](const std::string& form) { reloaded.push_back(form); };
        menu.closeLastScreen = [this] { return openScreens > 0 && openScreens-- > 0; };
    }

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
        EXPECT_TRUE(SaveProgramFile(copy, dialogs));
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
    test::ScriptedLink link;
    ProgramFileMenu menu{state, dialogs, link, folder};
    Texts reloaded;  // by the menu
    int openScreens = 0;
};

TEST_F(ProgramFileTest, RoundTripKeepsEveryKeyInItsRowAndTheWritingOrder) {
    ASSERT_TRUE(load(FullFile()));
    for (int row = 1; row <= 9; ++row) {
        EXPECT_EQ(state.VatTable[row].rate, "VAT.TAX_" + std::to_string(row));
    }
    EXPECT_EQ(state.OperatorTable[31].code + "|" + state.SystemParams.SPEED, "OPERATORS.CODE_31|i");
    EXPECT_EQ(LineSetup(state), "4|38400|0|32|011 555|ATDT|tajna");

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
    state.VatTable[1].rate = "11";
    state.ProgramFilePath = path;
    ASSERT_TRUE(SaveProgramFile(state, dialogs));
    const std::string kept =
        "; shop 3\r\n[QOVCOM]\r\nVERSION=QKRTNWZA480213\r\nAUTHOR=Mira\r\n"
        "[UNITS]\r\nSHORT_1=kg\r\nDESCR_1=j1\r\nDESCR_2=\r\nDESCR_3=\r\n"
        "DESCR_4=\r\nDESCR_5=\r\n[LOCAL]\r\nPRINTER=lpt1\r\n[HEADER]\r\n";
    EXPECT_EQ(ReadFile(path).substr(0, kept.size()), kept);
    EXPECT_EQ(QDir(QString::fromStdString(folder)).entryList(QDir::Files | QDir::Hidden),
              QStringList{"setup.ini"});
    ASSERT_TRUE(LoadProgramFile(state, dialogs));
    EXPECT_EQ(state.UnitTable[1].abbreviation, "kg");  // read, never written
    const auto& ops = state.OperatorTable;
    EXPECT_EQ(ops[1].name + "|" + ops[2].name + "|" + state.VatTable[1].rate, "Ana|Iva|11");

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
    for (const std::string& content : {body, "[QOVCOM]\r\nVERSION=QKRTNWZA480214\r\n" + body,
                                       "[QOVCOM]\r\nVERSION=qkrtnwza480213\r\n" + body,
                                       "[QOVCOM]\r\nNAME=QKRTNWZA480213\r\n" + body}) {
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
    const std::string port = "[SETPORT]\r\nPORT=3\r\nSPEED=19200\r\n";
    const std::string cases[][3] = {
        // the SETPORT .. SETWDTH part of the file, the box, the line set-up after the load
        {"[SETPORT]\r\nSPEED=19200\r\n", "Type mismatch", "4|38400|0|32"},
        {"[SETPORT]\r\nPORT=1,5\r\n", "Type mismatch", "4|38400|0|32"},
        {"[SETPORT]\r\nPORT=70000\r\n", "Overflow", "4|38400|0|32"},
        {"[SETPORT]\r\nPORT=3\r\nSPEED=&H100000000\r\n", "Overflow", "3|38400|0|32"},
        {port + "[SETLNG]\r\nLNG=Truee\r\n", "Type mismatch", "3|19200|0|32"},
        {port + "[SETLNG]\r\nLNG=1\r\n[SETWDTH]\r\nWDTH=x\r\n", "Type mismatch", "3|19200|1|32"},
    };
    for (const auto& [setup, box, lineSetup] : cases) {
        SCOPED_TRACE(setup);
        ASSERT_TRUE(load(FullFile()));
        dialogs.clear();
        EXPECT_FALSE(load(kVersion + "[PLUTYPE]\r\nDESCR_8=Pice\r\n[VAT]\r\nTAX_9=2000\r\n" +
                          "[SETPHONE]\r\nPHONENM=123\r\n" + setup));
        expectBox(box, kProgramTitle, Icon::None);
        // Everything before the failing key was read (a missing text empties its target),
        // nothing from it on.
        const auto& types = state.ArticleTypeTable;
        EXPECT_EQ(types[8].name + "|" + types[1].name + "|" + state.VatTable[9].rate, "Pice||2000");
        EXPECT_EQ(LineSetup(state), lineSetup + "|011 555|ATDT|tajna");
    }
}

TEST_F(ProgramFileTest, NumbersRoundHalfToEvenAndTakeHexOctalAndExponentForms) {
    const std::string cases[][5] = {
        // PORT, SPEED, LNG, WDTH, the line set-up read
        {"2.5", "38400.4", "-1", "31.5", "2|38400|1|32"},
        {"&H3", "1e3", "False", "&O26", "3|1000|0|22"},
        {" 3.5 ", "&HFFFFFFFF", "TRUE", "-0", "4|-1|1|0"},
    };
    for (const auto& [port, speed, lng, width, lineSetup] : cases) {
        EXPECT_TRUE(load(kVersion + "[SETPORT]\r\nPORT=" + port + "\r\nSPEED=" + speed +
                         "\r\n[SETLNG]\r\nLNG=" + lng + "\r\n[SETWDTH]\r\nWDTH=" + width + "\r\n"));
        EXPECT_EQ(LineSetup(state), lineSetup + "|||");
    }
}

TEST_F(ProgramFileTest, DepartmentsArePaddedSystemParametersFittedAndOddBytesSurvived) {
    // A byte-order mark, LF line ends, junk lines, a NUL in a value, a value past the
    // 254-character buffer.
    ASSERT_TRUE(
        load("\xEF\xBB\xBF[QOVCOM]\nVERSION =  QKRTNWZA480213  \n\x01\x02\xff=\x80\n[\n=\n]]\n"
             "[DEPARTMENTS]\nDESCRIPTION_1=Hleb\nDESCRIPTION_2=Mlecni proizvodi\n"
             "DESCRIPTION_3=Tacno12znaka\nDESCRIPTION_4=" +
             std::string(300, 'N') + "\n[OPERATORS]\nNAME_2=Ana" + std::string(1, '\0') +
             "junk\n[SISTEM]\nCASH=123\nPRINT=23\nGRAFICA1=\nSPEED=4\n"
             "[SETPORT]\nPORT=2\nSPEED=9600\n[SETLNG]\nLNG=0\n[SETWDTH]\nWDTH=32\n"));
    const auto& d = state.DepartmentTable;
    EXPECT_EQ(d[1].description + "|" + d[2].description + "|" + d[3].description + "|" +
                  d[10].description,
              "Hleb        |Mlecni proizvodi|Tacno12znaka|            ");
    EXPECT_EQ(d[4].description, std::string(254, 'N'));
    const SystemParamsT& p = state.SystemParams;
    EXPECT_EQ(p.CASH + "|" + p.PRINT + "|" + p.GRAFICA1 + "|" + p.GRAFICA1_IMG + "|" + p.SPEED,
              "12|2| | |4");
    EXPECT_EQ(state.OperatorTable[2].name, "Ana");
    EXPECT_EQ(LineSetup(state), "2|9600|0|32|||");
}

TEST_F(ProgramFileTest, BinaryJunkIsRefusedWithTheBoxOfTheFirstStepItFails) {
    std::mt19937 random(7);
    for (int i = 0; i < 200; ++i) {
        std::string junk(i % 2 == 0 ? kVersion : "");
        while (junk.size() < 400) {
            junk += static_cast<char>(random());
        }
        dialogs.clear();
        EXPECT_FALSE(load(junk));
        EXPECT_EQ(dialogs.texts(),
                  std::vector<std::string>{i % 2 == 0 ? "Type mismatch" : "Fajl nije validan"});
    }
}

// --- The "Datoteke" menu ----------------------------------------------------------------

TEST_F(ProgramFileTest, OtvoriLoadsSetsTheChecksReloadsTheTableScreenAndReopensTheLine) {
    const char* refused = "[QOVCOM]\r\nVERSION=1\r\n[SETWDTH]\r\nWDTH=32\r\n[SETLNG]\r\nLNG=0\r\n";
    const std::string arvon = " (Arvon Cash Registers)|";
    const std::string reopened = "|Close_RS232  0|Init_RS232bd 3 19200";
    struct Case {
        const char* file;  // nullptr: the dialog is cancelled
        int lineResult;    // of Init_RS232bd
        const char* form;
        std::string outcome;
    } cases[] = {
        {nullptr, 0, "frmreparti", "checks 10|mode 0"},
        {kValidFile, 0, "frmreparti",
         "OK" + arvon + "reload frmreparti|checks 01|mode 0" + reopened},
        {kValidFile, 2, "frmPlu",
         "Komunikaciona linija nije dostupna" + arvon + "checks 01|mode 0" + reopened},
        {refused, 0, "frmreparti", "Fajl nije validan" + arvon + "checks 10|mode 1"},
    };
    for (const Case& c : cases) {
        dialogs.clear();
        link.calls.clear();
        reloaded.clear();
        menu.cyrillicChecked = true;
        menu.width32Checked = false;
        state.CyrillicMode = false;
        state.CurrentForm = c.form;
        if (c.file != nullptr) {
            test::WriteFile(path, c.file);
            dialogs.openWith(path);
        }
        link.defaultInit = c.lineResult;
        menu.onOpen();
        // What the choice left: boxes, screen reloaded, checks, mode and the line calls.
        std::string outcome;
        for (const MessageBox& box : dialogs.boxes) {
            outcome += box.text + " (" + box.title + ")|";
        }
        for (const std::string& form : reloaded) {
            outcome += "reload " + form + "|";
        }
        outcome += "checks " + std::to_string(menu.cyrillicChecked) +
                   std::to_string(menu.width32Checked) + "|mode " +
                   std::to_string(state.CyrillicMode);
        for (const auto& call : link.calls) {
            outcome += "|" + call.op + " " + call.text + " " + std::to_string(call.arg);
        }
        EXPECT_EQ(outcome, c.outcome);
        EXPECT_EQ(state.ProgramFilePath, c.file != nullptr ? path : "");
    }
    // The dialog starts in the program folder with the name chosen last.
    const FileDialog& first = dialogs.openDialogs[0];
    EXPECT_EQ(first.title + "|" + first.folder + "|" + first.filter + "|" + first.fileName,
              "Open|" + folder + "|All Files (*.ini)|*.ini|");
    EXPECT_EQ(dialogs.openDialogs[3].fileName, path);
}

TEST_F(ProgramFileTest, SacuvajAsksForANameOnlyWhileThereIsNoneSacuvajPodImenomAlways) {
    dialogs.saveWith("").saveWith(path).saveWith(folder + "/copy.ini");
    menu.onSave();  // cancelled
    EXPECT_EQ(state.ProgramFilePath, "");
    menu.onSave();
    state.OperatorTable[31].name = "Zorka";
    menu.onSave();  // with a name: written again without asking
    EXPECT_NE(ReadFile(path).find("NAME_31=Zorka\r\n"), std::string::npos);
    menu.onSaveAs();
    EXPECT_EQ(state.ProgramFilePath, folder + "/copy.ini");
    menu.onSaveAs();  // cancelled: the name stays forgotten
    EXPECT_EQ(state.ProgramFilePath, "");
    ASSERT_EQ(dialogs.saveDialogs.size(), 4u);
    const FileDialog& asked = dialogs.saveDialogs[1];
    EXPECT_EQ(asked.title + "|" + asked.folder + "|" + asked.filter + "|" + asked.fileName,
              "Save As|" + folder + "|All Files (*.INI)|*.INI|");
    EXPECT_EQ(dialogs.saveDialogs[2].fileName + "|" + dialogs.saveDialogs[3].fileName,
              path + "|" + folder + "/copy.ini");
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(ProgramFileTest, ZatvoriClosesTheScreensFirstThenForgetsTheFile) {
    openScreens = 2;
    state.ProgramFilePath = "/x/shop.ini";
    menu.newEnabled = menu.openEnabled = false;
    Texts after;  // the file, then "Nova", "Otvori", "Sacuvaj", "Sacuvaj Pod Imenom", "Zatvori"
    for (int i = 0; i < 3; ++i) {
        menu.onClose();
        after.push_back(state.ProgramFilePath + "|" + std::to_string(menu.newEnabled) +
                        std::to_string(menu.openEnabled) + std::to_string(menu.saveEnabled) +
                        std::to_string(menu.saveAsEnabled) + std::to_string(menu.closeEnabled) +
                        "|" + std::to_string(openScreens));
    }
    EXPECT_EQ(after, (Texts{"/x/shop.ini|00111|1", "/x/shop.ini|00111|0", "|11000|0"}));
}

std::string Pad(std::string text, std::size_t width) {
    if (text.size() < width) {
        text.resize(width, ' ');
    }
    return text;
}

// Every text the file carries, one "KEY=value" line each, as it stands in memory.
std::string AllTexts(const SharedState& s) {
    std::string out;
    auto line = [&out](const std::string& key, int row, const std::string& value) {
        out += key + std::to_string(row) + "=" + value + "\n";
    };
    for (int row = 0; row <= 5; ++row) {
        line("HEADER", row, s.HeaderLines[row]);
        line("ADVERTIZE", row, s.AdvertLines[row]);
    }
    for (int row = 1; row <= 10; ++row) {
        line("DESCRIPTION_", row, s.DepartmentTable[row].description);
    }
    for (int row = 1; row <= 31; ++row) {
        line("CODE_", row, s.OperatorTable[row].code);
        line("NAME_", row, s.OperatorTable[row].name);
    }
    for (int row = 1; row <= 9; ++row) {
        line("TAX_", row, s.VatTable[row].rate);
    }
    for (int row = 1; row <= 4; ++row) {
        line("VALUTA_", row, s.CurrencyTable[row].name + "|" + s.CurrencyTable[row].rate);
    }
    for (int row = 1; row <= 5; ++row) {
        line("UNIT_", row, s.UnitTable[row].name);
    }
    for (int row = 1; row <= 8; ++row) {
        line("TYPE_", row, s.ArticleTypeTable[row].name);
    }
    return out;
}

// Names in display-font text (every punctuation letter of the font), in register code, padded
// as a receive leaves them, header lines with leading blanks and quotes, advertisement lines
// blank, quoted, in font text or ending in their marks; saved in a folder and under a name that
// need more than ASCII.
TEST(ProgramFileRoundTrip, EverySectionComesBackWithCyrillicNames) {
    const std::string font[] = {"\\urx", "|ak ", "@ito",  "`uta", "[ta]",
                                "{e}e",  "^a~a", "Qubav", "Wiva", "Xep"};
    const std::string reg = "\xB0\xBB\xC1\xA2\xF2\xFF\xA8";  // register code, one of each case
    const std::string advert[] = {Pad("", 32) + "00",
                                  Pad("  ZDRAVO", 32) + "10",
                                  Pad("\"Kod Milana\"", 32) + "11",
                                  Pad("Wiva ^a~a [ta]", 32) + "01",
                                  Pad("'", 32) + "00",
                                  Pad("", 31) + "x00"};
    SharedState s;
    FillDefaultTables(s);
    for (int row = 0; row <= 5; ++row) {
        s.HeaderLines[row] = Pad("   " + font[row] + " \"x\"", 32) + "10";
        s.AdvertLines[row] = advert[row];
    }
    for (int row = 1; row <= 10; ++row) {
        s.DepartmentTable[row].description = Pad(row == 1 ? reg : font[row - 1], 12);
    }
    s.DepartmentTable[2].description = Pad(" " + font[1], 12);  // blanks at both ends kept
    s.DepartmentTable[3].description = "\"" + font[2] + "\"      ";
    for (int row = 1; row <= 31; ++row) {
        s.OperatorTable[row].code = "   " + std::to_string(row);
        s.OperatorTable[row].name = Pad(font[row % 10] + reg.substr(0, row % 4), 12);
    }
    for (int row = 1; row <= 9; ++row) {
        s.VatTable[row].rate = std::to_string(row * 100 + 1);
    }
    for (int row = 1; row <= 4; ++row) {
        s.CurrencyTable[row] = {row % 2 ? "117,50000" : "0.000000", Pad(font[row + 5], 12)};
    }
    s.CurrencyTable[4].name = reg.substr(0, 6) + " 4";  // a default name, in register code
    for (int row = 1; row <= 5; ++row) {
        s.UnitTable[row].name = Pad(font[row].substr(0, 2), 3);
    }
    for (int row = 1; row <= 8; ++row) {
        s.ArticleTypeTable[row].name = Pad(font[row + 1], 12);
    }
    s.ArticleTypeTable[8].name = reg;

    // What a load gives back: operator, currency, unit and type texts trimmed.
    SharedState expected = s;
    auto trim = [](std::string& text) {
        text.erase(text.find_last_not_of(' ') + 1);
        text.erase(0, text.find_first_not_of(' '));
    };
    for (auto& op : expected.OperatorTable) {
        trim(op.code);
        trim(op.name);
    }
    for (auto& c : expected.CurrencyTable) {
        trim(c.name);
    }
    for (auto& u : expected.UnitTable) {
        trim(u.name);
    }
    for (auto& t : expected.ArticleTypeTable) {
        trim(t.name);
    }

    s.SystemParams = {"7 ", "3", "1", "2", "0", "0", "1", "0", "4", "1"};

    const std::string folder = test::MakeTempFolder("qovprog") + "/Radna površina šđčćž";
    ASSERT_TRUE(QDir().mkpath(QString::fromUtf8(folder.c_str())));
    s.ProgramFilePath = folder + "/Čačak.ini";
    test::ScriptedDialogs dialogs;
    ASSERT_TRUE(SaveProgramFile(s, dialogs));
    EXPECT_TRUE(QFile::exists(QString::fromUtf8(s.ProgramFilePath.c_str())));
    SharedState back;
    back.ProgramFilePath = s.ProgramFilePath;
    ASSERT_TRUE(LoadProgramFile(back, dialogs));
    EXPECT_EQ(AllTexts(back), AllTexts(expected));
    const SystemParamsT& p = back.SystemParams;
    EXPECT_EQ(p.CASH + p.SPEED + p.TEST_MENY, "7 41");
    EXPECT_TRUE(dialogs.boxes.empty());
}

}  // namespace
}  // namespace qov
