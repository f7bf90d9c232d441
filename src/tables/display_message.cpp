#include "tables/display_message.h"

#include "tables/fields.h"
#include "tables/record_loops.h"
#include "text/transcode.h"

namespace qov::tables {

int MessageLineLength(const SharedState& state) {
    return state.LineWidth == 22 ? 22 : 32;
}

void ConvertMessageLines(const SharedState& state, MessageLines& lines) {
    for (std::string& line : lines) {
        line = ToScriptForm(state, line);
    }
}

std::string MessageFrame(const SharedState& state, const MessageLines& lines) {
    std::string frame = "k";
    for (const std::string& line : lines) {
        frame += ToRegisterCoding(state, PadRight(line, kMessageFieldWidth));
    }
    return frame;
}

bool Posalji_Msg(TransferContext& ctx) {
    if (ctx.message == nullptr) {
        return false;
    }
    MessageLines& lines = *ctx.message;
    ConvertMessageLines(ctx.state(), lines);
    const std::string frame = MessageFrame(ctx.state(), lines);
    ctx.progress.setCounter(0);

    TransmitTable table;
    table.first = 0;
    table.last = 0;
    table.prepare = [&frame](int) {
        return OutgoingRecord{frame, std::string(" Poruka nije primljena u kasu!") + kLineBreak};
    };
    if (!TransmitRecords(ctx, table)) {
        return false;
    }
    ConvertMessageLines(ctx.state(), lines);
    return true;
}

}  // namespace qov::tables
