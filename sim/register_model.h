// The register itself: takes the text of one request frame, acts on the memory and gives the
// reply (status byte and text). Knows nothing of the line; the same request given twice is
// executed twice (repetitions are the line's business).
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "memory.h"

namespace qov::sim {

// Last-error codes the register sets (its error table).
enum ErrorCode : int {
    kErrNone = 0,
    kErrCloseReceipt = 1,    // " Zakljuciti racun !"
    kErrNoArticle = 2,       // " Artikal nije definisan !"
    kErrTooLarge = 3,        // " Suvise velika vrednost !"
    kErrZeroValue = 5,       // " Vrednost jednaka nuli !"
    kErrReceiptClosed = 6,   // " Racun je zakljucen !"
    kErrNoAmount = 7,        // " Nema iznosa !"
    kErrWrongValue = 8,      // " Pogresna vrednost !"
    kErrBadFunction = 11,    // " Nedozvoljena funkcija !"
    kErrBadTime = 15,        // " Pogresno vreme !"
    kErrNotNow = 17,         // " Nedozvoljena operacija u ovom momentu !"
    kErrDateBefore = 26,     // " Datum prethodi poslednjem mogucem !"
    kErrInReceipt = 28,      // " Nije moguce pri izradi racuna !"
    kErrDailyFull = 30,      // " Maksimalni broj dnevnih izvestaja !"
    kErrMaxAmount = 34,      // " Maksimalni iznos !"
    kErrBadCashier = 36,     // " Pogresna sifra operatera !"
    kErrClearArticles = 39,  // " Anuliraj artikle !"
    kErrArticlesFull = 45,   // " Maksimalni broj artikala !"
    kErrStock = 50,          // " Nedovoljno na lageru !"
};

struct Reply {
    char status = 'A';  // 'A' done, 'R' refused, 'E' cannot deliver
    std::string text;
    bool slow = false;  // the register works a while before answering (clearing, sold run)
};

struct ModelOptions {
    int pluCapacity = kDefaultPluCapacity;
    int paperOut = 0;         // display reads that show "E 22" after each report
    bool reportLock = false;  // the mode key never reaches the report position
    bool dailyDue = false;    // "PD" is refused until a daily report has been made
};

class RegisterModel {
public:
    explicit RegisterModel(ModelOptions options = {});

    Reply execute(std::string_view frame);

    // Direct access (state file, demo shop); the program image is rebuilt afterwards.
    Memory& memory() {
        programDirty_ = true;
        return memory_;
    }
    const Memory& memory() const { return memory_; }
    // True once after every change of the memory (the state file is written then).
    bool takeChanged();
    void markChanged() { touch(); }

    int lastError() const { return lastError_; }
    int menuPosition() const { return menu_; }
    int workingState() const;
    bool receiptOpen() const { return receipt_.open; }
    long long receiptDue() const { return receipt_.due; }
    long long receiptPaid() const { return receipt_.paid; }
    // The 50-character display text as "r" gives it (without consuming a paper-out read).
    std::string displayText() const;

    // The register's clock (the date of daily records, the periodic report's limit); an empty
    // function brings back the system's date.
    void setClock(std::function<Date()> today);
    Date today() const { return today_(); }

    // 16 bytes of the fiscal or program memory at block index (out of range: 0xFF bytes).
    std::string fiscalBlock(int index) const;
    std::string programBlock(int index);

private:
    struct Receipt {
        bool open = false;
        bool paying = false;
        int lines = 0;
        int cashier = 0;
        long long due = 0;
        long long paid = 0;
    };
    enum class KeyState { Idle, Snapshot, PeriodStart, PeriodEnd };

    void touch() {
        changed_ = true;
        programDirty_ = true;
    }
    Reply refuse(int code);
    Reply missing(int code);
    Reply done(std::string text = {});
    Reply storeGuard();  // refusal while a receipt is open, else status 'A'

    Reply department(std::string_view f);
    Reply departmentRequest(std::string_view f);
    Reply cashier(std::string_view f);
    Reply cashierRequest(std::string_view f);
    Reply currency(std::string_view f);
    Reply currencyRequest(std::string_view f);
    Reply vatRequest(std::string_view f);
    Reply unit(std::string_view f);
    Reply unitRequest(std::string_view f);
    Reply articleType(std::string_view f);
    Reply articleTypeRequest(std::string_view f);
    Reply system(std::string_view f);
    Reply printLine(std::string_view f, std::array<std::string, kPrintLines>& lines);
    Reply message(std::string_view f);
    Reply articleFrame(std::string_view f);
    Reply articleProgram(std::string_view f);
    Reply articleStock(std::string_view f);
    Reply articleDelete(std::string_view f);
    Reply articleClearSales();
    Reply articleWalk(std::string_view f);
    Reply sale(std::string_view f);
    Reply payment(std::string_view f);
    Reply openReceipt();
    Reply endReceipt();
    Reply dailyReport();
    Reply key(std::string_view f);
    Reply logo(std::string_view f);
    Reply memoryBlock(std::string_view f, bool fiscal);
    Reply status();
    Reply display();
    Reply identity();

    void closeReceipt();
    void keyInReportPosition(const std::string& code);
    void finishPeriod();
    void reportPrinted(std::string_view title);
    void showMenu();
    void setDisplay(std::string_view line1, std::string_view line2);
    std::string articleReply(const Article& a) const;
    void rebuildProgramImage();

    ModelOptions options_;
    Memory memory_;
    bool changed_ = false;
    int lastError_ = 0;
    int menu_ = 0;
    Receipt receipt_;
    std::string cursor_;  // code of the last article walked; empty: before the first
    bool cursorValid_ = false;
    int logoSlot_ = 0;
    bool logoOpen_ = false;
    std::size_t logoSize_ = 0;
    std::string logoData_;
    KeyState keyState_ = KeyState::Idle;
    int totals_ = 0;  // "total" presses in the report position
    std::string dateDigits_;
    std::string periodStart_;
    std::string entry_;  // digits typed on the keyboard
    std::string line1_, line2_, customer_;
    int paperOutLeft_ = 0;
    bool dailyDue_ = false;
    std::string programImage_;
    bool programDirty_ = true;
    std::function<Date()> today_;
};

}  // namespace qov::sim
