// The register's memory: every table the station programs or reads, the sales totals, the
// fiscal memory records, the logos and the identity. Plain data; RegisterModel acts on it.
#pragma once

#include <array>
#include <map>
#include <string>
#include <vector>

namespace qov::sim {

inline constexpr int kDepartments = 10;
inline constexpr int kCashiers = 31;
inline constexpr int kCurrencies = 4;
inline constexpr int kVatRates = 9;
inline constexpr int kUnits = 5;
inline constexpr int kArticleTypes = 8;
inline constexpr int kPrintLines = 6;
inline constexpr int kLogoSlots = 2;
inline constexpr int kBlockSize = 16;
inline constexpr int kFiscalBlocks = 8192;
inline constexpr int kProgramBlocks = 16384;
inline constexpr std::size_t kMaxLogoBytes = 64 * 1024;
inline constexpr int kDefaultPluCapacity = 10000;

// Money is held in hundredths, quantities in thousandths.
struct Department {
    std::string name = std::string(12, ' ');
    long long maxPrice = 0;  // 0: no limit
    long long sales = 0;
    long long quantity = 0;
};

struct Cashier {
    std::string name = std::string(12, ' ');
    std::string code = "    0";  // 5 characters, right-aligned
    long long sales = 0;
    long long receipts = 0;
};

struct Currency {
    std::string name = std::string(12, ' ');
    std::string rate = "00.000000";  // 9 characters as sent
};

struct VatRate {
    std::string rate = "0000";  // hundredths of a percent
    long long sales = 0;
};

struct Article {
    std::string code;  // 12 digits, the key
    int department = 0;
    std::string name = std::string(28, ' ');
    long long price = 0;
    int single = 0;
    int vat = 0;
    int unit = 0;
    int type = 0;
    long long sales = 0;
    long long quantity = 0;
    long long stock = 0;
};

struct Date {
    int day = 1, month = 1, year = 2000;
    bool operator==(const Date&) const = default;
    auto operator<=>(const Date&) const = default;
};

// One daily report written into the fiscal memory.
struct DailyRecord {
    int number = 0;
    Date date;
    long long total = 0;
    int receipts = 0;
};

struct Identity {
    std::string serial = "AR0001";          // 6 characters
    std::string taxNumber = "100000001";    // 9 characters (PIB)
    std::string moduleNumber = "FM000001";  // 8 characters (IBFM)
};

struct Memory {
    std::array<Department, kDepartments> departments;
    std::array<Cashier, kCashiers> cashiers;
    std::array<Currency, kCurrencies> currencies;
    std::array<VatRate, kVatRates> vatRates;
    std::array<std::string, kUnits> units;         // 3 characters each
    std::array<std::string, kArticleTypes> types;  // 12 characters each (a NUL may end the name)
    std::string system = "01100000000110";         // the 14 characters after "X"
    std::array<std::string, kPrintLines> header;   // text between the line digit and the NUL
    std::array<std::string, kPrintLines> advert;
    std::array<std::string, 3> message;         // display message lines (32 characters)
    std::map<std::string, Article> articles;    // by code
    std::array<std::string, kLogoSlots> logos;  // BMP files as received
    std::vector<DailyRecord> dailyRecords;
    Identity identity;
    int receiptsSinceDaily = 0;  // closed receipts since the last daily report
    long long salesSinceDaily = 0;

    Memory();
};

}  // namespace qov::sim
