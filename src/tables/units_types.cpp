#include "tables/units_types.h"

#include "tables/fields.h"
#include "text/transcode.h"

namespace qov::tables {

namespace {

std::string Digit(int pos) {
    return std::to_string(pos);
}

// A receive of one of the two name tables: requests `prefix` + digit for positions 1 to
// `count`; a record not delivered is named `noun` + digit + `missing`.
ReceiveTable NameReceive(int count, const std::string& prefix, const std::string& noun,
                         const std::string& missing, CyrTable cyrillic,
                         std::function<StoredReply(int, const std::string&)> store) {
    ReceiveTable table;
    table.first = 1;
    table.last = count;
    table.request = [prefix](int pos) { return prefix + Digit(pos); };
    table.notDeliveredText = [noun, missing](int pos) {
        return noun + Digit(pos) + missing + kLineBreak;
    };
    table.store = std::move(store);
    table.cyrillicTable = cyrillic;
    table.clearFlagAtStart = true;
    return table;
}

}  // namespace

std::string UnitFrame(const SharedState& state, int pos) {
    return "QR" + Digit(pos) +
           PadRight(ToRegisterCoding(state, state.UnitTable.at(pos).name), kUnitNameWidth);
}

std::string ArticleTypeFrame(const SharedState& state, int pos) {
    std::string name = TrimBlanks(ToRegisterCoding(state, state.ArticleTypeTable.at(pos).name))
                           .substr(0, kArticleTypeNameWidth);
    if (name.size() < kArticleTypeNameWidth) {
        name += '\0';
    }
    return "ZR" + Digit(pos) + PadRight(name, kArticleTypeNameWidth);
}

std::string UnitRequest(int pos) {
    return "QT" + Digit(pos);
}

std::string ArticleTypeRequest(int pos) {
    return "ZT" + Digit(pos);
}

std::optional<OutgoingRecord> PrepareUnit(SharedState& state, int pos) {
    std::string& name = state.UnitTable.at(pos).name;
    if (TrimBlanks(name).empty()) {
        return std::nullopt;
    }
    name = ToScriptForm(state, name);
    return OutgoingRecord{UnitFrame(state, pos),
                          " Jedinica " + Digit(pos) + " nije primljena u kasu!" + kLineBreak};
}

std::optional<OutgoingRecord> PrepareArticleType(SharedState& state, int pos) {
    std::string& name = state.ArticleTypeTable.at(pos).name;
    name = ToScriptForm(state, name);
    if (TrimBlanks(name).empty()) {
        return std::nullopt;
    }
    return OutgoingRecord{ArticleTypeFrame(state, pos),
                          " Tip " + Digit(pos) + " nije primljen u kasu!" + kLineBreak};
}

StoredReply StoreUnitReply(SharedState& state, int pos, const std::string& reply) {
    std::string& name = state.UnitTable.at(pos).name;
    name = ReplyTextField(reply, 2, kUnitNameWidth);
    return {ReplyOutcome::Stored, name};
}

StoredReply StoreArticleTypeReply(SharedState& state, int pos, const std::string& reply) {
    std::string& name = state.ArticleTypeTable.at(pos).name;
    name = ReplyTextField(reply, 2, kArticleTypeNameWidth);
    return {ReplyOutcome::Stored, name};
}

TransmitTable UnitTransmit(SharedState& state) {
    TransmitTable table;
    table.first = 1;
    table.last = kUnitCount;
    table.prepare = [&state](int pos) { return PrepareUnit(state, pos); };
    table.brokenTitle = kTitle;  // the unit send alone names the usual title
    return table;
}

TransmitTable ArticleTypeTransmit(SharedState& state) {
    TransmitTable table;
    table.first = 1;
    table.last = kArticleTypeCount;
    table.prepare = [&state](int pos) { return PrepareArticleType(state, pos); };
    return table;
}

ReceiveTable UnitReceive(SharedState& state) {
    return NameReceive(
        kUnitCount, "QT", " Jedinica ", " nije primljena iz kase!", CyrTable::Units,
        [&state](int pos, const std::string& reply) { return StoreUnitReply(state, pos, reply); });
}

ReceiveTable ArticleTypeReceive(SharedState& state) {
    return NameReceive(kArticleTypeCount, "ZT", " Tip ", " nije primljen iz kase!",
                       CyrTable::ArticleTypes, [&state](int pos, const std::string& reply) {
                           return StoreArticleTypeReply(state, pos, reply);
                       });
}

bool invia_units(TransferContext& ctx) {
    return TransmitRecords(ctx, UnitTransmit(ctx.state()));
}

bool ricevi_units(TransferContext& ctx) {
    return ReceiveRecords(ctx, UnitReceive(ctx.state()));
}

bool invia_tip(TransferContext& ctx) {
    return TransmitRecords(ctx, ArticleTypeTransmit(ctx.state()));
}

bool ricevi_tip(TransferContext& ctx) {
    return ReceiveRecords(ctx, ArticleTypeReceive(ctx.state()));
}

}  // namespace qov::tables
