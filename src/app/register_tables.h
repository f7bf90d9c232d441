#pragma once

#include <array>
#include <string>

namespace qov {

// The register's tables as the program holds them in memory: plain records of
// text fields. Positions start at 1; position 0 holds no record unless a table says so.

struct DepartmentRecord {
    std::string description;   // up to 12 characters, padded to 12 once stored
    std::string maxPrice;      // whole number as digits (8 after the editor's check)
    std::string vatRate;       // "0" to "4"
    std::string autoClose;     // "0" or "1"
    std::string salesValue;    // digits as received, hundredths
    std::string quantitySold;  // digits as received, thousandths
};
using DepartmentTableT = std::array<DepartmentRecord, 11>;  // 0-10, departments 1-10

struct OperatorRecord {
    std::string code;          // access code, 0-99999
    std::string name;          // up to 12 characters
    std::string salesValue;    // received value / 100
    std::string receiptCount;  // as received
};
using OperatorTableT = std::array<OperatorRecord, 33>;  // 0-32, operators 1-31

struct CurrencyRecord {
    std::string rate;  // decimal text, at most 9 characters
    std::string name;  // up to 12 characters
};
using CurrencyTableT = std::array<CurrencyRecord, 5>;  // 0-4, currencies 1-4

struct VatRecord {
    std::string rate;        // hundredths of a percent, 4 digits as received
    std::string salesTotal;  // received value / 100
};
using VatTableT = std::array<VatRecord, 10>;  // 0-9

struct NameRecord {
    std::string name;
    std::string abbreviation;  // companion text, never sent
};
using UnitTableT = std::array<NameRecord, 6>;         // 0-5, units 1-5
using ArticleTypeTableT = std::array<NameRecord, 9>;  // 0-8, types 1-8

// The system record: fixed-width texts named by their program-file keys.
struct SystemParamsT {
    std::string CASH = "01";  // 2 characters
    std::string PRINT = "0";  // the others 1 character each
    std::string GRAFICA1 = "0";
    std::string GRAFICA1_IMG = "0";
    std::string GRAFICA2 = "0";
    std::string GRAFICA2_IMG = "0";
    std::string OBLIGATE = "0";
    std::string SINGLE = "0";
    std::string SPEED = "0";
    std::string TEST_MENY = "0";
};

struct FunctionRecord {
    std::string name;
    std::string value;  // used by positions 4 and 5 only
};
using FunctionTableT = std::array<FunctionRecord, 11>;  // 0-10

// A receipt header or advertisement line being edited or sent.
struct PrintLineRecord {
    std::string text;
    bool bold = false;
    bool centre = false;
};
// Stored lines: 32 characters of text, the bold mark, the centre mark ("1"/"0").
using PrintLinesT = std::array<std::string, 7>;           // 0-6, lines 0-5
using PrintLineTableT = std::array<PrintLineRecord, 7>;  // 0-6, lines 0-5

// Which table a TableCyrillic flag belongs to.
enum class CyrTable {
    Header = 0,
    Operators,
    Departments,
    Articles,
    Currencies,
    Advert,
    Units,
    ArticleTypes,
};
inline constexpr int kCyrTableCount = 8;

}  // namespace qov
