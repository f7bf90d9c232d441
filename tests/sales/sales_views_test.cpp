// The department, cashier and VAT sales views: row texts, divided values, the script of the
// names, the VAT rows, their total and the chart's values.

#include <gtest/gtest.h>

#include "sales/sales_views.h"
#include "support/fake_station.h"

namespace qov::sales {
namespace {

using Texts = std::vector<std::string>;

struct SalesTest : ::testing::Test, test::FakeStation {
    SalesTest() {
        FillDefaultTables(state);
        state.CyrillicMode = false;
        state.CyrillicFontName = "Helvetica Ciril";
        state.LatinFontName = "Courier New";
    }
    // Row `row` of every column of a list view, joined by "|".
    static std::string Row(const SalesList& view, int row) {
        std::string joined;
        for (const SalesColumn& column : view.columns()) {
            joined += (joined.empty() ? "" : "|") + column.rows.at(static_cast<std::size_t>(row));
        }
        return joined;
    }
};

TEST_F(SalesTest, DepartmentRowsShowTheDividedSales) {
    state.DepartmentTable[3] = {"PICE", "", "0", "0", "150075", "12500"};
    state.DepartmentTable[10] = {"", "", "0", "0", "12a", ""};
    SalesList view(station, SalesList::Kind::Departments);
    view.open();
    EXPECT_EQ(state.CurrentForm, "frmDepSales");
    ASSERT_EQ(view.columns().size(), 3u);
    EXPECT_EQ(view.columns()[0].rows.size(), 10u);
    EXPECT_EQ(Row(view, 2), " 3  PICE        |12.5|1500.75");
    EXPECT_EQ(Row(view, 0), " 1  Odeljenje  1  |0|0");   // the default name in Latin
    EXPECT_EQ(Row(view, 9), "10              |0|0.12");  // junk reads as far as it is a number
    EXPECT_EQ(view.fontName(), "Courier New");
    EXPECT_EQ(Texts({view.caption(), view.heading()}),
              Texts({"Prodaja po odeljenjima", "Pregled Prodaje Odeljenja"}));
}

TEST_F(SalesTest, CashierRowsShowTheTrimmedCodeAndTheStoredSales) {
    state.OperatorTable[12] = {"   12", "", "1234.5", "17"};
    state.OperatorTable[31] = {"99999", "ZORAN PETROV", "", ""};
    SalesList view(station, SalesList::Kind::Operators);
    view.open();
    EXPECT_EQ(state.CurrentForm, "frmOperSales");
    EXPECT_EQ(view.columns()[0].rows.size(), 31u);
    EXPECT_EQ(Row(view, 11), "12" + std::string(14, ' ') + "|12|17|1234.5");
    EXPECT_EQ(Row(view, 30), "31  ZORAN PETROV|99999||");
    EXPECT_EQ(Row(view, 0), " 1  Kasir 1     |1|0|0");
    view.lstplu_Click(4);
    view.lstplu_Click(31);  // past the last row: nothing changes
    EXPECT_EQ(view.selectedRow(), 4);
    Texts names;
    for (const SalesColumn& column : view.columns()) {
        names.push_back(std::string(column.name) + ":" + column.heading + ":" + column.tip);
    }
    EXPECT_EQ(names,
              Texts({"lstplu:Kasir:Redni broj i ime kasira", "ListS:Sifra:Pristupna sifra kasira",
                     "ListR:Br. racuna:Broj izdatih racuna", "ListI:Iznos:Vrednost prodaje"}));
}

// DoChangeLang turns the names into the script of the mode and picks the list's font; the
// number columns stay as they are.
TEST_F(SalesTest, TheNamesFollowTheScriptOfTheMode) {
    state.DepartmentTable[1].description = "Njiva";
    state.DepartmentTable[1].salesValue = "100";
    state.CyrillicMode = true;
    SalesList view(station, SalesList::Kind::Departments);
    view.open();
    // The row is converted whole: packing the digraph shortens it.
    EXPECT_EQ(Row(view, 0), " 1  Wiva       |0|1");
    EXPECT_EQ(view.fontName(), "Helvetica Ciril");
    state.CyrillicMode = false;
    view.DoChangeLang();
    EXPECT_EQ(Row(view, 0), " 1  Njiva       |0|1");
    EXPECT_EQ(view.fontName(), "Courier New");
}

struct VatCase {
    const char* name;
    std::array<const char*, 9> rates;
    std::array<const char*, 9> values;
    Texts rows;  // "VATnum PERC value" of rates 0, 1 and 8
    std::string total;
    std::array<double, 9> chart;
};

class VatSalesView : public SalesTest, public ::testing::WithParamInterface<VatCase> {};

TEST_P(VatSalesView, RowsTotalAndChart) {
    const VatCase& c = GetParam();
    for (std::size_t r = 0; r < 9; ++r) {
        state.VatTable[r] = {c.rates[r], c.values[r]};
    }
    state.VatTable[9] = {"9999", "1000"};  // position 9 is no rate of the register
    VatSales view(station);
    view.open();
    EXPECT_EQ(state.CurrentForm, "ne");
    Texts rows;
    for (std::size_t r : {0u, 1u, 8u}) {
        const VatSalesRow& row = view.rows()[r];
        rows.push_back(row.VATnum + " " + row.PERC + " " + row.value);
    }
    EXPECT_EQ(rows, c.rows);
    EXPECT_EQ(view.total(), c.total);
    EXPECT_EQ(view.chartValues(), c.chart);
    EXPECT_EQ(VatSales::chartLabel(0), "Stopa 0");
    EXPECT_EQ(VatSales::chartLabel(8), "Stopa 8");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VatSalesView,
    ::testing::Values(VatCase{"Sales",
                              {"2000", "0850", "0", "1000", "0", "0", "0", "0", "1800"},
                              {"1500.75", "0.1", "0.2", "0", "0", "0", "0", "0", "10"},
                              {"0 20% 1500.75", "1 8.5% 0.1", "8 18% 10"},
                              "1511.05",
                              {1500.75, 0.1, 0.2, 0, 0, 0, 0, 0, 10}},
                      VatCase{"AllZero",
                              {"2000", "1000", "0000", "0800", "1800", "0", "0", "0", "0"},
                              {"0", "0", "0", "0", "0", "0", "0", "0", "0"},
                              {"0 20% 0", "1 10% 0", "8 0% 0"},
                              "0",
                              {}},
                      VatCase{"TenthsAddUpWithoutATail",
                              {"0", "0", "0", "0", "0", "0", "0", "0", "0"},
                              {"0.1", "0.2", "0", "0", "0", "0", "0", "0", "x"},
                              {"0 0% 0.1", "1 0% 0.2", "8 0% x"},
                              "0.3",
                              {0.1, 0.2}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qov::sales
