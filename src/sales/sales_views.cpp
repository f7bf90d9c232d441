#include "sales/sales_views.h"

#include <charconv>

#include "tables/fields.h"
#include "text/transcode.h"

namespace qov::sales {

namespace {

constexpr int kDepartments = 10;
constexpr int kOperators = 31;

// A sum of stored values as the screen shows it: 15 significant digits, so that adding
// hundredths in binary leaves no tail ("0.30000000000000004" shows as "0.3").
std::string SumText(double sum) {
    char buffer[64];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, sum, std::chars_format::general, 15);
    double rounded = sum;
    std::from_chars(buffer, written.ptr, rounded);
    return tables::NumberText(rounded);
}

}  // namespace

std::string NameRowText(int position, const std::string& name) {
    return tables::PadLeft(std::to_string(position), 2) + "  " + tables::PadRight(name, 12);
}

std::string DividedText(const std::string& stored, double divisor) {
    return tables::NumberText(tables::NumericValue(stored) / divisor);
}

SalesList::SalesList(Station& station, Kind kind) : st_(station), kind_(kind) {}

std::string SalesList::formName() const {
    return kind_ == Kind::Departments ? "frmDepSales" : "frmOperSales";
}

std::string SalesList::caption() const {
    return kind_ == Kind::Departments ? "Prodaja po odeljenjima" : "Prodaja kasira";
}

std::string SalesList::heading() const {
    return kind_ == Kind::Departments ? "Pregled Prodaje Odeljenja" : "Pregled Prodaje Kasira";
}

void SalesList::open() {
    st_.state.CurrentForm = formName();
    selected_ = -1;
    if (kind_ == Kind::Departments) {
        fillDepartments();
    } else {
        fillOperators();
    }
    DoChangeLang();
}

void SalesList::setColumns(std::vector<SalesColumn> columns) {
    // The columns stay where they are once made, so a screen may keep pointing at their rows.
    if (columns_.empty()) {
        columns_ = std::move(columns);
    }
    for (SalesColumn& column : columns_) {
        column.rows.clear();
    }
}

void SalesList::fillDepartments() {
    setColumns({{"lstplu", "Naziv", "Naziv odeljenja", false, {}},
                {"ListR", "Kolicina", "Broj prodatih komada", true, {}},
                {"ListI", "Vrednost prodaje", "Vrednost prodate robe", true, {}}});
    for (int pos = 1; pos <= kDepartments; ++pos) {
        const DepartmentRecord& d = st_.state.DepartmentTable[static_cast<std::size_t>(pos)];
        columns_[0].rows.push_back(NameRowText(pos, d.description));
        // The register reports thousandths and hundredths; the receive keeps them so.
        columns_[1].rows.push_back(DividedText(d.quantitySold, 1000));
        columns_[2].rows.push_back(DividedText(d.salesValue, 100));
    }
}

void SalesList::fillOperators() {
    setColumns({{"lstplu", "Kasir", "Redni broj i ime kasira", false, {}},
                {"ListS", "Sifra", "Pristupna sifra kasira", true, {}},
                {"ListR", "Br. racuna", "Broj izdatih racuna", true, {}},
                {"ListI", "Iznos", "Vrednost prodaje", true, {}}});
    for (int pos = 1; pos <= kOperators; ++pos) {
        const OperatorRecord& o = st_.state.OperatorTable[static_cast<std::size_t>(pos)];
        columns_[0].rows.push_back(NameRowText(pos, o.name));
        columns_[1].rows.push_back(tables::TrimBlanks(o.code));
        columns_[2].rows.push_back(o.receiptCount);
        // Divided by 100 when it was received.
        columns_[3].rows.push_back(o.salesValue);
    }
}

void SalesList::DoChangeLang() {
    const SharedState& state = st_.state;
    fontName_ = state.CyrillicMode ? state.CyrillicFontName : state.LatinFontName;
    if (columns_.empty()) {
        return;
    }
    for (std::string& row : columns_[0].rows) {
        row = ConvertDigraphs(row, !state.CyrillicMode);
    }
}

void SalesList::lstplu_Click(int row) {
    if (!columns_.empty() && row >= 0 && row < static_cast<int>(columns_[0].rows.size())) {
        selected_ = row;
    }
}

void VatSales::open() {
    st_.state.CurrentForm = "ne";
    double sum = 0;
    for (int r = 0; r < kRates; ++r) {
        const VatRecord& record = st_.state.VatTable[static_cast<std::size_t>(r)];
        VatSalesRow& row = rows_[static_cast<std::size_t>(r)];
        row.VATnum = std::to_string(r);
        row.PERC = DividedText(record.rate, 100) + "%";
        // Divided by 100 when it was received.
        row.value = record.salesTotal;
        const double value = tables::NumericValue(record.salesTotal);
        chartValues_[static_cast<std::size_t>(r)] = value;
        sum += value;
    }
    total_ = SumText(sum);
}

}  // namespace qov::sales
