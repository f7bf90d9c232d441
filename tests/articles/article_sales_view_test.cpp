// The sales views frmPluSales and frmPluSalesSold: the five columns, the search with the
// twins' differences, the first free code and the copy into QOV_PLU with its failures.
#include "articles/article_sales_view.h"
#include "article_fixture.h"
#include "tables/fields.h"

namespace qov::articles {
namespace {

using test::PluRow;
using Strings = std::vector<std::string>;
using Kind = ArticleSalesView::Kind;

// Names as the receive stores them: padded to 28.
std::string Pad28(const std::string& name) {
    return tables::PadRight(name, 28);
}

struct SalesViewTest : test::ArticleFixture, ::testing::WithParamInterface<Kind> {
    const bool sold = GetParam() == Kind::Sold;
    const std::string table = sold ? "QOV_PLU_RCV_SOLD" : "QOV_PLU_RCV";
    ArticleSalesView view{station, GetParam()};

    std::string Received(const std::string& code, const std::string& name) {
        return PluRow(code, Pad28(name), "40.5", "7", table, ", 91.5, 2.25");
    }
    void Fill() {
        Sql({PluRow("000000000099", "OLD", "1", "1"), Received("000000000000", "NULA"),
             Received("000000000001", "MLEKO"), Received("000000000005", "HLEB")});
        view.open();
    }
    // The panel: code, name (trimmed), price, stock, quantity, value, then the list positions
    // of VAT, unit, type and department and the single-sale box.
    std::string Panel() const {
        const ArticleFields& f = view.fields;
        return f.code + "|" + tables::TrimBlanks(f.description) + "|" + f.price + "|" + f.stock +
               "|" + view.quantity + "|" + view.value + "|" + std::to_string(f.vat) +
               std::to_string(f.unit) + std::to_string(f.type) + std::to_string(f.department) +
               (f.singleSale ? "x" : "-");
    }
};

TEST_P(SalesViewTest, ColumnsListEveryCodeButZeroAndSearchLoadsThePanel) {
    Fill();
    EXPECT_EQ(state.CurrentForm, sold ? "frmPluSalesSold" : "frmPluSales");
    EXPECT_EQ(database.statements,
              Strings{"select * from " + table + " ORDER BY " + table + ".BAR_CODE"});
    EXPECT_EQ(view.columns().main,
              (Strings{"000000000001  " + Pad28("MLEKO"), "000000000005  " + Pad28("HLEB")}));
    const ArticleColumns& c = view.columns();
    EXPECT_EQ(c.price[1] + " " + c.stock[1] + " " + c.quantity[1] + " " + c.value[1],
              "40.5 7 2.25 91.5");
    view.searchCode = "5";
    view.onToolbar("findArt");
    EXPECT_TRUE(shown().empty());
    EXPECT_EQ(view.selectedRow(), 1);
    EXPECT_EQ(database.statements.back(),
              "select * from " + table + " where BAR_CODE = '000000000005'");
    EXPECT_EQ(Panel(), "000000000005|HLEB|40.5|7|2.25|91.5|2134x");
}

TEST_P(SalesViewTest, CodeNotFoundDiffersBetweenTheScreens) {
    Fill();
    for (const char* code : {"6", "12A"}) {
        view.searchCode = code;
        view.onToolbar("findArt");
    }
    EXPECT_EQ(shown(), (Strings{"Pretrazivanje: Artikal ne postoji. <exclamation>",
                                "Arvon Cash Registers: Ne pravilan barkod ! <critical>"}));
    // The sold-articles screen selects nothing and leaves the panel; the other loads row 0.
    EXPECT_EQ(view.selectedRow(), sold ? -1 : 0);
    EXPECT_EQ(Panel(), sold ? "||||||0000-" : "000000000001|MLEKO|40.5|7|2.25|91.5|2134x");
}

TEST_P(SalesViewTest, SearchInAnEmptyList) {
    view.open();
    view.searchCode = "1";
    view.find();
    EXPECT_EQ(shown(), Strings{sold ? "QovCom: Nema artikala u listi."
                                    : "Pretrazivanje: Artikal ne postoji. <exclamation>"});
    EXPECT_EQ(view.selectedRow(), -1);
}

TEST_P(SalesViewTest, KeyPressProposesTheFirstFreeCode) {
    Sql({Received("000000000001", "A"), Received("000000000002", "B"),
         Received("000000000003", "C"), Received("000000000005", "E")});
    const std::string stored = Dump(table);
    view.open();
    view.rowDoubleClicked(3);
    view.keyTyped();
    EXPECT_EQ(Panel(), "4|||0|2.25|91.5|2100-");  // unit, quantity and value stay
    EXPECT_EQ(Dump(table), stored);
}

TEST_P(SalesViewTest, CopyReplacesTheArticlesWithTheTwoStatements) {
    Fill();
    database.statements.clear();
    view.onToolbar("elimina");
    const std::string t = table;
    EXPECT_EQ(database.statements,
              (Strings{"Delete * from QOV_PLU; ",
                       "INSERT INTO QOV_PLU ( DESCRIPTION, PRICE, VAT_CODE, ONE_ITEM, DEPARTMENT, "
                       "MES_TYPE, ART_TYPE, BAR_CODE,INVENTARY )SELECT " +
                           t + ".DESCRIPTION, " + t + ".PRICE, " + t + ".VAT_CODE, " + t +
                           ".ONE_ITEM, " + t + ".DEPARTMENT, " + t + ".MES_TYPE, " + t +
                           ".ART_TYPE, " + t + ".BAR_CODE, " + t + ".INVENTARY FROM " + t + ";"}));
    EXPECT_EQ(shown(), Strings{"Arvon Cash Registars: Preneto !  <info>"});
    EXPECT_EQ(Dump(), "000000000000|" + Pad28("NULA") + "|40.5|2|1|3|1|4|7\n000000000001|" +
                          Pad28("MLEKO") + "|40.5|2|1|3|1|4|7\n000000000005|" + Pad28("HLEB") +
                          "|40.5|2|1|3|1|4|7\n");
}

TEST_P(SalesViewTest, FailedCopyStatementsLeaveWhatTheyLeave) {
    Fill();
    database.failAt = database.statements.size() + 1;  // "Delete * from QOV_PLU; "
    view.copyIntoArticles();
    EXPECT_EQ(Dump(), "000000000099|OLD|1|2|1|3|1|4|1\n");
    Sql({"alter table " + table + " rename to GONE"});  // the second statement fails
    view.copyIntoArticles();
    EXPECT_EQ(Dump(), "");
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    for (const MessageBox& box : dialogs.boxes) {
        EXPECT_EQ(box.title,
                  "Arvon Cash Registers(Sender:='" + view.formName() + ".PLU_preb_Click()')");
        EXPECT_EQ(box.icon, Icon::Critical);
    }
    EXPECT_EQ(dialogs.boxes[1].text, "1 - no such table: " + table);
    Sql({"alter table GONE rename to " + table, "delete from " + table});
    view.copyIntoArticles();  // an empty received table empties the articles
    EXPECT_EQ(Dump(), "");
    EXPECT_EQ(dialogs.boxes.size(), 3u);
}

INSTANTIATE_TEST_SUITE_P(Screens, SalesViewTest, ::testing::Values(Kind::Received, Kind::Sold),
                         [](const auto& info) {
                             return info.param == Kind::Sold ? "Sold" : "Received";
                         });

}  // namespace
}  // namespace qov::articles
