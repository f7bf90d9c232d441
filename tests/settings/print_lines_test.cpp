// Receipt header and advertisement: the screens' refresh, check and stored form, and the line
// preparation and frames of the transmit.
#include "settings/print_lines.h"
#include "tables/table_fixture.h"

namespace qov::test {
namespace {

using namespace settings;

const std::string ESC(1, '\x1b');
const std::string NUL(1, '\0');

std::string Blanks(std::size_t n) {
    return std::string(n, ' ');
}

struct PrintLinesTest : TableFixture {
    PrintLinesTest() { state.LineWidth = 32; }

    // Sets the screen's fields: text and bold per line (centre off).
    void type(PrintLinesEditor& editor, const std::vector<std::pair<std::string, bool>>& lines) {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            editor.fields[i].text = lines[i].first;
            editor.fields[i].bold = lines[i].second;
        }
    }
    // The frames sent, without their letter, digit and final NUL.
    std::vector<std::string> sentTexts() const {
        std::vector<std::string> texts;
        for (const std::string& frame : link.textsOf("send_frame")) {
            texts.push_back(frame.size() >= 3 ? frame.substr(2, frame.size() - 3) : frame);
        }
        return texts;
    }
    PrintLinesEditor header{station, kHeaderKind};
    PrintLinesEditor advert{station, kAdvertKind};
};

TEST_F(PrintLinesTest, SacuvajRefusesTheFirstLineTooWideAndStoresNothing) {
    // One line (0-5) typed at a width: "stored", or the box with the line left as it was.
    auto sacuvaj = [&](int width, int line, const std::string& text, bool bold) {
        dialogs.clear();
        state.LineWidth = static_cast<std::int16_t>(width);
        state.HeaderLines.fill("before");
        for (LineField& field : header.fields) {
            field = LineField{};
        }
        header.fields[line] = LineField{text, bold, false};
        if (header.Sacuvaj()) {
            EXPECT_EQ(state.HeaderLines[0].size(), 34u);
            return "stored" + std::string(shown().empty() ? "" : " with a box");
        }
        EXPECT_EQ(shown().size(), 1u);
        return shown().at(0) + "|" + state.HeaderLines[line];
    };
    const std::string box = "Arvon Cash Regiters:  ";
    const std::string wide = " je veci od 32 !  <info>|before";
    const std::string bold = "Podebljana slova zauzimaju 2 mesta tako da je broj karaktera u redu ";
    EXPECT_EQ(sacuvaj(32, 0, std::string(32, 'a'), false), "stored");
    EXPECT_EQ(sacuvaj(32, 0, std::string(33, 'a'), false), box + "Broj karaktera u redu 1" + wide);
    EXPECT_EQ(sacuvaj(22, 4, std::string(23, 'a'), false),
              box + "Broj karaktera u redu 5 je veci od 22 !  <info>|before");
    EXPECT_EQ(sacuvaj(22, 0, "abc" + Blanks(29), false), "stored");  // trailing blanks don't count
    EXPECT_EQ(sacuvaj(22, 0, "AB CD", true), "stored");              // bold: counts 9
    EXPECT_EQ(sacuvaj(32, 2, std::string(16, 'M'), true), "stored");
    EXPECT_EQ(sacuvaj(32, 2, std::string(17, 'M'), true),
              box + bold + "3 veci od 32 !  <info>|before");
    EXPECT_EQ(sacuvaj(22, 1, "A B C D E F G", true), "stored");  // bold blanks count 1
    EXPECT_EQ(sacuvaj(22, 1, std::string(12, 'm'), true),
              box + bold + "2 veci od 22 !  <info>|before");
}

TEST_F(PrintLinesTest, StoredFormHasThirtyTwoCharactersAndTwoMarks) {
    type(advert, {{"ZDRAVO  ", true}, {"", false}, {"  dobar dan", false}});
    advert.setFocused(0);
    advert.onToolbar("Center");
    advert.setFocused(2);
    advert.onToolbar("Center");
    advert.onToolbar("Align Left");
    state.CurrentForm = "frmadvertize";
    EXPECT_TRUE(advert.onToolbar("Aggiorna"));  // stored: the screen closes
    EXPECT_EQ(state.AdvertLines[0], "ZDRAVO" + Blanks(26) + "11");
    EXPECT_EQ(state.AdvertLines[1], Blanks(32) + "00");
    EXPECT_EQ(state.AdvertLines[2], "  dobar dan" + Blanks(21) + "00");
    EXPECT_EQ(state.HeaderLines[0], "");  // the twin's lines are not touched
    EXPECT_EQ(state.CurrentForm, "frmadvertize");
}

TEST_F(PrintLinesTest, ToolbarMarksActOnTheFocusedLineAndItsRecord) {
    header.setFocused(3);
    header.onToolbar("Bold");
    EXPECT_EQ(std::make_tuple(header.fields[3].bold, header.fields[3].fontSize(),
                              state.HeaderTable[3].bold, header.fields[0].bold),
              std::make_tuple(true, 15, true, false));
    header.onToolbar("Bold");
    EXPECT_EQ(std::make_tuple(header.fields[3].bold, header.fields[3].fontSize(),
                              state.HeaderTable[3].bold),
              std::make_tuple(false, 11, false));
    header.onToolbar("Center");
    EXPECT_TRUE(header.fields[3].centre && state.HeaderTable[3].centre);
    header.onToolbar("Align Left");
    EXPECT_FALSE(header.fields[3].centre || state.HeaderTable[3].centre);
    state.CurrentForm = "frmIntestazione";
    header.fields[0].text = "not kept";
    EXPECT_TRUE(header.onToolbar("Annulla"));
    EXPECT_EQ(state.CurrentForm, " ");
    EXPECT_EQ(state.HeaderLines[0], "");
}

TEST_F(PrintLinesTest, OpeningRefreshesFromStoredLinesReadingMissingMarksAsOff) {
    state.LineWidth = 22;
    state.CyrillicMode = true;
    state.CyrillicFontName = "Helvetica Ciril";
    state.LatinFontName = "Courier New";
    for (PrintLinesEditor* editor : {&header, &advert}) {
        PrintLinesT& lines = editor == &header ? state.HeaderLines : state.AdvertLines;
        lines = {"ZDRAVO" + Blanks(26) + "10",
                 "Njiva" + Blanks(27) + "01",
                 "KRATKO",  // no marks
                 "ab",      // too short: the field keeps what it had
                 Blanks(32) + "11",
                 "x" + Blanks(31) + "1",  // a bold mark, no centre mark
                 ""};
        editor->fields[3].text = "typed";
        editor->open();
        SCOPED_TRACE(editor->kind().caption);
        EXPECT_EQ(state.CurrentForm, editor->kind().formName);
        EXPECT_EQ(editor->fontName(), "Helvetica Ciril");
        EXPECT_EQ(lines[1],
                  "Wiva" + Blanks(28) + "01");  // the script form written back, marks kept
        const std::vector<std::tuple<std::string, bool, bool>> expected = {
            {"ZDRAVO" + Blanks(16), true, false},
            {"Wiva" + Blanks(18), false, true},
            {"KRATKO", false, false},
            {"typed", false, false},
            {"", true, true},
            {"x" + Blanks(21), true, false}};
        for (int i = 0; i < kPrintLineCount; ++i) {
            const LineField& f = editor->fields[i];
            EXPECT_EQ(std::make_tuple(f.text, f.bold, f.centre), expected[i]) << "line " << i;
        }
    }
}

TEST_F(PrintLinesTest, LanguageAndWidthChangesAdaptTheFields) {
    state.LatinFontName = "Courier New";
    header.fields[0].text = "Wiva";
    header.fields[1].text = std::string(30, 'a');
    state.HeaderTable[2].bold = true;
    header.DoChangeLang();
    EXPECT_EQ(std::make_tuple(header.fields[0].text, header.fontName(), header.fields[2].bold),
              std::make_tuple("Njiva", "Courier New", true));
    state.LineWidth = 32;
    header.lineWidthChanged();
    EXPECT_EQ(header.maxLength(), 32u);
    EXPECT_EQ(header.fields[1].text.size(), 30u);
    state.LineWidth = 22;
    header.lineWidthChanged();
    EXPECT_EQ(header.maxLength(), 22u);
    EXPECT_EQ(header.fields[1].text, std::string(22, 'a'));
}

TEST_F(PrintLinesTest, TransmitPreparesEveryLineInItsOrder) {
    // The header stored at a width: the texts of the six frames, each "S", digit, text, NUL.
    auto send = [&](int width, const PrintLinesT& stored) {
        state.LineWidth = static_cast<std::int16_t>(width);
        state.HeaderLines = stored;
        state.HeaderTable = {};
        link.calls.clear();
        EXPECT_TRUE(settings::invia_int(ctx));
        for (const std::string& frame : link.textsOf("send_frame")) {
            EXPECT_EQ(frame.substr(0, 1) + frame.back(), "S" + NUL);
        }
        return sentTexts();
    };
    using Texts = std::vector<std::string>;
    const std::string none = NUL + Blanks(31);  // a line without text after the last with one
    EXPECT_EQ(send(32, {"AB" + Blanks(30) + "10", "k1" + Blanks(30) + "00", "", "", "", "", ""}),
              (Texts{ESC + "A" + ESC + "B" + Blanks(28), "k1" + Blanks(30), none, none, none,
                     none}));  // bold
    EXPECT_EQ(send(32, {"ABCD" + Blanks(28) + "01", "ABC" + Blanks(29) + "01", "", "", "", "", ""}),
              (Texts{Blanks(13) + "ABCD" + Blanks(15), Blanks(14) + "ABC" + Blanks(15), none, none,
                     none, none}));                                            // centred
    EXPECT_EQ(send(22, {"ABCD" + Blanks(28) + "11", "", "", "", "", "", ""}),  // centred on the
              (Texts{Blanks(6) + ESC + "A" + ESC + "B" + ESC + "C" + ESC + "D" + Blanks(18), none,
                     none, none, none, none}));  // width, counting the ESC characters
    EXPECT_EQ(send(32, {"abc" + Blanks(29) + "00", "def" + Blanks(29) + "00", Blanks(32) + "00",
                        "ghi" + Blanks(29) + "00", "", "", ""}),
              (Texts{"abc" + Blanks(29), "def" + Blanks(29), Blanks(32), "ghi" + Blanks(29), none,
                     none}));                          // an empty line between filled ones
    EXPECT_EQ(send(32, {"", "", "", "", "", "", ""}),  // line 0 is never replaced
              (Texts{Blanks(32), none, none, none, none, none}));
    // The text cut at the width, blanks around removed, missing marks off.
    EXPECT_EQ(send(22, {"  lijevo" + Blanks(14) + "TAIL", "   desno", "", "", "", "", ""}),
              (Texts{"lijevo" + Blanks(26), "desno" + Blanks(27), none, none, none, none}));
    EXPECT_EQ(progress.counter(), "6");
}

TEST_F(PrintLinesTest, AShortStoredLineKeepsTheRecordAPreviousTransmitLeft) {
    state.HeaderLines = {"AB" + Blanks(30) + "10", "", "", "", "", "", ""};
    EXPECT_TRUE(settings::invia_int(ctx));
    EXPECT_EQ(state.HeaderTable[0].text, ESC + "A" + ESC + "B");
    EXPECT_EQ(state.HeaderTable[5].text, NUL);
    state.HeaderLines[0] = "ab";  // 2 characters: the record from before is taken again
    link.calls.clear();
    EXPECT_TRUE(settings::invia_int(ctx));
    EXPECT_EQ(sentTexts()[0], ESC + ESC + ESC + "A" + ESC + ESC + ESC + "B" + Blanks(24));
    // A NUL line left in a record is not blank: the empty tail stops there.
    state.HeaderLines = {"abc" + Blanks(29) + "00", "", "", "", "", "", ""};
    state.HeaderTable[4].text = NUL;
    state.HeaderTable[5].text = "";
    link.calls.clear();
    EXPECT_TRUE(settings::invia_int(ctx));
    EXPECT_EQ(sentTexts()[5], NUL + Blanks(31));
    EXPECT_EQ(sentTexts()[4], NUL + Blanks(31));
    EXPECT_EQ(sentTexts()[3], NUL + Blanks(31));
}

TEST_F(PrintLinesTest, AdvertisementRunsTheTransmitScreensLanguageStepAndSendsInRegisterCode) {
    state.CyrillicMode = state.CyrillicLanguage = true;
    message = {"Njiva", "", ""};
    state.AdvertLines = {"Njiva" + Blanks(27) + "00", "", "", "", "", "", ""};
    link.expect("send_frame", "A0" + Reg({170, 216, 210, 208}) + Blanks(28) + NUL, 1)
        .expect("send_frame", "A0" + Reg({170, 216, 210, 208}) + Blanks(28) + NUL, 2);
    dialogs.answer(Answer::Retry);
    EXPECT_FALSE(settings::invia_adv(ctx));
    EXPECT_EQ(message[0], "Wiva");
    EXPECT_EQ(state.AdvertLines[0], "Wiva" + Blanks(28) + "00");
    EXPECT_EQ(shown(), (std::vector<std::string>{
                           "Arvon Cash Registers:  Red reklame 1 nije primljen u kasu!\n "
                           "[Retry/Cancel]",
                           "Arvon CAsh Registers: Komunikacija je prekinuta! <exclamation>"}));
    dialogs.clear();
    state.HeaderLines = {"a", "123" + Blanks(29) + "00", "", "", "", "", ""};
    link.expect("send_frame", "S0" + Blanks(32) + NUL, 0)
        .expect("send_frame", "S1123" + Blanks(29) + NUL, 1);
    dialogs.answer(Answer::Cancel);
    EXPECT_FALSE(settings::invia_int(ctx));
    EXPECT_EQ(shown(), std::vector<std::string>{
                           "Arvon Cash Registers:  Red zaglavlja 2 nije primljen u kasu!\n "
                           "[Retry/Cancel]"});
}

}  // namespace
}  // namespace qov::test
