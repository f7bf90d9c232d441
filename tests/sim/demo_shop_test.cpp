// The demo shop: programmed without a refusal, and today's sales as the station reads them.
#include "demo_shop.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace {

using qov::sim::RegisterModel;

long long Digits(const std::string& reply, std::size_t from, std::size_t width) {
    return std::stoll(reply.substr(from, width));
}

// Cashier replies ("E") carry each cashier's sales and receipt count, VAT replies ("D") the sales
// per rate; the demo's receipts of today add up the same in both, and in the departments.
TEST(DemoShop, TodaysSalesShowPerCashierVatRateAndDepartment) {
    RegisterModel model;
    ASSERT_EQ(qov::sim::fillDemoShop(model), 0);
    long long cashierSales = 0, receipts = 0, vatSales = 0, departmentSales = 0;
    int sellingCashiers = 0, ratesWithSales = 0;
    for (int n = 0; n < 31; ++n) {
        const qov::sim::Reply r =
            model.execute("E" + std::string(n < 10 ? "0" : "") + std::to_string(n));
        ASSERT_EQ(r.text.size(), 36u);
        cashierSales += Digits(r.text, 19, 11);
        receipts += Digits(r.text, 30, 6);
        sellingCashiers += Digits(r.text, 30, 6) > 0 && Digits(r.text, 19, 11) > 0;
    }
    for (int n = 0; n < 9; ++n) {
        const qov::sim::Reply r = model.execute("D0" + std::to_string(n));
        ASSERT_EQ(r.text.size(), 17u);
        vatSales += Digits(r.text, 6, 11);
        ratesWithSales += Digits(r.text, 6, 11) > 0;
    }
    for (int n = 0; n < 10; ++n) {
        departmentSales += Digits(model.execute("B0" + std::to_string(n)).text, 22, 11);
    }
    EXPECT_EQ(receipts, 12);
    EXPECT_EQ(sellingCashiers, 5);
    EXPECT_GE(ratesWithSales, 2);
    EXPECT_GT(cashierSales, 0);
    EXPECT_EQ(vatSales, cashierSales);
    EXPECT_EQ(departmentSales, cashierSales);
}

// The fiscal memory as "F" reads it: the header counts a year of daily records, Monday to
// Saturday, numbered in date order, the last three the days the demo sold through its receipts.
TEST(DemoShop, TheFiscalMemoryHoldsAYearOfDailyRecords) {
    RegisterModel model;
    model.setClock([] { return qov::sim::Date{18, 6, 2025}; });  // a Wednesday
    ASSERT_EQ(qov::sim::fillDemoShop(model), 0);
    const auto block = [&model](int k) {
        const std::string address = std::to_string(16 * k);
        const qov::sim::Reply r =
            model.execute("F" + std::string(6 - address.size(), '0') + address);
        EXPECT_EQ(r.status, 'A');
        std::string bytes;
        for (std::size_t i = 0; i + 1 < 32 && r.text.size() == 36; i += 2)
            bytes += static_cast<char>(std::stoi(r.text.substr(i, 2), nullptr, 16));
        return bytes;
    };
    const auto byte = [](const std::string& b, std::size_t i) {
        return static_cast<int>(static_cast<unsigned char>(b.at(i)));
    };
    const std::string header = block(0);
    EXPECT_EQ(header.substr(0, 14), "AR4821FM019376");
    const int records = byte(header, 14) * 256 + byte(header, 15);
    EXPECT_GT(records, 290);
    EXPECT_LT(records, 310);
    std::chrono::sys_days previous{};
    for (int k = 1; k <= records; ++k) {
        const std::string r = block(k);
        ASSERT_EQ(byte(r, 0) * 256 + byte(r, 1), k);
        const std::chrono::sys_days day{std::chrono::year(2000 + byte(r, 4)) /
                                        static_cast<unsigned>(byte(r, 3)) /
                                        static_cast<unsigned>(byte(r, 2))};
        EXPECT_GT(day, previous) << k;
        if (k <= records - 3) {  // the history; the demo sells on the last three days whatever
            EXPECT_NE(std::chrono::weekday(day), std::chrono::Sunday) << k;
        }
        const int receipts = byte(r, 11) * 256 + byte(r, 12);
        EXPECT_GT(receipts, 0) << k;
        previous = day;
    }
    EXPECT_EQ(previous, std::chrono::sys_days{std::chrono::year(2025) / 6 / 17});
    EXPECT_EQ(block(records + 1), std::string(16, '\xFF'));
}

}  // namespace
