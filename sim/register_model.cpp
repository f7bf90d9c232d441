#include "register_model.h"

#include "byte_fields.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>

namespace qov::sim {

namespace {

// A field of blanks followed by at least one digit (a right-aligned number).
bool blankDigits(std::string_view s, long long& value) {
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    if (!allDigits(s.substr(i)))
        return false;
    value = number(s.substr(i));
    return true;
}

// A rate: digits with at most one decimal separator ("." or ",").
bool isRate(std::string_view s) {
    int separators = 0, digits = 0;
    for (char c : s) {
        if (c == '.' || c == ',')
            ++separators;
        else if (isDigit(c))
            ++digits;
        else
            return false;
    }
    return separators <= 1 && digits > 0;
}

// Money as the display shows it: 1234 -> "12.34".
std::string money(long long hundredths) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%lld.%02lld", hundredths / 100, hundredths % 100);
    return buf;
}

std::string rightAligned(std::string_view s, std::size_t width) {
    if (s.size() >= width)
        return std::string(s.substr(s.size() - width));
    return std::string(width - s.size(), ' ') + std::string(s);
}

bool validDate(const Date& d) {
    static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (d.month < 1 || d.month > 12 || d.day < 1)
        return false;
    const bool leap = (d.year % 4 == 0 && d.year % 100 != 0) || d.year % 400 == 0;
    const int days = (d.month == 2 && !leap) ? 28 : kDays[d.month - 1];
    return d.day <= days;
}

Date systemToday() {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    return Date{tm.tm_mday, tm.tm_mon + 1, tm.tm_year + 1900};
}

}  // namespace

Memory::Memory() {
    for (int i = 0; i < kDepartments; ++i)
        departments[i].name = padded("ODELJENJE " + std::to_string(i + 1), 12);
    for (int i = 0; i < kCashiers; ++i) {
        cashiers[i].name = padded("KASIR " + std::to_string(i + 1), 12);
        cashiers[i].code = rightAligned(std::to_string(i + 1), 5);
    }
    for (int i = 0; i < kCurrencies; ++i)
        currencies[i].name = padded("VALUTA " + std::to_string(i + 1), 12);
    static constexpr const char* kUnitNames[kUnits] = {"kom", "kg ", "l  ", "m  ", "g  "};
    for (int i = 0; i < kUnits; ++i)
        units[i] = kUnitNames[i];
    for (int i = 0; i < kArticleTypes; ++i)
        types[i] = padded("TIP " + std::to_string(i + 1), 12);
    for (auto& line : header)
        line = std::string(32, ' ');
    for (auto& line : advert)
        line = std::string(32, ' ');
    for (auto& line : message)
        line = std::string(32, ' ');
}

RegisterModel::RegisterModel(ModelOptions options)
    : options_(options), dailyDue_(options.dailyDue), today_(systemToday) {
    showMenu();
}

void RegisterModel::setClock(std::function<Date()> today) {
    today_ = today ? std::move(today) : std::function<Date()>(systemToday);
}

bool RegisterModel::takeChanged() {
    const bool was = changed_;
    changed_ = false;
    return was;
}

int RegisterModel::workingState() const {
    if (!receipt_.open)
        return 0;
    return receipt_.paying ? 2 : 1;
}

Reply RegisterModel::refuse(int code) {
    lastError_ = code;
    return Reply{'R', {}, false};
}

Reply RegisterModel::missing(int code) {
    lastError_ = code;
    return Reply{'E', {}, false};
}

Reply RegisterModel::done(std::string text) {
    return Reply{'A', std::move(text), false};
}

Reply RegisterModel::storeGuard() {
    if (receipt_.open)
        return refuse(kErrInReceipt);
    return done();
}

Reply RegisterModel::execute(std::string_view f) {
    if (f.empty())
        return refuse(kErrBadFunction);
    const auto exact = [&](std::string_view text, Reply (RegisterModel::*fn)()) {
        return f == text ? (this->*fn)() : refuse(kErrWrongValue);
    };
    switch (f[0]) {
        case 'R':
            return department(f);
        case 'B':
            return departmentRequest(f);
        case 'O':
            return cashier(f);
        case 'E':
            return cashierRequest(f);
        case 'U':
            return currency(f);
        case 'M':
            return currencyRequest(f);
        case 'D':
            return vatRequest(f);
        case 'Q':
            if (f.starts_with("QR"))
                return unit(f);
            if (f.starts_with("QT"))
                return unitRequest(f);
            return refuse(kErrBadFunction);
        case 'Z':
            if (f.starts_with("ZR"))
                return articleType(f);
            if (f.starts_with("ZT"))
                return articleTypeRequest(f);
            return refuse(kErrBadFunction);
        case 'X':
            return system(f);
        case 'L':
            if (f.size() != 1)
                return refuse(kErrWrongValue);
            return done(memory_.system);
        case 'S':
            return printLine(f, memory_.header);
        case 'A':
            return printLine(f, memory_.advert);
        case 'k':
            return message(f);
        case 'P':
            return articleFrame(f);
        case 'n':
            return exact("n", &RegisterModel::status);
        case 'r':
            return exact("r", &RegisterModel::display);
        case 'J':
            return exact("J", &RegisterModel::identity);
        case 'C':
            if (f.size() != 1)
                return refuse(kErrWrongValue);
            lastError_ = kErrNone;
            return done();
        case 'm':
            return key(f);
        case 'x':
            return exact("x", &RegisterModel::dailyReport);
        case 'p':
            return exact("p", &RegisterModel::openReceipt);
        case 'q':
            return exact("q", &RegisterModel::endReceipt);
        case 'f':
        case 'h':
        case 'g':
            return payment(f);
        case 'N':
            return logo(f);
        case 'F':
            return memoryBlock(f, true);
        case 'Y':
            return memoryBlock(f, false);
        default:
            return refuse(kErrBadFunction);
    }
}

// ---- small tables ------------------------------------------------------------------------

Reply RegisterModel::department(std::string_view f) {
    if (f.size() != 23 || !allDigits(f.substr(1, 2)) || !allDigits(f.substr(15, 8)))
        return refuse(kErrWrongValue);
    const long long n = number(f.substr(1, 2));
    if (n >= kDepartments)
        return refuse(kErrWrongValue);
    if (Reply r = storeGuard(); r.status != 'A')
        return r;
    Department& d = memory_.departments[static_cast<std::size_t>(n)];
    d.name = std::string(f.substr(3, 12));
    d.maxPrice = number(f.substr(15, 8));
    touch();
    return done();
}

Reply RegisterModel::departmentRequest(std::string_view f) {
    if (f.size() != 3 || !allDigits(f.substr(1)))
        return refuse(kErrWrongValue);
    const long long n = number(f.substr(1));
    if (n >= kDepartments)
        return missing(kErrWrongValue);
    const Department& d = memory_.departments[static_cast<std::size_t>(n)];
    return done(zeroFilled(n, 2) + d.name + zeroFilled(d.maxPrice, 8) + zeroFilled(d.sales, 11) +
                zeroFilled(d.quantity, 9));
}

Reply RegisterModel::cashier(std::string_view f) {
    long long code = 0;
    if (f.size() != 20 || !allDigits(f.substr(1, 2)) || !blankDigits(f.substr(15, 5), code))
        return refuse(kErrWrongValue);
    const long long n = number(f.substr(1, 2));
    if (n >= kCashiers)
        return refuse(kErrWrongValue);
    if (Reply r = storeGuard(); r.status != 'A')
        return r;
    Cashier& c = memory_.cashiers[static_cast<std::size_t>(n)];
    c.name = std::string(f.substr(3, 12));
    c.code = std::string(f.substr(15, 5));
    touch();
    return done();
}

Reply RegisterModel::cashierRequest(std::string_view f) {
    if (f.size() != 3 || !allDigits(f.substr(1)))
        return refuse(kErrWrongValue);
    const long long n = number(f.substr(1));
    if (n >= kCashiers)
        return missing(kErrWrongValue);
    const Cashier& c = memory_.cashiers[static_cast<std::size_t>(n)];
    return done(zeroFilled(n, 2) + c.name + c.code + zeroFilled(c.sales, 11) +
                zeroFilled(c.receipts, 6));
}

Reply RegisterModel::currency(std::string_view f) {
    if (f.size() != 23 || !isDigit(f[1]) || !isRate(f.substr(14, 9)))
        return refuse(kErrWrongValue);
    const int n = f[1] - '0';
    if (n >= kCurrencies)
        return refuse(kErrWrongValue);
    if (Reply r = storeGuard(); r.status != 'A')
        return r;
    Currency& c = memory_.currencies[static_cast<std::size_t>(n)];
    c.name = std::string(f.substr(2, 12));
    c.rate = std::string(f.substr(14, 9));
    touch();
    return done();
}

Reply RegisterModel::currencyRequest(std::string_view f) {
    if (f.size() != 2 || !isDigit(f[1]))
        return refuse(kErrWrongValue);
    const int n = f[1] - '0';
    if (n >= kCurrencies)
        return missing(kErrWrongValue);
    const Currency& c = memory_.currencies[static_cast<std::size_t>(n)];
    return done(std::string(1, f[1]) + c.name + c.rate);
}

Reply RegisterModel::vatRequest(std::string_view f) {
    if (f.size() != 3 || !allDigits(f.substr(1)))
        return refuse(kErrWrongValue);
    const long long n = number(f.substr(1));
    if (n >= kVatRates)
        return missing(kErrWrongValue);
    const VatRate& v = memory_.vatRates[static_cast<std::size_t>(n)];
    return done(zeroFilled(n, 2) + v.rate + zeroFilled(v.sales, 11));
}

Reply RegisterModel::unit(std::string_view f) {
    // The reply carries three characters, so a longer name is refused rather than cut.
    if (f.size() != 6 || f[2] < '1' || f[2] > '0' + kUnits)
        return refuse(kErrWrongValue);
    if (Reply r = storeGuard(); r.status != 'A')
        return r;
    memory_.units[static_cast<std::size_t>(f[2] - '1')] = std::string(f.substr(3, 3));
    touch();
    return done();
}

Reply RegisterModel::unitRequest(std::string_view f) {
    if (f.size() != 3 || !isDigit(f[2]))
        return refuse(kErrWrongValue);
    if (f[2] < '1' || f[2] > '0' + kUnits)
        return missing(kErrWrongValue);
    return done(std::string(1, f[2]) + memory_.units[static_cast<std::size_t>(f[2] - '1')]);
}

Reply RegisterModel::articleType(std::string_view f) {
    if (f.size() != 15 || f[2] < '1' || f[2] > '0' + kArticleTypes)
        return refuse(kErrWrongValue);
    if (Reply r = storeGuard(); r.status != 'A')
        return r;
    memory_.types[static_cast<std::size_t>(f[2] - '1')] = std::string(f.substr(3, 12));
    touch();
    return done();
}

Reply RegisterModel::articleTypeRequest(std::string_view f) {
    if (f.size() != 3 || !isDigit(f[2]))
        return refuse(kErrWrongValue);
    if (f[2] < '1' || f[2] > '0' + kArticleTypes)
        return missing(kErrWrongValue);
    return done(std::string(1, f[2]) + memory_.types[static_cast<std::size_t>(f[2] - '1')]);
}

Reply RegisterModel::system(std::string_view f) {
    // X CC P 0000 G1 G2 0 OB SI SP TM
    if (f.size() != 15 || !allDigits(f.substr(1)))
        return refuse(kErrWrongValue);
    const auto in = [&](std::size_t i, char lo, char hi) { return f[i] >= lo && f[i] <= hi; };
    if (!in(3, '0', '3') || !in(8, '0', '3') || !in(9, '0', '3') || !in(11, '0', '1') ||
        !in(12, '0', '1') || !in(13, '1', '4') || !in(14, '0', '1'))
        return refuse(kErrWrongValue);
    if (Reply r = storeGuard(); r.status != 'A')
        return r;
    memory_.system = std::string(f.substr(1));
    touch();
    return done();
}

Reply RegisterModel::printLine(std::string_view f, std::array<std::string, kPrintLines>& lines) {
    // Letter, line digit, at least 32 characters of text (bold text is longer), NUL.
    if (f.size() < 35 || f.size() > 2 + 64 + 1 || f.back() != '\0' || f[1] < '0' ||
        f[1] >= '0' + kPrintLines)
        return refuse(kErrWrongValue);
    if (Reply r = storeGuard(); r.status != 'A')
        return r;
    lines[static_cast<std::size_t>(f[1] - '0')] = std::string(f.substr(2, f.size() - 3));
    touch();
    return done();
}

Reply RegisterModel::message(std::string_view f) {
    if (f.size() != 97)
        return refuse(kErrWrongValue);
    for (std::size_t i = 0; i < 3; ++i)
        memory_.message[i] = std::string(f.substr(1 + 32 * i, 32));
    touch();
    return done();
}

// ---- articles ----------------------------------------------------------------------------

Reply RegisterModel::articleFrame(std::string_view f) {
    if (f.starts_with("PR"))
        return articleProgram(f);
    if (f.starts_with("PQ"))
        return articleStock(f);
    if (f.starts_with("PD"))
        return articleDelete(f);
    if (f == "PE")
        return articleClearSales();
    if (f.starts_with("PS"))
        return sale(f);
    if (f == "PTFIRST" || f == "PTNEXT" || f == "PTSOLD")
        return articleWalk(f);
    return refuse(kErrBadFunction);
}

Reply RegisterModel::articleProgram(std::string_view f) {
    // PR code(12) dept(2) name(28) price(8) single vat unit type: 56 characters. A unit index
    // of two digits makes the frame longer; the article reply carries one digit, so it is
    // refused like any other wrong length.
    if (f.size() != 56)
        return refuse(kErrWrongValue);
    const std::string_view code = f.substr(2, 12);
    if (!allDigits(code) || number(code) == 0 || !allDigits(f.substr(14, 2)) ||
        !allDigits(f.substr(44, 8)) || !allDigits(f.substr(52, 4)))
        return refuse(kErrWrongValue);
    const long long dept = number(f.substr(14, 2));
    if (dept >= kDepartments || f[52] > '1' || f[53] > '0' + (kVatRates - 1) ||
        f[55] > '0' + (kArticleTypes - 1))
        return refuse(kErrWrongValue);
    if (Reply r = storeGuard(); r.status != 'A')
        return r;
    auto it = memory_.articles.find(std::string(code));
    if (it == memory_.articles.end()) {
        if (static_cast<int>(memory_.articles.size()) >= options_.pluCapacity)
            return refuse(kErrArticlesFull);
        it = memory_.articles.emplace(std::string(code), Article{}).first;
        it->second.code = std::string(code);
    }
    Article& a = it->second;
    a.department = static_cast<int>(dept);
    a.name = std::string(f.substr(16, 28));
    a.price = number(f.substr(44, 8));
    a.single = f[52] - '0';
    a.vat = f[53] - '0';
    a.unit = f[54] - '0';
    a.type = f[55] - '0';
    touch();
    return done();
}

Reply RegisterModel::articleStock(std::string_view f) {
    // PQ code(as stored, 1-12 digits) stock(9 digits, thousandths)
    if (f.size() < 12 || f.size() > 23)
        return refuse(kErrWrongValue);
    const std::string_view code = f.substr(2, f.size() - 11);
    const std::string_view stock = f.substr(f.size() - 9);
    if (!allDigits(code) || !allDigits(stock))
        return refuse(kErrWrongValue);
    if (Reply r = storeGuard(); r.status != 'A')
        return r;
    const std::string key = std::string(12 - code.size(), '0') + std::string(code);
    auto it = memory_.articles.find(key);
    if (it == memory_.articles.end())
        return refuse(kErrNoArticle);
    it->second.stock = number(stock);
    touch();
    return done();
}

Reply RegisterModel::articleDelete(std::string_view f) {
    if (f.size() != 14 || !allDigits(f.substr(2)))
        return refuse(kErrWrongValue);
    if (Reply r = storeGuard(); r.status != 'A')
        return r;
    if (dailyDue_)
        return refuse(kErrNotNow);
    auto it = memory_.articles.find(std::string(f.substr(2)));
    if (it == memory_.articles.end())
        return refuse(kErrNoArticle);
    if (it->second.sales != 0 || it->second.quantity != 0)
        return refuse(kErrClearArticles);
    memory_.articles.erase(it);
    touch();
    return done();
}

Reply RegisterModel::articleClearSales() {
    if (receipt_.open)
        return refuse(kErrInReceipt);
    for (auto& [code, a] : memory_.articles) {
        a.sales = 0;
        a.quantity = 0;
    }
    touch();
    Reply r = done();
    r.slow = true;
    return r;
}

std::string RegisterModel::articleReply(const Article& a) const {
    std::string out;
    out.reserve(83);
    out += a.code;
    out += zeroFilled(a.department, 2);
    out += a.name;
    out += zeroFilled(a.price, 8);
    out += static_cast<char>('0' + a.single);
    out += static_cast<char>('0' + a.vat);
    out += static_cast<char>('0' + a.unit);
    out += static_cast<char>('0' + a.type);
    out += zeroFilled(a.sales, 11);
    out += zeroFilled(a.quantity, 9);
    out += zeroFilled(a.stock, 9);
    return out;
}

Reply RegisterModel::articleWalk(std::string_view f) {
    const auto& articles = memory_.articles;
    const bool sold = f == "PTSOLD";
    auto it = articles.begin();
    if (f != "PTFIRST" && cursorValid_)
        it = articles.upper_bound(cursor_);
    if (sold) {
        while (it != articles.end() && it->second.sales == 0 && it->second.quantity == 0)
            ++it;
    }
    Reply r;
    if (it == articles.end()) {
        if (f == "PTFIRST")
            cursorValid_ = false;
        r = done();
    } else {
        cursor_ = it->first;
        cursorValid_ = true;
        r = done(articleReply(it->second));
    }
    r.slow = sold;
    return r;
}

// ---- receipts ----------------------------------------------------------------------------

Reply RegisterModel::openReceipt() {
    if (receipt_.open)
        return refuse(kErrCloseReceipt);
    receipt_ = Receipt{};
    receipt_.open = true;
    setDisplay("RACUN", money(0));
    customer_ = money(0);
    return done();
}

Reply RegisterModel::endReceipt() {
    if (!receipt_.open)
        return done();
    if (receipt_.lines > 0)
        return refuse(kErrCloseReceipt);
    receipt_ = Receipt{};  // an empty receipt is dropped
    showMenu();
    return done();
}

Reply RegisterModel::sale(std::string_view f) {
    // PS 1 0 code(12) cashier(2) 123456789123 0 0 1 1 quantity(9) 00000000: 51 characters.
    if (f.size() != 51 || !allDigits(f.substr(4, 12)) || !allDigits(f.substr(16, 2)) ||
        !allDigits(f.substr(34, 9)))
        return refuse(kErrWrongValue);
    if (!receipt_.open || receipt_.paying)
        return refuse(kErrNotNow);
    const long long cashier = number(f.substr(16, 2));
    if (cashier >= kCashiers)
        return refuse(kErrBadCashier);
    auto it = memory_.articles.find(std::string(f.substr(4, 12)));
    if (it == memory_.articles.end())
        return refuse(kErrNoArticle);
    Article& a = it->second;
    const long long qty = number(f.substr(34, 9));
    if (qty == 0)
        return refuse(kErrZeroValue);
    if (a.stock < qty)
        return refuse(kErrStock);
    const Department& dept = memory_.departments[static_cast<std::size_t>(a.department)];
    if (dept.maxPrice > 0 && a.price > dept.maxPrice)
        return refuse(kErrMaxAmount);
    const long long amount = (a.price * qty + 500) / 1000;  // price <= 99999999, qty < 10^9
    if (receipt_.due + amount > 99999999999LL)
        return refuse(kErrMaxAmount);

    a.stock -= qty;
    a.sales += amount;
    a.quantity += qty;
    Department& d = memory_.departments[static_cast<std::size_t>(a.department)];
    d.sales += amount;
    d.quantity += qty;
    memory_.vatRates[static_cast<std::size_t>(a.vat)].sales += amount;
    memory_.cashiers[static_cast<std::size_t>(cashier)].sales += amount;
    receipt_.cashier = static_cast<int>(cashier);
    receipt_.due += amount;
    ++receipt_.lines;
    touch();
    setDisplay(a.name.substr(0, 16), rightAligned(money(amount), 16));
    customer_ = money(receipt_.due);
    return done();
}

Reply RegisterModel::payment(std::string_view f) {
    // f/h/g 1 0 amount(11 digits, hundredths)
    if (f.size() != 14 || !allDigits(f.substr(1)))
        return refuse(kErrWrongValue);
    if (!receipt_.open)
        return refuse(kErrReceiptClosed);
    if (receipt_.due == 0)
        return refuse(kErrNoAmount);
    const long long amount = number(f.substr(3));
    const long long rest = receipt_.due - receipt_.paid;
    if (f[0] == 'g') {
        // Cash: 0 pays the rest; more than the rest gives change.
        const long long given = amount == 0 ? rest : amount;
        receipt_.paid += given;
        receipt_.paying = true;
        if (receipt_.paid >= receipt_.due) {
            const long long change = receipt_.paid - receipt_.due;
            closeReceipt();
            setDisplay("KUSUR", rightAligned(money(change), 16));
            customer_ = money(change);
        } else {
            setDisplay("OSTATAK", rightAligned(money(receipt_.due - receipt_.paid), 16));
        }
        return done();
    }
    // Cheque and card never exceed what is due.
    if (amount == 0)
        return refuse(kErrNoAmount);
    if (amount > rest)
        return refuse(kErrTooLarge);
    receipt_.paid += amount;
    receipt_.paying = true;
    if (receipt_.paid == receipt_.due) {
        closeReceipt();
        setDisplay("RACUN ZAVRSEN", rightAligned(money(0), 16));
    } else {
        setDisplay("OSTATAK", rightAligned(money(receipt_.due - receipt_.paid), 16));
    }
    return done();
}

void RegisterModel::closeReceipt() {
    ++memory_.cashiers[static_cast<std::size_t>(receipt_.cashier)].receipts;
    ++memory_.receiptsSinceDaily;
    memory_.salesSinceDaily += receipt_.due;
    receipt_ = Receipt{};
    touch();
}

// ---- reports and keys --------------------------------------------------------------------

Reply RegisterModel::dailyReport() {
    if (receipt_.open)
        return refuse(kErrCloseReceipt);
    // Block 0 of the fiscal memory is its header; every daily record takes one block.
    if (static_cast<int>(memory_.dailyRecords.size()) + 1 >= kFiscalBlocks)
        return refuse(kErrDailyFull);
    DailyRecord rec;
    rec.number = static_cast<int>(memory_.dailyRecords.size()) + 1;
    rec.date = today();
    rec.total = memory_.salesSinceDaily;
    rec.receipts = memory_.receiptsSinceDaily;
    memory_.dailyRecords.push_back(rec);
    for (auto& d : memory_.departments)
        d.sales = d.quantity = 0;
    for (auto& v : memory_.vatRates)
        v.sales = 0;
    for (auto& c : memory_.cashiers)
        c.sales = c.receipts = 0;
    memory_.receiptsSinceDaily = 0;
    memory_.salesSinceDaily = 0;
    dailyDue_ = false;
    touch();
    reportPrinted("DNEVNI IZVESTAJ");
    return done();
}

void RegisterModel::reportPrinted(std::string_view title) {
    setDisplay(title, "ZAVRSENO");
    paperOutLeft_ = options_.paperOut;
}

void RegisterModel::setDisplay(std::string_view line1, std::string_view line2) {
    line1_ = std::string(line1.substr(0, 16));
    line2_ = std::string(line2.substr(0, 16));
}

void RegisterModel::showMenu() {
    static constexpr const char* kNames[] = {"REGISTRACIJA", "REGISTRACIJA",  "X IZVESTAJI",
                                             "Z IZVESTAJI",  "PROGRAMIRANJE", "IZVESTAJI"};
    entry_.clear();
    setDisplay(kNames[menu_], rightAligned(money(0), 16));
    customer_ = "DOBRODOSLI";
}

Reply RegisterModel::key(std::string_view f) {
    if (f.size() != 5 || f.substr(1, 2) != "01")
        return refuse(kErrWrongValue);
    const std::string code(f.substr(3, 2));
    const auto hex = [](char c) {
        return isDigit(c) ? c - '0' : (c >= 'A' && c <= 'F') ? c - 'A' + 10 : -1;
    };
    const int hi = hex(code[0]), lo = hex(code[1]);
    if (hi < 0 || lo < 0)
        return refuse(kErrWrongValue);
    const int value = hi * 16 + lo;
    const bool known =
        (value >= 0x30 && value <= 0x39) || value == 0x2C || (value >= 0x80 && value <= 0x98);
    if (!known)
        return refuse(kErrWrongValue);

    if (value == 0x8D) {  // mode key: rest, 2, 3, 4, 5 (unless locked), rest
        if (receipt_.open)
            return refuse(kErrCloseReceipt);
        if (menu_ == 0)
            menu_ = 2;
        else if (menu_ == 4 && options_.reportLock)
            menu_ = 0;
        else if (menu_ >= 5)
            menu_ = 0;
        else
            ++menu_;
        keyState_ = KeyState::Idle;
        totals_ = 0;
        showMenu();
        return done();
    }
    if (menu_ == 5) {
        keyInReportPosition(code);
        return done();
    }
    if ((value >= 0x30 && value <= 0x39) || value == 0x2C || value == 0x80) {
        const std::string typed = value == 0x80 ? "00" : value == 0x2C ? "," : code.substr(1);
        if (entry_.size() + typed.size() <= 16)
            entry_ += typed;
        line2_ = rightAligned(entry_, 16);
    } else if (value == 0x86) {  // clear
        showMenu();
    } else if (value == 0x88 && receipt_.open) {  // subtotal
        setDisplay("MEDJUZBIR", rightAligned(money(receipt_.due), 16));
        entry_.clear();
    } else {
        entry_.clear();
        line2_ = rightAligned(money(0), 16);
    }
    return done();
}

void RegisterModel::keyInReportPosition(const std::string& code) {
    const bool digit = code[0] == '3';
    switch (keyState_) {
        case KeyState::Idle:
            if (code == "87") {
                totals_ = std::min(totals_ + 1, 9);
            } else if (code == "88") {
                if (totals_ == 3) {
                    keyState_ = KeyState::Snapshot;
                    setDisplay("PRESEK STANJA", "");
                } else if (totals_ == 2) {
                    keyState_ = KeyState::PeriodStart;
                    dateDigits_.clear();
                    setDisplay("OD DATUMA", "");
                }
                totals_ = 0;
            } else if (code == "86") {
                totals_ = 0;
                showMenu();
            } else {
                totals_ = 0;
            }
            return;
        case KeyState::Snapshot:
            keyState_ = KeyState::Idle;
            if (code == "88")
                reportPrinted("PRESEK STANJA");
            else
                showMenu();
            return;
        case KeyState::PeriodStart:
        case KeyState::PeriodEnd:
            if (digit) {
                if (dateDigits_.size() < 6)
                    dateDigits_ += code[1];
                std::string shown = dateDigits_;
                if (shown.size() > 4)
                    shown.insert(4, ".");
                if (shown.size() > 2)
                    shown.insert(2, ".");
                line2_ = shown;
                return;
            }
            if (code == "88") {
                if (dateDigits_.size() == 2 || dateDigits_.size() == 4)
                    return;  // the point between day, month and year
                if (dateDigits_.size() == 6) {
                    if (keyState_ == KeyState::PeriodStart) {
                        periodStart_ = dateDigits_;
                        dateDigits_.clear();
                        keyState_ = KeyState::PeriodEnd;
                        setDisplay("DO DATUMA", "");
                    } else {
                        finishPeriod();
                    }
                    return;
                }
                keyState_ = KeyState::Idle;
                lastError_ = kErrBadTime;
                setDisplay("GR. 15", "");
                return;
            }
            keyState_ = KeyState::Idle;
            showMenu();
            return;
    }
}

void RegisterModel::finishPeriod() {
    keyState_ = KeyState::Idle;
    const auto parse = [](const std::string& d) {
        return Date{(d[0] - '0') * 10 + (d[1] - '0'), (d[2] - '0') * 10 + (d[3] - '0'),
                    2000 + (d[4] - '0') * 10 + (d[5] - '0')};
    };
    const Date from = parse(periodStart_), to = parse(dateDigits_);
    int error = 0;
    if (!validDate(from) || !validDate(to) || to > today())
        error = kErrBadTime;
    else if (from > to)
        error = kErrDateBefore;
    if (error != 0) {
        lastError_ = error;
        setDisplay("GR. " + zeroFilled(error, 2), "");
        return;
    }
    reportPrinted("PERIODICNI IZV.");
}

// ---- requests ----------------------------------------------------------------------------

Reply RegisterModel::status() {
    std::string s;
    s.reserve(15);
    s += memory_.system.substr(0, 2);                       // 1-2 register number
    s += static_cast<char>('0' + menu_);                    // 3 menu position
    s += paperOutLeft_ > 0 ? '1' : '0';                     // 4 paper missing
    s += zeroFilled(lastError_, 2);                         // 5-6 last error
    s += static_cast<char>('0' + workingState());           // 7 working state
    s += zeroFilled(memory_.receiptsSinceDaily % 1000, 3);  // 8-10 receipts since daily
    s += zeroFilled(static_cast<long long>(memory_.articles.size()), 5);  // 11-15 articles
    return done(std::move(s));
}

std::string RegisterModel::displayText() const {
    return padded(line1_, 16) + "|" + padded(line2_, 16) + "|" + padded(customer_, 16);
}

Reply RegisterModel::display() {
    if (paperOutLeft_ > 0) {
        --paperOutLeft_;
        return done(padded("E 22", 16) + "|" + padded("STAVITE PAPIR", 16) + "|" +
                    padded(customer_, 16));
    }
    return done(displayText());
}

Reply RegisterModel::identity() {
    const Identity& id = memory_.identity;
    return done(padded(id.serial, 6) + padded(id.taxNumber, 9) + padded(id.moduleNumber, 8));
}

Reply RegisterModel::logo(std::string_view f) {
    if (f == "N0" || f == "N1") {
        logoSlot_ = f[1] - '0';
        return done();
    }
    if (f.starts_with("NS")) {
        if (f.size() != 10 || !allDigits(f.substr(2)))
            return refuse(kErrWrongValue);
        const long long size = number(f.substr(2));
        if (static_cast<std::size_t>(size) > kMaxLogoBytes)
            return refuse(kErrTooLarge);
        if (size < 2)
            return refuse(kErrWrongValue);
        logoOpen_ = true;
        logoSize_ = static_cast<std::size_t>(size);
        logoData_.clear();
        return done();
    }
    if (f.starts_with("ND")) {
        if (!logoOpen_)
            return refuse(kErrNotNow);
        if (f.size() < 11 || f.size() > 10 + 96 || !allDigits(f.substr(2, 8)))
            return refuse(kErrWrongValue);
        const std::string_view chunk = f.substr(10);
        if (static_cast<std::size_t>(number(f.substr(2, 8))) != logoData_.size() ||
            logoData_.size() + chunk.size() > logoSize_)
            return refuse(kErrWrongValue);
        if (logoData_.empty() && !chunk.starts_with("BM")) {
            logoOpen_ = false;
            return refuse(kErrWrongValue);
        }
        logoData_.append(chunk);
        return done();
    }
    if (f == "NE") {
        if (!logoOpen_)
            return refuse(kErrNotNow);
        logoOpen_ = false;
        if (logoData_.size() != logoSize_)
            return refuse(kErrWrongValue);
        memory_.logos[static_cast<std::size_t>(logoSlot_)] = std::move(logoData_);
        logoData_.clear();
        programDirty_ = true;
        touch();
        return done();
    }
    return refuse(kErrBadFunction);
}

}  // namespace qov::sim
