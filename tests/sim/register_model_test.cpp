// The register model: frame text in, reply and memory out.
#include "register_model.h"

#include <gtest/gtest.h>

#include <random>
#include <source_location>
#include <string>
#include <vector>

#include "event_log.h"

namespace {

using qov::sim::ModelOptions;
using qov::sim::RegisterModel;
using Frames = std::vector<std::string>;

Frames operator+(Frames a, const Frames& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::string pad(std::string s, std::size_t w) {
    s.resize(w, ' ');
    return s;
}

std::string num(long long v, std::size_t w) {
    const std::string s = std::to_string(v);
    return std::string(w - s.size(), '0') + s;
}

// "PR" frame of article c; flags are single, VAT, unit and type.
std::string pr(long long c, int dept, const std::string& name, long long price, std::string flags) {
    return "PR" + num(c, 12) + num(dept, 2) + pad(name, 28) + num(price, 8) + flags;
}

// The article reply of PTFIRST/PTNEXT/PTSOLD, status byte first.
std::string art(const std::string& prFrame, long long sales, long long qty, long long stock) {
    return "A" + prFrame.substr(2) + num(sales, 11) + num(qty, 9) + num(stock, 9);
}

std::string ps(int c, long long qty, const std::string& cashier = "00") {
    return "PS10" + num(c, 12) + cashier + "123456789123" + "0011" + num(qty, 9) + "00000000";
}

std::string pay(char kind, long long amount) {
    return std::string(1, kind) + "10" + num(amount, 11);
}

// The "r" reply: operator lines and customer line, 16 characters each.
std::string disp(std::string l1, std::string l2, std::string l3 = "DOBRODOSLI") {
    return "A" + pad(l1, 16) + "|" + pad(l2, 16) + "|" + pad(l3, 16);
}

std::string right(const std::string& s) {
    return std::string(16 - s.size(), ' ') + s;
}

// Keys of a periodic report in position 5; dates as ddmmyy, subtotal between the pairs.
Frames periodic(const std::string& from, const std::string& to) {
    Frames keys = {"m0187", "m0187", "m0188"};
    const std::string digits = from + to;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        keys.push_back("m013" + digits.substr(i, 1));
        if (i % 2)
            keys.push_back("m0188");
    }
    return keys;
}

const std::string kNul(1, '\0');
const std::string kType = "MLEKO" + kNul + "      ", kDept0 = "A00ODELJENJE 1 " + num(0, 28);
const Frames kMode5 = {"m018D", "m018D", "m018D", "m018D"};
// Two articles: 10 at 45.50 in department 4 with VAT 2, 20 at 120.00 in department 8 with VAT 0.
const std::string kPr10 = pr(10, 3, "HLEB", 4550, "0200"),
                  kPr20 = pr(20, 7, "MLEKO", 12000, "0000");
const Frames kStock = {kPr10, "PQ000000000010000010000", kPr20, "PQ000000000020000005000"};
const Frames kOpen = kStock + Frames{"p"};
// Cashier 5 sells 2.5 x 45.50 = 113.75 and 1 x 120.00: 233.75 due.
const Frames kSold = kOpen + Frames{ps(10, 2500, "04"), ps(20, 1000, "04")};
const Frames kPaying = kSold + Frames{pay('f', 10000)};
const Frames kClosed = kPaying + Frames{pay('h', 3375), pay('g', 20000)};

// A register, after set-up frames that must all be accepted, is given steps in pairs: a frame
// and the reply it must get, status byte and text. A refusal ('R') or a missing record ('E') is
// written with the last error code it sets: "R08".
RegisterModel run(const Frames& setup, const Frames& steps, ModelOptions options = {},
                  std::source_location where = std::source_location::current()) {
    const ::testing::ScopedTrace trace(where.file_name(), static_cast<int>(where.line()), "");
    EXPECT_EQ(steps.size() % 2, 0u);
    RegisterModel m(options);
    m.setClock([] { return qov::sim::Date{15, 6, 2024}; });
    for (const std::string& f : setup)
        EXPECT_EQ(m.execute(f).status, 'A') << qov::sim::EventLog::escape(f);
    for (std::size_t i = 0; i + 1 < steps.size(); i += 2) {
        const auto r = m.execute(steps[i]);
        const std::string error = r.status == 'A' ? "" : num(m.lastError(), 2);
        EXPECT_EQ(r.status + error + r.text, steps[i + 1]) << qov::sim::EventLog::escape(steps[i]);
    }
    return m;
}

TEST(RegisterModel, TablesAndLogoStoredReadBackAndRefused) {
    const std::string ana = "O00" + pad("ANA", 12), eur = pad("EUR", 12);
    const std::string bold = "\033A\033B" + pad("", 30), line = pad("PRODAVNICA", 32) + kNul;
    run({}, {"R02PICE        00000250", "A", "B02", "A02PICE        00000250" + num(0, 20), "B09",
             "A09ODELJENJE 10" + num(0, 28)});
    run({}, {"R00PICE        0000025X", "R08", "R00PICE        0000025", "R08",
             "RA0PICE        00000250", "R08", "R10PICE        00000250", "R08", "B00", kDept0,
             "B10", "E08", "BXY", "R08", "B1", "R08"});
    run({}, {"O04JOVAN          12", "A", "E04", "A04JOVAN          12" + num(0, 17),
             "O30ZADNJI      99999", "A", "E30", "A30ZADNJI      99999" + num(0, 17)});
    run({}, {ana + "  1A2", "R08", ana + "     ", "R08", "O31" + pad("ANA", 12) + "   12", "R08",
             "E00", "A00KASIR 1         1" + num(0, 17), "E31", "E08"});
    run({}, {"U1" + eur + "117,50000", "A", "M1", "A1EUR         117,50000",
             "U0" + eur + "117.5.000", "R08", "U0" + eur + "11X.50000", "R08",
             "U4" + eur + "117.50000", "R08", "M0", "A0VALUTA 1    00.000000", "M4", "E08"});
    run(kClosed, {"D02", "A020000" + num(11375, 11), "D00", "A000000" + num(12000, 11), "D08",
                  "A080000" + num(0, 11), "D09", "E08"});
    run({}, {"QR2l  ", "A", "QT2", "A2l  ", "QR1kila", "R08", "QR6kom", "R08", "QR0kom", "R08",
             "QT1", "A1kom", "QT6", "E08", "QT0", "E08"});  // a unit name has three characters
    run({}, {"ZR8" + kType, "A", "ZT8", "A8" + kType, "ZR1" + pad("TIP", 11), "R08",
             "ZR9" + pad("TIP", 12), "R08", "ZT1", "A1TIP 1       ", "ZT9", "E08"});
    run({}, {"X05200001001020", "A", "L", "A05200001001020", "n", "A050000000000000",
             "X0520000100102", "R08", "X05400001001020", "R08", "X05200004001020", "R08",
             "X05200001001050", "R08", "X05200001001000", "R08", "L", "A05200001001020"});
    run({}, {"L1", "R08", "nn", "R08", "C1", "R08", "J", "AAR0001100000001FM000001", "W", "R11", "",
             "R11", "QX1", "R11", "ZX1", "R11", "PX", "R11"});
    // print lines and the display message, read back from the program memory
    run({},
        {"S3" + line, "A", "Y002048", "A50524F4441564E49434120202020202003A7", "A0" + bold + kNul,
         "A", "Y002240", "A1B411B422020202020202020202020200239", "S5" + kNul + pad("", 31) + kNul,
         "A", "Y002176", "A0020202020202020202020202020202001E0",
         "k" + pad("RED 1", 32) + pad("RED 2", 32) + pad("", 32), "A", "Y002656",
         "A52454420322020202020202020202020028D"});
    run({}, {"S1" + std::string(64, 'W') + kNul, "A", "S1" + std::string(65, 'W') + kNul, "R08",
             "S6" + line, "R08", "S0" + pad("TEXT", 32) + " ", "R08", "S0" + pad("TEXT", 31) + kNul,
             "R08", "k" + pad("", 95), "R08", "k" + pad("", 97), "R08"});
    // store frames wait for the end of the receipt; requests go on
    run(kOpen, {"R00PICE        00000250", "R28", "B00", kDept0, ana + "   12", "R28",
                "U0" + eur + "117.50000", "R28", "QR2l  ", "R28", "QT2", "A2kg ", "ZR8" + kType,
                "R28", "X05200001001020", "R28"});
    run(kOpen, {"S3" + line, "R28", "A3" + line, "R28", pr(30, 1, "A", 100, "0100"), "R28",
                "PQ000000000010000000001", "R28", "PD000000000020", "R28", "PE", "R28"});
    // the logo, carried in pieces into the chosen slot
    const std::string bmp = std::string("BM\0\xFF", 4) + std::string(96, '\x80') + "end";
    const RegisterModel m =
        run({"N1", "NS00000103"},
            {"ND00000000" + bmp.substr(0, 96), "A", "ND00000096" + bmp.substr(96), "A", "NE", "A"});
    EXPECT_EQ(m.memory().logos[1], bmp);
    EXPECT_TRUE(m.memory().logos[0].empty());
    run({}, {"NS00065537", "R03", "NS00000001", "R08", "ND00000000BMxx", "R17", "NE", "R17",
             "NS00065536", "A"});
    run({"NS00000010"}, {"ND00000000GIF89", "R08", "NE", "R17"});  // the upload is abandoned
    // not where the last piece ended, past the announced size, 5 of 10 bytes
    run({"NS00000010", "ND00000000BM123"},
        {"ND00000009ab", "R08", "ND00000005abcdef", "R08", "NE", "R08"});
}

TEST(RegisterModel, ArticlesProgrammedWalkedAndCleared) {
    const std::string hleb = pr(25, 2, "HLEB", 4550, "1100"),
                      mleko = pr(7, 9, "MLEKO", 725, "0897");
    const std::string beli = pr(25, 2, "HLEB BELI", 4600, "0100");
    const Frames two = {hleb, mleko, "PQ000000000025000007500"};
    const Frames sold20 = kStock + Frames{"p", ps(20, 2000), pay('g', 0)};
    run(two, {"PTFIRST", art(mleko, 0, 0, 0), "PTNEXT", art(hleb, 0, 0, 7500), "PTNEXT", "A",
              "PTNEXT", "A", "PTFIRST", art(mleko, 0, 0, 0), "n", "A010000000000002"});
    // reprogramming keeps the stock and adds no article
    run(two, {"PTFIRST", art(mleko, 0, 0, 0), beli, "A", "PTNEXT", art(beli, 0, 0, 7500), "n",
              "A010000000000002"});
    run({hleb}, {"PQ25000002500", "A", "PTFIRST", art(hleb, 0, 0, 2500), "PQ000000000099000001000",
                 "R02", "PQ00000000002500000100X", "R08", "PQ0000000000025000001000", "R08",
                 "PD000000000099", "R02", "PD00000000025", "R08"});
    run({}, {pr(1, 0, "A", 100, "01102"), "R08", pr(0, 0, "A", 100, "0100"), "R08",
             "PR00000000000X" + pr(1, 0, "A", 100, "0100").substr(14), "R08",
             pr(1, 10, "A", 100, "0100"), "R08", pr(1, 0, "A", 100, "2100"), "R08",
             pr(1, 0, "A", 100, "0900"), "R08", pr(1, 0, "A", 100, "0108"), "R08",
             pr(1, 0, "A", 100, "010"), "R08", "n", "A010008000000000"});  // unit 10: 57 long
    run(sold20, {"PD000000000020", "R39", "PTSOLD", art(kPr20, 24000, 2000, 3000), "PTSOLD", "A",
                 "PTFIRST", art(kPr10, 0, 0, 10000), "PE", "A", "PTNEXT", art(kPr20, 0, 0, 3000),
                 "PTFIRST", art(kPr10, 0, 0, 10000), "PTSOLD", "A", "PD000000000020", "A"});
    run(kOpen, {"PE", "R28", "PE1", "R11", "PTLAST", "R11"});
    run({pr(1, 0, "A", 100, "0100"), pr(2, 0, "B", 100, "0100")},
        {pr(3, 0, "C", 100, "0100"), "R45", "n", "A010045000000002", pr(2, 0, "D", 100, "0100"),
         "A"},
        ModelOptions{2, 0, false});
    // a daily report due: no article is deleted before the report
    run({hleb, mleko},
        {"PD000000000025", "R17", "x", "A", "PD000000000025", "A", "n", "A010017000000001"},
        ModelOptions{.dailyDue = true});
}

TEST(RegisterModel, ReceiptsSoldPaidAndTotalled) {
    const std::string kasir5 = "A04KASIR 5         5", rest = right("100.00");
    const Frames gold = {pr(30, 0, "ZLATO", 99999999, "0100"), "PQ000000000030999999999", "p"};
    run(kOpen,
        {"p", "R01", ps(10, 2500, "04"), "A", "r", disp("HLEB", right("113.75"), "113.75"),
         ps(99, 1000), "R02", ps(10, 0), "R05", ps(10, 7501), "R50", ps(10, 1000, "31"), "R36",
         ps(10, 1000).substr(0, 50), "R08", "PTFIRST", art(kPr10, 11375, 2500, 7500)});
    run(kOpen, {"PS10" + num(10, 11) + "X" + ps(10, 1000).substr(16), "R08", pay('g', 0), "R07",
                "q", "A", "n", "A010007000000002"});  // an empty receipt is dropped
    run(kStock, {ps(10, 1000), "R17", pay('g', 100), "R06", "q", "A", "R03ODELJENJE 4 00004000",
                 "A", "p", "A", ps(10, 1000), "R34"});  // over the department's maximum
    run(gold, {ps(30, 1000001), "R34"});                // a receipt total of 12 digits
    run(kSold, {"n", "A010000100000002", pay('f', 23376), "R03", pay('h', 23376), "R03",
                pay('f', 0), "R07", pay('g', 5).substr(0, 13), "R08"});
    run(kSold,
        {"q", "R01", "x", "R01", "m018D", "R01", pay('f', 10000), "A", "n", "A010001200000002"});
    run(kPaying,
        {ps(10, 1000), "R17", pay('h', 3375), "A", "r", disp("OSTATAK", rest, "233.75"),
         pay('g', 20000), "A", "r", disp("KUSUR", rest, "100.00"), "n", "A010017000100002"});
    run(kPaying, {pay('h', 13375), "A", "r", disp("RACUN ZAVRSEN", right("0.00"), "233.75")});
    run(kSold, {pay('g', 0), "A", "n", "A010000000100002"});  // cash 0 pays the rest
    // sales go to the article, its department, its VAT rate and the cashier
    run(kClosed, {"PTFIRST", art(kPr10, 11375, 2500, 7500), "B03",
                  "A03ODELJENJE 4 00000000" + num(11375, 11) + num(2500, 9), "B07",
                  "A07ODELJENJE 8 00000000" + num(12000, 11) + num(1000, 9), "E04",
                  kasir5 + num(23375, 11) + num(1, 6), "E00", "A00KASIR 1         1" + num(0, 17)});
    // the daily report: every total but the articles' zeroed, record 1 in the fiscal memory
    // (15.06.24, 233.75, one receipt) after the header block
    run(kClosed, {"x", "A", "r", disp("DNEVNI IZVESTAJ", "ZAVRSENO", "100.00"), "B03",
                  "A03ODELJENJE 4 " + num(0, 28), "D02", "A020000" + num(0, 11), "E04",
                  kasir5 + num(0, 17), "PTFIRST", art(kPr10, 11375, 2500, 7500), "n",
                  "A010000000000002", "F000000", "A415230303031464D30303030303100010309", "F000016",
                  "A00010F0618000000005B4F000100000000D9"});
    // block 0 is the header, so 8191 daily records fill the fiscal memory
    run(Frames(8190, "x"),
        {"x", "A", "x", "R30", "F000000", "A415230303031464D3030303030311FFF0426"});
    run({}, {"F131056", "A" + std::string(32, 'F') + "0FF0", "F131072", "E08", "F000008", "E08",
             "F00001", "R08", "F00001X", "R08", "Y262128", "A" + std::string(32, 'F') + "0FF0",
             "Y262144", "E08"});
    run({}, {"X05200001001020", "A", "Y000000", "A3035323030303031303031303230000002AB",
             pr(123456789012, 4, "SIR", 89000, "0100"), "A", "Y004096",
             "A313233343536373839303132045349520362"});  // the articles from 4096 on
}

TEST(RegisterModel, KeysReportsAndDisplay) {
    const std::string menu5 = "A015000000000000", zero = right("0.00"), done = "ZAVRSENO";
    const std::string e22 = "STAVITE PAPIR", snap = "PRESEK STANJA";
    const Frames snapshot = kMode5 + Frames{"m0187", "m0187", "m0187", "m0188", "m0188"};
    const Frames badDate = kMode5 + Frames{"m0187", "m0187", "m0188", "m0131", "m0188"};
    run({}, {"m018D", "A", "r", disp("X IZVESTAJI", zero), "m018D", "A", "m018D", "A", "m018D", "A",
             "n", menu5, "m018D", "A", "n", "A010000000000000"});
    run({}, {"m0137", "A", "m012C", "A", "m0135", "A", "m0180", "A", "r",
             disp("REGISTRACIJA", right("7,500")), "m0186", "A", "r", disp("REGISTRACIJA", zero)});
    run({}, {"m0130X", "R08", "m0230", "R08", "m017F", "R08", "m0199", "R08", "m01G0", "R08",
             "m0129", "R08"});
    run(kSold, {"m0188", "A", "r", disp("MEDJUZBIR", right("233.75"), "233.75")});
    run(snapshot, {"r", disp(snap, done), "m0188", "A", "r", disp(snap, done)});  // print wait
    run(kMode5 + periodic("010624", "150624"), {"r", disp("PERIODICNI IZV.", done)});
    run(kMode5 + periodic("150624", "150624"), {"r", disp("PERIODICNI IZV.", done)});
    run(kMode5 + periodic("320524", "150624"), {"r", disp("GR. 15", ""), "n", "A015015000000000"});
    run(kMode5 + periodic("290223", "010624"), {"r", disp("GR. 15", "")});
    run(kMode5 + periodic("010624", "160624"), {"r", disp("GR. 15", "")});  // after today
    run(kMode5 + periodic("100624", "010624"), {"r", disp("GR. 26", ""), "n", "A015026000000000"});
    // a subtotal after one digit of a date; a request leaves the error, "C" clears it
    run(badDate,
        {"n", "A015015000000000", "B00", kDept0, "n", "A015015000000000", "C", "A", "n", menu5});
    run(kMode5, {"n", "A010000000000000"}, ModelOptions{100, 0, true});  // the report lock
    run(snapshot,
        {"n", "A015100000000000", "r", disp("E 22", e22), "r", disp("E 22", e22), "r",
         disp(snap, done), "n", menu5},
        ModelOptions{100, 2, false});
    run(kClosed, {"x", "A", "r", disp("E 22", e22, "100.00")}, ModelOptions{100, 2, false});
}

// Whatever text comes in, the register answers with a valid status.
TEST(RegisterModel, RandomFramesGetAValidStatus) {
    RegisterModel m;
    std::mt19937 rng(5);
    static constexpr char kBytes[] = "PRSTFIRSTNEXTOLDQZXkmnrJCxpqfhgNDEBMUY0123456789 \0\310\377";
    for (int i = 0; i < 50000; ++i) {
        std::string text;
        for (int k = static_cast<int>(rng() % 60); k > 0; --k)
            text += kBytes[rng() % sizeof kBytes];
        const char status = m.execute(text).status;
        ASSERT_TRUE(status == 'A' || status == 'R' || status == 'E') << text;
    }
}

}  // namespace
