#include "tables/operators.h"

#include "tables/fields.h"
#include "text/transcode.h"

namespace qov::tables {

std::string OperatorFrame(const SharedState& state, int pos) {
    const OperatorRecord& record = state.OperatorTable.at(pos);
    return "O" + ZeroFilled(pos - 1, 2) +
           ToRegisterCoding(state, FitRight(record.name, kOperatorNameWidth)) +
           PadLeft(record.code, kOperatorCodeWidth);
}

std::string OperatorRequest(int pos) {
    return "E" + ZeroFilled(pos - 1, 2);
}

std::optional<OutgoingRecord> PrepareOperator(SharedState& state, int pos) {
    OperatorRecord& record = state.OperatorTable.at(pos);
    if (TrimBlanks(record.code).empty()) {
        return std::nullopt;
    }
    record.name = PadRight(ToScriptForm(state, record.name), kOperatorNameWidth);
    record.code = PadLeft(record.code, kOperatorCodeWidth);
    return OutgoingRecord{OperatorFrame(state, pos), " Operater " + ZeroFilled(pos - 1, 2) +
                                                         " nije primjen u kasu!" + kLineBreak};
}

StoredReply StoreOperatorReply(SharedState& state, const std::string& reply) {
    const long long pos = ReplyNumber(reply, 1, 2) + 1;
    if (pos < 1 || pos > kOperatorCount) {
        return {ReplyOutcome::GiveUp, std::nullopt};
    }
    OperatorRecord& record = state.OperatorTable[static_cast<std::size_t>(pos)];
    record.name = ReplyTextField(reply, 3, kOperatorNameWidth);
    record.code = ReplyField(reply, 15, kOperatorCodeWidth);
    record.salesValue = ReplyAmount(reply, 20, 11, 100);
    record.receiptCount = ReplyAmount(reply, 31, 6, 1);
    return {ReplyOutcome::Stored, record.name};
}

TransmitTable OperatorTransmit(SharedState& state) {
    TransmitTable table;
    table.first = 1;
    table.last = kOperatorCount;
    table.prepare = [&state](int pos) { return PrepareOperator(state, pos); };
    return table;
}

ReceiveTable OperatorReceive(SharedState& state) {
    ReceiveTable table;
    table.first = 0;
    table.last = kOperatorCount - 1;
    table.request = [](int number) { return OperatorRequest(number + 1); };
    table.notDeliveredText = [](int number) {
        return " Kasir " + std::to_string(number + 1) + " nije primljen iz kase!" + kLineBreak;
    };
    table.store = [&state](int, const std::string& reply) {
        return StoreOperatorReply(state, reply);
    };
    table.cyrillicTable = CyrTable::Operators;
    table.clearFlagAtStart = false;
    table.counterOf = [](int number) { return number + 1; };
    return table;
}

bool invia_op(TransferContext& ctx) {
    return TransmitRecords(ctx, OperatorTransmit(ctx.state()));
}

bool ricevi_op(TransferContext& ctx) {
    return ReceiveRecords(ctx, OperatorReceive(ctx.state()));
}

}  // namespace qov::tables
