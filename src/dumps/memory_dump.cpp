#include "dumps/memory_dump.h"

#include <cerrno>
#include <exception>
#include <fstream>
#include <system_error>

#include "tables/fields.h"

namespace qov::dumps {

namespace {

constexpr MemoryLayout kFiscal{"frmReadFiscal", "Fiskalna memorija", 'F', 8192,
                               "fiscal.txt",    "Sacekajte...",      true};
constexpr MemoryLayout kProgram{"FrmReadPrg", "Programska memorija", 'Y',  16384,
                                "prgqov.txt", "Sacekajte",           false};

std::string Address6(std::uint32_t address) {
    return tables::ZeroFilled(address, 6);
}

// The reason a file call failed, from the error number it left.
std::string Reason(int error) {
    return error != 0 ? std::generic_category().message(error) : "nepoznata greska";
}

}  // namespace

const MemoryLayout& LayoutOf(MemoryKind kind) {
    return kind == MemoryKind::Fiscal ? kFiscal : kProgram;
}

std::string BlockRequest(char letter, std::uint32_t address) {
    return letter + Address6(address);
}

std::string BlockText(std::string_view reply) {
    std::string text;
    if (reply.size() <= 4) {
        return text;
    }
    const std::size_t count = reply.size() - 4;
    text.reserve(count + count / 2);
    for (std::size_t i = 1; i <= count; ++i) {
        if (i >= 3 && i <= 31 && i % 2 == 1) {
            text.push_back(' ');
        }
        text.push_back(reply[i - 1]);
    }
    return text;
}

std::string DumpLine(std::uint32_t address, const std::string& blockText) {
    return Address6(address) + " " + blockText;
}

std::string MissingBlockLine(std::uint32_t address) {
    return Address6(address) + " ??";
}

std::string ProgressText(int block, int blocks) {
    return "Snimak broj  " + std::to_string(block) + " od " + std::to_string(blocks);
}

MemoryDump::MemoryDump(Station& station, MemoryKind kind,
                       const std::filesystem::path& programFolder)
    : st_(station), kind_(kind), dumpFile_(programFolder / LayoutOf(kind).fileName) {}

void MemoryDump::open() {
    st_.state.CurrentForm = "ne";
}

void MemoryDump::esci() {
    st_.state.CurrentForm = " ";
}

bool MemoryDump::onToolbar(const std::string& key) {
    if (running_) {
        return false;
    }
    if (key == "prvi") {
        prvi();
    } else if (key == "sledeci" && layout().hasNext) {
        sledeci();
    } else if (key == "sve") {
        sve();
    } else if (key == "esci") {
        esci();
        return true;
    }
    return false;
}

void MemoryDump::prvi() {
    address_ = 0;
    showBlock(address_);
}

void MemoryDump::sledeci() {
    address_ += kBlockBytes;
    showBlock(address_);
}

void MemoryDump::showBlock(std::uint32_t address) {
    st_.dialogs.setBusy(true);
    if (!ricevi(address, true)) {
        st_.dialogs.message(kReadFailed, kTitle, Icon::Critical);
    }
    st_.dialogs.setBusy(false);
}

bool MemoryDump::ricevi_fiscal(std::uint32_t address, bool show) {
    return readBlock(kFiscal.letter, address, show);
}

bool MemoryDump::ricevi_prg(std::uint32_t address, bool show) {
    return readBlock(kProgram.letter, address, show);
}

bool MemoryDump::ricevi(std::uint32_t address, bool show) {
    return kind_ == MemoryKind::Fiscal ? ricevi_fiscal(address, show) : ricevi_prg(address, show);
}

bool MemoryDump::readBlock(char letter, std::uint32_t address, bool show) {
    bool replied = false;
    try {
        const int n = st_.link.requestFrame(BlockRequest(letter, address));
        replied = n > 0;
        if (replied) {
            st_.state.ReplyText = BlockText(st_.link.replyText(n));
            if (show) {
                setText(text_ + DumpLine(address, st_.state.ReplyText) + " ");
            }
        }
    } catch (const std::exception&) {
        // A failure inside the block procedure is ignored: the block counts as read or not
        // by what came before it.
    }
    return replied;
}

void MemoryDump::cancel() {
    if (running_) {
        progress_.requestCancel();
    }
}

void MemoryDump::sve() {
    Dialogs& dialogs = st_.dialogs;
    const MemoryLayout& memory = layout();
    dialogs.setBusy(true);
    outcome_ = DumpOutcome{};
    progress_.resetCancel();

    errno = 0;
    std::ofstream out(dumpFile_, std::ios::binary | std::ios::trunc);
    if (!out) {
        // Nothing is read into a file that cannot hold it.
        dialogs.message(
            "Datoteka " + dumpFile_.string() + " ne moze da se napravi: " + Reason(errno) + ".",
            kTitle, Icon::Critical);
        dialogs.setBusy(false);
        return;
    }
    outcome_.fileCreated = true;
    running_ = true;
    setText(memory.waitingText);
    progress_.start(memory.blocks);

    std::uint32_t address = 0;
    for (int block = 1; block <= memory.blocks; ++block) {
        dialogs.yield();
        if (progress_.cancelRequested()) {
            outcome_.cancelled = true;
            break;
        }
        bool replied = false;
        for (int request = 0; request < kRequestsPerBlock && !replied; ++request) {
            replied = ricevi(address, false);
        }
        setText(ProgressText(block, memory.blocks));
        if (replied) {
            out << DumpLine(address, st_.state.ReplyText) << '\n';
        } else {
            out << MissingBlockLine(address) << '\n';
            ++outcome_.missing;
        }
        if (!out) {
            outcome_.writeFailed = true;
            break;
        }
        ++outcome_.linesWritten;
        progress_.setDone(outcome_.linesWritten);
        dialogs.yield();
        address += kBlockBytes;
    }
    errno = 0;
    out.close();
    if (out.fail() && !outcome_.writeFailed) {
        outcome_.writeFailed = true;
    }
    running_ = false;
    if (outcome_.writeFailed) {
        dialogs.message(
            "Datoteka " + dumpFile_.string() + " ne moze da se zapise: " + Reason(errno) + ".",
            kTitle, Icon::Critical);
    }
    setText(endText());
    dialogs.setBusy(false);
}

std::string MemoryDump::endText() const {
    const std::string holes =
        outcome_.missing > 0 ? ", neprocitanih blokova: " + std::to_string(outcome_.missing) : "";
    if (outcome_.cancelled || outcome_.writeFailed) {
        return "Prijem prekinut, procitano blokova: " +
               std::to_string(outcome_.linesWritten - outcome_.missing) + " od " +
               std::to_string(layout().blocks) + holes;
    }
    return kFinished + holes;
}

void MemoryDump::setText(std::string text) {
    text_ = std::move(text);
    if (progress_.changed) {
        progress_.changed();
    }
}

}  // namespace qov::dumps
