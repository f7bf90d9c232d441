#include "app/shared_state.h"

namespace qov {

void FillDefaultTables(SharedState& state) {
    for (int row = 0; row <= 5; ++row) {
        state.HeaderLines[row].clear();
        state.HeaderTable[row] = PrintLineRecord{};
        state.AdvertLines[row].clear();
        state.AdvertTable[row] = PrintLineRecord{};
    }

    // Departments get their names in two passes: rows 0-10 with the bare number,
    // then rows 1-10 again with the number written as the numeric-to-text form
    // does it (a leading blank for a positive number).
    for (int row = 0; row <= 10; ++row) {
        DepartmentRecord& d = state.DepartmentTable[row];
        d.description = "Odeqewe " + std::to_string(row);
        d.maxPrice.clear();
        d.vatRate = "0";
        d.autoClose = "0";
        d.salesValue = "0";
        d.quantitySold = "0";
    }
    for (int row = 1; row <= 10; ++row) {
        state.DepartmentTable[row].description = "Odeqewe  " + std::to_string(row);
    }

    for (int row = 1; row <= 31; ++row) {
        OperatorRecord& op = state.OperatorTable[row];
        op.code = std::to_string(row);
        op.name = "Kasir " + std::to_string(row);
        op.salesValue = "0";
        op.receiptCount = "0";
    }

    for (int row = 1; row <= 5; ++row) {
        state.UnitTable[row].name = "JM" + std::to_string(row);
        state.UnitTable[row].abbreviation.clear();
    }
    for (int row = 1; row <= 8; ++row) {
        state.ArticleTypeTable[row].name = "Tip " + std::to_string(row);
        state.ArticleTypeTable[row].abbreviation.clear();
    }

    state.SystemParams = SystemParamsT{};
}

}  // namespace qov
