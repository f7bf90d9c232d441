#include "tables/departments.h"

#include "tables/fields.h"
#include "text/transcode.h"

namespace qov::tables {

namespace {

std::string TwoDigits(int value) {
    return ZeroFilled(value, 2);
}

// The department a reply's first two characters select (their value + 1), or 0 when they
// name none of departments 1-10.
int SelectedDepartment(const std::string& reply) {
    const long long number = ReplyNumber(reply, 1, 2) + 1;
    return number >= 1 && number <= kDepartmentCount ? static_cast<int>(number) : 0;
}

}  // namespace

std::string DepartmentPriceField(const std::string& maxPrice) {
    return PadLeft(NumberText(NumericValue(maxPrice)), kDepartmentPriceWidth, '0');
}

std::string DepartmentFrame(const SharedState& state, int number) {
    const DepartmentRecord& record = state.DepartmentTable.at(number);
    std::string name = FitRight(record.description, kDepartmentNameWidth);
    return "R" + TwoDigits(number - 1) + ToRegisterCoding(state, name) +
           DepartmentPriceField(record.maxPrice);
}

std::string DepartmentRequest(int number) {
    return "B" + TwoDigits(number - 1);
}

std::optional<OutgoingRecord> PrepareDepartment(SharedState& state, int number) {
    DepartmentRecord& record = state.DepartmentTable.at(number);
    record.description = ToScriptForm(state, record.description);
    if (TrimBlanks(record.description).empty()) {
        return std::nullopt;
    }
    record.description = PadRight(record.description, kDepartmentNameWidth);
    return OutgoingRecord{
        DepartmentFrame(state, number),
        "Odeljenje " + TwoDigits(number - 1) + " nije primljeno u kasu!" + kLineBreak};
}

StoredReply StoreDepartmentReply(SharedState& state, const std::string& reply) {
    const int number = SelectedDepartment(reply);
    if (number == 0) {
        return {ReplyOutcome::GiveUp, std::nullopt};
    }
    DepartmentRecord& record = state.DepartmentTable[number];
    record.description = ReplyTextField(reply, 3, kDepartmentNameWidth);
    record.maxPrice = ReplyField(reply, 15, 8);
    record.salesValue = ReplyField(reply, 23, 11);
    record.quantitySold = ReplyField(reply, 34, 9);
    return {ReplyOutcome::Stored, record.description};
}

TransmitTable DepartmentTransmit(SharedState& state) {
    TransmitTable table;
    table.first = 1;
    table.last = kDepartmentCount;
    table.prepare = [&state](int pos) { return PrepareDepartment(state, pos); };
    return table;
}

ReceiveTable DepartmentReceive(SharedState& state) {
    ReceiveTable table;
    table.first = 0;
    table.last = kDepartmentCount - 1;
    table.request = [](int number) { return DepartmentRequest(number + 1); };
    table.notDeliveredText = [](int number) {
        return " Odeljenje " + std::to_string(number + 1) + " nije primljeno iz kase!" + kLineBreak;
    };
    table.store = [&state](int, const std::string& reply) {
        return StoreDepartmentReply(state, reply);
    };
    table.cyrillicTable = CyrTable::Departments;
    table.clearFlagAtStart = true;
    table.counterOf = [](int number) { return number + 1; };
    return table;
}

bool invia_rep(TransferContext& ctx) {
    return TransmitRecords(ctx, DepartmentTransmit(ctx.state()));
}

bool ricevi_rep(TransferContext& ctx) {
    return ReceiveRecords(ctx, DepartmentReceive(ctx.state()));
}

}  // namespace qov::tables
