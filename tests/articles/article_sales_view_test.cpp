// The sales views frmPluSales and frmPluSalesSold: the five columns, the search with the
// twins' differences, the first free code and the copy into QOV_PLU with its failures.
#include "articles/article_sales_view.h"
#include "article_fixture.h"

namespace qov::articles {
namespace {

using test::PluRow;
using Strings = std::vector<std::string>;
using Kind = ArticleSalesView::Kind;

struct SalesViewTest : test::ArticleFixture, ::testing::WithParamInterface<Kind> {
    std::string table() const {
        return GetParam() == Kind::Sold ? "QOV_PLU_RCV_SOLD" : "QOV_PLU_RCV";
    }
    // A received row, its name padded to 28 as the receive stores it.
    std::string Received(const std::string& code, const std::string& name,
                         const std::string& extra = ", 91.5, 2.25") {
        return PluRow(code, name + std::string(28 - name.size(), ' '), "40.5", "7", table(), extra);
    }
    void Fill() {
        Sql({PluRow("000000000099", "OLD", "1", "1"), Received("000000000000", "NULA"),
             Received("000000000001", "MLEKO"), Received("000000000005", "HLEB"),
             Received("000000000012", "SIR")});
    }
    ArticleSalesView view{station, GetParam()};
};

TEST_P(SalesViewTest, ColumnsListEveryCodeButZero) {
    Fill();
    ASSERT_TRUE(view.open());
    EXPECT_EQ(state.CurrentForm, GetParam() == Kind::Sold ? "frmPluSalesSold" : "frmPluSales");
    EXPECT_EQ(database.statements,
              Strings{"select * from " + table() + " ORDER BY " + table() + ".BAR_CODE"});
    const std::string pad(28 - 5, ' ');
    EXPECT_EQ(view.columns().main,
              (Strings{"000000000001  MLEKO" + pad, "000000000005  HLEB " + pad,
                       "000000000012  SIR  " + pad}));
    EXPECT_EQ(view.columns().price, Strings(3, "40.5"));
    EXPECT_EQ(view.columns().stock, Strings(3, "7"));
    EXPECT_EQ(view.columns().quantity, Strings(3, "2.25"));
    EXPECT_EQ(view.columns().value, Strings(3, "91.5"));
}

TEST_P(SalesViewTest, SearchFindsAndLoadsThePanel) {
    Fill();
    view.open();
    view.searchCode = "5";
    view.onToolbar("findArt");
    EXPECT_TRUE(shown().empty());
    EXPECT_EQ(view.selectedRow(), 1);
    EXPECT_EQ(database.statements.back(),
              "select * from " + table() + " where BAR_CODE = '000000000005'");
    EXPECT_EQ(view.fields.description, "HLEB" + std::string(24, ' '));
    EXPECT_EQ(view.fields.price + "|" + view.fields.stock + "|" + view.quantity + "|" + view.value,
              "40.5|7|2.25|91.5");
    EXPECT_EQ(std::to_string(view.fields.vat) + std::to_string(view.fields.unit) +
                  std::to_string(view.fields.type) + std::to_string(view.fields.department) +
                  (view.fields.singleSale ? "x" : "-"),
              "2134x");
}

TEST_P(SalesViewTest, CodeNotFoundDiffersBetweenTheScreens) {
    Fill();
    view.open();
    view.searchCode = "6";
    view.onToolbar("findArt");
    view.searchCode = "12A";
    view.onToolbar("findArt");
    EXPECT_EQ(shown(), (Strings{"Pretrazivanje: Artikal ne postoji. <exclamation>",
                                "Arvon Cash Registers: Ne pravilan barkod ! <critical>"}));
    if (GetParam() == Kind::Sold) {  // nothing selected, the panel as it was
        EXPECT_EQ(view.selectedRow(), -1);
        EXPECT_EQ(view.fields.description, "");
    } else {  // the first row, loaded
        EXPECT_EQ(view.selectedRow(), 0);
        EXPECT_EQ(view.fields.description.substr(0, 6), "MLEKO ");
    }
}

TEST_P(SalesViewTest, SearchInAnEmptyList) {
    view.open();
    view.searchCode = "1";
    view.find();
    EXPECT_EQ(shown(), Strings{GetParam() == Kind::Sold
                                   ? "QovCom: Nema artikala u listi."
                                   : "Pretrazivanje: Artikal ne postoji. <exclamation>"});
    EXPECT_EQ(view.selectedRow(), -1);
}

TEST_P(SalesViewTest, KeyPressProposesTheFirstFreeCode) {
    Sql({Received("000000000001", "A"), Received("000000000002", "B"),
         Received("000000000003", "C"), Received("000000000005", "E")});
    view.open();
    const std::string stored = Dump(table());
    view.rowDoubleClicked(3);
    view.fields.unit = 4;
    view.keyTyped();
    EXPECT_EQ(view.fields.code, "4");
    EXPECT_EQ(view.fields.description + view.fields.price + view.fields.stock, "0");
    EXPECT_EQ(std::to_string(view.fields.vat) + std::to_string(view.fields.department) +
                  std::to_string(view.fields.type) + (view.fields.singleSale ? "x" : "-"),
              "200-");
    EXPECT_EQ(Dump(table()), stored);  // nothing stored
}

TEST_P(SalesViewTest, CopyReplacesTheArticlesWithTheTwoStatements) {
    Fill();
    view.open();
    database.statements.clear();
    view.onToolbar("elimina");
    const std::string t = table();
    EXPECT_EQ(database.statements,
              (Strings{"Delete * from QOV_PLU; ",
                       "INSERT INTO QOV_PLU ( DESCRIPTION, PRICE, VAT_CODE, ONE_ITEM, DEPARTMENT, "
                       "MES_TYPE, ART_TYPE, BAR_CODE,INVENTARY )SELECT " +
                           t + ".DESCRIPTION, " + t + ".PRICE, " + t + ".VAT_CODE, " + t +
                           ".ONE_ITEM, " + t + ".DEPARTMENT, " + t + ".MES_TYPE, " + t +
                           ".ART_TYPE, " + t + ".BAR_CODE, " + t + ".INVENTARY FROM " + t + ";"}));
    EXPECT_EQ(shown(), Strings{"Arvon Cash Registars: Preneto !  <info>"});
    const std::string pad(28 - 4, ' ');
    EXPECT_EQ(Dump(), "000000000000|NULA" + pad + "|40.5|2|1|3|1|4|7\n000000000001|MLEKO" +
                          pad.substr(1) + "|40.5|2|1|3|1|4|7\n000000000005|HLEB" + pad +
                          "|40.5|2|1|3|1|4|7\n000000000012|SIR " + pad + "|40.5|2|1|3|1|4|7\n");
}

TEST_P(SalesViewTest, CopyOfAnEmptyTableEmptiesTheArticles) {
    Sql({PluRow("000000000099", "OLD", "1", "1")});
    view.open();
    view.copyIntoArticles();
    EXPECT_EQ(Dump(), "");
}

TEST_P(SalesViewTest, FailedCopyStatementsLeaveWhatTheyLeave) {
    Fill();
    view.open();
    const std::string sender = view.formName() + ".PLU_preb_Click()";
    database.failAt = database.statements.size() + 1;  // "Delete * from QOV_PLU; "
    view.copyIntoArticles();
    EXPECT_EQ(Dump(), "000000000099|OLD|1|2|1|3|1|4|1\n");
    Sql({"alter table " + table() + " rename to GONE"});  // the second statement fails
    view.copyIntoArticles();
    EXPECT_EQ(Dump(), "");
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    for (const MessageBox& box : dialogs.boxes) {
        EXPECT_EQ(box.title, "Arvon Cash Registers(Sender:='" + sender + "')");
        EXPECT_EQ(box.icon, Icon::Critical);
    }
    EXPECT_EQ(dialogs.boxes[1].text, "1 - no such table: " + table());
}

INSTANTIATE_TEST_SUITE_P(Screens, SalesViewTest, ::testing::Values(Kind::Received, Kind::Sold),
                         [](const auto& info) {
                             return info.param == Kind::Sold ? "Sold" : "Received";
                         });

}  // namespace
}  // namespace qov::articles
