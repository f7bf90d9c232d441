// The system screen's check, storing and showing; frame "X" and reply "L" on the line.
#include "settings/system_params.h"
#include "tables/table_fixture.h"

namespace qov::test {
namespace {

using namespace settings;

struct SystemTest : TableFixture {
    SystemEditor editor{station};

    // A valid screen: register 5, intensity 2, first graphic 1, second off, login required,
    // beep off, 19200 bps, test menu off.
    void fillValid() {
        editor.txtncassa = "5";
        editor.txtcarta = "2";
        editor.chkgrafica1 = true;
        editor.txtgrafica1 = "1";
        editor.chkgrafica2 = false;
        editor.txtgrafica2 = "";
        editor.chkop = true;
        editor.chkcic = false;
        editor.chkmanut = false;
        editor.speedIndex = 1;
    }
    std::string record() const {
        const SystemParamsT& p = state.SystemParams;
        return p.CASH + "|" + p.PRINT + "|" + p.GRAFICA1 + p.GRAFICA1_IMG + "|" + p.GRAFICA2 +
               p.GRAFICA2_IMG + "|" + p.OBLIGATE + p.SINGLE + p.SPEED + p.TEST_MENY;
    }
};

TEST_F(SystemTest, CheckShowsOnlyTheLastFailureWithItsTitleAndIcon) {
    const struct {
        const char* name;
        const char* carta;
        const char* cassa;
        bool graphic1;
        const char* grafica1;
        const char* grafica2;
        const char* shown;  // "" when the check passes
    } cases[] = {
        {"intensity 3 passes", "3", "5", false, "", "", ""},
        {"intensity 4", "4", "5", false, "", "", "Pogresan intenzitet stampe !"},
        {"intensity -1", "-1", "5", false, "", "", "Pogresan intenzitet stampe !"},
        {"intensity 3.5 rounds to 4", "3.5", "5", false, "", "", "Pogresan intenzitet stampe !"},
        {"intensity 2.5 rounds to 2", "2.5", "5", false, "", "", ""},
        {"intensity -0.5 rounds to 0", "-0.5", "5", false, "", "", ""},
        {"intensity beyond 16 bits", "99999", "5", false, "", "", "Pogresan intenzitet stampe !"},
        {"intensity empty", "", "5", false, "", "", "Intenzitet stampe je broj !"},
        {"register 100 passes", "1", "100", false, "", "", ""},
        {"register 101", "1", "101", false, "", "", "Pogresan broj kase !"},
        {"intensity x and register abc", "x", "abc", false, "", "", "Broj kase je broj !"},
        {"graphic off is not looked at", "1", "5", false, "x", "", ""},
        {"graphic 1 junk", "1", "5", true, "x", "", "Broj grafike je broj !"},
        {"graphic 1 is 4", "1", "5", true, "4", "", "Pogresan broj grafike !"},
        {"second graphic last", "9", "abc", true, "x", "7", "Pogresan broj grafike !"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs.clear();
        editor.txtcarta = c.carta;
        editor.txtncassa = c.cassa;
        editor.chkgrafica1 = c.graphic1;
        editor.txtgrafica1 = c.grafica1;
        editor.chkgrafica2 = std::string(c.grafica2) != "";
        editor.txtgrafica2 = c.grafica2;
        const bool passed = editor.contr();
        EXPECT_EQ(passed, std::string(c.shown).empty());
        if (passed) {
            EXPECT_TRUE(shown().empty());
        } else {
            EXPECT_EQ(shown(), std::vector<std::string>{std::string("Arvon Cash Regiters: ") +
                                                        c.shown + " <exclamation>"});
        }
    }
}

TEST_F(SystemTest, SalvaStoresFittedFieldsAndClosesAnnullaLeavesTheRecord) {
    state.CurrentForm = "frmsistema";
    fillValid();
    editor.txtncassa = "7";
    EXPECT_TRUE(editor.onToolbar("Salva"));
    EXPECT_EQ(record(), "7 |2|11|00|1020");
    EXPECT_EQ(state.CurrentForm, " ");

    editor.txtncassa = "123";  // refused: the screen stays open, nothing stored
    EXPECT_FALSE(editor.onToolbar("Salva"));
    EXPECT_EQ(record(), "7 |2|11|00|1020");

    editor.txtncassa = "100";    // passes the check, two characters are kept
    editor.chkgrafica1 = false;  // graphic off: both its fields become "0"
    editor.txtgrafica1 = "3";
    EXPECT_TRUE(editor.onToolbar("Salva"));
    EXPECT_EQ(record(), "10|2|00|00|1020");

    editor.txtcarta = "3";
    state.CurrentForm = "frmsistema";
    EXPECT_TRUE(editor.onToolbar("Annulla"));
    EXPECT_EQ(record(), "10|2|00|00|1020");
    EXPECT_EQ(state.CurrentForm, " ");
}

TEST_F(SystemTest, OpeningShowsTheRecordAndTheGraphicNumbersOnlyWhenSwitchedOn) {
    state.SystemParams = {"07", "3", "1", "2", "0", "3", "1", "0", "4", "1"};
    editor.txtgrafica2 = "kept";
    editor.open();
    EXPECT_EQ(state.CurrentForm, "frmsistema");
    EXPECT_EQ(std::make_tuple(editor.txtncassa, editor.txtcarta, editor.chkgrafica1,
                              editor.txtgrafica1, editor.chkgrafica2, editor.txtgrafica2),
              std::make_tuple("07", "3", true, "2", false, "kept"));
    EXPECT_EQ(std::make_tuple(editor.chkop, editor.chkcic, editor.chkmanut, editor.speedIndex),
              std::make_tuple(true, false, true, 3));
    state.SystemParams.SPEED = "0";  // the default selects no speed
    editor.vis();
    EXPECT_EQ(editor.speedIndex, -1);
    state.SystemParams.SPEED = "x";
    editor.vis();
    EXPECT_EQ(editor.speedIndex, -1);
}

TEST_F(SystemTest, SendNormalisesTheRecordAndBuildsTheFrame) {
    // The frames sent for a record, then the record as it is left.
    auto send = [&](const SystemParamsT& params) {
        state.SystemParams = params;
        link.calls.clear();
        EXPECT_TRUE(invia_sist(ctx));
        EXPECT_EQ(progress.counter(), "0");
        std::string out;
        for (const std::string& frame : link.textsOf("send_frame")) {
            out += frame + " ";
        }
        return out + record();
    };
    EXPECT_EQ(send({"5 ", "2", "1", "1", "0", "0", "1", "0", "2", "0"}),  // the example
              "X05200001001020 05|2|11|00|1020");
    EXPECT_EQ(send({"7 ", "0", "0", "0", "0", "0", "0", "0", "0", "0"}),
              "X07000000000000 07|0|00|00|0000");
    EXPECT_EQ(send({" 3", " ", "0", " ", "0", " ", "0", "0", "1", "0"}),  // single blanks: 0
              "X03000000000010 03|0|00|00|0010");
    EXPECT_EQ(send({"12", "1", "0", "0", "0", "0", " ", "0", "1", "0"}),  // a blank field
              "X1210000000010 12|1|00|00|010");                           // shortens the frame
}

TEST_F(SystemTest, SendRefusedOrBrokenShowsItsBoxes) {
    link.expect("send_frame", "X01000000000000", 1).expect("send_frame", "X01000000000000", 1);
    dialogs.answer(Answer::Retry).answer(Answer::Cancel);
    EXPECT_FALSE(invia_sist(ctx));
    link.expect("send_frame", "X01000000000000", 2);
    EXPECT_FALSE(invia_sist(ctx));
    EXPECT_EQ(shown(), (std::vector<std::string>{
                           "Arvon Cash Registers:  Podaci nisu primljeni u kasu!\n [Retry/Cancel]",
                           "Arvon Cash Registers:  Podaci nisu primljeni u kasu!\n [Retry/Cancel]",
                           "Arvon CAsh Registers: Komunikacija je prekinuta! <exclamation>"}));
    state.ModemMode = true;  // the modem variant on a dialled line
    EXPECT_TRUE(invia_sist(ctx));
    EXPECT_EQ(link.textsOf("send_frameM"), std::vector<std::string>{"X01000000000000"});
}

TEST_F(SystemTest, ReceiveStoresTheReplyFieldsAndSwitchesGraphicsOn) {
    const struct {
        const char* name;
        std::string reply;
        const char* after;
    } cases[] = {
        {"graphic 2 turns the first on", "05312342000121", "05|3|12|10|0121"},
        {"graphic 0 leaves the switch", "07300000301010", "07|3|00|13|1010"},
        {"one-digit register", "7 100001201141", "07|1|11|12|1141"},
        {"a short reply", "9", "09| |0 |1 |    "},
        {"NUL ends a field", std::string("4\0002", 3) + "00000001111", "04|2|00|10|1111"},
        {"junk graphic numbers", "0110000xy01111", "01|1|0x|1y|1111"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        state.SystemParams = {"01", "0", "0", "0", "1", "0", "0", "0", "0", "0"};
        link.replyTo("L", c.reply);
        EXPECT_TRUE(ricevi_sist(ctx));
        EXPECT_EQ(record(), c.after);
    }
    EXPECT_TRUE(shown().empty());
}

TEST_F(SystemTest, ReceiveNotDeliveredNothingOrGivenUp) {
    const SystemParamsT before{"42", "1", "1", "2", "0", "0", "1", "1", "3", "0"};
    state.SystemParams = before;
    link.expect("get_frame", "L", -4).expect("get_frame", "L", -5);
    dialogs.answer(Answer::Retry).answer(Answer::Cancel);
    EXPECT_FALSE(ricevi_sist(ctx));
    link.expect("get_frame", "L", 0);
    EXPECT_TRUE(ricevi_sist(ctx));  // nothing received, nothing changed
    link.expect("get_frame", "L", -1);
    EXPECT_FALSE(ricevi_sist(ctx));
    EXPECT_EQ(record(), "42|1|12|00|1130");
    EXPECT_EQ(
        shown(),
        std::vector<std::string>(
            2, "Arvon Cash Registers: Podaci o sistemu nisu primljeni iz kase!\n [Retry/Cancel]"));
}

}  // namespace
}  // namespace qov::test
