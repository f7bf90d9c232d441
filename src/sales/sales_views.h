#pragma once

#include <array>
#include <string>
#include <vector>

#include "link/station.h"

namespace qov::sales {

// A row of the name list (lstplu): the position right-aligned in 2 characters, two blanks,
// the description or name padded with blanks to 12 characters.
std::string NameRowText(int position, const std::string& name);

// A stored sales text divided for showing, written as a plain decimal without blanks
// (12500 / 1000 gives "12.5"); junk reads as 0.
std::string DividedText(const std::string& stored, double divisor);

// One list column of a sales view.
struct SalesColumn {
    const char* name;     // the list's name ("lstplu", "ListR", ...)
    const char* heading;  // the column heading
    const char* tip;      // the tooltip
    bool number;          // right-aligned
    std::vector<std::string> rows;
};

// frmDepSales ("Prodaja po odeljenjima") and frmOperSales ("Prodaja kasira") without the
// window: side-by-side lists over the register tables as they are when the screen opens.
class SalesList {
public:
    enum class Kind { Departments, Operators };

    SalesList(Station& station, Kind kind);

    Kind kind() const { return kind_; }
    std::string formName() const;  // "frmDepSales" / "frmOperSales"
    std::string caption() const;   // "Prodaja po odeljenjima" / "Prodaja kasira"
    std::string heading() const;   // "Pregled Prodaje Odeljenja" / "Pregled Prodaje Kasira"

    // Opening: CurrentForm, one row per position in every list, DoChangeLang.
    void open();
    // The font of lstplu and its rows in the script form of CyrillicMode.
    void DoChangeLang();
    // A click on row `row` of lstplu: the same row selected in every list (the screen shows
    // the lists as the columns of one table, so they also scroll together).
    void lstplu_Click(int row);

    // lstplu first, then the number lists in screen order; made by the first open() and kept in
    // place by the next.
    const std::vector<SalesColumn>& columns() const { return columns_; }
    const std::string& fontName() const { return fontName_; }
    int selectedRow() const { return selected_; }  // -1: none

private:
    void setColumns(std::vector<SalesColumn> columns);
    void fillDepartments();
    void fillOperators();

    Station& st_;
    Kind kind_;
    std::vector<SalesColumn> columns_;
    std::string fontName_;
    int selected_ = -1;
};

// One rate's row of the VAT view.
struct VatSalesRow {
    std::string VATnum;  // the rate's number, "0" to "8"
    std::string PERC;    // the rate / 100 followed by "%"
    std::string value;   // the sales value as stored
};

// frmVATSales ("Prodaja po stopama") without the window: nine rows, the total and the chart.
class VatSales {
public:
    static constexpr int kRates = 9;
    static constexpr const char* kCaption = "Prodaja po stopama";
    static constexpr const char* kTotalLabel = "UKUPNO";
    static constexpr const char* kTotalTip = "Ukupna vrednost prodate robe";

    explicit VatSales(Station& station) : st_(station) {}

    // Opening: CurrentForm "ne", the rows, the chart's values and the total, from VatTable.
    void open();

    const std::array<VatSalesRow, kRates>& rows() const { return rows_; }
    // The tenth value field: the sum of the nine values.
    const std::string& total() const { return total_; }
    // The chart's rows: label ("Stopa 0" ... "Stopa 8") and value, row r + 1 of the chart
    // carrying rate r.
    static std::string chartLabel(int rate) { return "Stopa " + std::to_string(rate); }
    const std::array<double, kRates>& chartValues() const { return chartValues_; }

private:
    Station& st_;
    std::array<VatSalesRow, kRates> rows_{};
    std::array<double, kRates> chartValues_{};
    std::string total_;
};

}  // namespace qov::sales
