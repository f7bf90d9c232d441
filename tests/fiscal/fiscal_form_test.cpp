// The fiscal screen's logic: frames, the building blocks, the three reports and the receipt.
#include "fiscal/fiscal_form.h"

#include <gtest/gtest.h>

#include "support/fake_station.h"

namespace qov::fiscal {
namespace {

using Texts = std::vector<std::string>;

// A sale line "PS": the code, the fixed middle, the quantity in thousandths, the fixed end.
std::string Sale(const std::string& code12, const std::string& thousandths9) {
    return "PS10" + code12 + "001234567891230011" + thousandths9 + "00000000";
}

struct Rig : test::FakeStation {
    Rig() {
        form.today = [] { return QDate(2024, 3, 5); };
        state.MaxCheque = 100;
        state.MaxCard = 200;
        state.MaxCash = 300;
    }
    // The status reply: menu position, last error, working state, 12 articles.
    Rig& status(int menu, const std::string& error = "00", int working = 0) {
        const std::string reply =
            "01" + std::to_string(menu) + "0" + error + std::to_string(working) + "000" + "00012";
        link.expect("get_frame", "n", static_cast<int>(reply.size()), reply);
        return *this;
    }
    // Key frames "m01" + code, in order, the last one answered `lastResult`.
    Rig& keys(std::initializer_list<const char*> codes, int lastResult = 0) {
        std::size_t left = codes.size();
        for (const char* code : codes) {
            link.expect("send_frame", std::string("m01") + code, --left == 0 ? lastResult : 0);
        }
        return *this;
    }
    Rig& display(const std::string& text) {
        link.expect("get_frame", "r", static_cast<int>(text.size()), text);
        return *this;
    }
    // The connection test, two status requests, four mode keys and the status they lead to.
    Rig& toReports(int menuAfter) {
        link.expect("Testconnessione", "", 0);
        return status(0).status(0).keys({"8D", "8D", "8D", "8D"}).status(menuAfter);
    }
    // One receipt frame: the state display before it, the error clear "C", then the frame.
    Rig& frame(int working, const std::string& text, int result = 0,
               const std::string& error = "00") {
        status(0, error, working).link.expect("send_frame", "C", 0);
        link.expect("send_frameMD", text, result);
        return *this;
    }
    // The boxes as "title: text <icon>", just "text <icon>" under the product title.
    Texts shown() const {
        Texts out;
        for (const std::string& line : dialogs.lines())
            out.push_back(line.rfind("Arvon Cash Registers: ", 0) == 0 ? line.substr(22) : line);
        return out;
    }
    FiscalForm form{station};
};

// The frames the receipt cases below do not send.
TEST(FiscalFrames, SaleLinesAndPayments) {
    EXPECT_EQ(SaleLineFrame("1", 0.0625f), Sale("000000000001", "000000062"));  // half to even
    EXPECT_EQ(PaymentFrame('h', 1234.5), "h1000000123450");
}

TEST(FiscalFrames, ErrorTextsAndCodes) {
    std::string texts;  // 18 and 99 have none
    for (int code : {40, 1, 50, 9, 18, 99, 0})
        texts += RegisterErrorText(code) + "|";
    EXPECT_EQ(texts,
              " Anuliraj operatere !| Zakljuciti racun !| Nedovoljno na lageru !|"
              " Pooslednje placanje !| OK| OK| OK|");
    EXPECT_EQ(ErrorCodeText(44) + "|" + ErrorCodeText(0) + "|" + ErrorCodeText(-1), " 44| 0|-1");
    EXPECT_EQ(DateKeys("31.12.2019"), (Texts{"33", "31", "88", "31", "32", "88", "31", "39"}));
}

TEST(FiscalBlocks, PrintWaitWaitsOutPrinterConditions) {
    Rig rig;
    rig.keys({"88"}).display("  E 20   ").keys({"88"}).display("E 22").keys({"88"});
    rig.display(" E 23 ").keys({"88"}).display("PRESEK STANJA");
    EXPECT_EQ(rig.form.printWait(), 0);
    EXPECT_EQ(rig.shown(),
              (Texts{"Stampac:  Spustite glavu stampaca !  <info>",
                     "Stampac:  Stavite papir !  <info>", "Stampac:  Stavite papir ! <info>"}));
}

TEST(FiscalBlocks, PrintWaitFailures) {
    Rig gr;
    gr.keys({"88"}).display("GR. 05");
    EXPECT_EQ(gr.form.printWait(), -6);
    Rig none;
    none.keys({"88"});
    for (int i = 0; i < 5; ++i)
        none.link.expect("get_frame", "r", -1);
    EXPECT_EQ(none.form.printWait(), -1);
    Rig key;
    key.keys({"88"}, 2);
    EXPECT_EQ(key.form.printWait(), 2);
    EXPECT_EQ(key.link.calls.size(), 1u);
}

TEST(FiscalBlocks, ReturnToRestHasNoPressLimitAndStopsAtAFailedPress) {
    Rig rig;
    rig.status(3);
    for (int i = 0; i < 12; ++i)
        rig.keys({"8D"}).status(3);
    rig.keys({"8D"}, 1);
    EXPECT_FALSE(rig.form.returnToRest());
    EXPECT_EQ(rig.link.count("send_frame"), 13);

    Rig stale;  // an unreadable status after a press ends the loop
    stale.status(3).keys({"8D"});
    for (int i = 0; i < 3; ++i)
        stale.link.expect("get_frame", "n", 2, "01");
    EXPECT_FALSE(stale.form.returnToRest());
    EXPECT_EQ(stale.link.calls.size(), 5u);
}

TEST(FiscalReports, DailyIsOneFrameUnderTheHourglass) {
    Rig no;
    no.dialogs.answer(Answer::No);
    EXPECT_FALSE(no.form.dnevni());
    EXPECT_TRUE(no.link.calls.empty());

    Rig yes;
    yes.link.expect("send_frameMD", "x", 0);
    EXPECT_TRUE(yes.form.dnevni());
    EXPECT_EQ(yes.shown(), (Texts{"Da li ste sigurni ? <exclamation> [Yes/No]",
                                  "Dnevni izvestaj je uradjen. <info>"}));
    EXPECT_EQ(yes.dialogs.busyChanges, (std::vector<bool>{true, false}));

    Rig failed;
    failed.link.expect("send_frameMD", "x", 2);
    EXPECT_FALSE(failed.form.dnevni());
    EXPECT_EQ(failed.shown().back(), "Greska <critical>");
    EXPECT_FALSE(failed.dialogs.busy);
}

TEST(FiscalReports, SnapshotSequence) {
    Rig rig;
    rig.link.expect("Testconnessione", "", 0);
    rig.status(2).status(2).keys({"8D"}).status(3).keys({"8D"}).status(0);
    rig.keys({"8D", "8D", "8D", "8D"}).status(5).keys({"87", "87", "87", "88", "88"}).status(5);
    rig.keys({"88"}).display("E 22").keys({"88"}).display("PRESEK");
    EXPECT_TRUE(rig.form.presek());
    EXPECT_EQ(rig.link.script.size(), 0u);
    EXPECT_EQ(rig.shown().back(), "Presek stanja je uradjen. <info>");
    EXPECT_EQ(rig.dialogs.busyChanges, (std::vector<bool>{true, false}));
}

TEST(FiscalReports, SnapshotRefusedOutsidePositionFive) {
    Rig rig;
    rig.toReports(0);
    EXPECT_FALSE(rig.form.presek());
    EXPECT_EQ(rig.shown(), (Texts{"Da li ste sigurni ? <exclamation> [Yes/No]",
                                  " Nemate pristup za izradu preseka stanja ! <exclamation>",
                                  "Greska <critical>"}));
    EXPECT_EQ(rig.link.calls.size(), 8u);
    EXPECT_FALSE(rig.dialogs.busy);

    Rig down;
    down.link.expect("Testconnessione", "", -1);
    EXPECT_FALSE(down.form.presek());
    EXPECT_EQ(down.link.calls.size(), 1u);
    EXPECT_EQ(down.dialogs.busyChanges, (std::vector<bool>{true, false}));
}

TEST(FiscalReports, PeriodicChecksRefuseBeforeAnyFrame) {
    auto refused = [](const std::string& start, const std::string& end) {
        Rig rig;
        rig.form.StartText = start;
        rig.form.EndText = end;
        EXPECT_FALSE(rig.form.periodicni()) << start << "-" << end;
        EXPECT_TRUE(rig.link.calls.empty()) << start << "-" << end;
        return rig.shown();
    };
    const std::string format = "Unesite datum u formatu dd.MM.yyyy! <critical>";
    EXPECT_EQ(refused("", "05.03.2024"), Texts{"Unesite pocetni datum! <exclamation>"});
    EXPECT_EQ(refused("01.03.2024", ""), Texts{"Unesite krajnji datum! <exclamation>"});
    EXPECT_EQ(refused("1.3.2024", "05.03.2024"), Texts{format});
    EXPECT_EQ(refused("31.02.2024", "05.03.2024"), Texts{format});  // no such day
    EXPECT_EQ(refused("05.03.2024", "04.03.2024"),
              Texts{"Pocetni datum treba da je manji od krajnjeg! <critical>"});
    EXPECT_EQ(refused("01.03.2024", "06.03.2024"),
              Texts{"Krajnji datum je veci od trenutnog! <critical>"});
}

TEST(FiscalReports, PeriodicSequenceForOneDayEndingToday) {
    Rig rig;
    rig.form.StartText = rig.form.EndText = "05.03.2024";
    rig.toReports(5).keys({"87", "87", "88", "30", "35", "88", "30", "33", "88", "32", "34"});
    rig.keys({"88", "30", "35", "88", "30", "33", "88", "32", "34"});
    rig.status(5).keys({"88"}).status(5).keys({"88"}).display("PERIODICNI");
    EXPECT_TRUE(rig.form.periodicni());
    EXPECT_EQ(rig.link.script.size(), 0u);
    EXPECT_EQ(rig.shown().back(), "Periodicni izvestaj je uradjen. <info>");
    EXPECT_EQ(rig.dialogs.busyChanges, (std::vector<bool>{true, false}));
}

// The date entry's own box, under its title, and the report's.
TEST(FiscalReports, PeriodicFailureAtTheDateEntry) {
    Rig rig;
    rig.form.StartText = "31.12.2019";
    rig.form.EndText = "05.03.2024";
    rig.toReports(5).keys({"87", "87", "88", "33", "31"}, 1);
    EXPECT_FALSE(rig.form.periodicni());
    EXPECT_EQ(rig.link.script.size(), 0u);
    EXPECT_EQ(rig.shown(), (Texts{"Da li ste sigurni ? <exclamation> [Yes/No]",
                                  "Veza: Nije dobra veza saCASH uredjajem proverite! <critical>",
                                  "Greska ! <critical>"}));
    EXPECT_FALSE(rig.dialogs.busy);
}

TEST(FiscalReceipt, EmptyReceiptStillClosesAnOpenOne) {
    Rig rig;
    rig.link.expect("send_frame", "p", 0).expect("Testconnessione", "", 0);
    rig.status(0, "00", 1).status(0, "00", 1).status(0, "00", 1).frame(1, "g1000000000000");
    rig.link.expect("send_frame", "q", 0);
    EXPECT_EQ(rig.form.racunOut(), 0);
    EXPECT_EQ(rig.link.script.size(), 0u);
    EXPECT_TRUE(rig.shown().empty());
    EXPECT_EQ(rig.form.STANJE + "|" + rig.form.BRPLU, "1|12");
    EXPECT_EQ(rig.link.calls[7].arg, 14);
}

TEST(FiscalReceipt, NoLinkEndsBeforeAnyLine) {
    Rig rig;
    rig.form.Artikal[0] = "4567";
    rig.form.Kolicina[0] = "1";
    rig.link.expect("send_frame", "p", 0).expect("Testconnessione", "", 3);
    EXPECT_EQ(rig.form.racunOut(), kReceiptNoLink);
    EXPECT_EQ(rig.link.calls.size(), 2u);  // the two expected, nothing after them
    EXPECT_EQ(rig.shown(), (Texts{"Komunikacija nije dobra! <critical>"}));
}

// Codes padded or cut to 12, quantities in thousandths, amounts in hundredths half to even.
TEST(FiscalReceipt, FullReceiptFrames) {
    Rig rig;
    rig.form.Artikal[0] = "4567";
    rig.form.Kolicina[0] = "2.5";
    rig.form.Artikal[3] = "12345678901234";
    rig.form.Kolicina[3] = "100000";
    rig.form.Artikal[5] = "77";  // no quantity: skipped
    rig.form.Cek = "2.125";
    rig.form.Kartica = "0.375";
    rig.form.Gotovina = "300";
    rig.link.expect("send_frame", "p", 0).expect("Testconnessione", "", 0);
    rig.frame(0, Sale("000000004567", "000002500")).frame(1, Sale("123456789012", "100000000"));
    rig.frame(1, "f1000000000212").frame(2, "h1000000000038").frame(2, "g1000000030000");
    rig.status(0, "00", 0).link.expect("send_frame", "q", 0);
    EXPECT_EQ(rig.form.racunOut(), 0);
    EXPECT_EQ(rig.link.script.size(), 0u);
    EXPECT_TRUE(rig.shown().empty());
    EXPECT_EQ(rig.form.LERR, " 0");
}

TEST(FiscalReceipt, FailuresAreReportedAndTheLastSetsTheCode) {
    Rig rig;
    rig.form.Artikal[0] = "1";
    rig.form.Kolicina[0] = "0";
    rig.form.Artikal[1] = "2";
    rig.form.Kolicina[1] = "-1";
    rig.form.Artikal[2] = "4567";
    rig.form.Kolicina[2] = "3";
    rig.form.Cek = "100.01";   // one cent above the cheque limit
    rig.form.Kartica = "200";  // the card limit itself
    rig.link.expect("send_frame", "p", 0).expect("Testconnessione", "", 0);
    rig.frame(0, Sale("000000004567", "000003000"), 2);
    rig.status(0, "44", 1).status(0, "44", 1);  // after the refused line, before the cheque
    rig.frame(1, "h1000000020000", 1, "44");
    rig.status(0, "20", 1).status(0, "20", 1);  // after the refused card payment, before the cash
    rig.status(0, "20", 1).link.expect("send_frame", "C", 1);  // closing: clear refused
    rig.status(0, "20", 1).link.expect("send_frame", "q", 0);
    // The screen's error field as it stands when each box shows.
    std::vector<std::string> behindBox;
    rig.form.fieldsChanged = [&] {
        behindBox.resize(rig.dialogs.boxes.size() + 1);
        behindBox.back() = rig.form.LERR;
    };
    EXPECT_EQ(rig.form.racunOut(), kReceiptCashFailed);
    EXPECT_EQ(behindBox, (Texts{"", "", " 0", " 44", " 44", " 20", " 20"}));
    EXPECT_EQ(rig.link.script.size(), 0u);
    EXPECT_EQ(
        rig.shown(),
        (Texts{"Kolicina za artikal 000000000001 nije dobra. <info>",
               "Kolicina za artikal 000000000002 nije dobra. <info>",
               "Komunikacija nije dobra. <exclamation>", "Artikal 000000004567 nije prodat. <info>",
               "Iznos za placanje cekom nije dobar  <info>",
               "Placanje karticom nije izvrseno. <info>", "Racun nije zavrsen. <info>"}));
    EXPECT_EQ(rig.link.count("send_frameMD"), 2);
    EXPECT_EQ(rig.form.LERR + "|" + rig.form.LERRTEXT, " 20| Podignuta glava stampaca !");
}

TEST(FiscalState, StateDisplayAndIdentity) {
    Rig rig;
    rig.status(4, "44", 2);
    rig.link.expect("get_frame", "n", -1).expect("get_frame", "n", -1).expect("get_frame", "n", -1);
    // The serial number, the tax number and the fiscal module's number, then junk.
    rig.link.replyTo("J", "123456987654321AB123456xx").expect("get_frame", "J", -1);
    EXPECT_FALSE(rig.form.onToolbar("fisstate"));
    EXPECT_EQ(rig.state.LinkResult, 44);
    EXPECT_EQ(
        (Texts{rig.form.MENY, rig.form.LERR, rig.form.LERRTEXT, rig.form.STANJE, rig.form.BRPLU}),
        (Texts{"4", " 44", " Anuliraj operatere !", "2", "12"}));
    EXPECT_EQ(rig.form.fisstate(), -1);  // no reply: the fields stay
    EXPECT_EQ(rig.form.LERR, " 44");
    EXPECT_TRUE(rig.form.serial());
    EXPECT_EQ((Texts{rig.form.SER, rig.form.PIB, rig.form.IBFM}),
              (Texts{"123456", "987654321", "AB123456"}));
    EXPECT_FALSE(rig.form.serial());
    EXPECT_EQ(rig.form.SER, "123456");
    EXPECT_EQ(rig.shown(), (Texts{"Komunikacija nije dobra. <exclamation>",
                                  "Komunikacija nije dobra ! <critical>"}));
}

TEST(FiscalState, LeavingClearsTheFormAndThePointer) {
    Rig rig;
    rig.form.open();
    EXPECT_EQ(rig.state.CurrentForm, "frmFiscal");
    EXPECT_TRUE(rig.form.onToolbar("esci"));
    EXPECT_EQ(rig.state.CurrentForm, " ");
    EXPECT_EQ(rig.dialogs.busyChanges, (std::vector<bool>{false}));
}

}  // namespace
}  // namespace qov::fiscal
