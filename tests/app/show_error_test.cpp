#include "app/show_error.h"

#include <gtest/gtest.h>

#include <sstream>

#include "app/console_dialogs.h"
#include "support/scripted_dialogs.h"

namespace qov {
namespace {

TEST(ShowError, DatabaseFailureShowsTheDatabaseTextWithAWarning) {
    test::ScriptedDialogs dialogs;
    ShowError(dialogs, RunError(RunError::kDatabaseUnavailable, "driver text"),
              "frmMain.Form_Load()");
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    const MessageBox& box = dialogs.last();
    EXPECT_EQ(box.text,
              "Baza trenutno nije dostupna.\n"
              "Molimo Vas, proverite globalne parametre za pristup podacima.");
    EXPECT_EQ(box.title, "Arvon Cash Registers(Sender:='frmMain.Form_Load()')");
    EXPECT_EQ(box.icon, Icon::Exclamation);
    EXPECT_EQ(box.buttons, Buttons::Ok);
}

TEST(ShowError, OtherFailuresShowNumberAndDescriptionWithTheErrorIcon) {
    test::ScriptedDialogs dialogs;
    ShowError(dialogs, RunError(3021, "Either BOF or EOF is True", "qov.hlp", 12),
              "frmPlu.carica_PLU()");
    const MessageBox& box = dialogs.last();
    EXPECT_EQ(box.text, "3021 - Either BOF or EOF is True");
    EXPECT_EQ(box.title, "Arvon Cash Registers(Sender:='frmPlu.carica_PLU()')");
    EXPECT_EQ(box.icon, Icon::Critical);
    EXPECT_EQ(box.helpFile, "qov.hlp");
    EXPECT_EQ(box.helpContext, 12);
}

TEST(ShowError, BlankSenderGivesTheBareTitle) {
    test::ScriptedDialogs dialogs;
    ShowError(dialogs, RunError(5, "Invalid procedure call"), "   ");
    ShowError(dialogs, RunError(5, "Invalid procedure call"), "");
    EXPECT_EQ(dialogs.boxes[0].title, "Arvon Cash Registers");
    EXPECT_EQ(dialogs.boxes[1].title, "Arvon Cash Registers");
}

TEST(ShowError, NegativeNumbersAreWrittenInDecimal) {
    test::ScriptedDialogs dialogs;
    ShowError(dialogs, RunError(-2147217865, "no such table"), "x.y()");
    EXPECT_EQ(dialogs.last().text, "-2147217865 - no such table");
}

TEST(ConsoleDialogs, PrintsTitleAndTextAndAnswersByPolicy) {
    std::ostringstream err;
    ConsoleDialogs dialogs(err, 1, false);
    EXPECT_EQ(dialogs.message("Odeljenje 01 nije primljeno u kasu!\n", kTitle, Icon::None,
                              Buttons::RetryCancel),
              Answer::Retry);
    EXPECT_EQ(dialogs.message("again\n", kTitle, Icon::None, Buttons::RetryCancel),
              Answer::Cancel);
    EXPECT_EQ(dialogs.message("Dali ste sigurni?", kTitle, Icon::Exclamation, Buttons::YesNo),
              Answer::No);
    EXPECT_EQ(dialogs.message("a\nb", "T"), Answer::Ok);
    EXPECT_EQ(err.str(),
              "Arvon Cash Registers: Odeljenje 01 nije primljeno u kasu!\n"
              "Arvon Cash Registers: again\n"
              "Arvon Cash Registers: Dali ste sigurni?\n"
              "T: a b\n");

    std::ostringstream err2;
    ConsoleDialogs yes(err2, 0, true);
    EXPECT_EQ(yes.message("?", "T", Icon::None, Buttons::YesNo), Answer::Yes);
    EXPECT_EQ(yes.message("?", "T", Icon::None, Buttons::RetryCancel), Answer::Cancel);
}

}  // namespace
}  // namespace qov
