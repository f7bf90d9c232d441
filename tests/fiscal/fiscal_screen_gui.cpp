// The fiscal screen's widget: its fields go into the logic, the logic's state comes back.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <memory>

#include "fiscal/fiscal_form.h"
#include "fiscal/fiscal_screens.h"
#include "support/fake_station.h"
#include "support/screen_keys.h"

namespace qov::fiscal {
namespace {

struct FiscalScreenGui : ::testing::Test, test::FakeStation {
    FiscalScreenGui() { state.MaxCash = 1000; }

    std::string text(const char* name) const {
        const auto* edit = screen->findChild<QLineEdit*>(name);
        return edit == nullptr ? "<missing>" : edit->text().toStdString();
    }
    void type(const char* name, const char* value) {
        screen->findChild<QLineEdit*>(name)->setText(value);
    }

    std::unique_ptr<QWidget> screen{CreateFiscalScreen(station)};
};

TEST_F(FiscalScreenGui, OpensAsTheFiscalScreen) {
    EXPECT_EQ(screen->windowTitle(), "Fiskalni izvestaji");
    EXPECT_EQ(state.CurrentForm, "frmFiscal");
    test::PressToolbarKey(screen.get(), "esci");
    EXPECT_EQ(state.CurrentForm, " ");
}

TEST_F(FiscalScreenGui, StateKeyShowsTheStatusTheRegisterReported) {
    // Menu position 4, last error 44, working state 2, 12 articles.
    link.replyTo("n", "01404420000012");
    test::PressToolbarKey(screen.get(), "fisstate");
    EXPECT_EQ(text("MENY") + "|" + text("LERR") + "|" + text("LERRTEXT") + "|" + text("STANJE") +
                  "|" + text("BRPLU"),
              "4| 44| Anuliraj operatere !|2|12");

    link.replyTo("J", "123456987654321AB123456");
    test::PressToolbarKey(screen.get(), "serial");
    EXPECT_EQ(text("SER") + "|" + text("PIB") + "|" + text("IBFM"), "123456|987654321|AB123456");
    EXPECT_TRUE(dialogs.texts().empty());
}

TEST_F(FiscalScreenGui, ReceiptKeySendsTheTypedLineAndPayment) {
    type("Artikal2", "4567");
    type("Kolicina2", "2.5");
    type("Gotovina", "12.5");
    const std::string open = "01000010000012";    // rest, no error, receipt open
    const std::string closed = "01000000000012";  // receipt closed
    link.expect("send_frame", "p", 0).expect("Testconnessione", "", 0).replyTo("n", closed);
    link.expect("send_frame", "C", 0).expect("send_frameMD", SaleLineFrame("4567", 2.5f), 0);
    link.replyTo("n", open).replyTo("n", open).replyTo("n", open);
    link.expect("send_frame", "C", 0).expect("send_frameMD", PaymentFrame('g', 12.5), 0);
    link.replyTo("n", closed).expect("send_frame", "q", 0);
    test::PressToolbarKey(screen.get(), "racun");
    EXPECT_TRUE(link.script.empty());
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Racun je izdat."});
    EXPECT_EQ(text("Artikal2"), "4567");
    EXPECT_EQ(text("STANJE"), "0");
}

}  // namespace
}  // namespace qov::fiscal
