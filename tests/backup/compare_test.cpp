// Comparing a register with a program file: the normalisations, and the difference lines.
#include "backup/compare.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace qov::backup {
namespace {

using Lines = std::vector<std::string>;

TEST(ComparableNumber, WrittenDifferentlyReadsTheSame) {
    const struct {
        const char* text;
        std::optional<std::string> number;
    } cases[] = {
        {"117.5", "117.5"},  {"117.50000", "117.5"}, {"00117,50000", "117.5"},
        {"    7", "7"},      {"00007", "7"},         {"00.000000", "0"},
        {"-0", "0"},         {"-12.50", "-12.5"},    {"+3", "3"},
        {".5", "0.5"},       {"", std::nullopt},     {"12a", std::nullopt},
        {".", std::nullopt}, {"1e5", std::nullopt},  {"1.2.3", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ComparableNumber(c.text), c.number) << c.text;
    }
}

TEST(ComparableText, PaddingScriptAndWidthDoNotCount) {
    const struct {
        std::string a, b;
        std::size_t width;
        bool commaToPoint;
        bool same;
    } cases[] = {
        {"PIVO        ", "PIVO", 12, false, true},
        {"\xBF\xB8\xB2\xBE", "PIVO", 12, false, true},  // register Cyrillic, display font
        {"WEGOS", "NJEGOS", 12, false, true},           // font letter, Latin digraph
        {"Wegos", "Njegos", 12, false, true},
        {std::string("KAFA\0xyz", 8), "KAFA", 12, false, true},  // a reply's text ends at a NUL
        {"ABCDEFGHIJKLMNO", "ABCDEFGHIJKL", 12, false, true},    // the frame cuts at 12
        {"SOK 0.5L", "SOK 0,5L", 28, true, true},  // an article reply's commas are points
        {"SOK 0.5L", "SOK 0,5L", 28, false, false},
        {"PICE", "PIVO", 12, false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ComparableText(c.a, c.width, c.commaToPoint) ==
                      ComparableText(c.b, c.width, c.commaToPoint),
                  c.same)
            << c.a << " / " << c.b;
    }
}

// The register's tables and a program file's, equal after the normalisations except where a
// line is expected.
struct TablePair {
    SharedState file, reg;
    TablePair() {
        file.DepartmentTable[1].description = "PIVO        ";
        reg.DepartmentTable[1].description = "PIVO        ";
        file.DepartmentTable[2].description = "NJEGOS      ";
        reg.DepartmentTable[2].description = "WEGOS       ";
        file.DepartmentTable[3].description = "PIVO        ";
        reg.DepartmentTable[3].description = "PICE        ";
        file.OperatorTable[1] = {"7", "MILAN", "", ""};
        reg.OperatorTable[1] = {"    7", "MILAN       ", "12.5", "3"};
        file.OperatorTable[2].code = "8";
        reg.OperatorTable[2].code = "   12";
        file.CurrencyTable[1] = {"117.5", "EUR"};
        reg.CurrencyTable[1] = {"117.50000", "EUR         "};
        file.CurrencyTable[2] = {"108,3", "USD"};
        reg.CurrencyTable[2] = {"108,30000", "USD         "};
        reg.CurrencyTable[3].rate = "00.000000";
        file.VatTable[1].rate = "2000";  // TAX_1: the register's rate 0
        reg.VatTable[0].rate = "2000";
        file.VatTable[2].rate = "1000";
        reg.VatTable[1].rate = "0800";
        file.SystemParams.CASH = "7 ";
        reg.SystemParams.CASH = "07";
        file.SystemParams.PRINT = "2";
        reg.SystemParams.PRINT = "3";
        file.SystemParams.GRAFICA1 = "1";  // not carried by the frames
        file.UnitTable[2].name = "kg";
        reg.UnitTable[2].name = "kg ";
        file.ArticleTypeTable[1].name = "Prodajni";
        reg.ArticleTypeTable[1].name = "Prodajni    ";
    }
};

const Lines kAllTables = {"departments", "operators", "currencies", "vat",
                          "system",      "units",     "types"};

TEST(CompareTables, OneLinePerFieldThatDiffers) {
    const TablePair t;
    EXPECT_EQ(
        CompareTables(t.file, t.reg, kAllTables),
        (Lines{"departments 3 description: \"PICE\" -> \"PIVO\"", "operators 2 code: 12 -> 8",
               "currencies 3 rate: 0 -> \"\"", "vat 2 rate: 800 -> 1000", "system print: 3 -> 2"}));
}

TEST(CompareTables, EqualOnceTheFieldsThatDifferAreSet) {
    TablePair t;
    t.reg.DepartmentTable[3].description = "PIVO";
    t.reg.OperatorTable[2].code = "00008";
    t.reg.CurrencyTable[3].rate.clear();
    t.reg.VatTable[1].rate = "1000";
    t.reg.SystemParams.PRINT = "2 ";
    EXPECT_EQ(CompareTables(t.file, t.reg, kAllTables), Lines{});
}

TEST(CompareTables, OnlyTheTablesNamed) {
    TablePair t;
    t.reg.UnitTable[5].name = "pak";
    EXPECT_EQ(CompareTables(t.file, t.reg, {"departments", "units"}),
              (Lines{"departments 3 description: \"PICE\" -> \"PIVO\"",
                     "units 5 name: \"pak\" -> \"\""}));
}

articles::ArticleRecord Article(std::string code, std::string name, std::string price,
                                std::string department, std::string stock) {
    articles::ArticleRecord a;
    a.code = std::move(code);
    a.description = std::move(name);
    a.price = std::move(price);
    a.vatCode = "1";
    a.unit = "0";
    a.type = "0";
    a.department = std::move(department);
    a.stock = std::move(stock);
    return a;
}

TEST(CompareArticles, ByCodeAsANumber) {
    const std::vector<articles::ArticleRecord> file = {
        Article("25", "HLEB", "45.5", "2", "12"),
        Article("26", "SOK 0,5L", "120", "2", "3.25"),
        Article("30", "MLEKO", "89", "1", "1"),
    };
    std::vector<articles::ArticleRecord> reg = {
        Article("000000000031", "JOGURT", "60", "01", "0"),
        Article("000000000025", "HLEB" + std::string(24, ' '), "45.50", "02", "12.000"),
        Article("000000000026", "SOK 0.5L" + std::string(20, ' '), "119.99", "02", "3.5"),
    };
    reg[2].singleSale = true;
    EXPECT_EQ(CompareArticles(file, reg),
              (Lines{"articles 26 price: 119.99 -> 120", "articles 26 single: 1 -> 0",
                     "articles 26 stock: 3.5 -> 3.25", "articles 30: not in the register",
                     "articles 31: not in the file"}));
}

TEST(CompareArticles, PriceInHundredthsAndStockInThousandths) {
    const std::vector<articles::ArticleRecord> file = {
        Article("1", "A", "0.294", "0", "2.0004"),
        Article("2", "B", "0.296", "0", "2.0006"),
    };
    const std::vector<articles::ArticleRecord> reg = {
        Article("1", "A", "0.29", "0", "2"),
        Article("2", "B", "0.29", "0", "2"),
    };
    EXPECT_EQ(CompareArticles(file, reg),
              (Lines{"articles 2 price: 0.29 -> 0.3", "articles 2 stock: 2 -> 2.001"}));
}

}  // namespace
}  // namespace qov::backup
