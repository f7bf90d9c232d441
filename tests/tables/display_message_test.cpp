#include <string>

#include "table_fixture.h"
#include "tables/display_message.h"

namespace qov::test {
namespace {

using tables::MessageFrame;
using tables::Posalji_Msg;

using DisplayMessage = TableFixture;

TEST_F(DisplayMessage, ThreeEmptyLinesAreStillSent) {
    latin();
    const std::string frame = "k" + std::string(96, ' ');
    link.expect("send_frame", frame, 0);

    EXPECT_TRUE(Posalji_Msg(ctx));

    EXPECT_EQ(link.textsOf("send_frame"), std::vector<std::string>{frame});
    EXPECT_EQ(progress.counter(), "0");
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(DisplayMessage, LinesArePaddedTo32WhateverTheWidth) {
    latin();
    state.LineWidth = 22;
    message = {"HVALA NA POSETI", std::string(22, 'x'), std::string(32, 'y')};
    EXPECT_EQ(MessageFrame(state, message), "k" + std::string("HVALA NA POSETI") +
                                                std::string(17, ' ') + std::string(22, 'x') +
                                                std::string(10, ' ') + std::string(32, 'y'));
    EXPECT_EQ(tables::MessageLineLength(state), 22);
    state.LineWidth = 32;
    EXPECT_EQ(tables::MessageLineLength(state), 32);
}

TEST_F(DisplayMessage, LongerLineIsNeverCut) {
    latin();
    message = {std::string(40, 'a'), "", ""};
    EXPECT_EQ(MessageFrame(state, message).size(), 1u + 40 + 32 + 32);
}

TEST_F(DisplayMessage, DigraphsTypedInCyrillicModeGoAsRegisterText) {
    state.CyrillicMode = true;
    state.CyrillicLanguage = true;
    message = {"Njiva", "", "1"};
    const std::string frame = "k" + Reg({170, 216, 210, 208}) + std::string(28, ' ') +
                              std::string(32, ' ') + "1" + std::string(31, ' ');
    link.expect("send_frame", frame, 0);

    EXPECT_TRUE(Posalji_Msg(ctx));

    EXPECT_EQ(message[0], "Wiva");  // the panel shows the font text afterwards
}

TEST_F(DisplayMessage, CyrillicModeWithLatinLanguageSendsFontText) {
    state.CyrillicMode = true;
    state.CyrillicLanguage = false;
    message = {"Ljubav", "", ""};
    link.expect("send_frame", "kQubav" + std::string(27 + 64, ' '), 0);
    EXPECT_TRUE(Posalji_Msg(ctx));
}

TEST_F(DisplayMessage, RefusalOffersRetryThenCancelEnds) {
    latin();
    link.expect("send_frame", "k" + std::string(96, ' '), 1)
        .expect("send_frame", "k" + std::string(96, ' '), 1);
    dialogs.answer(Answer::Retry).answer(Answer::Cancel);

    EXPECT_FALSE(Posalji_Msg(ctx));

    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[1].text, " Poruka nije primljena u kasu!\n");
    EXPECT_EQ(dialogs.boxes[1].title, "Arvon Cash Registers");
    EXPECT_EQ(dialogs.boxes[1].buttons, Buttons::RetryCancel);
}

TEST_F(DisplayMessage, BrokenLinkEndsWithItsBox) {
    latin();
    link.then(2);
    EXPECT_FALSE(Posalji_Msg(ctx));
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Komunikacija je prekinuta!"});
    EXPECT_EQ(dialogs.last().title, "Arvon CAsh Registers");
}

TEST_F(DisplayMessage, WithoutThePanelNothingIsSent) {
    tables::TransferContext noPanel{station, progress, nullptr};
    EXPECT_FALSE(Posalji_Msg(noPanel));
    EXPECT_TRUE(link.calls.empty());
}

}  // namespace
}  // namespace qov::test
