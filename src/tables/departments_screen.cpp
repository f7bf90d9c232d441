// The departments editor ("Odeljenja"): a list-and-panel screen over DepartmentEditor.
#include "tables/department_editor.h"
#include "tables/departments.h"
#include "tables/list_panel_screen.h"
#include "tables/transfer_screens.h"

namespace qov::tables {

QWidget* CreateDepartmentsScreen(Station& station, QWidget* parent) {
    auto editor = std::make_shared<DepartmentEditor>(station);
    DepartmentEditor* e = editor.get();
    ListPanelDescription d;
    d.objectName = d.formName = DepartmentEditor::kFormName;
    d.caption = DepartmentEditor::kCaption;
    d.keys = {{"aggiorna", "Azuriraj", "", QStyle::SP_DialogSaveButton},
              {"nuovo", "Novo", "", QStyle::SP_FileIcon},
              {"elimina", "Obrisi", "", QStyle::SP_TrashIcon},
              {"svuota", "Obrisi sve", "", QStyle::SP_DialogResetButton},
              {"inserisci", "Dodaj", "", QStyle::SP_FileDialogNewFolder},
              {"esci", "Izlaz", "", QStyle::SP_DialogCloseButton}};
    d.listHeading = "Nazivi odeljenja";
    d.listMinWidth = 240;
    d.panelTitle = "Odeljenje";
    d.fields = {
        {.label = "Naziv",
         .tip = "Naziv odeljenja",
         .maxLength = static_cast<int>(kDepartmentNameWidth),
         .text = &e->description,
         .onEnter = [e] { e->descriptionEnter(); }},
        {.label = "Max Cena", .text = &e->maxPrice},
        {.label = "Poreska stopa", .text = &e->vatRate, .onLeave = [e] { e->vatRateLeft(); }},
        {.label = "Auto Close", .flag = &e->autoClose}};
    d.sizeHint = {660, 440};
    d.check1Caption = "Check1";
    // A double or right click opens a line, Enter does not; Esc hides the panel.
    d.enterOpensLine = false;
    d.rightClickOpensLine = true;
    d.escapeInList = [e] { e->escapeInList(); };
    BindEditor(d, std::move(editor));
    return new ListPanelScreen(std::move(d), parent);
}

}  // namespace qov::tables
