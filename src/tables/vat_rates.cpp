#include "tables/vat_rates.h"

#include "tables/fields.h"

namespace qov::tables {

std::string VatRequest(int number) {
    return "D" + ZeroFilled(number, 2);
}

StoredReply StoreVatReply(SharedState& state, const std::string& reply) {
    const long long pos = ReplyNumber(reply, 1, 2);
    if (pos < 0 || pos >= kVatPositions) {
        return {ReplyOutcome::GiveUp, std::nullopt};
    }
    VatRecord& record = state.VatTable[static_cast<std::size_t>(pos)];
    record.rate = ReplyField(reply, 3, 4);
    record.salesTotal = ReplyAmount(reply, 7, 11, 100);
    return {ReplyOutcome::Stored, std::nullopt};  // no description: no Cyrillic check
}

ReceiveTable VatReceive(SharedState& state) {
    ReceiveTable table;
    table.first = 0;
    table.last = kVatRatesReceived - 1;
    table.request = VatRequest;
    table.notDeliveredText = [](int number) {
        return " Stopa " + ZeroFilled(number, 2) + " nije primljena iz kase!" + kLineBreak;
    };
    table.store = [&state](int, const std::string& reply) { return StoreVatReply(state, reply); };
    return table;
}

bool ricevi_Iva(TransferContext& ctx) {
    return ReceiveRecords(ctx, VatReceive(ctx.state()));
}

}  // namespace qov::tables
