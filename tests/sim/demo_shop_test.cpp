// The demo shop: programmed without a refusal, and today's sales as the station reads them.
#include "demo_shop.h"

#include <gtest/gtest.h>

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

}  // namespace
