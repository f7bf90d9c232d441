#include <string>

#include "app/run_error.h"
#include "table_fixture.h"
#include "tables/transfer_run.h"

namespace qov::test {
namespace {

using tables::TransferDirection;
using tables::TransferEntry;
using tables::TransferMark;
using tables::TransferRun;

TEST(TransferLists, FixedOrderTextsAndCaptions) {
    const auto& tx = tables::TransmitList();
    ASSERT_EQ(tx.size(), 11u);
    const char* texts[] = {"Odeljenja",     "Artikli",         "Lager artikala", "Kasiri",
                           "Valute",        "Opsti podaci",    "Zaglavlje",      "Reklama",
                           "Jedinice mere", "Tipovi artikala", "Poruka"};
    const char* captions[] = {"Odeljenje:", "Artikal:", "Artikal:",  "Kasir:", "Valute:", "Sistem:",
                              "Red:",       "Red:",     "Jedinica:", "Tip:",   "Poruka:"};
    for (std::size_t i = 0; i < tx.size(); ++i) {
        EXPECT_EQ(tx[i].text, texts[i]);
        EXPECT_EQ(tx[i].caption, captions[i]);
    }
    const auto& rx = tables::ReceiveList();
    ASSERT_EQ(rx.size(), 9u);
    EXPECT_EQ(rx[2].text, "Prodati artikli");
    EXPECT_EQ(rx[4].caption, "Valuta:");
    EXPECT_EQ(rx[6].text, "Poreske stope");
    EXPECT_EQ(rx[6].caption, "Stopa:");
    EXPECT_EQ(tables::WorkingTransferNames(TransferDirection::Transmit),
              (std::vector<std::string>{"departments", "message"}));
    EXPECT_EQ(tables::WorkingTransferNames(TransferDirection::Receive),
              std::vector<std::string>{"departments"});
    EXPECT_EQ(tables::FindTransferEntry(TransferDirection::Receive, "vat"), 6);
    EXPECT_EQ(tables::FindTransferEntry(TransferDirection::Transmit, "vat"), -1);
}

struct TransferRunTest : TableFixture {
    // A list of three tables whose procedures record that they ran and answer as told.
    std::vector<TransferEntry> entries(std::vector<bool> answers) {
        std::vector<TransferEntry> list;
        for (std::size_t i = 0; i < answers.size(); ++i) {
            bool answer = answers[i];
            list.push_back({"t" + std::to_string(i), "Table " + std::to_string(i),
                            "Cap" + std::to_string(i) + ":", [this, i, answer](auto& c) {
                                ran.push_back(static_cast<int>(i));
                                captions.push_back(c.progress.caption());
                                return answer;
                            }});
        }
        list.push_back({"none", "Later", "Later:", {}});
        return list;
    }
    std::vector<int> ran;
    std::vector<std::string> captions;
};

TEST_F(TransferRunTest, RunsSelectedEntriesInListOrderAndMarksThem) {
    TransferRun run(station, TransferDirection::Transmit, entries({true, false, true}));
    run.setSelected(2, true);
    run.setSelected(0, true);
    run.setSelected(1, true);
    run.setSelected(3, true);

    EXPECT_FALSE(run.invia());

    EXPECT_EQ(ran, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(captions, (std::vector<std::string>{"Cap0:", "Cap1:", "Cap2:"}));
    EXPECT_EQ(run.mark(0), TransferMark::Success);
    EXPECT_EQ(run.mark(1), TransferMark::Failure);
    EXPECT_EQ(run.mark(2), TransferMark::Success);
    EXPECT_EQ(run.mark(3), TransferMark::Failure);  // no procedure yet: nothing runs, it fails
    EXPECT_TRUE(run.linkAnswered());
    EXPECT_EQ(link.count("Testconnessione"), 1);
    EXPECT_EQ(dialogs.busyChanges, (std::vector<bool>{true, false}));
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(TransferRunTest, MarksAreResetByTheNextRun) {
    TransferRun run(station, TransferDirection::Receive, entries({true, true}));
    run.setSelected(0, true);
    EXPECT_TRUE(run.invia());
    EXPECT_EQ(run.mark(0), TransferMark::Success);
    run.setSelected(0, false);
    run.setSelected(1, true);
    EXPECT_TRUE(run.invia());
    EXPECT_EQ(run.mark(0), TransferMark::None);
    EXPECT_EQ(run.mark(1), TransferMark::Success);
}

TEST_F(TransferRunTest, FailedLinkTestOnTransmitShowsTheBoxAndRunsNothing) {
    link.expect("Testconnessione", "", 1);
    TransferRun run(station, TransferDirection::Transmit, entries({true}));
    run.setSelected(0, true);

    EXPECT_FALSE(run.invia());

    EXPECT_TRUE(ran.empty());
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Veza nije u redu!");
    EXPECT_EQ(dialogs.boxes[0].title, "Arvon Cash Registers");
    EXPECT_EQ(dialogs.boxes[0].icon, Icon::Critical);
    EXPECT_EQ(run.mark(0), TransferMark::None);
    EXPECT_FALSE(dialogs.busy);
}

TEST_F(TransferRunTest, FailedLinkTestOnReceiveIsSilent) {
    state.ModemMode = true;
    link.expect("TestconnessioneM", "", -1);
    TransferRun run(station, TransferDirection::Receive, entries({true}));
    run.setSelected(0, true);
    EXPECT_FALSE(run.invia());
    EXPECT_TRUE(ran.empty());
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(TransferRunTest, NoSelectionStillTestsTheLink) {
    link.expect("Testconnessione", "", 1);
    TransferRun run(station, TransferDirection::Transmit);
    EXPECT_FALSE(run.invia());
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Veza nije u redu!"});
    EXPECT_EQ(link.calls.size(), 1u);
}

TEST_F(TransferRunTest, ThrowingProcedureFailsOnlyItsEntry) {
    std::vector<TransferEntry> list = {
        {"a", "A", "A:", [](auto&) -> bool { throw RunError(5, "boom"); }},
        {"b", "B", "B:", [](auto&) { return true; }}};
    TransferRun run(station, TransferDirection::Receive, list);
    run.setSelected(0, true);
    run.setSelected(1, true);
    EXPECT_FALSE(run.invia());
    EXPECT_EQ(run.mark(0), TransferMark::Failure);
    EXPECT_EQ(run.mark(1), TransferMark::Success);
}

// The real lists: a cancelled department send does not keep the message from going.
TEST_F(TransferRunTest, CancelInOneTableAndTheRunGoesOn) {
    latin();
    TransferRun run(station, TransferDirection::Transmit);
    run.open();
    run.setSelected(0, true);
    run.setSelected(1, true);  // articles: no procedure yet
    run.setSelected(10, true);
    run.setMessageLine(0, "Dobar dan");
    link.expect("Testconnessione", "", 0)
        .expect("send_frame", "R00Odeljenje  100000000", 1)
        .expect("send_frame", "k" + std::string("Dobar dan") + std::string(87, ' '), 0);
    dialogs.answer(Answer::Cancel);

    EXPECT_FALSE(run.invia());

    EXPECT_EQ(run.mark(0), TransferMark::Failure);
    EXPECT_EQ(run.mark(1), TransferMark::Failure);
    EXPECT_EQ(run.mark(10), TransferMark::Success);
    ASSERT_EQ(run.results().size(), 3u);
    EXPECT_EQ(run.results()[2].position, 10);
    EXPECT_EQ(run.progress().caption(), "Poruka:");
    EXPECT_EQ(link.count("send_frame"), 2);
}

TEST_F(TransferRunTest, BrokenLinkInOneTableDoesNotStopTheNext) {
    latin();
    TransferRun run(station, TransferDirection::Transmit);
    run.setSelected(0, true);
    run.setSelected(10, true);
    link.expect("Testconnessione", "", 0).then(2).then(2);
    EXPECT_FALSE(run.invia());
    EXPECT_EQ(dialogs.texts(), (std::vector<std::string>{"Komunikacija je prekinuta!",
                                                         "Komunikacija je prekinuta!"}));
    EXPECT_EQ(link.count("send_frame"), 2);
}

TEST_F(TransferRunTest, OpeningAndClosingTheScreens) {
    state.CyrillicLanguage = false;
    state.CyrillicMode = true;
    TransferRun tx(station, TransferDirection::Transmit);
    tx.setMessageLine(1, "Njiva");
    tx.open();
    EXPECT_EQ(state.CurrentForm, "frmtrasm");
    EXPECT_EQ(tx.messageFont(), "Helvetica Ciril");
    EXPECT_EQ(tx.messageLines()[1], "Wiva");
    EXPECT_EQ(tx.caption(), "Slanje");
    EXPECT_EQ(tx.listTitle(), "Spisak podataka za programiranje");
    state.CyrillicMode = false;
    tx.DoChangeLang();
    EXPECT_EQ(tx.messageFont(), "Courier New");
    EXPECT_EQ(tx.messageLines()[1], "Njiva");
    EXPECT_TRUE(tx.onToolbar("esci"));
    EXPECT_EQ(state.CurrentForm, " ");

    TransferRun rx(station, TransferDirection::Receive);
    rx.open();
    EXPECT_EQ(state.CurrentForm, "ne");
    EXPECT_EQ(rx.caption(), "Prijem");
    EXPECT_EQ(rx.listTitle(), "Lista podataka koji se mogu primiti");
    EXPECT_TRUE(rx.onToolbar("esci"));
    EXPECT_EQ(state.CurrentForm, "ne");
}

TEST_F(TransferRunTest, MessageLinesTakeTheLineWidth) {
    TransferRun run(station, TransferDirection::Transmit);
    state.LineWidth = 22;
    run.setMessageLine(0, std::string(30, 'a'));
    EXPECT_EQ(run.messageLines()[0], std::string(22, 'a'));
    state.LineWidth = 32;
    run.setMessageLine(0, std::string(40, 'a'));
    EXPECT_EQ(run.messageLines()[0], std::string(32, 'a'));
}

}  // namespace
}  // namespace qov::test
