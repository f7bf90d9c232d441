// sales: the department, cashier or VAT sales received from the register and printed as the
// station's views show them, one row a line, the columns separated by ";".
#include <iostream>

#include "app/console_dialogs.h"
#include "command.h"
#include "console.h"
#include "link/station.h"
#include "sales/sales_views.h"
#include "tables/transfer_lists.h"
#include "tables/transfer_run.h"

namespace qovctl {

namespace {

using qov::tables::TransferDirection;

void CheckSales(const Options& options) {
    if (options.arguments.size() != 1 ||
        (options.arguments[0] != "departments" && options.arguments[0] != "operators" &&
         options.arguments[0] != "vat")) {
        throw UsageError{"sales needs one table: departments, operators or vat"};
    }
}

// A field as a spreadsheet reads it: in double quotes (doubled inside) when it holds the
// separator, a quote or a line break.
std::string Field(const std::string& text) {
    if (text.find_first_of(";\"\r\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (char c : text) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + "\"";
}

void PrintRow(const std::vector<std::string>& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        line += (i == 0 ? "" : ";") + Field(fields[i]);
    }
    std::cout << line << "\n";
}

void PrintView(qov::Station& station, const std::string& table) {
    if (table == "vat") {
        qov::sales::VatSales view(station);
        view.open();
        for (const qov::sales::VatSalesRow& row : view.rows()) {
            PrintRow({row.VATnum, row.PERC, row.value});
        }
        PrintRow({qov::sales::VatSales::kTotalLabel, "", view.total()});
        return;
    }
    qov::sales::SalesList view(station, table == "departments"
                                            ? qov::sales::SalesList::Kind::Departments
                                            : qov::sales::SalesList::Kind::Operators);
    view.open();
    const auto& columns = view.columns();
    for (std::size_t row = 0; row < columns.front().rows.size(); ++row) {
        std::vector<std::string> fields;
        for (const qov::sales::SalesColumn& column : columns) {
            fields.push_back(column.rows[row]);
        }
        PrintRow(fields);
    }
}

// The table's receive as the receive screen runs it (the line test first), then its view.
int Sales(Session& s) {
    const std::string& table = s.options.arguments.at(0);
    const auto& list = qov::tables::ReceiveList();
    qov::tables::TransferRun run(s.station, TransferDirection::Receive,
                                 {list.at(static_cast<std::size_t>(qov::tables::FindTransferEntry(
                                     TransferDirection::Receive, table)))});
    run.open();
    run.setSelected(0, true);
    bool ok = false;
    {
        ProgressLine line(run.progress());
        ok = run.invia();
    }
    if (!run.linkAnswered()) {
        s.dialogs.message("Veza nije u redu!", qov::kTitle, qov::Icon::Critical);
        return kExitFailed;
    }
    if (run.cancelled()) {
        std::cerr << run.cancelNote() << "\n";
        return kExitInterrupted;
    }
    if (!ok) {
        std::cerr << run.entries().front().text << ": GRESKA\n";
        return kExitFailed;
    }
    PrintView(s.station, table);
    std::cout.flush();
    return kExitOk;
}

}  // namespace

std::vector<Command> SalesCommands() {
    return {
        {"sales",
         "  sales departments|operators|vat\n"
         "                     receives the table and prints its sales as the station's view\n"
         "                     shows them, one row a line, the columns separated by \";\"\n",
         LineUse::Open, CheckSales, Sales},
    };
}

}  // namespace qovctl
