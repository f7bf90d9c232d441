#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QToolBar>

#include "table_fixture.h"
#include "tables/transfer_screens.h"

namespace qov::test {
namespace {

void Press(QWidget* screen, const char* key) {
    for (QAction* action : screen->findChild<QToolBar*>()->actions()) {
        if (action->data().toString() == key) {
            return action->trigger();
        }
    }
    FAIL() << "no toolbar key " << key;
}

using ScreensGui = TableFixture;

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
    Press(screen.get(), "invia");
    const auto mark = [list](int row) { return list->item(row)->icon().cacheKey(); };
    EXPECT_EQ(mark(0), mark(2));  // not run: the blank mark
    EXPECT_TRUE(mark(1) != mark(0) && mark(10) != mark(0) && mark(1) != mark(10));
}

TEST_F(ScreensGui, DepartmentsScreenStoresThePanel) {
    std::unique_ptr<QWidget> screen(tables::CreateDepartmentsScreen(station));
    auto* list = screen->findChild<QListWidget*>();
    auto edits = screen->findChildren<QLineEdit*>();
    ASSERT_TRUE(list && list->count() == 10 && edits.size() == 3);
    list->setCurrentRow(2);
    emit list->itemClicked(list->item(2));
    edits[0]->setText("Pekara");
    edits[1]->setText("99.9");
    Press(screen.get(), "aggiorna");
    EXPECT_EQ(state.DepartmentTable[3].description + state.DepartmentTable[3].maxPrice + "|" +
                  list->item(2)->text().toStdString(),
              "Pekara      00000099|3 - Pekara");
}

}  // namespace
}  // namespace qov::test
