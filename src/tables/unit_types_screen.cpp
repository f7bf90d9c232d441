// The unit and article-type name editors ("Jedinice mere", "Tipovi artikala"): one
// list-and-panel screen over UnitTypeEditor.
#include "tables/list_panel_screen.h"
#include "tables/transfer_screens.h"
#include "tables/unit_type_editor.h"

namespace qov::tables {

namespace {

QWidget* CreateUnitTypesScreen(Station& station, UnitTypeEditor::Kind kind, QWidget* parent) {
    auto editor = std::make_shared<UnitTypeEditor>(station, kind);
    UnitTypeEditor* e = editor.get();
    const bool units = kind == UnitTypeEditor::Kind::Units;
    ListPanelDescription d;
    d.objectName = units ? "frmMesUnits" : "frmTipArt";
    d.formName = e->formName();
    d.caption = e->caption();
    d.keys = {
        {"aggiorna", "Azuriraj", "Sacuvaj izmene izabranog naziva", QStyle::SP_DialogSaveButton},
        {"esci", "Izlaz", "Zatvori", QStyle::SP_DialogCloseButton}};
    d.listHeading = units ? "Spisak jedinica mera" : "Spisak naziva tipova artikala";
    d.listMinWidth = 240;
    d.panelTitle = units ? "Jedinica mere" : "Tip artikla";
    d.fields = {{.label = "Naziv",
                 .objectName = "txtName",
                 .tip = units ? "Naziv jedinice mere" : "Naziv tipa artikla",
                 .text = &e->name},
                {.label = "Skracenica", .objectName = "txtShort", .text = &e->abbreviation}};
    d.sizeHint = {600, 400};
    BindEditor(d, std::move(editor));
    return new ListPanelScreen(std::move(d), parent);
}

}  // namespace

QWidget* CreateUnitsScreen(Station& station, QWidget* parent) {
    return CreateUnitTypesScreen(station, UnitTypeEditor::Kind::Units, parent);
}

QWidget* CreateArticleTypesScreen(Station& station, QWidget* parent) {
    return CreateUnitTypesScreen(station, UnitTypeEditor::Kind::Types, parent);
}

}  // namespace qov::tables
