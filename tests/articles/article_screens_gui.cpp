// The article screens' widgets on the offscreen platform: the list columns come from the
// screens' logic, and the panel follows the rows.
#include <QAction>
#include <QCoreApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableView>
#include <QToolBar>

#include "article_fixture.h"
#include "articles/article_screens.h"
#include "support/screen_keys.h"

namespace qov::test {
namespace {

// The texts of a view's row, "|" between the columns; the headings for row -1.
std::string Row(QTableView* view, int row) {
    std::string out;
    for (int column = 0; column < view->model()->columnCount(); ++column) {
        const QVariant text = row < 0 ? view->model()->headerData(column, Qt::Horizontal)
                                      : view->model()->index(row, column).data();
        out += (column ? "|" : "") + text.toString().toStdString();
    }
    return out;
}

std::string Text(QWidget* screen, const char* name) {
    return screen->findChild<QLineEdit*>(name)->text().toStdString();
}

using ArticleScreensGui = ArticleFixture;

TEST_F(ArticleScreensGui, EditorListsTheArticlesAndOpensTheDoubleClickedOne) {
    Sql({PluRow("000000000001", "HLEB", "45.5", "12"), PluRow("000000000007", "MLEKO", "99", "3"),
         PluRow("000000000000", "HIDDEN", "1", "1")});
    std::unique_ptr<QWidget> screen(articles::CreateArticleEditorScreen(station));
    auto* view = screen->findChild<QTableView*>("lstplu");
    ASSERT_TRUE(view != nullptr);
    EXPECT_EQ(screen->windowTitle(), "Artikli");
    EXPECT_EQ(view->model()->rowCount(), 2);
    EXPECT_EQ(Row(view, -1), "Sifra i naziv|Cena|Lager");
    EXPECT_EQ(Row(view, 1), "000000000007   MLEKO" + std::string(23, ' ') + "| 99|3");
    EXPECT_TRUE(screen->findChild<QGroupBox*>("Picture1")->isHidden());

    emit view->doubleClicked(view->model()->index(1, 0));
    EXPECT_FALSE(screen->findChild<QGroupBox*>("Picture1")->isHidden());
    EXPECT_EQ(Text(screen.get(), "txtDesc") + "|" + Text(screen.get(), "txtprezzo"), "MLEKO|99");
    EXPECT_FALSE(screen->findChild<QLineEdit*>("Barcode")->isEnabled());

    screen->findChild<QLineEdit*>("Fart")->setText("1");
    PressToolbarKey(screen.get(), "findArt");
    EXPECT_EQ(view->selectionModel()->selectedRows().value(0).row(), 0);
    EXPECT_EQ(Text(screen.get(), "txtDesc"), "HLEB");
    EXPECT_FALSE(screen->findChild<QLineEdit*>("txtDesc")->isEnabled());  // viewing only
}

TEST_F(ArticleScreensGui, SalesViewShowsFiveColumnsAndProposesTheFirstFreeCode) {
    Sql({PluRow("000000000001", "HLEB", "45.5", "12", "QOV_PLU_RCV", ", 91, 2"),
         PluRow("000000000002", "MLEKO", "99", "3", "QOV_PLU_RCV", ", 0, 0")});
    std::unique_ptr<QWidget> screen(articles::CreateReceivedArticlesScreen(station));
    auto* view = screen->findChild<QTableView*>("lstplu");
    ASSERT_TRUE(view != nullptr);
    EXPECT_EQ(screen->windowTitle(), "Primljeni artikli");
    EXPECT_EQ(Row(view, -1), "Sifra i naziv|Cena|Lager|Kolicina|Iznos");
    EXPECT_EQ(Row(view, 0), "000000000001  HLEB        |45.5|12|2|91");
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    QCoreApplication::sendEvent(view, &key);
    EXPECT_EQ(Text(screen.get(), "Barcode") + "|" + Text(screen.get(), "TextLager"), "3|0");
}

}  // namespace
}  // namespace qov::test
