#include "fiscal/fiscal_form.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace qov::fiscal {
namespace {

constexpr const char* kPrinterTitle = "Stampac";
constexpr const char* kDateEntryTitle = "Veza";
constexpr const char* kDateFormat = "dd.MM.yyyy";

struct ErrorTextRow {
    int code;
    const char* text;
};

constexpr ErrorTextRow kErrorTexts[] = {
    {1, " Zakljuciti racun !"},
    {2, " Artikal nije definisan !"},
    {3, " Suvise velika vrednost !"},
    {4, " Anulirati kasu !"},
    {5, " Vrednost jednaka nuli !"},
    {6, " Racun je zakljucen !"},
    {7, " Nema iznosa !"},
    {8, " Pogresna vrednost !"},
    {9, " Pooslednje placanje !"},
    {10, " Racun je zavrsen !"},
    {11, " Nedozvoljena funkcija !"},
    {12, " Neispravan displej kasira !"},
    {13, " Neispravan displej kupca !"},
    {14, " Neispravna tastatura !"},
    {15, " Pogresno vreme !"},
    {16, " Neispravni fiskalni modul !"},
    {17, " Nedozvoljena operacija u ovom momentu !"},
    {19, " Stampac nije povezan !"},
    {20, " Podignuta glava stampaca !"},
    {21, " Greska u temperaturi glave stampaca !"},
    {22, " Nedostaje kontrolna traka !"},
    {23, " Nedostaje traka za racune !"},
    {24, " Maksimalni broj reseta !"},
    {25, " Pri kraju broj reseta !"},
    {26, " Datum prethodi poslednjem mogucem !"},
    {27, " Traka sadrzi total !"},
    {28, " Nije moguce pri izradi racuna !"},
    {30, " Maksimalni broj dnevnih izvestaja !"},
    {31, " Pri kraju broj dnevnih izvestaja !"},
    {32, " Negativan iznos racuna !"},
    {33, " Mnozenja !"},
    {34, " Maksimalni iznos !"},
    {35, " Nedostaje vrednost !"},
    {36, " Pogresna sifra operatera !"},
    {37, " Obavezna prijava operatera !"},
    {39, " Anuliraj artikle !"},
    {40, " Anuliraj operatere !"},
    {41, " Nisu definisane poreske stope !"},
    {42, " Pri kraju broj promena poreskih stopa !"},
    {43, " Maksimalni broj promena poreskih stopa !"},
    {44, " Anuliraj operatere !"},
    {45, " Maksimalni broj artikala !"},
    {46, " Nedefinisana oznaka poreske stope !"},
    {47, " Nedefinisana poreska stopa za dati artikal !"},
    {48, " Zauzet sto !"},
    {50, " Nedovoljno na lageru !"},
};

std::string ZeroFilled(long long value, std::size_t width) {
    std::string digits = std::to_string(value < 0 ? -value : value);
    if (digits.size() < width) {
        digits.insert(0, width - digits.size(), '0');
    }
    return digits;
}

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// A one-letter frame through send_frame (on either line kind), kept in the shared buffers.
int SendPlain(LinkCalls& link, const std::string& frame) {
    SharedState& state = link.state();
    state.FrameBuffer = frame;
    state.LinkResult = link.link().send_frame(frame, static_cast<int>(frame.size()));
    return state.LinkResult;
}

// The hourglass for one run, restored on every way out.
class BusyPointer {
public:
    explicit BusyPointer(Dialogs& dialogs) : dialogs_(dialogs) { dialogs_.setBusy(true); }
    ~BusyPointer() { dialogs_.setBusy(false); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    Dialogs& dialogs_;
};

}  // namespace

std::string RegisterErrorText(int code) {
    for (const ErrorTextRow& row : kErrorTexts) {
        if (row.code == code) {
            return row.text;
        }
    }
    return " OK";
}

std::string ErrorCodeText(int code) {
    return code >= 0 ? " " + std::to_string(code) : std::to_string(code);
}

std::string PaddedCode(const std::string& code) {
    if (code.size() >= 12) {
        return code.substr(0, 12);
    }
    return std::string(12 - code.size(), '0') + code;
}

std::string SaleLineFrame(const std::string& code, float quantity) {
    const auto thousandths = static_cast<long long>(std::nearbyint(quantity * 1000.0f));
    return "PS10" + PaddedCode(code) + "00" + "123456789123" + "0011" + ZeroFilled(thousandths, 9) +
           "00000000";
}

std::string PaymentFrame(char kind, double amount) {
    const auto hundredths = static_cast<long long>(std::nearbyint(amount * 100.0));
    return std::string(1, kind) + "10" + ZeroFilled(hundredths, 11);
}

std::vector<std::string> DateKeys(const std::string& date) {
    std::vector<std::string> keys;
    for (const int pos : {1, 2, 3, 4, 5, 6, 9, 10}) {
        if (pos == 3 || pos == 6) {
            keys.emplace_back(kKeySubtotal);
        } else if (static_cast<std::size_t>(pos) <= date.size()) {
            keys.push_back(DigitKeyCode(date[static_cast<std::size_t>(pos - 1)]));
        }
    }
    return keys;
}

bool ReadNumber(const std::string& text, double& value) {
    std::string t = Trimmed(text);
    for (char& c : t) {
        if (c == ',') {
            c = '.';
        }
    }
    std::size_t i = (!t.empty() && (t[0] == '-' || t[0] == '+')) ? 1 : 0;
    int digits = 0;
    int points = 0;
    for (; i < t.size(); ++i) {
        if (t[i] >= '0' && t[i] <= '9') {
            ++digits;
        } else if (t[i] == '.' && points == 0) {
            ++points;
        } else {
            return false;
        }
    }
    if (digits == 0) {
        return false;
    }
    value = std::strtod(t.c_str(), nullptr);
    return true;
}

FiscalForm::FiscalForm(Station& station) : st_(station) {}

void FiscalForm::open() {
    st_.state.CurrentForm = kFormName;
}

bool FiscalForm::onToolbar(const std::string& key) {
    if (key == "dnevni") {
        dnevni();
    } else if (key == "periodicni") {
        periodicni();
    } else if (key == "presek") {
        presek();
    } else if (key == "racun") {
        const int code = racunOut();
        if (code != 0) {
            say("Greska", Icon::Critical, kTitle);
        } else {
            say("Racun je izdat.", Icon::Information, kTitle);
        }
    } else if (key == "serial") {
        serial();
    } else if (key == "fisstate") {
        st_.state.LinkResult = fisstate();
    } else if (key == "esci") {
        esci();
        return true;
    }
    return false;
}

void FiscalForm::say(const std::string& text, Icon icon, const std::string& title) {
    showFields();
    st_.dialogs.message(text, title, icon);
}

void FiscalForm::showFields() {
    if (fieldsChanged) {
        fieldsChanged();
    }
}

bool FiscalForm::ask() {
    return st_.dialogs.message("Da li ste sigurni ?", kTitle, Icon::Exclamation, Buttons::YesNo) ==
           Answer::Yes;
}

// ---- building blocks ---------------------------------------------------------------------

int FiscalForm::connectionTest() {
    return st_.link.testConnection();
}

bool FiscalForm::statusRequest() {
    return RequestStatus(st_.link, status);
}

std::string FiscalForm::displayRequest() {
    return RequestDisplay(st_.link);
}

bool FiscalForm::pressKeys(const std::string& code, int times) {
    for (int i = 0; i < times; ++i) {
        if (PressKey(st_.link, code) != 0) {
            return false;
        }
    }
    return true;
}

bool FiscalForm::returnToRest() {
    if (!statusRequest()) {
        return false;
    }
    while (status.menuPosition != 0) {
        if (PressKey(st_.link, kKeyMode) != 0 || !statusRequest()) {
            return false;
        }
    }
    return true;
}

bool FiscalForm::dateEntry(const std::string& date) {
    for (const std::string& key : DateKeys(date)) {
        if (PressKey(st_.link, key) != 0) {
            say("Nije dobra veza saCASH uredjajem proverite!", Icon::Critical, kDateEntryTitle);
            return false;
        }
    }
    return true;
}

int FiscalForm::printWait() {
    for (;;) {
        const int pressed = PressKey(st_.link, kKeySubtotal);
        if (pressed != 0) {
            return pressed;
        }
        const std::string display = displayRequest();
        if (display == kNoDisplay) {
            return -1;
        }
        if (display.rfind("GR.", 0) == 0) {
            return -6;
        }
        const std::string text = Trimmed(display);
        if (text == "E 20") {
            say(" Spustite glavu stampaca ! ", Icon::Information, kPrinterTitle);
        } else if (text == "E 22") {
            say(" Stavite papir ! ", Icon::Information, kPrinterTitle);
        } else if (text == "E 23") {
            say(" Stavite papir !", Icon::Information, kPrinterTitle);
        } else {
            return 0;
        }
    }
}

bool FiscalForm::errorClear() {
    if (SendPlain(st_.link, "C") != 0) {
        return false;
    }
    LERRTEXT = " OK";
    LERR = " 0";
    showFields();
    return true;
}

int FiscalForm::stateDisplay() {
    if (!statusRequest()) {
        say("Komunikacija nije dobra.", Icon::Exclamation, kTitle);
        return -1;
    }
    MENY = std::to_string(status.menuPosition);
    BRPLU = std::to_string(status.articleCount);
    STANJE = std::to_string(status.workingState);
    LERR = ErrorCodeText(status.lastError);
    LERRTEXT = RegisterErrorText(status.lastError);
    showFields();
    return status.lastError;
}

// ---- reports -----------------------------------------------------------------------------

bool FiscalForm::dnevni() {
    if (!ask()) {
        return false;
    }
    {
        BusyPointer busy(st_.dialogs);
        st_.link.sendFrameMD("x");
    }
    if (st_.state.LinkResult != 0) {
        say("Greska", Icon::Critical, kTitle);
        return false;
    }
    say("Dnevni izvestaj je uradjen.", Icon::Information, kTitle);
    return true;
}

bool FiscalForm::modeToReports(const std::string& refusal) {
    if (connectionTest() != 0 || !statusRequest() || !returnToRest()) {
        return false;
    }
    if (!pressKeys(kKeyMode, 4) || !statusRequest()) {
        return false;
    }
    if (status.menuPosition != 5) {
        say(refusal, Icon::Exclamation, kTitle);
        return false;
    }
    return true;
}

bool FiscalForm::runSnapshot() {
    if (!modeToReports(" Nemate pristup za izradu preseka stanja !")) {
        return false;
    }
    if (!pressKeys(kKeyTotal, 3) || !pressKeys(kKeySubtotal, 2) || !statusRequest()) {
        return false;
    }
    return printWait() == 0;
}

bool FiscalForm::presek() {
    if (!ask()) {
        return false;
    }
    bool ok = false;
    {
        BusyPointer busy(st_.dialogs);
        ok = runSnapshot();
    }
    if (ok) {
        say("Presek stanja je uradjen.", Icon::Information, kTitle);
    } else {
        say("Greska", Icon::Critical, kTitle);
    }
    return ok;
}

bool FiscalForm::runPeriodic(const QDate& start, const QDate& end) {
    if (start > end || end > today()) {
        return false;
    }
    const std::string startText = start.toString(kDateFormat).toStdString();
    const std::string endText = end.toString(kDateFormat).toStdString();
    if (!modeToReports(" Nemate pristup za izradu periodicnog izvestaja !")) {
        return false;
    }
    if (!pressKeys(kKeyTotal, 2) || !pressKeys(kKeySubtotal, 1) || !dateEntry(startText) ||
        !pressKeys(kKeySubtotal, 1) || !dateEntry(endText) || !statusRequest() ||
        !pressKeys(kKeySubtotal, 1) || !statusRequest()) {
        return false;
    }
    return printWait() == 0;
}

bool FiscalForm::periodicni() {
    if (StartText.empty()) {
        say("Unesite pocetni datum!", Icon::Exclamation, kTitle);
        return false;
    }
    if (EndText.empty()) {
        say("Unesite krajnji datum!", Icon::Exclamation, kTitle);
        return false;
    }
    const QDate start = QDate::fromString(QString::fromLatin1(StartText), kDateFormat);
    const QDate end = QDate::fromString(QString::fromLatin1(EndText), kDateFormat);
    if (!start.isValid() || !end.isValid()) {
        say("Unesite datum u formatu dd.MM.yyyy!", Icon::Critical, kTitle);
        return false;
    }
    if (start > end) {
        say("Pocetni datum treba da je manji od krajnjeg!", Icon::Critical, kTitle);
        return false;
    }
    if (end > today()) {
        say("Krajnji datum je veci od trenutnog!", Icon::Critical, kTitle);
        return false;
    }
    if (!ask()) {
        return false;
    }
    bool ok = false;
    {
        BusyPointer busy(st_.dialogs);
        ok = runPeriodic(start, end);
    }
    if (ok) {
        say("Periodicni izvestaj je uradjen.", Icon::Information, kTitle);
    } else {
        say("Greska !", Icon::Critical, kTitle);
    }
    return ok;
}

// ---- receipt -----------------------------------------------------------------------------

bool FiscalForm::sendSaleOrPayment(const std::string& frame) {
    if (!errorClear()) {
        return false;
    }
    const int result = st_.link.sendFrameMD(frame);
    if (result == 2) {
        say("Komunikacija nije dobra.", Icon::Exclamation, kTitle);
    }
    return result == 0;
}

int FiscalForm::racunOut() {
    int code = kReceiptOk;
    SendPlain(st_.link, "p");
    if (st_.link.link().Testconnessione() != 0) {
        say("Komunikacija nije dobra!", Icon::Critical, kTitle);
        return kReceiptNoLink;
    }
    for (int i = 0; i < kLines; ++i) {
        if (Artikal[i].empty() || Kolicina[i].empty()) {
            continue;
        }
        const std::string padded = PaddedCode(Artikal[i]);
        double read = 0;
        const bool isNumber = ReadNumber(Kolicina[i], read);
        const auto quantity = static_cast<float>(read);
        if (!isNumber || quantity <= 0.0f || quantity > 100000.0f) {
            say("Kolicina za artikal " + padded + " nije dobra.", Icon::Information, kTitle);
            code = kReceiptBadQuantity;
            continue;
        }
        statusRequest();
        if (!sendSaleOrPayment(SaleLineFrame(Artikal[i], quantity))) {
            stateDisplay();
            say("Artikal " + padded + " nije prodat.", Icon::Information, kTitle);
            code = kReceiptLineNotSold;
        }
    }

    struct Payment {
        const std::string& text;
        double limit;
        char kind;
        const char* failed;
        const char* badAmount;
        int failCode;
    };
    const Payment noncash[] = {
        {Cek, st_.state.MaxCheque, 'f', "Placanje cekom nije izvrseno.",
         "Iznos za placanje cekom nije dobar ", kReceiptChequeFailed},
        {Kartica, st_.state.MaxCard, 'h', "Placanje karticom nije izvrseno.",
         "Iznos za placanje kreditnom karticom nije dobar ", kReceiptCardFailed},
    };
    statusRequest();
    bool first = true;
    for (const Payment& p : noncash) {
        if (!first) {
            stateDisplay();
        }
        first = false;
        if (!status.receiptOpen() || p.text.empty()) {
            continue;
        }
        double amount = 0;
        if (!ReadNumber(p.text, amount) || amount < 0 || amount > p.limit) {
            say(p.badAmount, Icon::Information, kTitle);
            code = kReceiptBadAmount;
            continue;
        }
        if (!sendSaleOrPayment(PaymentFrame(p.kind, amount))) {
            stateDisplay();
            say(p.failed, Icon::Information, kTitle);
            code = p.failCode;
        }
    }

    stateDisplay();
    if (!Gotovina.empty()) {
        double amount = 0;
        if (!ReadNumber(Gotovina, amount) || amount < 0 || amount > st_.state.MaxCash) {
            say("Iznos za placanje gotovinom nije dobar ", Icon::Information, kTitle);
            code = kReceiptBadAmount;
        } else if (status.receiptOpen() && !sendSaleOrPayment(PaymentFrame('g', amount))) {
            stateDisplay();
            say("Placanje gotovinom nije izvrseno.", Icon::Information, kTitle);
            code = kReceiptCashFailed;
        }
    }

    stateDisplay();
    if (status.receiptOpen() && !sendSaleOrPayment(PaymentFrame('g', 0))) {
        stateDisplay();
        say("Racun nije zavrsen.", Icon::Information, kTitle);
        code = kReceiptCashFailed;
    }
    SendPlain(st_.link, "q");
    return code;
}

// ---- state and identity ------------------------------------------------------------------

int FiscalForm::fisstate() {
    return stateDisplay();
}

bool FiscalForm::serial() {
    const int n = st_.link.requestFrame("J");
    if (n <= 0) {
        say("Komunikacija nije dobra !", Icon::Critical, kTitle);
        return false;
    }
    const std::string& reply = st_.state.ReplyText;
    auto chars = [&reply](std::size_t first, std::size_t count) {
        return reply.size() < first ? std::string() : reply.substr(first - 1, count);
    };
    SER = chars(1, 6);
    PIB = chars(7, 9);
    IBFM = chars(16, 8);
    showFields();
    return true;
}

void FiscalForm::esci() {
    st_.state.CurrentForm = " ";
    st_.dialogs.setBusy(false);
}

}  // namespace qov::fiscal
