#include "tables/record_loops.h"

#include <exception>

#include "text/transcode.h"

namespace qov::tables {

namespace {

int CounterOf(const std::function<int(int)>& counterOf, int value) {
    return counterOf ? counterOf(value) : value;
}

// Sends one frame until it is accepted; false when the table is given up.
bool SendOne(TransferContext& ctx, const TransmitTable& table, const OutgoingRecord& record) {
    while (true) {
        int result = ctx.link().sendFrame(record.frame);
        if (result == 1) {
            Answer answer =
                ctx.dialogs().message(record.refusalText, kTitle, Icon::None, Buttons::RetryCancel);
            if (answer == Answer::Retry) {
                continue;
            }
            return false;
        }
        if (result == 2) {
            ctx.dialogs().message(kBrokenText, table.brokenTitle, Icon::Exclamation);
            return false;
        }
        return true;
    }
}

}  // namespace

bool TransmitRecords(TransferContext& ctx, const TransmitTable& table) {
    try {
        for (int pos = table.first; pos <= table.last; ++pos) {
            std::optional<OutgoingRecord> record = table.prepare(pos);
            if (record && !SendOne(ctx, table, *record)) {
                return false;
            }
            ctx.progress.setCounter(CounterOf(table.counterOf, pos));
            ctx.dialogs().yield();
        }
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool ReceiveRecords(TransferContext& ctx, const ReceiveTable& table) {
    try {
        SharedState& state = ctx.state();
        if (table.cyrillicTable && table.clearFlagAtStart) {
            state.tableCyrillic(*table.cyrillicTable) = false;
        }
        for (int number = table.first; number <= table.last; ++number) {
            const std::string request = table.request(number);
            int n = 0;
            while (true) {
                n = ctx.link().requestFrame(request);
                if (n != -4 && n != -5) {
                    break;
                }
                Answer answer = ctx.dialogs().message(table.notDeliveredText(number), kTitle,
                                                      Icon::None, Buttons::RetryCancel);
                if (answer != Answer::Retry) {
                    return false;
                }
            }
            if (n == -1) {
                return false;
            }
            if (n <= 0) {
                // Nothing received: the record keeps what it held, the counter stays.
                continue;
            }
            std::optional<std::string> description = table.store(number, state.ReplyText);
            if (description && table.cyrillicTable) {
                MarkIfCyrillic(state, *table.cyrillicTable, *description);
            }
            ctx.progress.setCounter(CounterOf(table.counterOf, number));
            ctx.dialogs().yield();
        }
        if (table.cyrillicTable) {
            ConvertReceivedTable(state, *table.cyrillicTable);
        }
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace qov::tables
