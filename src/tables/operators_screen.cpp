// The cashiers editor ("Kasiri"): a list-and-panel screen over OperatorEditor.
#include "tables/list_panel_screen.h"
#include "tables/operator_editor.h"
#include "tables/transfer_screens.h"

namespace qov::tables {

QWidget* CreateOperatorsScreen(Station& station, QWidget* parent) {
    auto editor = std::make_shared<OperatorEditor>(station);
    OperatorEditor* e = editor.get();
    ListPanelDescription d;
    d.objectName = d.formName = OperatorEditor::kFormName;
    d.caption = OperatorEditor::kCaption;
    d.keys = {
        {"aggiorna", "Azuriraj", "Sacuvaj izmene izabranog kasira", QStyle::SP_DialogSaveButton},
        {"nuovo", "Novo", "Novi kasir", QStyle::SP_FileIcon},
        {"elimina", "Obrisi", "Obrisi izabranog kasira iz liste", QStyle::SP_TrashIcon},
        {"inserisci", "Dodaj", "Dodaj kasira na kraj liste", QStyle::SP_FileDialogNewFolder},
        {"Esci", "Izlaz", "Zatvori", QStyle::SP_DialogCloseButton}};
    d.listHeading = "Spisak kasira";
    d.listMinWidth = 260;
    d.panelTitle = "Kasir";
    d.fields = {{.label = "Pristupna sifra kasira",
                 .objectName = "txtCode",
                 .maxLength = static_cast<int>(kOperatorCodeWidth),
                 .text = &e->code},
                {.label = "Ime kasira",
                 .objectName = "txtName",
                 .maxLength = static_cast<int>(kOperatorNameWidth),
                 .text = &e->name,
                 .onEnter = [e] { e->nameEnter(); }}};
    d.sizeHint = {660, 640};
    d.check1Caption = "Cirilica";
    d.check1Name = "Check1";
    BindEditor(d, std::move(editor));
    return new ListPanelScreen(std::move(d), parent);
}

}  // namespace qov::tables
