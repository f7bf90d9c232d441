#include "demo_shop.h"

#include <cstdio>
#include <string>
#include <vector>

#include "memories.h"

namespace qov::sim {

namespace {

std::string pad(std::string s, std::size_t width) {
    s.resize(width, ' ');
    return s;
}

std::string zero(long long v, int width) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%0*lld", width, v);
    return buf;
}

struct Product {
    const char* name;
    int department;   // index 0-9
    long long price;  // hundredths
    int vat;
    int unit;
};

// department names: index 0-9
constexpr const char* kDepartmentNames[kDepartments] = {
    "PEKARA",   "MLECNI PROIZ", "MESO",   "VOCE I POVRC", "PICE",
    "SLATKISI", "KOZMETIKA",    "HEMIJA", "KUCNA HEMIJA", "OSTALO"};

constexpr Product kProducts[] = {
    {"HLEB BELI", 0, 6500, 1, 0},
    {"HLEB CRNI", 0, 7900, 1, 0},
    {"KIFLA", 0, 2500, 1, 0},
    {"BUREK SA SIROM", 0, 18000, 1, 0},
    {"POGACA", 0, 12000, 1, 0},
    {"PEREC", 0, 3000, 1, 0},
    {"MLEKO 2.8%", 1, 13900, 1, 2},
    {"JOGURT", 1, 11500, 1, 2},
    {"KISELA PAVLAKA", 1, 9900, 1, 0},
    {"SIR FETA", 1, 89000, 1, 1},
    {"KAJMAK", 1, 149000, 1, 1},
    {"MASLAC", 1, 32000, 1, 0},
    {"PILECE BELO", 2, 79900, 1, 1},
    {"SVINJSKI VRAT", 2, 84900, 1, 1},
    {"JUNECI GULAS", 2, 119900, 1, 1},
    {"KOBASICA", 2, 69900, 1, 1},
    {"PRSUTA", 2, 249900, 1, 1},
    {"CEVAPI", 2, 99900, 1, 1},
    {"JABUKA", 3, 12900, 1, 1},
    {"KROMPIR", 3, 6900, 1, 1},
    {"LUK CRNI", 3, 8900, 1, 1},
    {"PARADAJZ", 3, 19900, 1, 1},
    {"PAPRIKA", 3, 24900, 1, 1},
    {"BANANA", 3, 17900, 1, 1},
    {"VODA", 4, 6900, 0, 2},
    {"SOK OD JABUKE", 4, 15900, 0, 2},
    {"PIVO", 4, 11900, 0, 2},
    {"RAKIJA SLJIVOVICA", 4, 129900, 0, 2},
    {"KAFA MLEVENA", 4, 38900, 0, 0},
    {"CAJ NANA", 4, 14900, 0, 0},
    {"COKOLADA", 5, 17900, 0, 0},
    {"NAPOLITANKE", 5, 12900, 0, 0},
    {"KEKS", 5, 8900, 0, 0},
    {"SMOKI", 5, 9900, 0, 0},
    {"PLAZMA", 5, 24900, 0, 0},
    {"BOMBONE", 5, 11900, 0, 0},
    {"SAMPON", 6, 34900, 0, 0},
    {"SAPUN", 6, 9900, 0, 0},
    {"PASTA ZA ZUBE", 6, 21900, 0, 0},
    {"KREMA ZA RUKE", 6, 27900, 0, 0},
    {"DETERDZENT", 7, 89900, 0, 0},
    {"OMEKSIVAC", 7, 45900, 0, 0},
    {"SREDSTVO ZA SUDOVE", 8, 19900, 0, 0},
    {"SUNDJER", 8, 5900, 0, 0},
    {"KESA", 9, 500, 0, 0},
    {"BATERIJE AA", 9, 29900, 0, 0},
    {"SIBICE", 9, 1500, 0, 0},
    {"NOVINE", 9, 8000, 2, 0},
};

constexpr const char* kVariants[] = {"", " 250G", " 500G", " 1KG", " MALI", " VELIKI", " AKCIJA"};

// Today's receipts go round the first five cashiers, so each of them shows sales.
constexpr int kSellingCashiers = 5;

constexpr const char* kCashierNames[] = {"MILAN",  "JELENA", "DRAGAN", "SNEZANA", "NIKOLA",
                                         "MARIJA", "STEFAN", "IVANA",  "MARKO",   "TIJANA"};

}  // namespace

int fillDemoShop(RegisterModel& model) {
    int refused = 0;
    const auto run = [&](const std::string& frame) {
        if (model.execute(frame).status != 'A')
            ++refused;
    };

    for (int i = 0; i < kDepartments; ++i)
        run("R" + zero(i, 2) + pad(kDepartmentNames[i], 12) + zero(i == 2 ? 500000 : 0, 8));
    for (int i = 0; i < 10; ++i)
        run("O" + zero(i, 2) + pad(kCashierNames[i], 12) + zero(1000 + 111 * i, 5));
    run("U0" + pad("EUR", 12) + "117.20000");
    run("U1" + pad("USD", 12) + "108.30000");
    run("U2" + pad("CHF", 12) + "121.90000");
    run("U3" + pad("BAM", 12) + "059.90000");
    static constexpr const char* kUnitNames[kUnits] = {"kom", "kg ", "l  ", "m  ", "pak"};
    for (int i = 0; i < kUnits; ++i)
        run(std::string("QR") + char('1' + i) + kUnitNames[i]);
    static constexpr const char* kTypes[kArticleTypes] = {
        "PRODAJNI", "USLUGA", "AMBALAZA", "AKCIJSKI", "POVRATNI", "DOMACI", "UVOZNI", "OSTALO"};
    for (int i = 0; i < kArticleTypes; ++i) {
        std::string name = kTypes[i];
        if (name.size() < 12)
            name += '\0';
        run(std::string("ZR") + char('1' + i) + pad(name, 12));
    }
    run("X05100001001110");
    static constexpr const char* kHeader[kPrintLines] = {"  PRODAVNICA \"KOD MILANA\" DOO",
                                                         "     Kneza Milosa 12",
                                                         "      11000 Beograd",
                                                         "     PIB 101234567",
                                                         "",
                                                         ""};
    static constexpr const char* kAdvert[kPrintLines] = {
        "    HVALA NA POSETI!", "  Radno vreme 07-22h", "", "", "", ""};
    for (int i = 0; i < kPrintLines; ++i) {
        run("S" + std::to_string(i) + pad(kHeader[i], 32) + std::string(1, '\0'));
        run("A" + std::to_string(i) + pad(kAdvert[i], 32) + std::string(1, '\0'));
    }
    run("k" + pad("DOBRO DOSLI", 32) + pad("KOD MILANA", 32) + pad("", 32));

    Memory& m = model.memory();
    static constexpr const char* kRates[kVatRates] = {"2000", "1000", "0000", "0800", "1800",
                                                      "0000", "0000", "0000", "0000"};
    for (int i = 0; i < kVatRates; ++i)
        m.vatRates[static_cast<std::size_t>(i)].rate = kRates[i];
    m.identity = Identity{"AR4821", "101234567", "FM019376"};

    // A few hundred articles: every product in several packings, codes 8600000xxxxx.
    std::vector<std::string> codes;
    unsigned seed = 12345;
    const auto next = [&seed]() {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7FFF;
    };
    int serial = 1;
    for (const char* variant : kVariants) {
        for (const Product& p : kProducts) {
            const std::string code = "8600000" + zero(serial++, 5);
            long long price = p.price;
            if (*variant)
                price = price * (70 + static_cast<long long>(next() % 90)) / 100 / 10 * 10;
            if (price <= 0)
                price = 100;
            std::string name = std::string(p.name) + variant;
            const std::string frame = "PR" + code + zero(p.department, 2) + pad(name, 28) +
                                      zero(price, 8) + "0" + std::to_string(p.vat) +
                                      std::to_string(p.unit) + std::to_string(next() % 3);
            run(frame);
            run("PQ" + code + zero(1000 * (20 + static_cast<long long>(next() % 480)), 9));
            codes.push_back(code);
        }
    }

    // Three earlier days closed with a daily report each, then some receipts of today.
    const Date today = model.today();
    const auto sellReceipts = [&](int count, int seedCashier) {
        for (int receipt = 0; receipt < count; ++receipt) {
            run("p");
            const int lines = 1 + static_cast<int>(next() % 4);
            for (int l = 0; l < lines; ++l) {
                const std::string& code = codes[next() % codes.size()];
                const long long qty = 1000 * (1 + static_cast<long long>(next() % 3));
                run("PS10" + code + zero((receipt + seedCashier) % kSellingCashiers, 2) +
                    "123456789123" + "0011" + zero(qty, 9) + "00000000");
            }
            run("g10" + zero(0, 11));
            run("q");
        }
    };
    // A year of business in the fiscal memory before the three days sold here.
    writeDailyHistory(model.memory(), addDays(today, -365), addDays(today, -3), 2024);
    for (int daysAgo = 3; daysAgo >= 1; --daysAgo) {
        const Date past = addDays(today, -daysAgo);
        model.setClock([past] { return past; });
        sellReceipts(8, daysAgo);
        run("x");
    }
    model.setClock({});  // the register's own clock again
    sellReceipts(12, 0);
    run("m0186");  // clear: the display back at rest
    model.markChanged();
    return refused;
}

}  // namespace qov::sim
