#include "articles/article_editor.h"

#include <algorithm>

#include "app/vb_convert.h"
#include "articles/article_numbers.h"
#include "tables/fields.h"
#include "text/transcode.h"

namespace qov::articles {

using tables::TrimBlanks;

namespace {

// The title of the editor's mode boxes.
constexpr const char* kModeTitle = "Arvon Cash Register";
constexpr int kSearchStepLimit = 1000;

bool Fail(Dialogs& dialogs, const char* text) {
    dialogs.message(text, kTitle, Icon::Critical);
    return false;
}

// A stored list position, kept inside the list it selects from.
int Position(const std::string& stored, std::size_t count) {
    const double value = LeadingNumber(stored);
    if (!(value >= 0)) {
        return 0;
    }
    return static_cast<int>(std::min(value, static_cast<double>(count) - 1));
}

// (a + b) / 2 rounded half to even.
int HalfOfSum(int sum) {
    int half = sum / 2;
    if (sum % 2 == 1 && half % 2 == 1) {
        ++half;
    }
    return half;
}

}  // namespace

ArticleChoiceLists MakeChoiceLists(const SharedState& state) {
    ArticleChoiceLists lists;
    for (int n = 1; n <= 10; ++n) {
        lists.departments.push_back(TrimBlanks(state.DepartmentTable[n].description));
    }
    lists.units.assign(kFixedUnits.begin(), kFixedUnits.end());
    for (int n = 1; n <= 5; ++n) {
        lists.units.push_back(state.UnitTable[n].name);
    }
    for (int n = 1; n <= 8; ++n) {
        lists.types.push_back(state.ArticleTypeTable[n].name);
    }
    return lists;
}

bool CheckCode(Dialogs& dialogs, const std::string& code) {
    const std::string trimmed = TrimBlanks(code);
    if (trimmed.empty()) {
        return Fail(dialogs, "Unesite barkod ! ");
    }
    if (!IsDigitsOnly(trimmed)) {
        return Fail(dialogs, "Ne pravilan barkod !");
    }
    if (trimmed.size() > kCodeWidth) {
        return Fail(dialogs, "Ne pravilan bar kod!");
    }
    return true;
}

CodeSearch SearchCode(const std::vector<std::string>& lines, double wanted) {
    CodeSearch search;
    const int count = static_cast<int>(lines.size());
    if (count == 0) {
        return search;
    }
    auto codeAt = [&](int row) {
        row = std::clamp(row, 0, count - 1);
        return LeadingNumber(KeyOfLine(lines[static_cast<std::size_t>(row)]));
    };
    int low = 0;
    int high = count;
    int position = HalfOfSum(high);
    while (search.steps < kSearchStepLimit) {
        ++search.steps;
        position = std::clamp(position, 0, count - 1);
        const double code = codeAt(position);
        if (code < wanted) {
            low = position;
            position = HalfOfSum(position + high);
        } else if (code == wanted) {
            search.found = true;
            search.row = position;
            return search;
        } else {
            high = position;
            position = HalfOfSum(low + position);
        }
        if (low == high) {
            return search;
        }
    }
    if (codeAt(high) == wanted) {
        search.found = true;
        search.row = std::clamp(high, 0, count - 1);
    }
    return search;
}

std::string PriceLeftText(const std::string& text) {
    return FixedText(LeadingNumber(text), 2);
}

std::string StockLeftText(const std::string& text, int unit) {
    const std::string stock = FixedText(LeadingNumber(text), 3);
    return unit == kUnitPieces ? FixedText(LeadingNumber(stock), 0) : stock;
}

bool ValidateArticle(Dialogs& dialogs, ArticleFields& fields, const CheckOptions& options,
                     const std::function<std::optional<bool>(const std::string&)>& duplicate) {
    if (!CheckCode(dialogs, fields.code)) {
        return false;
    }
    if (options.forInsert) {
        const std::optional<bool> taken = duplicate(PaddedCode(fields.code));
        if (!taken) {
            return false;
        }
        if (*taken) {
            return Fail(dialogs, "Bar kod vec postoji ! ");
        }
    }
    const std::string name = TrimBlanks(fields.description);
    if (name.empty()) {
        return Fail(dialogs, "Unesite naziv !");
    }
    // A name too long is reported, but the other fields are still checked.
    const bool nameFits = name.size() <= kNameWidth || Fail(dialogs, "Naziv je max 28 karaktera !");

    const std::string price = TrimBlanks(fields.price);
    if (price.empty() || !tables::IsNumber(price)) {
        return Fail(dialogs, "Cena nije validna !");
    }
    const double p = LeadingNumber(price);
    if (!(p > 0) || p > options.maxPrice) {
        return Fail(dialogs, "Cena nije validna!");
    }
    fields.price = SqlNumber(RoundHalfEven(p, 2));

    const std::string stock = TrimBlanks(fields.stock);
    if (stock.empty() || !tables::IsNumber(stock)) {
        return Fail(dialogs, "Lager nije validan !");
    }
    if (stock.size() > 6) {
        return Fail(dialogs, "Lager je max 6 karaktera !");
    }
    const double s = LeadingNumber(stock);
    if (!(s >= 0) || s > kMaxStock) {
        return Fail(dialogs, "Lager nije validan !");
    }
    fields.stock = SqlNumber(RoundHalfEven(s, 3));
    if (fields.unit == kUnitPieces) {
        fields.stock = SqlNumber(RoundHalfEven(s, 0));
    }
    return nameFits;
}

void FillFields(ArticleFields& fields, const ArticleRecord& record,
                const ArticleChoiceLists& choices) {
    fields.description = record.description;
    fields.price = record.price;
    fields.code = record.code;
    fields.stock = record.stock;
    fields.vat = Position(record.vatCode, kVatItems.size());
    fields.department = Position(record.department, choices.departments.size());
    fields.unit = Position(record.unit, choices.units.size());
    fields.type = Position(record.type, choices.types.size());
    fields.singleSale = record.singleSale;
}

ArticleValues ValuesOf(const ArticleFields& fields) {
    ArticleValues v;
    v.code = fields.code;
    v.description = fields.description;
    v.price = LeadingNumber(fields.price);
    v.vat = fields.vat;
    v.unit = fields.unit;
    v.type = fields.type;
    v.singleSale = fields.singleSale;
    v.department = fields.department;
    v.stock = LeadingNumber(fields.stock);
    return v;
}

void ArticleEditor::open() {
    SharedState& state = station_.state;
    carica_PLU();
    state.CurrentForm = kFormName;
    priceMaxLength_ = static_cast<int>(SqlNumber(state.MaxPrice).size());
    nameMaxLength_ = state.LineWidth == 22 ? 18 : 28;
    // The "Cirilica" box shows the articles' flag that picks the font.
    check1_ = state.tableCyrillic(CyrTable::Articles);
    fieldFont_ = check1_ ? kCyrillicFont : kLatinListFont;
    vatFont_ = kCyrillicFont;
    choices_ = MakeChoiceLists(state);
    DoChangeLang(!state.CyrillicMode);
}

void ArticleEditor::carica_PLU() {
    if (store_.carica_PLU(columns_)) {
        selected_ = -1;
    }
}

bool ArticleEditor::onToolbar(const std::string& key) {
    if (key == "nuovo") {
        nuovo();
    } else if (key == "inserisci") {
        inserisci();
    } else if (key == "aggiorna") {
        aggiorna();
    } else if (key == "elimina") {
        elimina();
    } else if (key == "findArt") {
        findArt();
    } else if (key == "esci") {
        esci();
        return true;
    }
    return false;
}

void ArticleEditor::setFields(bool codeEnabled, bool othersEnabled) {
    codeEnabled_ = codeEnabled;
    fieldsEnabled_ = othersEnabled;
}

void ArticleEditor::nuovo() {
    newMode_ = true;
    editMode_ = false;
    panelVisible_ = true;
    setFields(true, true);
    svuota_mask();
    changeLanguage();
}

void ArticleEditor::svuota_mask() {
    fields = ArticleFields{};
    fields.stock = "0";
    if (panelVisible_) {
        ++codeFocusRequests_;
    }
}

bool ArticleEditor::controlla(bool forInsert) {
    return ValidateArticle(station_.dialogs, fields, {forInsert, station_.state.MaxPrice},
                           [this](const std::string& code) {
                               return store_.exists(code, std::string(kFormName) + ".controlla()");
                           });
}

void ArticleEditor::inserisci() {
    if (!(codeEnabled_ && panelVisible_ && newMode_)) {
        station_.dialogs.message("Morate prvo izabrati stavku 'Novi' !", kModeTitle,
                                 Icon::Critical);
        return;
    }
    if (!controlla(true)) {
        return;
    }
    if (panelVisible_) {
        if (store_.insert_plu(ValuesOf(fields))) {
            carica_PLU();
        }
        newMode_ = false;
        editMode_ = false;
    }
    panelVisible_ = false;
}

void ArticleEditor::aggiorna() {
    if (!editMode_) {
        station_.dialogs.message("Morate prvo duplim klikom izabrati artikal za azuriranje !",
                                 kModeTitle, Icon::Critical);
        editMode_ = false;
        newMode_ = true;
        return;
    }
    if (controlla(false)) {
        const std::string key = selected_ >= 0 && selected_ < static_cast<int>(columns_.size())
                                    ? KeyOfLine(columns_.main[selected_])
                                    : PaddedCode(fields.code);
        if (store_.aggiorna_plu(ValuesOf(fields), key)) {
            carica_PLU();
        }
        editMode_ = false;
        newMode_ = true;
        panelVisible_ = false;
    }
    changeLanguage();
}

void ArticleEditor::elimina() {
    if (panelVisible_) {
        return;
    }
    if (selected_ < 0 || selected_ >= static_cast<int>(columns_.size())) {
        station_.dialogs.message("Morate prvo izabrati artikal !", kModeTitle, Icon::Critical);
        return;
    }
    if (station_.dialogs.message("Da li ste sigurni?", kDefaultTitle, Icon::Exclamation,
                                 Buttons::YesNo) != Answer::Yes) {
        return;
    }
    panelVisible_ = false;
    if (store_.elimina_plu(KeyOfLine(columns_.main[selected_]))) {
        carica_PLU();
    }
}

void ArticleEditor::findArt() {
    if (!CheckCode(station_.dialogs, searchCode)) {
        return;
    }
    const CodeSearch search = SearchCode(columns_.main, LeadingNumber(TrimBlanks(searchCode)));
    if (search.found) {
        viewRow(search.row);
        return;
    }
    station_.dialogs.message("Trazeni artikal ne postoji !", kTitle, Icon::Information);
    if (columns_.size() > 0) {
        viewRow(0);
    }
}

void ArticleEditor::viewRow(int row) {
    selected_ = row;
    load(KeyOfLine(columns_.main[row]));
    setFields(false, false);
}

bool ArticleEditor::load(const std::string& key) {
    const std::optional<ArticleRecord> record = store_.PctOsv(key);
    if (!record) {
        return false;
    }
    FillFields(fields, *record, choices_);
    panelVisible_ = true;
    return true;
}

void ArticleEditor::esci() {
    station_.state.CurrentForm = " ";
}

void ArticleEditor::rowClicked(int row) {
    if (row < 0 || row >= static_cast<int>(columns_.size())) {
        return;
    }
    selected_ = row;
    editMode_ = false;
    newMode_ = true;
    panelVisible_ = false;
}

void ArticleEditor::rowDoubleClicked(int row) {
    if (row < 0 || row >= static_cast<int>(columns_.size())) {
        return;
    }
    editMode_ = true;
    newMode_ = false;
    setFields(false, true);
    selected_ = row;
    load(KeyOfLine(columns_.main[row]));
}

void ArticleEditor::keyTyped(bool escape) {
    svuota_mask();
    if (escape) {
        panelVisible_ = false;
    }
}

void ArticleEditor::exitPanel() {
    panelVisible_ = false;
    newMode_ = false;
    editMode_ = false;
}

void ArticleEditor::priceLeft() {
    fields.price = PriceLeftText(fields.price);
}

void ArticleEditor::stockLeft() {
    fields.stock = StockLeftText(fields.stock, fields.unit);
}

void ArticleEditor::setCheck1(bool checked) {
    check1_ = checked;
    fieldFont_ = checked ? kCyrillicFont : kLatinListFont;
    station_.state.tableCyrillic(CyrTable::Articles) = checked;
}

void ArticleEditor::DoChangeLang(bool toLatin) {
    const SharedState& state = station_.state;
    for (std::string* text : {&fields.code, &fields.description, &fields.stock}) {
        *text = ConvertDigraphs(*text, toLatin);
    }
    for (auto* list : {&choices_.departments, &choices_.units, &choices_.types, &columns_.main}) {
        for (std::string& item : *list) {
            item = ConvertDigraphs(item, toLatin);
        }
    }
    vatFont_ = state.CyrillicFontName;
    fieldFont_ = state.CyrillicMode ? state.CyrillicFontName : state.LatinFontName;
}

ArticleEditor::Mode ArticleEditor::mode() const {
    if (!panelVisible_) {
        return Mode::Browsing;
    }
    if (!codeEnabled_ && !fieldsEnabled_) {
        return Mode::Viewing;
    }
    if (editMode_) {
        return Mode::Editing;
    }
    return newMode_ ? Mode::New : Mode::Browsing;
}

}  // namespace qov::articles
