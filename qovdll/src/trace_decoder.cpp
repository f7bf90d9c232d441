#include "qovdll/trace_decoder.h"

#include <cstdio>
#include <optional>
#include <utility>

#include "qovdll/frame_codec.h"

namespace qovdll {

namespace {

constexpr std::size_t kShownRequest = 40;  // characters of a request in an outcome line
constexpr std::size_t kShownBroken = 24;   // bytes of a broken frame shown in hex

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

// The letter of a byte of the register's Cyrillic code (ISO 8859-5), or 0.
char32_t RegisterLetter(unsigned char b) {
    if (b >= 0xA1 && b <= 0xAC) {
        return 0x0401 + (b - 0xA1);
    }
    if (b >= 0xAE && b <= 0xEF) {
        return 0x040E + (b - 0xAE);
    }
    if (b >= 0xF1 && b <= 0xFC) {
        return 0x0451 + (b - 0xF1);
    }
    if (b == 0xFE || b == 0xFF) {
        return 0x045E + (b - 0xFE);
    }
    return 0;
}

std::string Hex2(unsigned char b) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    return {kHex[b >> 4], kHex[b & 0xF]};
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// One thing read from one direction of the line.
struct Element {
    enum class Kind { Control, Frame, Broken, Text } kind = Kind::Text;
    std::string date, time;  // where its first byte stands in the trace
    unsigned char control = 0;
    char seq = 0;
    std::string data;  // frame DATA, or the bytes of a broken frame or a text
    std::string crcSent;
    std::uint16_t crcComputed = 0;
    std::string reason;  // why a frame is broken

    static Element At(Kind kind, const std::string& date, const std::string& time) {
        Element e;
        e.kind = kind;
        e.date = date;
        e.time = time;
        return e;
    }
};

// The bytes of one direction, cut into control bytes, frames and the rest. A frame may run
// over several trace lines.
class ByteStream {
public:
    void feed(unsigned char b, const std::string& date, const std::string& time,
              std::vector<Element>& out) {
        if (state_ == State::Idle || !step(b, out)) {
            idle(b, date, time, out);
        }
    }

    // A frame begun and not ended is broken ("cut short"); collected text is given out.
    void flush(std::vector<Element>& out) {
        if (state_ != State::Idle) {
            broken("cut short", out);
        }
        flushText(out);
    }

private:
    enum class State { Idle, Len, Seq, Data, Etx, Crc };

    void idle(unsigned char b, const std::string& date, const std::string& time,
              std::vector<Element>& out) {
        if (b == STX) {
            flushText(out);
            state_ = State::Len;
            frame_ = Element::At(Element::Kind::Frame, date, time);
            raw_.assign(1, static_cast<char>(b));
            len_ = 0;
            count_ = 0;
            return;
        }
        if (b == ENQ || b == ACK || b == NAK || b == SYN) {
            flushText(out);
            Element control = Element::At(Element::Kind::Control, date, time);
            control.control = b;
            out.push_back(std::move(control));
            return;
        }
        if (text_.data.empty()) {
            text_ = Element::At(Element::Kind::Text, date, time);
        }
        text_.data.push_back(static_cast<char>(b));
    }

    // Takes one byte into the frame begun; false when the byte breaks it (the byte is then
    // looked at again outside the frame).
    bool step(unsigned char b, std::vector<Element>& out) {
        const char c = static_cast<char>(b);
        switch (state_) {
            case State::Len:
                if (!IsDigit(c)) {
                    broken("bad LEN", out);
                    return false;
                }
                raw_.push_back(c);
                len_ = len_ * 10 + static_cast<std::size_t>(c - '0');
                if (++count_ == 3) {
                    state_ = State::Seq;
                }
                return true;
            case State::Seq:
                if (b < kSeqFirst || b > kSeqLast) {
                    broken("bad SEQ", out);
                    return false;
                }
                raw_.push_back(c);
                frame_.seq = c;
                state_ = len_ == 0 ? State::Etx : State::Data;
                return true;
            case State::Data:
                raw_.push_back(c);
                frame_.data.push_back(c);
                if (frame_.data.size() == len_) {
                    state_ = State::Etx;
                }
                return true;
            case State::Etx:
                if (b != ETX) {
                    broken("no ETX", out);
                    return false;
                }
                raw_.push_back(c);
                count_ = 0;
                state_ = State::Crc;
                return true;
            case State::Crc:
                if (HexDigit(c) < 0) {
                    broken("bad CRC digits", out);
                    return false;
                }
                raw_.push_back(c);
                frame_.crcSent.push_back(c);
                if (++count_ == 4) {
                    frame_.crcComputed = crc16(std::string_view(raw_).substr(1, 4 + len_));
                    out.push_back(std::move(frame_));
                    state_ = State::Idle;
                }
                return true;
            case State::Idle:
                break;
        }
        return false;
    }

    void broken(const char* reason, std::vector<Element>& out) {
        Element e = Element::At(Element::Kind::Broken, frame_.date, frame_.time);
        e.data = raw_;
        e.reason = reason;
        out.push_back(std::move(e));
        state_ = State::Idle;
    }

    void flushText(std::vector<Element>& out) {
        if (!text_.data.empty()) {
            out.push_back(std::move(text_));
            text_ = Element{};
        }
    }

    State state_ = State::Idle;
    Element frame_;
    Element text_;
    std::string raw_;
    std::size_t len_ = 0;
    int count_ = 0;
};

bool CrcOk(const Element& e) {
    char sent[8];
    std::snprintf(sent, sizeof sent, "%04X", static_cast<unsigned>(e.crcComputed));
    return e.crcSent == sent;
}

std::string ControlName(unsigned char b) {
    switch (b) {
        case ENQ:
            return "ENQ";
        case ACK:
            return "ACK";
        case NAK:
            return "NAK";
        default:
            return "SYN";
    }
}

std::string Shortened(std::string_view data, std::size_t limit) {
    if (data.size() <= limit) {
        return QuotedRegisterText(data);
    }
    return QuotedRegisterText(data.substr(0, limit)) + "...";
}

// A library note with an operation's result: "send result 1", "get result 83", ...
struct ResultNote {
    std::string kind;
    int value = 0;
};

std::optional<ResultNote> ReadResultNote(std::string_view text) {
    for (const char* kind : {"send", "get", "test", "logo"}) {
        const std::string head = std::string(kind) + " result ";
        if (text.substr(0, head.size()) != head) {
            continue;
        }
        std::string_view number = text.substr(head.size());
        const bool negative = !number.empty() && number.front() == '-';
        if (negative) {
            number.remove_prefix(1);
        }
        if (number.empty() || number.size() > 6) {
            return std::nullopt;
        }
        int value = 0;
        for (char c : number) {
            if (!IsDigit(c)) {
                return std::nullopt;
            }
            value = value * 10 + (c - '0');
        }
        return ResultNote{kind, negative ? -value : value};
    }
    return std::nullopt;
}

bool ResultFailed(const ResultNote& r) {
    return r.kind == "get" ? r.value < 0 : r.value != 0;
}

std::string ResultMeaning(const ResultNote& r) {
    if (r.kind == "get") {
        switch (r.value) {
            case 0:
                return "empty reply";
            case -1:
                return "no reply";
            case -3:
                return "reply too long";
            case -4:
                return "refused or not delivered";
            case -5:
                return "damaged replies only";
            default:
                return "";
        }
    }
    if (r.kind == "test") {
        return r.value == 0 ? "ACK" : r.value == 1 ? "no ACK" : "line not open";
    }
    switch (r.value) {
        case 0:
            return "done";
        case 1:
            return "refused";
        case 2:
            return "no intact reply";
        case 3:
            return r.kind == "logo" ? "file not usable" : "not delivered";
        default:
            return "";
    }
}

// One parsed line of the trace file.
struct TraceLine {
    enum class Kind { Out, In, Note } kind = Kind::Note;
    std::string date, time;
    std::string bytes;  // Out, In
    std::string text;   // Note
};

// "2026-12-05 23:15:33.123 -> 02 30 ...  |...|", "... <- ...", "... ** text".
std::optional<TraceLine> ParseLine(std::string_view line) {
    if (line.size() < 26 || line[4] != '-' || line[7] != '-' || line[10] != ' ' ||
        line[13] != ':' || line[16] != ':' || line[19] != '.' || line[23] != ' ') {
        return std::nullopt;
    }
    TraceLine t;
    t.date = std::string(line.substr(0, 10));
    t.time = std::string(line.substr(11, 12));
    const std::string_view rest = line.substr(24);
    const std::string_view mark = rest.substr(0, 2);
    if (mark == "**") {
        t.kind = TraceLine::Kind::Note;
        t.text = std::string(rest.substr(std::min<std::size_t>(3, rest.size())));
        return t;
    }
    if (mark != "->" && mark != "<-") {
        return std::nullopt;
    }
    t.kind = mark == "->" ? TraceLine::Kind::Out : TraceLine::Kind::In;
    std::size_t pos = 2;
    while (pos + 3 <= rest.size() && rest[pos] == ' ' && HexDigit(rest[pos + 1]) >= 0 &&
           HexDigit(rest[pos + 2]) >= 0) {
        t.bytes.push_back(
            static_cast<char>(HexDigit(rest[pos + 1]) * 16 + HexDigit(rest[pos + 2])));
        pos += 3;
    }
    if (t.bytes.empty()) {
        return std::nullopt;
    }
    return t;
}

// An output line with the date it belongs to.
struct Shown {
    std::string date;
    std::string text;
};

}  // namespace

struct TraceDecoder::State {
    // One request (or ENQ) with its attempts, from its first sending to its result.
    struct Exchange {
        bool open = false;
        bool enq = false;
        char seq = 0;
        std::string request;
        bool resent = false;
        std::vector<std::string> fates;  // one per attempt; empty while not known
        int syn = 0;
        bool lineLost = false;
        std::optional<ResultNote> result;
        std::vector<Shown> lines;
        std::string date, time;  // of its last line
    };

    bool errorsOnly = false;
    ByteStream out, in;
    Exchange current;
    // The last frame exchange, for a request sent again with its SEQ after an unknown outcome.
    bool lastUnknown = false;
    char lastSeq = 0;
    std::string lastRequest;
    std::string printedDate;
    long lineNumber = 0;

    void emit(const Shown& line, std::vector<std::string>& result) {
        if (line.date != printedDate) {
            result.push_back("-- " + line.date);
            printedDate = line.date;
        }
        result.push_back(line.text);
    }

    void show(const Element& e, std::string text, std::vector<std::string>& result) {
        Shown line{e.date, e.time + " " + std::move(text)};
        if (current.open) {
            current.date = e.date;
            current.time = e.time;
            current.lines.push_back(std::move(line));
        } else if (!errorsOnly) {
            emit(line, result);
        }
    }

    void start(bool enq, char seq, const std::string& request, std::vector<std::string>& result) {
        close(result);
        current = Exchange{};
        current.open = true;
        current.enq = enq;
        current.seq = seq;
        current.request = request;
        current.fates.emplace_back();
        if (enq) {
            lastUnknown = false;  // an ENQ makes the register forget its last request
        } else {
            current.resent = lastUnknown && lastSeq == seq && lastRequest == request;
        }
    }

    void newAttempt() {
        if (current.fates.back().empty()) {
            current.fates.back() = current.enq ? "no ACK" : "no reply";
        }
        current.fates.emplace_back();
    }

    void fate(const std::string& what) {
        if (current.open && current.fates.back().empty()) {
            current.fates.back() = what;
        }
    }

    void close(std::vector<std::string>& result) {
        if (!current.open) {
            return;
        }
        Exchange& x = current;
        x.open = false;
        if (x.fates.back().empty()) {
            x.fates.back() = x.lineLost ? "line lost" : x.enq ? "no ACK" : "no reply";
        }
        const std::string& last = x.fates.back();
        const bool answered = last == "reply A" || last == "ACK";
        const bool failed = x.result ? ResultFailed(*x.result) : !answered;
        const int attempts = static_cast<int>(x.fates.size());

        std::string text = x.enq ? "ENQ" : Shortened(x.request, kShownRequest);
        text += ": ";
        if (x.resent) {
            text += "resent with the same SEQ after an unknown outcome, ";
        }
        text += std::to_string(attempts) + (attempts == 1 ? " attempt" : " attempts");
        if (attempts == 1) {
            text += ", " + last;
        } else {
            text += " (";
            for (std::size_t i = 0; i < x.fates.size(); ++i) {
                text += (i > 0 ? ", " : "") + x.fates[i];
            }
            text += ")";
        }
        if (x.syn > 0) {
            text += ", busy (SYN " + std::to_string(x.syn) + ")";
        }
        if (x.result) {
            const std::string meaning = ResultMeaning(*x.result);
            text += ", result " + std::to_string(x.result->value) +
                    (meaning.empty() ? "" : " (" + meaning + ")");
        }
        x.lines.push_back({x.date, x.time + " == " + text});
        if (!errorsOnly || failed || attempts > 1 || x.resent) {
            for (const Shown& line : x.lines) {
                emit(line, result);
            }
        }
        if (!x.enq) {
            // Whether the register executed it is not known: no intact reply came.
            lastUnknown =
                x.result ? (x.result->kind == "get" ? x.result->value == -1 || x.result->value == -5
                                                    : x.result->value == 2)
                         : last.rfind("reply ", 0) != 0;
            lastSeq = x.seq;
            lastRequest = x.request;
        }
        x.lines.clear();
    }

    void outgoing(const Element& e, std::vector<std::string>& result) {
        switch (e.kind) {
            case Element::Kind::Control:
                if (e.control == ENQ) {
                    if (current.open && current.enq && !current.result &&
                        current.fates.back() != "ACK") {
                        newAttempt();
                    } else {
                        start(true, 0, {}, result);
                    }
                } else {
                    close(result);
                }
                show(e, "-> " + ControlName(e.control), result);
                return;
            case Element::Kind::Frame:
                if (current.open && !current.enq && !current.result && current.seq == e.seq &&
                    current.request == e.data) {
                    newAttempt();
                } else {
                    start(false, e.seq, e.data, result);
                }
                show(e, "-> " + FrameText(e, false), result);
                return;
            case Element::Kind::Broken:
                close(result);
                show(e, "-> " + BrokenText(e), result);
                return;
            case Element::Kind::Text:
                close(result);
                show(e, "-> text " + QuotedRegisterText(e.data), result);
                return;
        }
    }

    void incoming(const Element& e, std::vector<std::string>& result) {
        const bool waiting = current.open && !current.result;
        switch (e.kind) {
            case Element::Kind::Control:
                if (waiting && e.control == ACK && current.enq) {
                    fate("ACK");
                } else if (waiting && e.control == NAK && !current.enq) {
                    fate("NAK");
                } else if (waiting && e.control == SYN && !current.enq) {
                    ++current.syn;
                }
                show(e, "<- " + ControlName(e.control), result);
                return;
            case Element::Kind::Frame: {
                std::string text = "<- " + FrameText(e, true);
                if (waiting && !current.enq) {
                    if (!CrcOk(e)) {
                        fate("damaged reply");
                    } else if (e.seq != current.seq) {
                        text += " (SEQ differs: dropped)";
                    } else if (!e.data.empty() &&
                               (e.data[0] == 'A' || e.data[0] == 'R' || e.data[0] == 'E')) {
                        fate(std::string("reply ") + e.data[0]);
                    } else {
                        fate("damaged reply");
                    }
                }
                show(e, text, result);
                return;
            }
            case Element::Kind::Broken:
                if (waiting && !current.enq) {
                    fate("damaged reply");
                }
                show(e, "<- " + BrokenText(e), result);
                return;
            case Element::Kind::Text:
                show(e, "<- text " + QuotedRegisterText(e.data), result);
                return;
        }
    }

    void note(const TraceLine& t, std::vector<std::string>& result) {
        Element e = Element::At(Element::Kind::Text, t.date, t.time);
        if (const auto r = ReadResultNote(t.text); r && current.open) {
            current.result = r;
            current.date = t.date;
            current.time = t.time;
            close(result);
            return;
        }
        if (t.text == "line lost" && current.open) {
            current.lineLost = true;
            show(e, "** " + t.text, result);
            close(result);
            return;
        }
        close(result);
        show(e, "** " + t.text, result);
    }

    static std::string FrameText(const Element& e, bool reply) {
        std::string text = "SEQ 0x" + Hex2(static_cast<unsigned char>(e.seq)) + " ";
        std::string_view data = e.data;
        if (reply && !data.empty() && (data[0] == 'A' || data[0] == 'R' || data[0] == 'E')) {
            text += std::string(1, data[0]) + " ";
            data.remove_prefix(1);
        }
        text += QuotedRegisterText(data);
        if (CrcOk(e)) {
            return text + " CRC ok";
        }
        char computed[8];
        std::snprintf(computed, sizeof computed, "%04X", static_cast<unsigned>(e.crcComputed));
        return text + " CRC bad (" + e.crcSent + ", should be " + computed + ")";
    }

    static std::string BrokenText(const Element& e) {
        std::string text = "broken frame (" + e.reason + "):";
        for (std::size_t i = 0; i < e.data.size() && i < kShownBroken; ++i) {
            text += " " + Hex2(static_cast<unsigned char>(e.data[i]));
        }
        return e.data.size() > kShownBroken ? text + " ..." : text;
    }

    void flush(ByteStream& stream, bool fromStation, std::vector<std::string>& result) {
        std::vector<Element> elements;
        stream.flush(elements);
        for (const Element& e : elements) {
            fromStation ? outgoing(e, result) : incoming(e, result);
        }
    }
};

TraceDecoder::TraceDecoder(bool errorsOnly) : state_(std::make_unique<State>()) {
    state_->errorsOnly = errorsOnly;
}

TraceDecoder::~TraceDecoder() = default;

void TraceDecoder::feed(std::string_view line, std::vector<std::string>& out) {
    State& s = *state_;
    ++s.lineNumber;
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    const auto parsed = ParseLine(line);
    if (!parsed) {
        if (!line.empty() && !s.errorsOnly) {
            out.push_back("?? line " + std::to_string(s.lineNumber) + " is not a trace line");
        }
        return;
    }
    const TraceLine& t = *parsed;
    if (t.kind == TraceLine::Kind::Note) {
        s.flush(s.out, true, out);
        s.flush(s.in, false, out);
        s.note(t, out);
        return;
    }
    const bool fromStation = t.kind == TraceLine::Kind::Out;
    // The station writes only after it gave up what it was reading: a frame of the register
    // still open is broken, and its text ends.
    s.flush(fromStation ? s.in : s.out, !fromStation, out);
    ByteStream& stream = fromStation ? s.out : s.in;
    std::vector<Element> elements;
    for (char c : t.bytes) {
        stream.feed(static_cast<unsigned char>(c), t.date, t.time, elements);
    }
    for (const Element& e : elements) {
        fromStation ? s.outgoing(e, out) : s.incoming(e, out);
    }
}

void TraceDecoder::finish(std::vector<std::string>& out) {
    State& s = *state_;
    s.flush(s.out, true, out);
    s.flush(s.in, false, out);
    s.close(out);
}

std::vector<std::string> DecodeTrace(std::string_view text, bool errorsOnly) {
    TraceDecoder decoder(errorsOnly);
    std::vector<std::string> out;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        decoder.feed(text.substr(0, end), out);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    decoder.finish(out);
    return out;
}

std::string QuotedRegisterText(std::string_view bytes) {
    std::string out = "\"";
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out.push_back('\\');
            out.push_back(c);
        } else if (b >= 0x20 && b < 0x7F) {
            out.push_back(c);
        } else if (const char32_t letter = RegisterLetter(b); letter != 0) {
            AppendUtf8(out, letter);
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\0') {
            out += "\\0";
        } else {
            out += "\\x" + Hex2(b);
        }
    }
    return out + "\"";
}

}  // namespace qovdll
