#include "tables/record_loops.h"

#include <exception>

#include "text/transcode.h"

namespace qov::tables {

namespace {

int CounterOf(const std::function<int(int)>& counterOf, int value) {
    return counterOf ? counterOf(value) : value;
}

}  // namespace

bool SendRecord(TransferContext& ctx, const OutgoingRecord& record,
                const std::string& brokenTitle) {
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
            ctx.dialogs().message(kBrokenText, brokenTitle, Icon::Exclamation);
            return false;
        }
        return true;
    }
}

std::optional<int> RequestRecord(Dialogs& dialogs, const std::function<int()>& call,
                                 const std::string& notDeliveredText) {
    while (true) {
        const int n = call();
        if (n != -4 && n != -5) {
            return n;
        }
        if (dialogs.message(notDeliveredText, kTitle, Icon::None, Buttons::RetryCancel) !=
            Answer::Retry) {
            return std::nullopt;
        }
    }
}

bool TransmitRecords(TransferContext& ctx, const TransmitTable& table) {
    try {
        ctx.progress.start(table.last - table.first + 1);
        for (int pos = table.first; pos <= table.last; ++pos) {
            if (ctx.progress.cancelRequested()) {
                return false;
            }
            std::optional<OutgoingRecord> record = table.prepare(pos);
            if (record && !SendRecord(ctx, *record, table.brokenTitle)) {
                return false;
            }
            ctx.progress.setCounter(CounterOf(table.counterOf, pos));
            ctx.progress.setDone(pos - table.first + 1);
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
        ctx.progress.start(table.last - table.first + 1);
        for (int number = table.first; number <= table.last; ++number) {
            if (ctx.progress.cancelRequested()) {
                return false;
            }
            const std::string request = table.request(number);
            const std::optional<int> result = RequestRecord(
                ctx.dialogs(), [&] { return ctx.link().requestFrame(request); },
                table.notDeliveredText(number));
            ctx.progress.setDone(number - table.first + 1);
            if (!result) {
                return false;
            }
            const int n = *result;
            if (n == -1) {
                return false;
            }
            if (n <= 0) {
                // Nothing received: the record keeps what it held, the counter stays.
                continue;
            }
            const StoredReply stored = table.store(number, state.ReplyText);
            if (stored.outcome == ReplyOutcome::GiveUp) {
                return false;
            }
            if (stored.description && table.cyrillicTable) {
                MarkIfCyrillic(state, *table.cyrillicTable, *stored.description);
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
