#include "tables/transfer_run.h"
#include "app/run_error.h"
#include "table_fixture.h"

namespace qov::test {
namespace {

using tables::TransferDirection;
using tables::TransferRun;
constexpr auto kNone = tables::TransferMark::None, kOk = tables::TransferMark::Success,
               kFailed = tables::TransferMark::Failure;

using TransferRunTest = TableFixture;

TEST_F(TransferRunTest, RunsTheSelectedEntriesInListOrderAndMarksEach) {
    std::string ran;
    auto answer = [&ran](bool ok) {
        return [&ran, ok](tables::TransferContext& c) {
            ran += c.progress.caption();
            return ok;
        };
    };
    TransferRun run(station, TransferDirection::Receive,
                    {{"a", "A", "A:", answer(true)},
                     {"b", "B", "B:", answer(false)},
                     {"c", "C", "C:", [](auto&) -> bool { throw RunError(5, "boom"); }},
                     {"d", "D", "D:", answer(true)},
                     {"e", "E", "E:", {}}});  // no procedure yet: nothing runs, it fails
    for (int pos : {4, 3, 2, 1, 0}) {
        run.setSelected(pos, true);
    }
    EXPECT_FALSE(run.invia());
    EXPECT_EQ(ran, "A:B:D:");
    EXPECT_EQ((std::vector{run.mark(0), run.mark(1), run.mark(2), run.mark(3), run.mark(4)}),
              (std::vector{kOk, kFailed, kFailed, kOk, kFailed}));
    EXPECT_EQ(dialogs.busyChanges, (std::vector<bool>{true, false}));
    run.selectNone();
    run.setSelected(3, true);
    EXPECT_TRUE(run.invia());
    EXPECT_EQ((std::vector{run.mark(0), run.mark(3)}), (std::vector{kNone, kOk}));
    EXPECT_EQ(link.count("Testconnessione"), 2);
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(TransferRunTest, FailedLinkTestRunsNothingAndOnlyTransmitSaysSo) {
    for (auto direction : {TransferDirection::Transmit, TransferDirection::Receive}) {
        link.expect("Testconnessione", "", 1);
        TransferRun run(station, direction);
        run.setSelected(0, true);
        EXPECT_FALSE(run.invia());
        EXPECT_EQ(run.mark(0), kNone);
    }
    EXPECT_EQ(shown(),
              std::vector<std::string>{"Arvon Cash Registers: Veza nije u redu! <critical>"});
    EXPECT_EQ(link.calls.size(), 2u);
}

TEST_F(TransferRunTest, CancelInOneTableAndTheRunGoesOn) {
    TransferRun run(station, TransferDirection::Transmit);
    for (int pos : {0, 1, 10}) {  // departments, articles (no procedure yet), message
        run.setSelected(pos, true);
    }
    run.setMessageLine(0, "Dobar dan");
    link.expect("Testconnessione", "", 0)
        .expect("send_frame", "R00Odeljenje  100000000", 1)
        .expect("send_frame", "kDobar dan" + std::string(87, ' '), 0);
    dialogs.answers = {Answer::Cancel};
    EXPECT_FALSE(run.invia());
    EXPECT_EQ((std::vector{run.mark(0), run.mark(1), run.mark(10)}),
              (std::vector{kFailed, kFailed, kOk}));
    EXPECT_EQ(run.progress().caption(), "Poruka:");
    EXPECT_EQ(link.count("send_frame"), 2);
}

TEST_F(TransferRunTest, OpeningClosingAndTheMessagePanel) {
    modes(true, false);
    TransferRun tx(station, TransferDirection::Transmit), rx(station, TransferDirection::Receive);
    tx.setMessageLine(0, std::string(30, 'a'));
    tx.setMessageLine(1, "Njiva");
    tx.open();
    EXPECT_EQ(state.CurrentForm + "|" + tx.caption() + "|" + tx.listTitle() + "|" +
                  tx.messageFont() + "|" + tx.messageLines()[0] + "|" + tx.messageLines()[1],
              "frmtrasm|Slanje|Spisak podataka za programiranje|Helvetica Ciril|" +
                  std::string(22, 'a') + "|Wiva");
    state.CyrillicMode = false;
    state.LineWidth = 32;
    tx.DoChangeLang();
    tx.setMessageLine(0, std::string(40, 'a'));
    EXPECT_EQ(tx.messageFont() + "|" + tx.messageLines()[0] + "|" + tx.messageLines()[1],
              "Courier New|" + std::string(32, 'a') + "|Njiva");
    EXPECT_TRUE(tx.onToolbar("esci") && state.CurrentForm == " ");
    rx.open();
    EXPECT_TRUE(rx.onToolbar("esci"));
    EXPECT_EQ(state.CurrentForm + "|" + rx.caption() + "|" + rx.listTitle(),
              "ne|Prijem|Lista podataka koji se mogu primiti");
}

}  // namespace
}  // namespace qov::test
