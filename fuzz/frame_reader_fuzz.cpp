// Fuzz target of the incremental frame reader: any bytes in any split never crash it, the split
// never changes what it reads, and what it reads encodes back to the same frame.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "qovdll/frame_codec.h"

namespace {

using qovdll::ReaderEvent;

void check(bool ok) {
    if (!ok)
        std::abort();
}

bool sameEvents(const std::vector<ReaderEvent>& a, const std::vector<ReaderEvent>& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].kind != b[i].kind)
            return false;
        if (a[i].kind == ReaderEvent::Kind::Frame &&
            (a[i].frame.seq != b[i].frame.seq || a[i].frame.data != b[i].frame.data))
            return false;
        if (a[i].kind == ReaderEvent::Kind::Control && a[i].control != b[i].control)
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    if (size == 0)
        return 0;
    // First byte: the chunk-size pattern; the rest: the line.
    const unsigned pattern = bytes[0];
    const std::string_view line(reinterpret_cast<const char*>(bytes) + 1, size - 1);

    // Kept between inputs (capacity reused); every input starts from a reset reader.
    static qovdll::FrameReader whole, split;
    static std::vector<ReaderEvent> all, parts, back;
    whole.reset();
    split.reset();
    all.clear();
    parts.clear();
    back.clear();
    whole.feed(line, all);

    std::size_t pos = 0;
    unsigned k = pattern;
    while (pos < line.size()) {
        const std::size_t chunk = 1 + (k % 17);
        k = k * 1103515245u + 12345u;
        split.feed(line.substr(pos, chunk), parts);
        pos += chunk;
    }
    check(sameEvents(all, parts));
    check(whole.inFrame() == split.inFrame());

    for (const auto& ev : all) {
        switch (ev.kind) {
            case ReaderEvent::Kind::Frame: {
                const auto seq = static_cast<unsigned char>(ev.frame.seq);
                check(seq >= qovdll::kSeqFirst && seq <= qovdll::kSeqLast);
                check(ev.frame.data.size() <= qovdll::kMaxFrameData);
                // A frame read from the line is exactly those bytes on the line again.
                const std::string again = qovdll::encodeFrame(ev.frame.seq, ev.frame.data);
                check(line.find(again) != std::string_view::npos);
                break;
            }
            case ReaderEvent::Kind::Control:
                check(ev.control == qovdll::ENQ || ev.control == qovdll::ACK ||
                      ev.control == qovdll::NAK || ev.control == qovdll::SYN);
                break;
            case ReaderEvent::Kind::Damaged:
                break;
        }
    }

    // Encode the input as DATA and read it back, after whatever state the reader was left in
    // by the line (reset, as a caller does after a gap).
    const char seq = static_cast<char>(qovdll::kSeqFirst + pattern % 95);
    const std::string_view data = line.substr(0, qovdll::kMaxFrameData);
    const std::string frame = qovdll::encodeFrame(seq, data);
    whole.reset();
    whole.feed(frame, back);
    check(back.size() == 1 && back[0].kind == ReaderEvent::Kind::Frame);
    check(back[0].frame.seq == seq && back[0].frame.data == data);
    check(!whole.inFrame());
    return 0;
}
