#pragma once

#include <functional>
#include <optional>
#include <string>

#include "app/register_tables.h"
#include "tables/transfer_context.h"

namespace qov::tables {

// The title of the "Komunikacija je prekinuta!" box of most transmit procedures.
inline constexpr const char* kBrokenTitle = "Arvon CAsh Registers";
inline constexpr const char* kBrokenText = "Komunikacija je prekinuta!";

// One record as a table hands it to the transmit loop.
struct OutgoingRecord {
    std::string frame;        // the frame text, ready for the line
    std::string refusalText;  // the Retry/Cancel text when the register refuses it
};

// A table's part of the transmit record loop.
struct TransmitTable {
    int first = 1;  // record positions, ascending
    int last = 0;
    // Prepares position `pos` (script form and padding written back into the table) and
    // builds its frame; nothing when the record's key text is blank (the record is skipped).
    std::function<std::optional<OutgoingRecord>(int pos)> prepare;
    // The number the record counter shows for `pos`; the position itself when empty.
    std::function<int(int pos)> counterOf;
    // The title of the communication-break box.
    std::string brokenTitle = kBrokenTitle;
};

// Sends one frame until the register takes it: a refusal (1) offers Retry/Cancel with the
// record's refusal text, a broken link (2) shows the communication-break box with
// `brokenTitle`. False when the table is given up.
bool SendRecord(TransferContext& ctx, const OutgoingRecord& record,
                const std::string& brokenTitle = kBrokenTitle);

// Makes a request through `call` until the record is delivered: -4 and -5 offer Retry/Cancel
// with `notDeliveredText`. The last result, or nothing when the user chose Cancel.
std::optional<int> RequestRecord(Dialogs& dialogs, const std::function<int()>& call,
                                 const std::string& notDeliveredText);

// The transmit record loop shared by every small table: sends each prepared record, offers
// Retry/Cancel on a refusal (1), gives up the table on a broken link (2), moves the record
// counter and yields after every position. True when every record was handled; false also
// when a cancel was asked for (looked at before each record).
bool TransmitRecords(TransferContext& ctx, const TransmitTable& table);

// What became of one reply.
enum class ReplyOutcome {
    Stored,  // the record took it; the loop goes on
    GiveUp,  // it names no record of the table: the table ends with false, without a box
};

struct StoredReply {
    ReplyOutcome outcome = ReplyOutcome::Stored;
    // The received description, checked for Latin letters; none for tables without text.
    std::optional<std::string> description;
};

// A table's part of the receive record loop.
struct ReceiveTable {
    int first = 1;  // record numbers, ascending
    int last = 0;
    // The request text for record `number`.
    std::function<std::string(int number)> request;
    // The Retry/Cancel text when the register does not deliver record `number`.
    std::function<std::string(int number)> notDeliveredText;
    // Stores one reply (ReplyText) into the table, or gives the table up when the reply names
    // no record of it.
    std::function<StoredReply(int number, const std::string& reply)> store;
    // The table whose TableCyrillic flag the descriptions mark; none for tables without text.
    std::optional<CyrTable> cyrillicTable;
    // Whether the flag is cleared when the receive starts (the operators keep theirs).
    bool clearFlagAtStart = true;
    // The number the record counter shows for `number`; the number itself when empty.
    std::function<int(int number)> counterOf;
};

// The receive record loop shared by every small table: requests each record, offers
// Retry/Cancel when it is not delivered (-4, -5), ends silently on -1, leaves the record and
// the counter as they were on 0 or another negative result, stores and marks each reply,
// and after the last record turns the whole table into font text when the flag is set.
// True when every record was handled; false when a reply names no record of the table (the
// records stored before it stay, the table is not turned into font text) and when a cancel was
// asked for.
bool ReceiveRecords(TransferContext& ctx, const ReceiveTable& table);

}  // namespace qov::tables
