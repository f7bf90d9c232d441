// The currencies editor ("Valute"): a list-and-panel screen over CurrencyEditor.
#include "tables/currency_editor.h"
#include "tables/list_panel_screen.h"
#include "tables/transfer_screens.h"

namespace qov::tables {

QWidget* CreateCurrenciesScreen(Station& station, QWidget* parent) {
    auto editor = std::make_shared<CurrencyEditor>(station);
    CurrencyEditor* e = editor.get();
    ListPanelDescription d;
    d.objectName = d.formName = CurrencyEditor::kFormName;
    d.caption = CurrencyEditor::kCaption;
    d.keys = {
        {"aggiorna", "Azuriraj", "Sacuvaj izmene izabrane valute", QStyle::SP_DialogSaveButton},
        {"nuovo", "Novo", "Nova valuta", QStyle::SP_FileIcon},
        {"elimina", "Obrisi", "Obrisi izabranu valutu", QStyle::SP_TrashIcon},
        {"svuota", "Obrisi sve", "Vrati sve valute na pocetne vrednosti",
         QStyle::SP_DialogResetButton},
        {"inserisci", "Dodaj", "Dodaj valutu na kraj liste", QStyle::SP_FileDialogNewFolder},
        {"Esci", "Izlaz", "Zatvori", QStyle::SP_DialogCloseButton}};
    d.listHeading = "Spisak valuta";
    d.listMinWidth = 260;
    d.panelTitle = "Valuta";
    d.fields = {{.label = "Naziv",
                 .objectName = "txtName",
                 .tip = "Naziv valute",
                 .maxLength = static_cast<int>(kCurrencyNameWidth),
                 .text = &e->name},
                {.label = "Kurs",
                 .objectName = "txtRate",
                 .tip = "Kurs promene valute",
                 .maxLength = static_cast<int>(kCurrencyRateWidth),
                 .text = &e->rate}};
    d.sizeHint = {660, 380};
    d.check1Caption = "Cirilica";
    d.check1Name = "Check1";
    BindEditor(d, std::move(editor));
    return new ListPanelScreen(std::move(d), parent);
}

}  // namespace qov::tables
