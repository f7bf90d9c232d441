#pragma once

#include <QDate>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "fiscal/register_commands.h"
#include "link/station.h"

namespace qov::fiscal {

// The text of the register's last error code (every text begins with a blank; " OK" for the
// codes without a text).
std::string RegisterErrorText(int code);

// A last error code as the state display shows it: a leading blank for zero or more.
std::string ErrorCodeText(int code);

// The article code as the sale frame carries it: its first 12 characters, or padded on the
// left with "0" to 12.
std::string PaddedCode(const std::string& code);

// The sale line frame (51 characters) of `code` and `quantity` (thousandths, halves to even).
std::string SaleLineFrame(const std::string& code, float quantity);

// The payment frame (14 characters): `kind` 'f' cheque, 'h' card, 'g' cash; the amount in
// hundredths, halves to even.
std::string PaymentFrame(char kind, double amount);

// The key codes that enter a date "dd.mm.yyyy": digits of positions 1, 2, 4, 5, 9, 10, the
// subtotal key for the dots, the century skipped.
std::vector<std::string> DateKeys(const std::string& date);

// A text read as a number: blanks around it allowed, a sign, digits with one decimal point
// or comma. False when the text holds anything else.
bool ReadNumber(const std::string& text, double& value);

// Receipt result codes.
enum ReceiptCode : int {
    kReceiptOk = 0,
    kReceiptNoLink = 1,  // the connection test before the first line failed
    kReceiptLineNotSold = 2,
    kReceiptChequeFailed = 3,
    kReceiptCardFailed = 4,
    kReceiptCashFailed = 5,
    kReceiptBadQuantity = 6,
    kReceiptBadAmount = 7,
};

// The logic of the fiscal screen frmFiscal ("Fiskalni izvestaji"): the daily, snapshot and
// periodic reports, the receipt, the identity and the register state.
class FiscalForm {
public:
    static constexpr const char* kFormName = "frmFiscal";
    static constexpr const char* kCaption = "Fiskalni izvestaji";
    static constexpr int kLines = 10;

    explicit FiscalForm(Station& station);

    // Opening: CurrentForm = "frmFiscal".
    void open();

    // Toolbar keys "dnevni", "periodicni", "presek", "racun", "serial", "fisstate", "esci".
    // Returns true when the screen closes.
    bool onToolbar(const std::string& key);

    // Screen fields.
    std::array<std::string, kLines> Artikal;
    std::array<std::string, kLines> Kolicina;
    std::string Cek, Kartica, Gotovina;
    std::string StartText, EndText;
    std::string MENY, LERR, LERRTEXT, STANJE, BRPLU;
    std::string SER, PIB, IBFM;

    // The register status read by the last successful status request.
    RegisterStatus status;

    // Called whenever the state or identity fields were set and before every message box, so
    // that the screen shows what was read behind the box, not only once an operation ends.
    std::function<void()> fieldsChanged;

    // Today's date (the system date; tests replace it).
    std::function<QDate()> today = [] { return QDate::currentDate(); };

    // The operations; each reports to the user as the screen does. The reports return true
    // on success (false also when the user answered No or a check refused the input).
    bool dnevni();
    bool presek();
    bool periodicni();
    int racunOut();
    int fisstate();
    bool serial();
    void esci();

    // The building blocks.
    int connectionTest();
    bool statusRequest();
    std::string displayRequest();
    bool returnToRest();
    bool dateEntry(const std::string& date);
    int printWait();
    bool errorClear();
    int stateDisplay();

private:
    bool ask();
    bool pressKeys(const std::string& code, int times);
    bool modeToReports(const std::string& refusal);
    bool runSnapshot();
    bool runPeriodic(const QDate& start, const QDate& end);
    bool sendSaleOrPayment(const std::string& frame);
    void say(const std::string& text, Icon icon, const std::string& title);
    void showFields();

    Station& st_;
};

}  // namespace qov::fiscal
