#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "link/station.h"
#include "tables/transfer_context.h"

namespace qov::dumps {

// The two memories of the register that are read raw, block by block.
enum class MemoryKind { Fiscal, Program };

// What tells the twin dump screens apart.
struct MemoryLayout {
    const char* formName;     // the screen's name: "frmReadFiscal" / "FrmReadPrg"
    const char* caption;      // "Fiskalna memorija" / "Programska memorija"
    char letter;              // the request letter: 'F' / 'Y'
    int blocks;               // 8192 / 16384
    const char* fileName;     // the dump file in the program folder
    const char* waitingText;  // Text1 while the full read starts
    bool hasNext;             // the "sledeci" key (fiscal memory only)
};
const MemoryLayout& LayoutOf(MemoryKind kind);

inline constexpr int kBlockBytes = 16;
// A full read asks for a block at most this many times before it leaves a hole.
inline constexpr int kRequestsPerBlock = 5;

inline constexpr const char* kReadFailed = "Citanje nije uspelo!";
inline constexpr const char* kFinished = "Prijem zavrsen";

// The block request: the letter and the address zero-filled to 6 digits ("F000032").
std::string BlockRequest(char letter, std::uint32_t address);
// The block text of a reply (its text bytes 1..n): bytes 1 to n - 4, one character per byte,
// a blank before bytes 3, 5, ..., 31; empty for a reply of 4 bytes or fewer.
std::string BlockText(std::string_view reply);
// A line of the dump file (without its line break): the 6-digit address, a blank, the text.
std::string DumpLine(std::uint32_t address, const std::string& blockText);
// The line of a block that gave no reply: the address and " ??", so that a reader sees the
// hole instead of the previous block's bytes again.
std::string MissingBlockLine(std::uint32_t address);
// Text1 during a full read: "Snimak broj " + the number with its leading blank + " od " + total.
std::string ProgressText(int block, int blocks);

// How the last full read ended.
struct DumpOutcome {
    bool fileCreated = false;
    bool cancelled = false;
    bool writeFailed = false;
    int linesWritten = 0;  // lines in the file, holes included
    int missing = 0;       // blocks without a reply after kRequestsPerBlock requests
    bool complete() const { return fileCreated && !cancelled && !writeFailed && missing == 0; }
};

// frmReadFiscal and FrmReadPrg without the window: the block procedure, the first and next
// block shown in Text1, and the full read into the dump file with its progress and cancel.
class MemoryDump {
public:
    // `programFolder` holds the dump file.
    MemoryDump(Station& station, MemoryKind kind, const std::filesystem::path& programFolder);

    MemoryKind kind() const { return kind_; }
    const MemoryLayout& layout() const { return LayoutOf(kind_); }

    // The file a full read writes: the program folder's by default.
    const std::filesystem::path& dumpFile() const { return dumpFile_; }
    void setDumpFile(const std::filesystem::path& file) { dumpFile_ = file; }

    // Opening the screen: CurrentForm "ne".
    void open();
    // Toolbar keys "prvi", "sledeci" (fiscal only), "sve", "esci"; true when the screen closes.
    // Keys pressed while a full read runs are ignored.
    bool onToolbar(const std::string& key);

    // "prvi": block 0 appended to Text1; "Citanje nije uspelo!" when no reply came.
    void prvi();
    // "sledeci": the block 16 bytes further on, the same way.
    void sledeci();
    // "sve": the whole memory into the dump file, one line per block.
    void sve();
    // "esci": CurrentForm " ".
    void esci();

    // The block procedures: the request through get_frame (get_frameM on a modem line), the
    // block text into ReplyText when a reply came, and with `show` the address, the text and
    // a blank appended to Text1. True when a reply came (n > 0).
    bool ricevi_fiscal(std::uint32_t address, bool show);
    bool ricevi_prg(std::uint32_t address, bool show);

    // "Prekini": a running full read stops before its next block.
    void cancel();
    bool running() const { return running_; }

    // Text1.
    const std::string& text() const { return text_; }
    // The screen's address counter (where "prvi" and "sledeci" are).
    std::uint32_t address() const { return address_; }
    const DumpOutcome& outcome() const { return outcome_; }

    // Blocks done of the total, the cancel request; `changed` also fires when Text1 changes.
    tables::TransferProgress& progress() { return progress_; }
    const tables::TransferProgress& progress() const { return progress_; }

private:
    bool ricevi(std::uint32_t address, bool show);
    bool readBlock(char letter, std::uint32_t address, bool show);
    void showBlock(std::uint32_t address);
    void setText(std::string text);
    std::string endText() const;

    Station& st_;
    MemoryKind kind_;
    std::filesystem::path dumpFile_;
    std::string text_;
    std::uint32_t address_ = 0;
    bool running_ = false;
    DumpOutcome outcome_;
    tables::TransferProgress progress_;
};

}  // namespace qov::dumps
