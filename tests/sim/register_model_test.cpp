// The register model: frame text in, reply and memory out.
#include "register_model.h"

#include <gtest/gtest.h>

#include <string>

#include "demo_shop.h"

namespace {

using qov::sim::Date;
using qov::sim::ModelOptions;
using qov::sim::RegisterModel;
using qov::sim::Reply;

std::string pad(std::string s, std::size_t w) {
    s.resize(w, ' ');
    return s;
}

std::string digits(long long v, int w) {
    std::string s = std::to_string(v);
    return std::string(static_cast<std::size_t>(w) - s.size(), '0') + s;
}

// "PR" frame as the station builds it.
std::string pr(const std::string& code, int dept, const std::string& name, long long price,
               int single = 0, int vat = 1, const std::string& unit = "0", int type = 2) {
    return "PR" + code + digits(dept, 2) + pad(name, 28) + digits(price, 8) +
           std::to_string(single) + std::to_string(vat) + unit + std::to_string(type);
}

std::string ps(const std::string& code, long long qty, const std::string& cashier = "00") {
    return "PS10" + code + cashier + "123456789123" + "0011" + digits(qty, 9) + "00000000";
}

std::string pay(char kind, long long amount) {
    return std::string(1, kind) + "10" + digits(amount, 11);
}

std::string key(const std::string& code) {
    return "m01" + code;
}

::testing::AssertionResult Is(const Reply& r, char status, const std::string& text = {}) {
    if (r.status == status && r.text == text)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "got " << r.status << "[" << r.text << "], want " << status << "[" << text << "]";
}

class Model : public ::testing::Test {
protected:
    Model() : m(ModelOptions{}) {
        m.setClock([] { return Date{15, 6, 2024}; });
    }
    Reply x(const std::string& frame) { return m.execute(frame); }
    std::string text(const std::string& frame) { return m.execute(frame).text; }
    // An article with stock, ready to sell.
    void stockArticle(const std::string& code, long long price, long long stock, int dept = 3,
                      int vat = 1) {
        ASSERT_TRUE(Is(x(pr(code, dept, "ARTIKAL " + code.substr(10), price, 0, vat)), 'A'));
        ASSERT_TRUE(Is(x("PQ" + code + digits(stock, 9)), 'A'));
    }
    RegisterModel m;
};

// ---- small tables ----------------------------------------------------------------------

TEST_F(Model, DepartmentStoredAndReadBack) {
    ASSERT_TRUE(Is(x("R02PICE        00000250"), 'A'));
    EXPECT_TRUE(Is(x("B02"), 'A', "02PICE        00000250" + digits(0, 11) + digits(0, 9)));
    EXPECT_EQ(m.memory().departments[2].name, "PICE        ");
    EXPECT_EQ(m.memory().departments[2].maxPrice, 250);
    EXPECT_TRUE(Is(x("B09"), 'A', "09ODELJENJE 1000000000" + digits(0, 20)));
}

TEST_F(Model, RefusedStoreFramesLeaveMemoryAndSetTheError) {
    const std::string before = m.memory().departments[0].name;
    struct Case {
        std::string frame;
        char status;
        int error;
    };
    const Case cases[] = {
        {"R10PICE        00000250", 'R', 8},         // beyond ten departments
        {"R00PICE        0000025X", 'R', 8},         // letter in the price
        {"R00PICE        0000025", 'R', 8},          // one character short
        {"RA0PICE        00000250", 'R', 8},         // letter in the number
        {"O31" + pad("ANA", 12) + "   12", 'R', 8},  // beyond 31 cashiers
        {"O00" + pad("ANA", 12) + "  1A2", 'R', 8},  // letter in the code
        {"O00" + pad("ANA", 12) + "     ", 'R', 8},  // blank code
        {"U4" + pad("EUR", 12) + "117.50000", 'R', 8},
        {"U0" + pad("EUR", 12) + "117.5.000", 'R', 8},  // two separators
        {"U0" + pad("EUR", 12) + "11X.50000", 'R', 8},
        {"QR6kom", 'R', 8},
        {"QR1kila", 'R', 8},  // the unit reply carries three characters
        {"QR0kom", 'R', 8},
        {"ZR9" + pad("TIP", 12), 'R', 8},
        {"ZR1" + pad("TIP", 11), 'R', 8},
        {"X05200001001020", 'A', 0},
        {"X0520000100102", 'R', 8},   // a blank field dropped a character
        {"X05400001001020", 'R', 8},  // intensity 4
        {"X05200004001020", 'R', 8},  // graphic 4
        {"X05200001001050", 'R', 8},  // speed 5
        {"X05200001001000", 'R', 8},  // speed 0
        {"S6" + pad("TEXT", 32) + std::string(1, '\0'), 'R', 8},
        {"S0" + pad("TEXT", 32) + " ", 'R', 8},  // no NUL at the end
        {"S0" + pad("TEXT", 31) + std::string(1, '\0'), 'R', 8},
        {"k" + pad("", 95), 'R', 8},
        {"k" + pad("", 97), 'R', 8},
        {"B10", 'E', 8},
        {"E31", 'E', 8},
        {"M4", 'E', 8},
        {"D09", 'E', 8},
        {"QT6", 'E', 8},
        {"QT0", 'E', 8},
        {"ZT9", 'E', 8},
        {"BXY", 'R', 8},
        {"B1", 'R', 8},
        {"L1", 'R', 8},
        {"nn", 'R', 8},
        {"W", 'R', 11},  // no such command
        {"", 'R', 11},
        {"QX1", 'R', 11},
        {"PX", 'R', 11},
    };
    for (const auto& c : cases) {
        x("C");
        const Reply r = x(c.frame);
        EXPECT_EQ(r.status, c.status) << qov::sim::errorText(c.error) << " for [" << c.frame << "]";
        EXPECT_EQ(m.lastError(), c.error) << c.frame;
    }
    EXPECT_EQ(m.memory().departments[0].name, before);
    EXPECT_EQ(m.memory().cashiers[0].code, "    1");
    EXPECT_EQ(m.memory().units[0], "kom");
}

TEST_F(Model, CashierWithRightAlignedCode) {
    ASSERT_TRUE(Is(x("O04" + pad("JOVAN", 12) + "   12"), 'A'));
    EXPECT_TRUE(Is(x("E04"), 'A', "04JOVAN          12" + digits(0, 11) + digits(0, 6)));
    EXPECT_EQ(m.memory().cashiers[4].code, "   12");
    EXPECT_TRUE(Is(x("O30" + pad("ZADNJI", 12) + "99999"), 'A'));
    EXPECT_EQ(text("E30").substr(0, 19), "30ZADNJI      99999");
}

TEST_F(Model, CurrencyKeepsItsSeparator) {
    ASSERT_TRUE(Is(x("U1" + pad("EUR", 12) + "117,50000"), 'A'));
    EXPECT_TRUE(Is(x("M1"), 'A', "1EUR         117,50000"));
    ASSERT_TRUE(Is(x("U3" + pad("USD", 12) + "00.000000"), 'A'));
    EXPECT_TRUE(Is(x("M3"), 'A', "3USD         00.000000"));
}

TEST_F(Model, VatRatesCarryTheirSales) {
    m.memory().vatRates[5].rate = "2000";
    m.memory().vatRates[5].sales = 12345;
    EXPECT_TRUE(Is(x("D05"), 'A', "052000" + digits(12345, 11)));
    EXPECT_TRUE(Is(x("D08"), 'A', "080000" + digits(0, 11)));
}

TEST_F(Model, UnitsAndTypesWithTheirNulEndings) {
    ASSERT_TRUE(Is(x("QR2l  "), 'A'));
    EXPECT_TRUE(Is(x("QT2"), 'A', "2l  "));
    const std::string type = std::string("MLEKO") + '\0' + "      ";
    ASSERT_TRUE(Is(x("ZR8" + type), 'A'));
    EXPECT_TRUE(Is(x("ZT8"), 'A', "8" + type));
    EXPECT_TRUE(Is(x("ZT1"), 'A', "1TIP 1       "));
}

TEST_F(Model, SystemRecordReadBackWithoutItsLetter) {
    ASSERT_TRUE(Is(x("X05200001001020"), 'A'));
    EXPECT_TRUE(Is(x("L"), 'A', "05200001001020"));
    // the register number heads the status reply
    EXPECT_EQ(text("n").substr(0, 2), "05");
}

TEST_F(Model, HeaderAndAdvertisementLines) {
    const std::string bold =
        "\x1b"
        "A"
        "\x1b"
        "B" +
        pad("", 30);
    ASSERT_TRUE(Is(x("S3" + pad("PRODAVNICA", 32) + std::string(1, '\0')), 'A'));
    ASSERT_TRUE(Is(x("A0" + bold + std::string(1, '\0')), 'A'));
    ASSERT_TRUE(Is(x("S5" + std::string(1, '\0') + pad("", 31) + std::string(1, '\0')), 'A'));
    const std::string doubled(64, 'W');
    ASSERT_TRUE(Is(x("S1" + doubled + std::string(1, '\0')), 'A'));
    EXPECT_TRUE(Is(x("S1" + doubled + "W" + std::string(1, '\0')), 'R'));
    EXPECT_EQ(m.memory().header[3], pad("PRODAVNICA", 32));
    EXPECT_EQ(m.memory().header[5], std::string(1, '\0') + pad("", 31));
    EXPECT_EQ(m.memory().header[1], doubled);
    EXPECT_EQ(m.memory().advert[0], bold);
}

TEST_F(Model, DisplayMessage) {
    ASSERT_TRUE(Is(x("k" + pad("RED 1", 32) + pad("RED 2", 32) + pad("", 32)), 'A'));
    EXPECT_EQ(m.memory().message[1], pad("RED 2", 32));
}

TEST_F(Model, StoreFramesRefusedWhileAReceiptIsOpen) {
    ASSERT_TRUE(Is(x("p"), 'A'));
    EXPECT_TRUE(Is(x("R02PICE        00000250"), 'R'));
    EXPECT_EQ(m.lastError(), 28);
    EXPECT_TRUE(Is(x(pr("000000000001", 1, "A", 100)), 'R'));
    EXPECT_EQ(m.memory().departments[2].name, "ODELJENJE 3 ");
    EXPECT_TRUE(m.memory().articles.empty());
    EXPECT_TRUE(Is(x("B02"), 'A', "02ODELJENJE 3 00000000" + digits(0, 20)));  // requests go on
}

// ---- articles ----------------------------------------------------------------------------

TEST_F(Model, ArticleProgrammedAndWalked) {
    ASSERT_TRUE(Is(x(pr("000000000025", 2, "HLEB", 4550, 1, 1, "0", 0)), 'A'));
    ASSERT_TRUE(Is(x(pr("000000000007", 9, "MLEKO", 725, 0, 8, "9", 7)), 'A'));
    ASSERT_TRUE(Is(x("PQ000000000025000007500"), 'A'));
    const std::string hleb = "00000000002502" + pad("HLEB", 28) + "00004550" + "1100" +
                             digits(0, 11) + digits(0, 9) + "000007500";
    const std::string mleko = "00000000000709" + pad("MLEKO", 28) + "00000725" + "0897" +
                              digits(0, 11) + digits(0, 9) + digits(0, 9);
    EXPECT_TRUE(Is(x("PTFIRST"), 'A', mleko));
    EXPECT_TRUE(Is(x("PTNEXT"), 'A', hleb));
    EXPECT_TRUE(Is(x("PTNEXT"), 'A'));
    EXPECT_TRUE(Is(x("PTNEXT"), 'A'));
    EXPECT_TRUE(Is(x("PTFIRST"), 'A', mleko));
    EXPECT_EQ(text("n").substr(10, 5), "00002");
    // reprogramming an article keeps its stock and does not add one
    ASSERT_TRUE(Is(x(pr("000000000025", 2, "HLEB BELI", 4600)), 'A'));
    EXPECT_EQ(m.memory().articles.size(), 2u);
    EXPECT_EQ(m.memory().articles.at("000000000025").stock, 7500);
    EXPECT_EQ(m.memory().articles.at("000000000025").name, pad("HLEB BELI", 28));
}

TEST_F(Model, ArticleRefusals) {
    RegisterModel small(ModelOptions{2, 0, false});
    ASSERT_TRUE(Is(small.execute(pr("000000000001", 0, "A", 100)), 'A'));
    ASSERT_TRUE(Is(small.execute(pr("000000000002", 0, "B", 100)), 'A'));
    EXPECT_TRUE(Is(small.execute(pr("000000000003", 0, "C", 100)), 'R'));
    EXPECT_EQ(small.lastError(), 45);
    EXPECT_TRUE(Is(small.execute(pr("000000000002", 0, "B2", 100)), 'A'));  // an update fits

    struct Case {
        std::string frame;
        int error;
    };
    const Case cases[] = {
        {pr("000000000001", 0, "A", 100, 0, 1, "10"), 8},  // unit 10 cannot be carried back
        {pr("000000000000", 0, "A", 100), 8},              // no article zero
        {pr("00000000000X", 0, "A", 100), 8},
        {pr("000000000001", 10, "A", 100), 8},
        {pr("000000000001", 0, "A", 100, 2), 8},
        {pr("000000000001", 0, "A", 100, 0, 9), 8},
        {pr("000000000001", 0, "A", 100, 0, 1, "0", 8), 8},
        {pr("000000000001", 0, "A", 100).substr(0, 55), 8},
        {"PQ000000000099000001000", 2},  // unknown article
        {"PQ00000000000100000100X", 8},
        {"PQ0000000000001000001000", 8},  // a code of 13 digits
        {"PD000000000099", 2},
        {"PD00000000001", 8},
        {"PTLAST", 11},
        {"PE1", 11},
    };
    for (const auto& c : cases) {
        x("C");
        EXPECT_TRUE(Is(x(c.frame), 'R')) << c.frame;
        EXPECT_EQ(m.lastError(), c.error) << c.frame;
    }
    EXPECT_TRUE(m.memory().articles.empty());
}

TEST_F(Model, StockWithAShortCodeAsStored) {
    ASSERT_TRUE(Is(x(pr("000000004567", 0, "A", 100)), 'A'));
    ASSERT_TRUE(Is(x("PQ4567000002500"), 'A'));
    EXPECT_EQ(m.memory().articles.at("000000004567").stock, 2500);
}

TEST_F(Model, SoldArticlesWalkAndClearing) {
    stockArticle("000000000001", 1000, 10000);
    stockArticle("000000000002", 2000, 10000);
    stockArticle("000000000003", 3000, 10000);
    ASSERT_TRUE(Is(x("p"), 'A'));
    ASSERT_TRUE(Is(x(ps("000000000003", 2000)), 'A'));
    ASSERT_TRUE(Is(x(pay('g', 0)), 'A'));
    ASSERT_TRUE(Is(x("q"), 'A'));

    EXPECT_EQ(text("PTFIRST").substr(0, 12), "000000000001");  // first by code, sold or not
    const Reply sold = x("PTSOLD");
    EXPECT_TRUE(sold.slow);
    EXPECT_EQ(sold.text.substr(0, 12), "000000000003");
    EXPECT_EQ(sold.text.substr(54), digits(6000, 11) + digits(2000, 9) + digits(8000, 9));
    EXPECT_TRUE(Is(x("PTSOLD"), 'A'));

    // an article with sales is not deleted until the sales are cleared
    EXPECT_TRUE(Is(x("PD000000000003"), 'R'));
    EXPECT_EQ(m.lastError(), 39);
    ASSERT_TRUE(Is(x("PD000000000001"), 'A'));
    x("p");
    EXPECT_TRUE(Is(x("PE"), 'R'));
    EXPECT_EQ(m.lastError(), 28);
    x("q");
    const Reply clear = x("PE");
    EXPECT_TRUE(Is(clear, 'A'));
    EXPECT_TRUE(clear.slow);
    EXPECT_EQ(m.memory().articles.at("000000000003").quantity, 0);
    EXPECT_EQ(m.memory().articles.at("000000000003").stock, 8000);
    ASSERT_TRUE(Is(x("PD000000000003"), 'A'));
    EXPECT_EQ(text("n").substr(10, 5), "00001");
    x("PTFIRST");
    EXPECT_TRUE(Is(x("PTSOLD"), 'A'));
}

// ---- receipts ----------------------------------------------------------------------------

TEST_F(Model, ReceiptSoldPaidAndTotalled) {
    stockArticle("000000000010", 4550, 10000, 3, 2);  // 45.50, department 4, VAT 2
    stockArticle("000000000020", 12000, 5000, 7, 0);  // 120.00, department 8, VAT 0
    ASSERT_TRUE(Is(x("p"), 'A'));
    EXPECT_EQ(m.workingState(), 1);
    ASSERT_TRUE(Is(x(ps("000000000010", 2500, "04")), 'A'));  // 2.5 x 45.50 = 113.75
    ASSERT_TRUE(Is(x(ps("000000000020", 1000, "04")), 'A'));  // 120.00
    EXPECT_EQ(m.receiptDue(), 23375);
    ASSERT_TRUE(Is(x(pay('f', 10000)), 'A'));  // cheque 100.00
    EXPECT_EQ(m.workingState(), 2);
    EXPECT_EQ(text("n")[6], '2');
    ASSERT_TRUE(Is(x(pay('h', 3375)), 'A'));   // card 33.75
    ASSERT_TRUE(Is(x(pay('g', 20000)), 'A'));  // cash 200.00: 100.00 change
    EXPECT_EQ(m.workingState(), 0);
    EXPECT_EQ(m.displayText().substr(0, 33), pad("KUSUR", 16) + "|" + pad("", 10) + "100.00");
    ASSERT_TRUE(Is(x("q"), 'A'));

    const auto& mem = m.memory();
    EXPECT_EQ(mem.articles.at("000000000010").sales, 11375);
    EXPECT_EQ(mem.articles.at("000000000010").quantity, 2500);
    EXPECT_EQ(mem.articles.at("000000000010").stock, 7500);
    EXPECT_EQ(mem.departments[3].sales, 11375);
    EXPECT_EQ(mem.departments[3].quantity, 2500);
    EXPECT_EQ(mem.departments[7].sales, 12000);
    EXPECT_EQ(mem.vatRates[2].sales, 11375);
    EXPECT_EQ(mem.vatRates[0].sales, 12000);
    EXPECT_EQ(mem.cashiers[4].sales, 23375);
    EXPECT_EQ(mem.cashiers[4].receipts, 1);
    EXPECT_EQ(mem.cashiers[0].receipts, 0);
    EXPECT_TRUE(Is(x("B03"), 'A', "03ODELJENJE 4 00000000" + digits(11375, 11) + digits(2500, 9)));
    EXPECT_TRUE(Is(x("E04"), 'A', "04KASIR 5         5" + digits(23375, 11) + digits(1, 6)));
    EXPECT_EQ(text("n").substr(7, 3), "001");
}

TEST_F(Model, CashZeroPaysTheRestAndCloses) {
    stockArticle("000000000010", 999, 3000);
    x("p");
    ASSERT_TRUE(Is(x(ps("000000000010", 3000)), 'A'));
    ASSERT_TRUE(Is(x(pay('g', 0)), 'A'));
    EXPECT_FALSE(m.receiptOpen());
    EXPECT_EQ(m.memory().articles.at("000000000010").stock, 0);
    EXPECT_EQ(m.memory().salesSinceDaily, 2997);
}

TEST_F(Model, ReceiptRefusalsChangeNothing) {
    stockArticle("000000000010", 1000, 2000);
    stockArticle("000000000011", 90000, 2000, 2);
    m.memory().departments[2].maxPrice = 50000;  // department 3 sells up to 500.00
    struct Case {
        std::string frame;
        int error;
    };
    EXPECT_TRUE(Is(x(ps("000000000010", 1000)), 'R'));  // no receipt open
    EXPECT_EQ(m.lastError(), 17);
    EXPECT_TRUE(Is(x(pay('g', 100)), 'R'));
    EXPECT_EQ(m.lastError(), 6);
    ASSERT_TRUE(Is(x("p"), 'A'));
    EXPECT_TRUE(Is(x("p"), 'R'));
    EXPECT_TRUE(Is(x(pay('g', 0)), 'R'));  // nothing sold yet
    EXPECT_EQ(m.lastError(), 7);
    const Case cases[] = {
        {ps("000000000099", 1000), 2},
        {ps("000000000010", 0), 5},
        {ps("000000000010", 2001), 50},
        {ps("000000000011", 1000), 34},
        {ps("000000000010", 1000, "31"), 36},
        {ps("000000000010", 1000).substr(0, 50), 8},
        {ps("00000000001X", 1000), 8},
        {"x", 1},
        {key("8D"), 1},
    };
    for (const auto& c : cases) {
        x("C");
        EXPECT_TRUE(Is(x(c.frame), 'R')) << c.frame;
        EXPECT_EQ(m.lastError(), c.error) << c.frame;
    }
    EXPECT_EQ(m.memory().articles.at("000000000010").stock, 2000);
    EXPECT_EQ(m.memory().articles.at("000000000010").sales, 0);
    EXPECT_EQ(m.receiptDue(), 0);

    ASSERT_TRUE(Is(x(ps("000000000010", 1500)), 'A'));  // 15.00
    for (const auto& [frame, error] : {std::pair{pay('f', 1501), 3},
                                       {pay('h', 1501), 3},
                                       {pay('f', 0), 7},
                                       {pay('g', 5).substr(0, 13), 8},
                                       {"q", 1}}) {
        x("C");
        EXPECT_TRUE(Is(x(frame), 'R')) << frame;
        EXPECT_EQ(m.lastError(), error) << frame;
    }
    EXPECT_EQ(m.receiptPaid(), 0);
    ASSERT_TRUE(Is(x(pay('h', 1500)), 'A'));  // card for exactly the due closes
    EXPECT_FALSE(m.receiptOpen());
    EXPECT_TRUE(Is(x(ps("000000000010", 100)), 'R'));
}

TEST_F(Model, EmptyReceiptDroppedByTheEnd) {
    ASSERT_TRUE(Is(x("p"), 'A'));
    ASSERT_TRUE(Is(x("q"), 'A'));
    EXPECT_FALSE(m.receiptOpen());
    EXPECT_EQ(m.memory().receiptsSinceDaily, 0);
    EXPECT_TRUE(Is(x("q"), 'A'));  // nothing open: nothing to do
}

TEST_F(Model, LastErrorInStatusUntilCleared) {
    x("R99");
    const std::string status = text("n");
    ASSERT_EQ(status.size(), 15u);
    EXPECT_EQ(status, "010008000000000");  // register 01, rest, paper, error 08, idle, ...
}

// ---- reports, keys and display -------------------------------------------------------------

TEST_F(Model, DailyReportWritesFiscalMemoryAndZeroesTotals) {
    stockArticle("000000000010", 1000, 5000);
    x("p");
    x(ps("000000000010", 2000));
    x(pay('g', 0));
    ASSERT_TRUE(Is(x("x"), 'A'));
    const auto& mem = m.memory();
    ASSERT_EQ(mem.dailyRecords.size(), 1u);
    EXPECT_EQ(mem.dailyRecords[0].total, 2000);
    EXPECT_EQ(mem.dailyRecords[0].receipts, 1);
    EXPECT_EQ(mem.departments[3].sales, 0);
    EXPECT_EQ(mem.vatRates[1].sales, 0);
    EXPECT_EQ(mem.cashiers[0].sales, 0);
    EXPECT_EQ(mem.cashiers[0].receipts, 0);
    EXPECT_EQ(mem.articles.at("000000000010").sales, 2000);  // articles keep theirs until PE
    // block 1: number 1, 15.06.(20)24, total 2000 (0x7D0), one receipt
    EXPECT_TRUE(Is(x("F000016"), 'A', "00010F06180000000007D00001000000" + std::string("0106")));
    EXPECT_EQ(text("F000000").substr(28, 4), "0001");  // records in the header block
    EXPECT_EQ(m.displayText().substr(0, 16), "DNEVNI IZVESTAJ ");
}

TEST_F(Model, ModeKeyCyclesAndTheLockKeepsPositionFiveAway) {
    const int expected[] = {2, 3, 4, 5, 0, 2};
    for (int want : expected) {
        ASSERT_TRUE(Is(x(key("8D")), 'A'));
        EXPECT_EQ(m.menuPosition(), want);
        EXPECT_EQ(text("n")[2], '0' + want);
    }
    RegisterModel locked(ModelOptions{100, 0, true});
    for (int i = 0; i < 4; ++i)
        locked.execute(key("8D"));
    EXPECT_EQ(locked.menuPosition(), 0);
}

TEST_F(Model, SnapshotReportAndPaperOut) {
    RegisterModel r(ModelOptions{100, 2, false});
    for (int i = 0; i < 4; ++i)
        r.execute(key("8D"));
    ASSERT_EQ(r.menuPosition(), 5);
    for (const char* k : {"87", "87", "87", "88", "88"})
        ASSERT_TRUE(Is(r.execute(key(k)), 'A'));
    EXPECT_EQ(r.execute("n").text[3], '1');  // paper missing
    EXPECT_EQ(r.execute("r").text.substr(0, 16), pad("E 22", 16));
    EXPECT_EQ(r.execute("r").text.substr(0, 16), pad("E 22", 16));
    EXPECT_EQ(r.execute("r").text.substr(0, 16), pad("PRESEK STANJA", 16));
    EXPECT_EQ(r.execute("n").text[3], '0');
    // the print wait's own subtotal changes nothing
    r.execute(key("88"));
    EXPECT_EQ(r.execute("r").text.substr(0, 16), pad("PRESEK STANJA", 16));
}

TEST_F(Model, PeriodicReportDates) {
    const auto periodic = [&](const std::string& from, const std::string& to) {
        RegisterModel r;
        r.setClock([] { return Date{15, 6, 2024}; });
        for (int i = 0; i < 4; ++i)
            r.execute(key("8D"));
        std::vector<std::string> keys = {"87", "87", "88"};
        for (const std::string& d : {from, to}) {
            for (std::size_t i : {0u, 1u, 3u, 4u, 8u, 9u}) {
                keys.push_back("3" + d.substr(i, 1));
                if (i == 1 || i == 4)
                    keys.push_back("88");  // the points between day, month and year
            }
            keys.push_back("88");
        }
        for (const auto& k : keys)
            EXPECT_TRUE(Is(r.execute(key(k)), 'A'));
        r.execute(key("88"));  // the print wait
        return r.execute("r").text.substr(0, 16);
    };
    EXPECT_EQ(periodic("01.06.2024", "15.06.2024"), pad("PERIODICNI IZV.", 16));
    EXPECT_EQ(periodic("15.06.2024", "15.06.2024"), pad("PERIODICNI IZV.", 16));
    EXPECT_EQ(periodic("32.05.2024", "15.06.2024"), pad("GR. 15", 16));
    EXPECT_EQ(periodic("01.06.2024", "16.06.2024"), pad("GR. 15", 16));  // after today
    EXPECT_EQ(periodic("10.06.2024", "01.06.2024"), pad("GR. 26", 16));
    EXPECT_EQ(periodic("29.02.2023", "01.06.2024"), pad("GR. 15", 16));
}

TEST_F(Model, KeysTypeOnTheDisplay) {
    for (const char* k : {"37", "2C", "35", "80"})
        ASSERT_TRUE(Is(x(key(k)), 'A'));
    const std::string shown = text("r");
    ASSERT_EQ(shown.size(), 50u);
    EXPECT_EQ(shown[16], '|');
    EXPECT_EQ(shown[33], '|');
    EXPECT_EQ(shown.substr(17, 16), pad("", 11) + "7,500");
    x(key("86"));
    EXPECT_EQ(text("r").substr(0, 33), pad("REGISTRACIJA", 16) + "|" + pad("", 12) + "0.00");
    for (const char* bad : {"m0130X", "m0230", "m017F", "m0199", "m01G0", "m0129"}) {
        x("C");
        EXPECT_TRUE(Is(x(bad), 'R')) << bad;
        EXPECT_EQ(m.lastError(), 8) << bad;
    }
}

TEST_F(Model, IdentityAndErrorClear) {
    EXPECT_TRUE(Is(x("J"), 'A', "AR0001100000001FM000001"));
    x("Q");
    EXPECT_EQ(text("n").substr(4, 2), "11");
    ASSERT_TRUE(Is(x("C"), 'A'));
    EXPECT_EQ(text("n").substr(4, 2), "00");
}

// ---- logo and memory dumps ---------------------------------------------------------------

TEST_F(Model, LogoCarriedIntoTheChosenSlot) {
    std::string bmp = "BM";
    for (int i = 0; i < 200; ++i)
        bmp += static_cast<char>(i);
    ASSERT_TRUE(Is(x("N1"), 'A'));
    ASSERT_TRUE(Is(x("NS" + digits(static_cast<long long>(bmp.size()), 8)), 'A'));
    for (std::size_t off = 0; off < bmp.size(); off += 96)
        ASSERT_TRUE(
            Is(x("ND" + digits(static_cast<long long>(off), 8) + bmp.substr(off, 96)), 'A'));
    ASSERT_TRUE(Is(x("NE"), 'A'));
    EXPECT_EQ(m.memory().logos[1], bmp);
    EXPECT_TRUE(m.memory().logos[0].empty());
}

TEST_F(Model, LogoRefusals) {
    EXPECT_TRUE(Is(x("NS00065537"), 'R'));  // over 64 KiB
    EXPECT_EQ(m.lastError(), 3);
    EXPECT_TRUE(Is(x("ND00000000BMxx"), 'R'));  // no NS before
    EXPECT_EQ(m.lastError(), 17);
    ASSERT_TRUE(Is(x("NS00000010"), 'A'));
    EXPECT_TRUE(Is(x("ND00000000GIF89"), 'R'));  // not a BMP
    EXPECT_TRUE(Is(x("NE"), 'R'));               // the upload was abandoned
    ASSERT_TRUE(Is(x("NS00000010"), 'A'));
    ASSERT_TRUE(Is(x("ND00000000BM123"), 'A'));
    EXPECT_TRUE(Is(x("ND00000009ab"), 'R'));      // not where the last chunk ended
    EXPECT_TRUE(Is(x("ND00000005abcdef"), 'R'));  // past the announced size
    EXPECT_TRUE(Is(x("NE"), 'R'));                // 5 of 10 bytes
    EXPECT_TRUE(m.memory().logos[0].empty());
    ASSERT_TRUE(Is(x("NS00065536"), 'A'));  // exactly 64 KiB is fine
}

TEST_F(Model, MemoryBlocks) {
    const std::string first = text("F000000");
    ASSERT_EQ(first.size(), 36u);
    // serial "AR0001" module "FM000001", no records
    EXPECT_EQ(first.substr(0, 32), "415230303031464D3030303030310000");
    unsigned sum = 0;
    for (char c : std::string("AR0001FM000001"))
        sum += static_cast<unsigned char>(c);
    char check[5];
    std::snprintf(check, sizeof check, "%04X", sum);
    EXPECT_EQ(first.substr(32), check);
    EXPECT_TRUE(Is(x("F131056"), 'A', std::string(32, 'F') + "0FF0"));
    EXPECT_TRUE(Is(x("F131072"), 'E'));
    EXPECT_TRUE(Is(x("F000008"), 'E'));
    EXPECT_TRUE(Is(x("F00001"), 'R'));
    EXPECT_TRUE(Is(x("F00001X"), 'R'));
    EXPECT_TRUE(Is(x("Y262128"), 'A', std::string(32, 'F') + "0FF0"));
    EXPECT_TRUE(Is(x("Y262144"), 'E'));
    // program memory holds the register's tables: the system record first, articles at 4096
    ASSERT_TRUE(Is(x("X05200001001020"), 'A'));
    EXPECT_EQ(text("Y000000").substr(0, 32),
              "3035323030303031303031303230"
              "0000");
    ASSERT_TRUE(Is(x(pr("123456789012", 4, "SIR", 89000)), 'A'));
    EXPECT_EQ(text("Y004096").substr(0, 26),
              "313233343536373839303132"
              "04");
}

TEST(ErrorTable, TextsOfTheRegister) {
    EXPECT_EQ(qov::sim::errorText(2), " Artikal nije definisan !");
    EXPECT_EQ(qov::sim::errorText(40), qov::sim::errorText(44));
    EXPECT_EQ(qov::sim::errorText(50), " Nedovoljno na lageru !");
    for (int code : {0, 18, 29, 38, 49, 51, 99})
        EXPECT_EQ(qov::sim::errorText(code), " OK") << code;
}

TEST(DemoShop, EveryFrameAcceptedAndTheShopFilled) {
    RegisterModel model;
    EXPECT_EQ(qov::sim::fillDemoShop(model), 0);
    const auto& mem = model.memory();
    EXPECT_GE(mem.articles.size(), 300u);
    EXPECT_EQ(mem.dailyRecords.size(), 3u);
    EXPECT_GT(mem.receiptsSinceDaily, 0);
    int sold = 0;
    for (const auto& [code, a] : mem.articles) {
        EXPECT_GT(a.price, 0) << code;
        sold += a.quantity > 0;
    }
    EXPECT_GT(sold, 5);
    EXPECT_EQ(mem.departments[4].name, "PICE        ");
    EXPECT_EQ(model.execute("r").text.substr(0, 16), pad("REGISTRACIJA", 16));
    EXPECT_FALSE(model.receiptOpen());
}

}  // namespace
