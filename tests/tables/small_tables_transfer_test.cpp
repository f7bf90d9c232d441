// Cashiers, currencies, VAT rates, units and article types on the line: frames, replies, the
// texts of the record loops, the reply that names no record, the Cyrillic flags.
#include "table_fixture.h"
#include "tables/currencies.h"
#include "tables/departments.h"
#include "tables/operators.h"
#include "tables/units_types.h"
#include "tables/vat_rates.h"

namespace qov::test {
namespace {

using namespace tables;

enum class Table { Departments, Operators, Currencies, Vat, Units, Types };

// What the cases use of a table: its procedures (VAT rates are not sent), its reply reader
// (not looked at for units and types), its Cyrillic flag (VAT rates have none), its first
// request and the head of a reply to it, its last record and highest position, the name of a
// record (the rate for VAT) and every field a receive fills, "|"-separated, where there are more.
struct TableOps {
    bool (*send)(TransferContext&);
    bool (*receive)(TransferContext&);
    StoredReply (*store)(SharedState&, const std::string&);
    CyrTable flag;
    std::string request, head;
    int last, top;
    std::string& (*name)(SharedState&, int);
    std::string (*held)(SharedState&, int);
};

const TableOps& Of(Table table) {
    static const TableOps ops[] = {
        {invia_rep, ricevi_rep, StoreDepartmentReply, CyrTable::Departments, "B00", "00", 10, 10,
         [](SharedState& s, int pos) -> std::string& {
             return s.DepartmentTable.at(pos).description;
         },
         nullptr},
        {invia_op, ricevi_op, StoreOperatorReply, CyrTable::Operators, "E00", "00", 31, 32,
         [](SharedState& s, int pos) -> std::string& { return s.OperatorTable.at(pos).name; },
         [](SharedState& s, int pos) {
             const OperatorRecord& r = s.OperatorTable.at(pos);
             return r.name + "|" + r.code + "|" + r.salesValue + "|" + r.receiptCount;
         }},
        {invia_val, ricevi_val, StoreCurrencyReply, CyrTable::Currencies, "M0", "0", 4, 4,
         [](SharedState& s, int pos) -> std::string& { return s.CurrencyTable.at(pos).name; },
         [](SharedState& s, int pos) {
             return s.CurrencyTable.at(pos).name + "|" + s.CurrencyTable.at(pos).rate;
         }},
        {nullptr, ricevi_Iva, StoreVatReply, CyrTable::Header /* unused */, "D00", "00", 9, 9,
         [](SharedState& s, int pos) -> std::string& { return s.VatTable.at(pos).rate; },
         [](SharedState& s, int pos) {
             return s.VatTable.at(pos).rate + "|" + s.VatTable.at(pos).salesTotal;
         }},
        {invia_units, ricevi_units, nullptr, CyrTable::Units, "QT1", "1", 5, 5,
         [](SharedState& s, int pos) -> std::string& { return s.UnitTable.at(pos).name; }, nullptr},
        {invia_tip, ricevi_tip, nullptr, CyrTable::ArticleTypes, "ZT1", "1", 8, 8,
         [](SharedState& s, int pos) -> std::string& { return s.ArticleTypeTable.at(pos).name; },
         nullptr},
    };
    return ops[static_cast<int>(table)];
}

std::string& NameOf(SharedState& s, Table table, int pos) {
    return Of(table).name(s, pos);
}

std::string Held(SharedState& s, Table table, int pos) {
    return Of(table).held != nullptr ? Of(table).held(s, pos) : NameOf(s, table, pos);
}

// --- Sending ------------------------------------------------------------------------------

// One record of a table sent alone: its frame ("" when skipped) and what was written back.
struct SendCase {
    const char* name;
    Table table;
    bool cyrillic;  // CyrillicMode and CyrillicLanguage
    int pos;
    std::string text, number;  // name; access code or rate
    std::string frame, stored;
    friend void PrintTo(const SendCase& c, std::ostream* os) { *os << c.name; }
};

class SmallTableFrame : public TableFixture, public ::testing::WithParamInterface<SendCase> {};

TEST_P(SmallTableFrame, IsSentWithItsFieldsWrittenBack) {
    const SendCase& c = GetParam();
    state.CyrillicMode = state.CyrillicLanguage = c.cyrillic;
    state.OperatorTable = {};
    state.CurrencyTable = {};
    state.UnitTable = {};
    state.ArticleTypeTable = {};
    NameOf(state, c.table, c.pos) = c.text;
    std::string* number = c.table == Table::Operators    ? &state.OperatorTable[c.pos].code
                          : c.table == Table::Currencies ? &state.CurrencyTable[c.pos].rate
                                                         : nullptr;
    if (number != nullptr) {
        *number = c.number;
    }
    EXPECT_TRUE(Of(c.table).send(ctx));
    EXPECT_EQ(link.textsOf("send_frame"),
              c.frame.empty() ? std::vector<std::string>{} : std::vector{c.frame});
    EXPECT_EQ(NameOf(state, c.table, c.pos) + (number != nullptr ? "|" + *number : ""), c.stored);
}

const std::string kNul(1, '\0');
const auto O = Table::Operators, U = Table::Currencies, Q = Table::Units, Z = Table::Types;

const SendCase kSends[] = {
    {"CashierCodeRightAlignedInFive", O, false, 1, "Ana", "12", "O00Ana            12",
     "Ana         |   12"},
    {"CashierLongNameCutInTheFrameOnly", O, false, 31, "Marko Markovic", "99999",
     "O30Marko Markov99999", "Marko Markovic|99999"},
    {"CashierWithABlankCodeIsNotSent", O, false, 4, "Ana", "  ", "", "Ana|  "},
    {"CashierNamePackedAndInRegisterCode", O, true, 2, "Njegos", "7",
     "O01" + Reg({170, 213, 211, 222, 225}) + "           7", "Wegos       |    7"},
    {"CashierFontNameUnpackedInLatinMode", O, false, 2, "Wegos", "7", "O01Njegos          7",
     "Njegos      |    7"},
    {"CurrencyRateWithItsPoint", U, false, 1, "EUR", "117.50000", "U0EUR         117.50000",
     "EUR         |117.50000"},
    {"CurrencyRateZeroFilledWithTheCommaAsHeld", U, false, 2, "KM", "59,9",
     "U1KM          0000059,9", "KM          |0000059,9"},
    {"CurrencyDefaultRate", U, false, 4, "USD", "0.000000", "U3USD         00.000000",
     "USD         |00.000000"},
    {"CurrencyWithABlankNameIsSkippedDespiteItsRate", U, false, 3, "   ", "1.5", "", "   |1.5"},
    {"CurrencyDefaultNameHeldInRegisterCode", U, true, 1,
     Reg({178, 176, 187, 195, 194, 176}) + " 1", "0.000000",
     "U0" + Reg({178, 176, 187, 195, 194, 176}) + " 1    00.000000",
     Reg({178, 176, 187, 195, 194, 176}) + " 1    |00.000000"},
    {"UnitOfOneLetterPaddedToThree", Q, false, 1, "l", "", "QR1l  ", "l"},
    {"UnitLongerThanThreeSentWhole", Q, false, 5, "paket", "", "QR5paket", "paket"},
    {"UnitBlankIsSkipped", Q, false, 2, "  ", "", "", "  "},
    {"UnitInRegisterCode", Q, true, 3, "kg", "", "QR3" + Reg({218, 211}) + " ", "kg"},
    {"UnitFontTextUnpackedInLatinMode", Q, false, 4, "q", "", "QR4lj ", "lj"},
    {"TypeOfFiveLettersNulThenSixBlanks", Z, false, 1, "Hleba", "", "ZR1Hleba" + kNul + "      ",
     "Hleba"},
    {"TypeOfExactlyTwelveWithoutNul", Z, false, 8, "Dvanaest zna", "", "ZR8Dvanaest zna",
     "Dvanaest zna"},
    {"TypeTrimmedBeforeTheNul", Z, false, 2, "  Sok  ", "", "ZR2Sok" + kNul + "        ",
     "  Sok  "},
    {"TypeLongerThanTwelveCut", Z, false, 3, "Trinaest znak", "", "ZR3Trinaest zna",
     "Trinaest znak"},
    {"TypeBlankIsSkipped", Z, false, 4, "   ", "", "", "   "},
    {"TypeFoldedWrittenBackAndInRegisterCode", Z, true, 5, "Njiva", "",
     "ZR5" + Reg({170, 216, 210, 208}) + kNul + "       ", "Wiva"},
};

INSTANTIATE_TEST_SUITE_P(Tables, SmallTableFrame, ::testing::ValuesIn(kSends),
                         [](const auto& info) { return std::string(info.param.name); });

// --- Receiving ----------------------------------------------------------------------------

// One reply among records that bring nothing: where it lands and what it leaves there.
struct ReplyCase {
    const char* name;
    Table table;
    std::string request, reply;
    int pos;
    std::string held;
    friend void PrintTo(const ReplyCase& c, std::ostream* os) { *os << c.name; }
};

class SmallTableReply : public TableFixture, public ::testing::WithParamInterface<ReplyCase> {};

TEST_P(SmallTableReply, IsStoredIntoItsRecord) {
    const ReplyCase& c = GetParam();
    link.defaultRequest = 0;
    // The requests before it bring nothing.
    const int number = std::stoi(c.request.substr(c.request.find_first_of("0123456789")));
    for (int n = c.table == Q || c.table == Z ? 1 : 0; n < number; ++n) {
        link.then(0);
    }
    link.replyTo(c.request, c.reply);
    EXPECT_TRUE(Of(c.table).receive(ctx));
    EXPECT_EQ(Held(state, c.table, c.pos), c.held);
    EXPECT_TRUE(dialogs.boxes.empty());
}

const auto V = Table::Vat;

const ReplyCase kReplies[] = {
    {"CashierSalesInHundredthsAndReceipts", O, "E04",
     "04Ana" + kNul + "junkjunk   1200000012345000042", 5, "Ana         |   12|123.45|42"},
    {"CashierShortReply", O, "E00", "00Ivan", 1, "Ivan        ||0|0"},
    {"CashierJunkInTheSalesFields", O, "E01", "01Petar           712x45678901abcdef", 2,
     "Petar       |    7|0.12|0"},
    {"CashierNumberSelectsTheRecord", O, "E00", "30Zadnji", 31, "Zadnji      ||0|0"},
    {"CurrencyNulEndedNameAndRateAsReceived", U, "M0", "0EUR" + kNul + "xxxxxxxx117,50000", 1,
     "EUR         |117,50000"},
    {"CurrencyNumberSelectsTheRecord", U, "M1", "3CHF         121.90000", 4,
     "CHF         |121.90000"},
    {"VatRateAtItsOwnPosition", V, "D05", "05200000000012345", 5, "2000|123.45"},
    {"VatPositionZero", V, "D00", "00000000000000000", 0, "0000|0"},
    {"VatNineIsThePositionAboveTheLast", V, "D08", "09180000000000010", 9, "1800|0.1"},
    {"UnitPaddedToThree", Q, "QT3", "3kg", 3, "kg "},
    {"UnitGoesWhereItWasRequested", Q, "QT1", "7m" + kNul + "x", 1, "m  "},
    {"TypeNulEndedAndPadded", Z, "ZT2", "2AKCIJA" + kNul + "junkjunk", 2, "AKCIJA      "},
    {"TypeCutToTwelve", Z, "ZT8", "8Dvanaest znakova", 8, "Dvanaest zna"},
};

INSTANTIATE_TEST_SUITE_P(Tables, SmallTableReply, ::testing::ValuesIn(kReplies),
                         [](const auto& info) { return std::string(info.param.name); });

// Which record a reply's number selects by the leading-number rule; -1: none, the table is given
// up and nothing stored. (The replies above and the transmit tests store more numbers.)
struct SelectCase {
    const char* name;
    Table table;
    std::string head;
    int pos;
    friend void PrintTo(const SelectCase& c, std::ostream* os) { *os << c.name; }
};

class ReplySelection : public TableFixture, public ::testing::WithParamInterface<SelectCase> {};

TEST_P(ReplySelection, SelectsTheRecordOrGivesUpTheTable) {
    const SelectCase& c = GetParam();
    const StoredReply stored = Of(c.table).store(state, c.head + "MARK");
    int found = -1;  // the highest position holding the reply
    for (int pos = 0; pos <= Of(c.table).top; ++pos) {
        found = NameOf(state, c.table, pos).starts_with("MARK") ? pos : found;
    }
    EXPECT_EQ(found, c.pos);
    EXPECT_EQ(stored.outcome, c.pos < 0 ? ReplyOutcome::GiveUp : ReplyOutcome::Stored);
}

const auto D = Table::Departments;

const SelectCase kSelections[] = {
    {"DepartmentJunkReadsAsZero", D, "x ", 1},
    {"DepartmentHalfRoundsToEven", D, ".5", 1},
    {"DepartmentTen", D, "9.", 10},
    {"DepartmentElevenGivesUp", D, "10", -1},
    {"DepartmentBelowTheFirstGivesUp", D, "-1", -1},
    {"CashierThirtyTwoGivesUp", O, "31", -1},
    {"CurrencyFiveGivesUp", U, "4", -1},
    {"CurrencyJunkReadsAsZero", U, "-", 1},
    {"VatTenGivesUp", V, "10", -1},
    {"VatNegativeGivesUp", V, "-1", -1},
};

INSTANTIATE_TEST_SUITE_P(Tables, ReplySelection, ::testing::ValuesIn(kSelections),
                         [](const auto& info) { return std::string(info.param.name); });

// A reply naming no record ends the table at once with false and no box; what came before it
// stays, and the table is not turned into font text.
struct GiveUpCase {
    const char* name;
    Table table;
    std::string first, firstReply, second, badReply, stored;
    friend void PrintTo(const GiveUpCase& c, std::ostream* os) { *os << c.name; }
};

class GiveUp : public TableFixture, public ::testing::WithParamInterface<GiveUpCase> {};

TEST_P(GiveUp, EndsTheTableWithoutABox) {
    const GiveUpCase& c = GetParam();
    link.defaultRequest = 0;
    link.replyTo(c.first, c.firstReply).replyTo(c.second, c.badReply);
    const int last = Of(c.table).last;
    NameOf(state, c.table, last) = Reg({193, 226});  // a VAT rate is no name: it stays anyway
    EXPECT_FALSE(Of(c.table).receive(ctx));
    EXPECT_EQ(link.textsOf("get_frame"), (std::vector{c.first, c.second}));
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(Held(state, c.table, c.table == V ? 0 : 1), c.stored);
    EXPECT_EQ(NameOf(state, c.table, last), Reg({193, 226}));
}

const GiveUpCase kGiveUps[] = {
    {"DepartmentEleven", D, "B00", "00" + Reg({191}), "B01", "10Deset", Reg({191}) + "           "},
    {"DepartmentZero", D, "B00", "00Hleb", "B01", "-1", "Hleb        "},
    {"CashierThirtyTwo", O, "E00", "00" + Reg({191}), "E01", "31Van",
     Reg({191}) + "           ||0|0"},
    {"CurrencyFive", U, "M0", "0EUR", "M1", "4XXX", "EUR         |"},
    {"VatTen", V, "D00", "001800", "D01", "10", "1800|0"},
};

INSTANTIATE_TEST_SUITE_P(Tables, GiveUp, ::testing::ValuesIn(kGiveUps),
                         [](const auto& info) { return std::string(info.param.name); });

// --- The texts and requests of each table -------------------------------------------------

struct TextsCase {
    const char* name;
    Table table;
    bool sends;
    std::string refusal, brokenTitle, notDelivered, requests;
    friend void PrintTo(const TextsCase& c, std::ostream* os) { *os << c.name; }
};

class LoopTexts : public TableFixture, public ::testing::WithParamInterface<TextsCase> {};

TEST_P(LoopTexts, RefusalBreakNotDeliveredAndRequests) {
    const TextsCase& c = GetParam();
    state.CurrencyTable[1] = {"1.0", "EUR"};
    const std::string retry = " [Retry/Cancel]";
    if (c.sends) {
        link.then(1).then(2);
        dialogs.answers = {Answer::Cancel};
        EXPECT_FALSE(Of(c.table).send(ctx));
        EXPECT_FALSE(Of(c.table).send(ctx));
        EXPECT_EQ(shown(),
                  (std::vector{"Arvon Cash Registers: " + c.refusal + retry,
                               c.brokenTitle + ": Komunikacija je prekinuta! <exclamation>"}));
        dialogs.clear();
    }
    link.then(-4);
    dialogs.answers = {Answer::Cancel};
    EXPECT_FALSE(Of(c.table).receive(ctx));
    EXPECT_EQ(shown(), std::vector{"Arvon Cash Registers: " + c.notDelivered + retry});

    link.calls.clear();
    link.defaultRequest = 0;
    EXPECT_TRUE(Of(c.table).receive(ctx));
    std::string requests;
    for (const std::string& r : link.textsOf("get_frame")) {
        requests += r + " ";
    }
    EXPECT_EQ(requests, c.requests);
}

std::string Requests(const std::string& prefix, int first, int last, int digits) {
    std::string all;
    for (int n = first; n <= last; ++n) {
        const std::string number = std::to_string(n);
        all += prefix + std::string(digits - number.size(), '0') + number + " ";
    }
    return all;
}

const TextsCase kTexts[] = {
    {"Cashiers", O, true, " Operater 00 nije primjen u kasu!\n", "Arvon CAsh Registers",
     " Kasir 1 nije primljen iz kase!\n", Requests("E", 0, 30, 2)},
    {"Currencies", U, true, " Valuta 0 nije primljen u kasu!\n", "Arvon CAsh Registers",
     " Valuta 0 nije primljena iz kase!\n", Requests("M", 0, 3, 1)},
    {"Vat", V, false, "", "", " Stopa 00 nije primljena iz kase!\n", Requests("D", 0, 8, 2)},
    {"Units", Q, true, " Jedinica 1 nije primljena u kasu!\n", "Arvon Cash Registers",
     " Jedinica 1 nije primljena iz kase!\n", Requests("QT", 1, 5, 1)},
    {"Types", Z, true, " Tip 1 nije primljen u kasu!\n", "Arvon CAsh Registers",
     " Tip 1 nije primljen iz kase!\n", Requests("ZT", 1, 8, 1)},
};

INSTANTIATE_TEST_SUITE_P(Tables, LoopTexts, ::testing::ValuesIn(kTexts),
                         [](const auto& info) { return std::string(info.param.name); });

// --- The Cyrillic flags -------------------------------------------------------------------

// A received name and the flag before the run: the flag after it, the name stored, and a
// record in register code that no reply touched (font text when the flag ends set).
struct FlagCase {
    const char* name;
    Table table;
    bool before;
    std::string received;
    bool after;
    std::string stored, untouched;
    friend void PrintTo(const FlagCase& c, std::ostream* os) { *os << c.name; }
};

class CyrillicFlag : public TableFixture, public ::testing::WithParamInterface<FlagCase> {};

TEST_P(CyrillicFlag, ClearedSetAndTheWholeTableInFontText) {
    const FlagCase& c = GetParam();
    const TableOps& t = Of(c.table);
    state.tableCyrillic(t.flag) = c.before;
    NameOf(state, c.table, t.last) = Reg({193, 226});
    link.defaultRequest = 0;
    link.replyTo(t.request, t.head + c.received);
    EXPECT_TRUE(t.receive(ctx));
    EXPECT_EQ(state.tableCyrillic(t.flag), c.after);
    EXPECT_EQ(NameOf(state, c.table, 1) + "|" + NameOf(state, c.table, t.last),
              c.stored + "|" + c.untouched);
}

const std::string kSt = Reg({193, 226});

const FlagCase kFlags[] = {
    {"CashiersKeepTheirFlag", O, true, "Ana", true, "Ana         ", "St"},
    {"CashiersLatinLeavesItOff", O, false, "Ana", false, "Ana         ", kSt},
    {"CashiersRegisterName", O, false, Reg({191, 184, 171, 181}), true, "PI]E        ", "St"},
    {"CurrenciesClearTheirs", U, true, "EUR", false, "EUR         ", kSt},
    {"CurrenciesBlankName", U, false, "            1.0", true, "            ", "St"},
    {"UnitsClearTheirs", Q, true, "kg", false, "kg ", kSt},
    {"UnitsRegisterName", Q, false, Reg({218, 211}), true, "kg ", "St"},
    {"TypesDigitsOnly", Z, false, "123", true, "123         ", "St"},
    {"TypesClearTheirs", Z, true, "Usluga", false, "Usluga      ", kSt},
};

INSTANTIATE_TEST_SUITE_P(Tables, CyrillicFlag, ::testing::ValuesIn(kFlags),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qov::test
