#include "articles/article_store.h"

#include <exception>

#include "app/show_error.h"
#include "app/vb_convert.h"
#include "articles/article_numbers.h"
#include "tables/fields.h"

namespace qov::articles {

using tables::PadLeft;
using tables::PadRight;
using tables::TrimBlanks;

void ArticleColumns::clear() {
    main.clear();
    price.clear();
    stock.clear();
    quantity.clear();
    value.clear();
}

std::string PaddedCode(std::string_view typed) {
    return PadLeft(TrimBlanks(typed), kCodeWidth, '0');
}

std::string KeyOfLine(std::string_view line) {
    return TrimBlanks(line.substr(0, kCodeWidth));
}

bool IsListedCode(std::string_view code) {
    return LeadingNumber(TrimBlanks(code)) != 0;
}

std::string ListStatement(const std::string& table) {
    return "select * from " + table + " ORDER BY " + table + ".BAR_CODE";
}

std::string SelectOneStatement(const std::string& table, const std::string& key) {
    return "select * from " + table + " where BAR_CODE = " + SqlText(key);
}

std::string DuplicateCheckStatement(const std::string& paddedCode) {
    return "select bar_code from QOV_PLU where bar_code = " + SqlText(paddedCode) + ";";
}

std::string InsertStatement(const ArticleValues& v) {
    return "INSERT INTO QOV_PLU ( DESCRIPTION, PRICE, VAT_CODE,MES_TYPE,ART_TYPE, ONE_ITEM, "
           "DEPARTMENT, INVENTARY, BAR_CODE ) values (" +
           SqlText(TrimBlanks(v.description)) + ", " + SqlNumber(v.price) + ", " +
           std::to_string(v.vat) + ", " + std::to_string(v.unit) + ", " + std::to_string(v.type) +
           ", " + (v.singleSale ? "1" : "0") + ", " + std::to_string(v.department) + ", " +
           SqlNumber(v.stock) + ", " + SqlText(PaddedCode(v.code)) + ")";
}

std::string UpdateStatement(const ArticleValues& v, const std::string& key) {
    return "UPDATE QOV_PLU SET QOV_PLU.DESCRIPTION = " + SqlText(v.description) + ", " +
           "QOV_PLU.PRICE = " + SqlNumber(v.price) + ", " +
           "QOV_PLU.INVENTARY = " + SqlNumber(v.stock) + ", " + "QOV_PLU.MAX_VALUE = " + "0" +
           ", " + "QOV_PLU.VAT_CODE = " + std::to_string(v.vat) + ", " +
           "QOV_PLU.ONE_ITEM = " + (v.singleSale ? "1" : "0") + ", " +
           "QOV_PLU.DEPARTMENT = " + std::to_string(v.department) + ", " +
           "QOV_PLU.MES_TYPE= " + std::to_string(v.unit) + ", " +
           "QOV_PLU.ART_TYPE= " + std::to_string(v.type) + ", " +
           "QOV_PLU.BAR_CODE = " + SqlText(PaddedCode(v.code)) + " " +
           "WHERE (((QOV_PLU.BAR_CODE)=" + SqlText(key) + "));";
}

std::string DeleteStatement(const std::string& key) {
    return "DELETE from QOV_PLU where BAR_CODE = " + SqlText(key);
}

ArticleRecord ReadArticle(const RowSet& row) {
    ArticleRecord r;
    r.code = row.value("BAR_CODE");
    r.description = row.value("DESCRIPTION");
    r.price = row.value("PRICE");
    r.vatCode = row.value("VAT_CODE");
    r.unit = row.value("MES_TYPE");
    r.type = row.value("ART_TYPE");
    r.singleSale = SqlTruth(row.value("ONE_ITEM"));
    r.department = row.value("DEPARTMENT");
    r.stock = row.value("INVENTARY");
    if (row.hasColumn("TOTAL")) {
        r.total = row.value("TOTAL");
    }
    if (row.hasColumn("QTY")) {
        r.quantity = row.value("QTY");
    }
    return r;
}

void AddEditorLines(ArticleColumns& columns, const ArticleRecord& record) {
    columns.main.push_back(PadLeft(record.code, kCodeWidth, '0') + "   " +
                           PadRight(record.description, kNameWidth));
    columns.price.push_back(" " + ShortestText(record.price));
    columns.stock.push_back(ShortestText(record.stock));
}

void AddSalesLines(ArticleColumns& columns, const ArticleRecord& record) {
    columns.main.push_back(PadLeft(record.code, kCodeWidth) + "  " +
                           PadRight(record.description, 12));
    columns.price.push_back(ShortestText(record.price));
    columns.stock.push_back(ShortestText(record.stock));
    columns.quantity.push_back(ShortestText(record.quantity));
    columns.value.push_back(ShortestText(record.total));
}

bool WithDatabase(Station& station, const std::string& sender,
                  const std::function<void(Database&)>& work) {
    Database& db = station.database;
    try {
        db.open(station.state.ConnectionString);
        work(db);
        db.close();
        return true;
    } catch (const RunError& e) {
        db.close();
        ShowError(station.dialogs, e, sender);
    } catch (const std::exception& e) {
        db.close();
        ShowError(station.dialogs, e, sender);
    }
    return false;
}

bool ArticleStore::carica_PLU(ArticleColumns& columns) {
    ArticleColumns loaded;
    const bool ok =
        WithDatabase(station_, std::string(kFormName) + ".carica_PLU()", [&](Database& db) {
            auto rows = db.query(ListStatement(kArticleTable));
            while (rows->next()) {
                const ArticleRecord record = ReadArticle(*rows);
                if (IsListedCode(record.code)) {
                    AddEditorLines(loaded, record);
                }
            }
        });
    if (ok) {
        columns = std::move(loaded);
    }
    return ok;
}

std::optional<ArticleRecord> ArticleStore::PctOsv(const std::string& key) {
    std::optional<ArticleRecord> found;
    WithDatabase(station_, std::string(kFormName) + ".PctOsv()", [&](Database& db) {
        auto rows = db.query(SelectOneStatement(kArticleTable, key));
        if (rows->next()) {
            found = ReadArticle(*rows);
        }
    });
    return found;
}

std::optional<bool> ArticleStore::exists(const std::string& paddedCode, const std::string& sender) {
    std::optional<bool> found;
    WithDatabase(station_, sender, [&](Database& db) {
        found = db.query(DuplicateCheckStatement(paddedCode))->next();
    });
    return found;
}

bool ArticleStore::execute(const std::string& sql, const char* operation) {
    return WithDatabase(station_, std::string(kFormName) + operation,
                        [&](Database& db) { db.execute(sql); });
}

bool ArticleStore::insert_plu(const ArticleValues& values) {
    return execute(InsertStatement(values), ".insert_plu()");
}

bool ArticleStore::aggiorna_plu(const ArticleValues& values, const std::string& key) {
    return execute(UpdateStatement(values, key), ".aggiorna_plu()");
}

bool ArticleStore::elimina_plu(const std::string& key) {
    return execute(DeleteStatement(key), ".elimina_plu()");
}

}  // namespace qov::articles
