#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QToolBar>

#include "support/screen_keys.h"
#include "table_fixture.h"
#include "tables/transfer_screens.h"

namespace qov::test {
namespace {

using ScreensGui = TableFixture;

// Clicks list line `row` of a screen and types `texts` into its panel's line edits, in order.
QListWidget* ClickAndType(QWidget* screen, int row, const std::vector<const char*>& texts) {
    auto* list = screen->findChild<QListWidget*>();
    list->setCurrentRow(row);
    emit list->itemClicked(list->item(row));
    auto edits = screen->findChildren<QLineEdit*>();
    for (std::size_t i = 0; i < texts.size() && i < static_cast<std::size_t>(edits.size()); ++i) {
        edits[static_cast<qsizetype>(i)]->setText(texts[i]);
    }
    return list;
}

TEST_F(ScreensGui, TransmitScreenSendsTheSelectedTablesAndMarksThem) {
    std::unique_ptr<QWidget> screen(tables::CreateTransmitScreen(station));
    auto* list = screen->findChild<QListWidget*>();
    auto* red1 = screen->findChild<QLineEdit*>("Red1");
    ASSERT_TRUE(list && red1 && list->count() == 11 && red1->maxLength() == 22);
    EXPECT_EQ(screen->windowTitle(), "Slanje");
    red1->setText(QString::fromUtf8("\u041d\u0438\u0432\u0430"));  // typed in Cyrillic
    list->item(10)->setSelected(true);
    list->item(1)->setSelected(true);
    link.expect("Testconnessione", "", 0).expect("send_frame", "kNiva" + std::string(92, ' '), 0);
    PressToolbarKey(screen.get(), "invia");
    const auto mark = [list](int row) { return list->item(row)->icon().cacheKey(); };
    EXPECT_EQ(mark(0), mark(2));  // not run: the blank mark
    EXPECT_TRUE(mark(1) != mark(0) && mark(10) != mark(0) && mark(1) != mark(10));
}

TEST_F(ScreensGui, DepartmentsScreenStoresThePanel) {
    std::unique_ptr<QWidget> screen(tables::CreateDepartmentsScreen(station));
    ASSERT_EQ(screen->findChildren<QLineEdit*>().size(), 3);
    QListWidget* list = ClickAndType(screen.get(), 2, {"Pekara", "99.9"});
    ASSERT_EQ(list->count(), 10);
    PressToolbarKey(screen.get(), "aggiorna");
    EXPECT_EQ(state.DepartmentTable[3].description + state.DepartmentTable[3].maxPrice + "|" +
                  list->item(2)->text().toStdString(),
              "Pekara      00000099|3 - Pekara");
}

TEST_F(ScreensGui, DepartmentsScreenFontsEveryFieldAndLabelsTheName) {
    std::unique_ptr<QWidget> screen(tables::CreateDepartmentsScreen(station));
    screen->findChild<QCheckBox*>()->click();
    for (QLineEdit* edit : screen->findChildren<QLineEdit*>()) {
        EXPECT_EQ(edit->font().family(), "Helvetica Ciril");
    }
    EXPECT_EQ(screen->findChild<QListWidget*>()->font().family(), "Helvetica Ciril");
    bool naziv = false;
    for (QLabel* label : screen->findChildren<QLabel*>()) {
        naziv = naziv || label->text() == "Naziv";
    }
    EXPECT_TRUE(naziv);
}

TEST_F(ScreensGui, OperatorsScreenStoresThePanel) {
    std::unique_ptr<QWidget> screen(tables::CreateOperatorsScreen(station));
    EXPECT_EQ(screen->windowTitle(), "Kasiri");
    QListWidget* list = ClickAndType(screen.get(), 10, {"4321", "Zika"});
    ASSERT_EQ(list->count(), 31);
    PressToolbarKey(screen.get(), "aggiorna");
    EXPECT_EQ(state.OperatorTable[11].code + "|" + state.OperatorTable[11].name + "|" +
                  list->item(10)->text().toStdString(),
              "4321|Zika|Op.11   4321    Zika");
}

TEST_F(ScreensGui, CurrenciesScreenCompletesTheRate) {
    std::unique_ptr<QWidget> screen(tables::CreateCurrenciesScreen(station));
    EXPECT_EQ(screen->windowTitle(), "Valute");
    QListWidget* list = ClickAndType(screen.get(), 1, {"Euro", "117,5"});
    ASSERT_EQ(list->count(), 4);
    PressToolbarKey(screen.get(), "aggiorna");
    EXPECT_EQ(list->item(1)->text().toStdString(), "2-117,50000    Euro");
}

TEST_F(ScreensGui, UnitAndTypeScreensStoreTheName) {
    std::unique_ptr<QWidget> units(tables::CreateUnitsScreen(station));
    std::unique_ptr<QWidget> types(tables::CreateArticleTypesScreen(station));
    EXPECT_EQ(units->windowTitle() + "|" + types->windowTitle(), "Jedinice mere|Tipovi artikala");
    ClickAndType(units.get(), 4, {"kg", "kil"});
    QListWidget* typeList = ClickAndType(types.get(), 7, {"Vaga"});
    PressToolbarKey(units.get(), "aggiorna");
    PressToolbarKey(types.get(), "aggiorna");
    EXPECT_EQ(units->findChild<QListWidget*>()->count(), 5);
    EXPECT_EQ(typeList->count(), 8);
    EXPECT_EQ(state.UnitTable[5].name + state.UnitTable[5].abbreviation + "|" +
                  typeList->item(7)->text().toStdString(),
              "kgkil|8   - Vaga");
}

}  // namespace
}  // namespace qov::test
