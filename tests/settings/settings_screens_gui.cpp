// The settings screens' widgets: controls, captions and what their keys store.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QToolBar>

#include "settings/settings_screens.h"
#include "support/screen_keys.h"
#include "tables/table_fixture.h"
#include "ui/screen.h"

namespace qov::test {
namespace {

// The toolbar as "key:caption:tooltip" entries.
std::string Toolbar(QWidget* screen) {
    std::string all;
    for (QAction* action : screen->findChild<QToolBar*>()->actions()) {
        if (!action->data().toString().isEmpty()) {
            all += action->data().toString().toStdString() + ":" + action->text().toStdString() +
                   ":" + action->toolTip().toStdString() + "|";
        }
    }
    return all;
}

using SettingsGui = TableFixture;

TEST_F(SettingsGui, SystemScreenEnablesGraphicNumbersAndStores) {
    state.SystemParams.SPEED = "2";
    std::unique_ptr<QWidget> screen(settings::CreateSystemScreen(station));
    EXPECT_EQ(screen->windowTitle(), "Sistem");
    EXPECT_EQ(state.CurrentForm, "frmsistema");
    EXPECT_EQ(Toolbar(screen.get()),
              "Salva:Sacuvaj:Memorisanje unetih podataka|Annulla:Izlaz:Zatvaranje forme|");
    auto* combo = screen->findChild<QComboBox*>("Combo2");
    EXPECT_EQ(combo->currentText(), "19200 bps");
    auto* check = screen->findChild<QCheckBox*>("chkgrafica1");
    auto* number = screen->findChild<QLineEdit*>("txtgrafica1");
    EXPECT_FALSE(number->isEnabled());
    check->setChecked(true);
    EXPECT_TRUE(number->isEnabled());
    number->setText("3");
    screen->findChild<QLineEdit*>("txtncassa")->setText("9");
    PressToolbarKey(screen.get(), "Salva");
    EXPECT_EQ(state.SystemParams.CASH + state.SystemParams.GRAFICA1 +
                  state.SystemParams.GRAFICA1_IMG + state.SystemParams.SPEED,
              "9 132");
    EXPECT_EQ(state.CurrentForm, " ");
}

TEST_F(SettingsGui, HeaderScreenShowsMarksAndFollowsTheWidth) {
    state.HeaderLines[1] = "ZDRAVO" + std::string(26, ' ') + "11";
    std::unique_ptr<QWidget> screen(settings::CreateHeaderScreen(station));
    EXPECT_EQ(screen->windowTitle(), "Zaglavlje");
    EXPECT_EQ(Toolbar(screen.get()),
              "Bold:Podebljano:Bold|Center:Centrirano:Center|Align Left:Uz levu ivicu:Align Left|"
              "Aggiorna:Sacuvaj:Memorisanje podataka|Annulla:Izlaz:Zatvaranje forme|");
    auto* line1 = screen->findChild<QLineEdit*>("rtftext1");
    EXPECT_EQ(line1->toolTip(), "Drugi red zaglavlja");
    EXPECT_EQ(std::make_tuple(line1->font().bold(), line1->font().pointSize(),
                              line1->alignment() == Qt::AlignHCenter, line1->maxLength()),
              std::make_tuple(true, 15, true, 22));
    state.LineWidth = 32;
    dynamic_cast<Screen*>(screen.get())->lineWidthChanged();
    EXPECT_EQ(line1->maxLength(), 32);
    screen->findChild<QLineEdit*>("rtftext0")->setText("Prodavnica");
    PressToolbarKey(screen.get(), "Aggiorna");
    EXPECT_EQ(state.HeaderLines[0], "Prodavnica" + std::string(22, ' ') + "00");
}

TEST_F(SettingsGui, AdvertScreenAndFunctionsScreen) {
    std::unique_ptr<QWidget> advert(settings::CreateAdvertScreen(station));
    EXPECT_EQ(advert->windowTitle(), "Reklamna poruka");
    EXPECT_EQ(advert->findChild<QLineEdit*>("rtftext5")->toolTip(), "Sesti red reklamne poruke");
    EXPECT_EQ(state.CurrentForm, "frmadvertize");

    state.FunctionTable[4] = {"Popust %", "15"};
    std::unique_ptr<QWidget> functions(settings::CreateFunctionsScreen(station));
    EXPECT_EQ(functions->windowTitle(), "Funkcije");
    EXPECT_EQ(state.CurrentForm, "frmfunzione");
    auto* list = functions->findChild<QListWidget*>("lstplu");
    ASSERT_EQ(list->count(), 11);
    EXPECT_EQ(list->item(4)->text(), "4 -    Popust %");
    list->setCurrentRow(4);
    emit list->itemDoubleClicked(list->item(4));
    EXPECT_EQ(functions->findChild<QLineEdit*>("txtValue")->text(), "15");
    EXPECT_FALSE(functions->findChild<QLabel*>("lbl5")->isHidden());
    list->setCurrentRow(2);
    emit list->itemDoubleClicked(list->item(2));
    EXPECT_TRUE(functions->findChild<QLabel*>("lbl5")->isHidden());
}

}  // namespace
}  // namespace qov::test
