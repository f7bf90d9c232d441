// The fiscal screen's logic: frames, the building blocks, the three reports and the receipt.
#include "fiscal/fiscal_form.h"

#include <gtest/gtest.h>

#include "support/memory_user_store.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_link.h"

namespace qov::fiscal {
namespace {

using Texts = std::vector<std::string>;

// A status reply: menu position, last error, working state, 12 articles.
std::string Status(int menu, const std::string& error, int working) {
    return "01" + std::to_string(menu) + "0" + error + std::to_string(working) + "000" + "00012";
}

struct NoDatabase : Database {
    void open(const std::string&) override {}
    void execute(const std::string&) override {}
    std::unique_ptr<RowSet> query(const std::string&) override { return nullptr; }
    void close() override {}
    bool isOpen() const override { return false; }
    void begin() override {}
    void commit() override {}
    void rollback() override {}
};

struct Rig {
    Rig() {
        form.today = [] { return QDate(2024, 3, 5); };
        state.MaxCheque = 100;
        state.MaxCard = 200;
        state.MaxCash = 300;
    }
    Rig& status(int menu, const std::string& error = "00", int working = 0) {
        const std::string reply = Status(menu, error, working);
        link.expect("get_frame", "n", static_cast<int>(reply.size()), reply);
        return *this;
    }
    Rig& key(const std::string& code, int result = 0) {
        link.expect("send_frame", "m01" + code, result);
        return *this;
    }
    Rig& display(const std::string& text) {
        link.expect("get_frame", "r", static_cast<int>(text.size()), text);
        return *this;
    }
    // Every call as "op text".
    Texts trace() const {
        Texts out;
        for (const auto& c : link.calls)
            out.push_back(c.text.empty() ? c.op : c.op + " " + c.text);
        return out;
    }
    // The boxes as "title: text <icon>", just "text <icon>" under the product title.
    Texts shown() const {
        Texts out;
        for (const std::string& line : dialogs.lines())
            out.push_back(line.rfind("Arvon Cash Registers: ", 0) == 0 ? line.substr(22) : line);
        return out;
    }
    SharedState state;
    test::ScriptedDialogs dialogs;
    test::ScriptedLink link;
    LinkCalls calls{state, link};
    NoDatabase db;
    test::MemoryUserStore users;
    Station station{state, dialogs, calls, db, users};
    FiscalForm form{station};
};

const std::string kSaleTail =
    "00"
    "123456789123"
    "0011";

TEST(FiscalFrames, SaleLinesAndPayments) {
    struct Case {
        const char* name;
        std::string frame;
        std::string expected;
    };
    const Case cases[] = {
        {"short code", SaleLineFrame("4567", 2.5f),
         "PS10"
         "000000004567" +
             kSaleTail +
             "000002500"
             "00000000"},
        {"long code cut", SaleLineFrame("12345678901234", 100000.0f),
         "PS10"
         "123456789012" +
             kSaleTail +
             "100000000"
             "00000000"},
        {"thousandths half to even", SaleLineFrame("1", 0.0625f),
         "PS10"
         "000000000001" +
             kSaleTail +
             "000000062"
             "00000000"},
        {"cheque half down to even", PaymentFrame('f', 2.125),
         "f10"
         "00000000212"},
        {"cheque half up to even", PaymentFrame('f', 0.375),
         "f10"
         "00000000038"},
        {"card", PaymentFrame('h', 1234.5),
         "h10"
         "00000123450"},
        {"closing cash", PaymentFrame('g', 0),
         "g10"
         "00000000000"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.frame, c.expected) << c.name;
    EXPECT_EQ(SaleLineFrame("4567", 2.5f).size(), 51u);
}

TEST(FiscalFrames, ErrorTextsAndCodes) {
    const std::pair<int, std::string> cases[] = {
        {44, " Anuliraj operatere !"},
        {40, " Anuliraj operatere !"},
        {1, " Zakljuciti racun !"},
        {50, " Nedovoljno na lageru !"},
        {9, " Pooslednje placanje !"},
        {18, " OK"},
        {99, " OK"},
        {0, " OK"},
    };
    for (const auto& [code, text] : cases)
        EXPECT_EQ(RegisterErrorText(code), text) << code;
    EXPECT_EQ(ErrorCodeText(44), " 44");
    EXPECT_EQ(ErrorCodeText(0), " 0");
    EXPECT_EQ(ErrorCodeText(-1), "-1");
}

TEST(FiscalFrames, DateKeysFollowTheDigits) {
    EXPECT_EQ(DateKeys("05.03.2024"), (Texts{"30", "35", "88", "30", "33", "88", "32", "34"}));
    EXPECT_EQ(DateKeys("31.12.2019"), (Texts{"33", "31", "88", "31", "32", "88", "31", "39"}));
}

TEST(FiscalBlocks, PrintWaitWaitsOutPrinterConditions) {
    Rig rig;
    rig.key("88").display("  E 20   ").key("88").display("E 22").key("88").display(" E 23 ");
    rig.key("88").display("PRESEK STANJA");
    EXPECT_EQ(rig.form.printWait(), 0);
    EXPECT_EQ(rig.shown(),
              (Texts{"Stampac:  Spustite glavu stampaca !  <info>",
                     "Stampac:  Stavite papir !  <info>", "Stampac:  Stavite papir ! <info>"}));
}

TEST(FiscalBlocks, PrintWaitFailures) {
    Rig gr;
    gr.key("88").display("GR. 05");
    EXPECT_EQ(gr.form.printWait(), -6);
    Rig none;
    none.key("88");
    for (int i = 0; i < 5; ++i)
        none.link.expect("get_frame", "r", -1);
    EXPECT_EQ(none.form.printWait(), -1);
    Rig key;
    key.key("88", 2);
    EXPECT_EQ(key.form.printWait(), 2);
    EXPECT_EQ(key.link.calls.size(), 1u);
}

TEST(FiscalBlocks, ReturnToRestHasNoPressLimitAndStopsAtAFailedPress) {
    Rig rig;
    rig.status(3);
    for (int i = 0; i < 12; ++i)
        rig.key("8D").status(3);
    rig.key("8D", 1);
    EXPECT_FALSE(rig.form.returnToRest());
    EXPECT_EQ(rig.link.count("send_frame"), 13);

    Rig stale;  // an unreadable status after a press ends the loop
    stale.status(3).key("8D");
    for (int i = 0; i < 3; ++i)
        stale.link.expect("get_frame", "n", 2, "01");
    EXPECT_FALSE(stale.form.returnToRest());
    EXPECT_EQ(stale.link.calls.size(), 5u);
}

TEST(FiscalBlocks, DateEntryFailureSaysSoUnderItsTitle) {
    Rig rig;
    rig.key("30").key("35", 2);
    EXPECT_FALSE(rig.form.dateEntry("05.03.2024"));
    EXPECT_EQ(rig.shown(), (Texts{"Veza: Nije dobra veza saCASH uredjajem proverite! <critical>"}));
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
    rig.status(2).status(2).key("8D").status(3).key("8D").status(0);
    rig.key("8D").key("8D").key("8D").key("8D").status(5);
    rig.key("87").key("87").key("87").key("88").key("88").status(5);
    rig.key("88").display("E 22").key("88").display("PRESEK");
    EXPECT_TRUE(rig.form.presek());
    EXPECT_EQ(rig.link.script.size(), 0u);
    EXPECT_EQ(rig.shown().back(), "Presek stanja je uradjen. <info>");
    EXPECT_EQ(rig.dialogs.busyChanges, (std::vector<bool>{true, false}));
}

TEST(FiscalReports, SnapshotRefusedOutsidePositionFive) {
    Rig rig;
    rig.link.expect("Testconnessione", "", 0);
    rig.status(0).status(0).key("8D").key("8D").key("8D").key("8D").status(0);
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
    struct Case {
        const char* name;
        std::string start, end, message;
    };
    const Case cases[] = {
        {"no start", "", "05.03.2024", "Unesite pocetni datum! <exclamation>"},
        {"no end", "01.03.2024", "", "Unesite krajnji datum! <exclamation>"},
        {"bad format", "1.3.2024", "05.03.2024", "Unesite datum u formatu dd.MM.yyyy! <critical>"},
        {"no such day", "31.02.2024", "05.03.2024",
         "Unesite datum u formatu dd.MM.yyyy! <critical>"},
        {"start after end", "05.03.2024", "04.03.2024",
         "Pocetni datum treba da je manji od krajnjeg! <critical>"},
        {"tomorrow", "01.03.2024", "06.03.2024", "Krajnji datum je veci od trenutnog! <critical>"},
    };
    for (const Case& c : cases) {
        Rig rig;
        rig.form.StartText = c.start;
        rig.form.EndText = c.end;
        EXPECT_FALSE(rig.form.periodicni()) << c.name;
        EXPECT_EQ(rig.shown(), Texts{c.message}) << c.name;
        EXPECT_TRUE(rig.link.calls.empty()) << c.name;
    }
}

TEST(FiscalReports, PeriodicSequenceForOneDayEndingToday) {
    Rig rig;
    rig.form.StartText = rig.form.EndText = "05.03.2024";
    rig.link.expect("Testconnessione", "", 0);
    rig.status(0).status(0).key("8D").key("8D").key("8D").key("8D").status(5);
    rig.key("87").key("87").key("88");
    for (const char* k : {"30", "35", "88", "30", "33", "88", "32", "34"})
        rig.key(k);
    rig.key("88");
    for (const char* k : {"30", "35", "88", "30", "33", "88", "32", "34"})
        rig.key(k);
    rig.status(5).key("88").status(5).key("88").display("PERIODICNI");
    EXPECT_TRUE(rig.form.periodicni());
    EXPECT_EQ(rig.link.script.size(), 0u);
    EXPECT_EQ(rig.shown().back(), "Periodicni izvestaj je uradjen. <info>");
    EXPECT_EQ(rig.dialogs.busyChanges, (std::vector<bool>{true, false}));
}

TEST(FiscalReports, PeriodicFailureAtTheDateEntry) {
    Rig rig;
    rig.form.StartText = "31.12.2019";
    rig.form.EndText = "05.03.2024";
    rig.link.expect("Testconnessione", "", 0);
    rig.status(0).status(0).key("8D").key("8D").key("8D").key("8D").status(5);
    rig.key("87").key("87").key("88").key("33").key("31", 1);
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
    rig.status(0, "00", 1).status(0, "00", 1).status(0, "00", 1).status(0, "00", 1);
    rig.link.expect("send_frame", "C", 0)
        .expect("send_frameMD",
                "g10"
                "00000000000",
                0);
    rig.link.expect("send_frame", "q", 0);
    EXPECT_EQ(rig.form.racunOut(), 0);
    EXPECT_EQ(rig.link.script.size(), 0u);
    EXPECT_TRUE(rig.shown().empty());
    EXPECT_EQ(rig.form.STANJE, "1");
    EXPECT_EQ(rig.form.BRPLU, "12");
    EXPECT_EQ(rig.link.calls[7].arg, 14);
}

TEST(FiscalReceipt, NoLinkEndsBeforeAnyLine) {
    Rig rig;
    rig.form.Artikal[0] = "4567";
    rig.form.Kolicina[0] = "1";
    rig.link.expect("send_frame", "p", 0).expect("Testconnessione", "", 3);
    EXPECT_EQ(rig.form.racunOut(), kReceiptNoLink);
    EXPECT_EQ(rig.trace(), (Texts{"send_frame p", "Testconnessione"}));
    EXPECT_EQ(rig.shown(), (Texts{"Komunikacija nije dobra! <critical>"}));
}

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
    rig.status(0)
        .link.expect("send_frame", "C", 0)
        .expect("send_frameMD",
                "PS10000000004567" + kSaleTail +
                    "000002500"
                    "00000000",
                0);
    rig.status(0, "00", 1)
        .link.expect("send_frame", "C", 0)
        .expect("send_frameMD",
                "PS10123456789012" + kSaleTail +
                    "100000000"
                    "00000000",
                0);
    rig.status(0, "00", 1)
        .link.expect("send_frame", "C", 0)
        .expect("send_frameMD",
                "f10"
                "00000000212",
                0);
    rig.status(0, "00", 2)
        .link.expect("send_frame", "C", 0)
        .expect("send_frameMD",
                "h10"
                "00000000038",
                0);
    rig.status(0, "00", 2)
        .link.expect("send_frame", "C", 0)
        .expect("send_frameMD",
                "g10"
                "00000030000",
                0);
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
    rig.status(0)
        .link.expect("send_frame", "C", 0)
        .expect("send_frameMD",
                "PS10000000004567" + kSaleTail +
                    "000003000"
                    "00000000",
                2);
    rig.status(0, "44", 1);  // state display after the refused line
    rig.status(0, "44", 1);  // before the cheque
    rig.status(0, "44", 1)
        .link.expect("send_frame", "C", 0)
        .expect("send_frameMD",
                "h10"
                "00000020000",
                1);
    rig.status(0, "20", 1);                                    // after the refused card payment
    rig.status(0, "20", 1);                                    // before the cash
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
    EXPECT_EQ(rig.form.LERR, " 20");
    EXPECT_EQ(rig.form.LERRTEXT, " Podignuta glava stampaca !");
}

TEST(FiscalState, StateDisplayAndIdentity) {
    Rig rig;
    rig.status(4, "44", 2);
    rig.link.expect("get_frame", "n", -1).expect("get_frame", "n", -1).expect("get_frame", "n", -1);
    rig.link.replyTo("J",
                     "123456"
                     "987654321"
                     "AB123456"
                     "xx");
    rig.link.expect("get_frame", "J", -1);
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
