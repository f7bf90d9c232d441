#include "tables/currencies.h"

#include "tables/fields.h"
#include "text/transcode.h"

namespace qov::tables {

std::string CurrencyFrame(const SharedState& state, int pos) {
    const CurrencyRecord& record = state.CurrencyTable.at(pos);
    return "U" + std::to_string(pos - 1) +
           ToRegisterCoding(state, FitRight(record.name, kCurrencyNameWidth)) +
           PadLeft(record.rate, kCurrencyRateWidth, '0');
}

std::string CurrencyRequest(int pos) {
    return "M" + std::to_string(pos - 1);
}

std::optional<OutgoingRecord> PrepareCurrency(SharedState& state, int pos) {
    CurrencyRecord& record = state.CurrencyTable.at(pos);
    if (TrimBlanks(record.name).empty()) {
        return std::nullopt;
    }
    record.name = PadRight(ToScriptForm(state, record.name), kCurrencyNameWidth);
    record.rate = PadLeft(record.rate, kCurrencyRateWidth, '0');
    return OutgoingRecord{CurrencyFrame(state, pos), " Valuta " + std::to_string(pos - 1) +
                                                         " nije primljen u kasu!" + kLineBreak};
}

StoredReply StoreCurrencyReply(SharedState& state, const std::string& reply) {
    const long long pos = ReplyNumber(reply, 1, 1) + 1;
    if (pos < 1 || pos > kCurrencyCount) {
        return {ReplyOutcome::GiveUp, std::nullopt};
    }
    CurrencyRecord& record = state.CurrencyTable[static_cast<std::size_t>(pos)];
    record.name = ReplyTextField(reply, 2, kCurrencyNameWidth);
    record.rate = ReplyField(reply, 14, kCurrencyRateWidth);
    return {ReplyOutcome::Stored, record.name};
}

TransmitTable CurrencyTransmit(SharedState& state) {
    TransmitTable table;
    table.first = 1;
    table.last = kCurrencyCount;
    table.prepare = [&state](int pos) { return PrepareCurrency(state, pos); };
    return table;
}

ReceiveTable CurrencyReceive(SharedState& state) {
    ReceiveTable table;
    table.first = 0;
    table.last = kCurrencyCount - 1;
    table.request = [](int number) { return CurrencyRequest(number + 1); };
    table.notDeliveredText = [](int number) {
        return " Valuta " + std::to_string(number) + " nije primljena iz kase!" + kLineBreak;
    };
    table.store = [&state](int, const std::string& reply) {
        return StoreCurrencyReply(state, reply);
    };
    table.cyrillicTable = CyrTable::Currencies;
    table.clearFlagAtStart = true;
    table.counterOf = [](int number) { return number + 1; };
    return table;
}

bool invia_val(TransferContext& ctx) {
    return TransmitRecords(ctx, CurrencyTransmit(ctx.state()));
}

bool ricevi_val(TransferContext& ctx) {
    return ReceiveRecords(ctx, CurrencyReceive(ctx.state()));
}

}  // namespace qov::tables
