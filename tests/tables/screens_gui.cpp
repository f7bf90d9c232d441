#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QToolBar>

#include <memory>

#include "table_fixture.h"
#include "tables/transfer_screens.h"
#include "ui/screen.h"

namespace qov::test {
namespace {

QAction* Key(QWidget* screen, const char* key) {
    for (QAction* action : screen->findChild<QToolBar*>()->actions()) {
        if (action->data().toString() == key) {
            return action;
        }
    }
    return nullptr;
}

using ScreensGui = TableFixture;

TEST_F(ScreensGui, TransmitScreenRunsTheSelectedTables) {
    latin();
    std::unique_ptr<QWidget> screen(tables::CreateTransmitScreen(station));
    EXPECT_EQ(screen->windowTitle(), "Slanje");
    EXPECT_EQ(dynamic_cast<Screen*>(screen.get())->formName(), "frmtrasm");
    EXPECT_EQ(state.CurrentForm, "frmtrasm");
    auto* list = screen->findChild<QListWidget*>();
    ASSERT_EQ(list->count(), 11);
    EXPECT_EQ(list->item(10)->text(), "Poruka");
    auto* red1 = screen->findChild<QLineEdit*>("Red1");
    ASSERT_NE(red1, nullptr);
    EXPECT_EQ(red1->maxLength(), 22);
    EXPECT_EQ(red1->toolTip(), "Prvi red poruke");
    red1->setText(QString::fromUtf8("\u041d\u0438\u0432\u0430"));  // typed in Cyrillic

    list->item(10)->setSelected(true);
    list->item(1)->setSelected(true);
    link.expect("Testconnessione", "", 0).expect("send_frame", "kNiva" + std::string(92, ' '), 0);
    Key(screen.get(), "invia")->trigger();

    EXPECT_FALSE(list->item(10)->icon().isNull());
    EXPECT_FALSE(list->item(1)->icon().isNull());
    EXPECT_TRUE(list->item(0)->icon().isNull());
    EXPECT_EQ(link.count("send_frame"), 1);

    state.LineWidth = 32;
    dynamic_cast<Screen*>(screen.get())->lineWidthChanged();
    EXPECT_EQ(red1->maxLength(), 32);
}

TEST_F(ScreensGui, ReceiveScreenHasItsList) {
    std::unique_ptr<QWidget> screen(tables::CreateReceiveScreen(station));
    EXPECT_EQ(screen->windowTitle(), "Prijem");
    EXPECT_EQ(state.CurrentForm, "ne");
    EXPECT_EQ(screen->findChild<QListWidget*>()->count(), 9);
    EXPECT_NE(Key(screen.get(), "delete"), nullptr);
    EXPECT_NE(Key(screen.get(), "erase"), nullptr);
}

TEST_F(ScreensGui, DepartmentsScreenEditsTheTable) {
    state.CyrillicMode = false;
    std::unique_ptr<QWidget> screen(tables::CreateDepartmentsScreen(station));
    EXPECT_EQ(screen->windowTitle(), "Odeljenja");
    EXPECT_EQ(state.CurrentForm, "frmreparti");
    auto* list = screen->findChild<QListWidget*>();
    ASSERT_EQ(list->count(), 10);
    EXPECT_EQ(list->item(2)->text(), "3 - Odeljenje  3");

    list->setCurrentRow(2);
    emit list->itemClicked(list->item(2));
    auto edits = screen->findChildren<QLineEdit*>();
    ASSERT_EQ(edits.size(), 3);
    edits[0]->setText("Pekara");
    edits[1]->setText("99.9");
    Key(screen.get(), "aggiorna")->trigger();

    EXPECT_EQ(state.DepartmentTable[3].description, "Pekara      ");
    EXPECT_EQ(state.DepartmentTable[3].maxPrice, "00000099");
    EXPECT_EQ(list->item(2)->text(), "3 - Pekara");
    EXPECT_TRUE(dialogs.boxes.empty());
}

}  // namespace
}  // namespace qov::test
