// report, receipt, status, identity, key, display, logo: the fiscal screen, the remote keyboard
// and the logo on the command line.
#include <cstdio>
#include <iostream>

#include "app/console_dialogs.h"
#include "app/run_error.h"
#include "command.h"
#include "console.h"
#include "fiscal/fiscal_form.h"
#include "fiscal/keyboard.h"
#include "fiscal/logo.h"
#include "link/link_calls.h"
#include "link/qovdll_link.h"
#include "link/station.h"

namespace qovctl {

namespace {

void CheckReport(const Options& options) {
    const auto& a = options.arguments;
    const bool periodic = a.size() == 3 && a[0] == "periodic";
    const bool single = a.size() == 1 && (a[0] == "daily" || a[0] == "snapshot");
    if (!periodic && !single) {
        throw UsageError{"report needs daily, snapshot or periodic DD.MM.YYYY DD.MM.YYYY"};
    }
}

void CheckReceipt(const Options& options) {
    if (!options.arguments.empty()) {
        throw UsageError{"receipt takes no table"};
    }
    if (options.receiptLines.size() > qov::fiscal::FiscalForm::kLines) {
        throw UsageError{"receipt takes at most 10 lines"};
    }
}

void CheckKeys(const Options& options) {
    if (options.arguments.empty()) {
        throw UsageError{"key needs at least one key name"};
    }
    for (const std::string& name : options.arguments) {
        if (qov::fiscal::FindKeyboardKey(name) == nullptr) {
            throw UsageError{"unknown key " + name};
        }
    }
}

void CheckLogo(const Options& options) {
    const auto& a = options.arguments;
    if (a.size() != 2 || (a[0] != "1" && a[0] != "2")) {
        throw UsageError{"logo needs the slot 1 or 2 and a file"};
    }
}

// The fiscal screen's form on the console, its questions answered by --yes or from stdin.
struct FiscalSession {
    explicit FiscalSession(Session& s)
        : dialogs(s.dialogs, s.options),
          station{s.state, dialogs, s.calls, s.station.database, s.station.userStore},
          form(station) {}
    AskingDialogs dialogs;
    qov::Station station;
    qov::fiscal::FiscalForm form;
};

int Report(Session& s) {
    FiscalSession f(s);
    const auto& a = s.options.arguments;
    bool ok = false;
    if (a[0] == "daily") {
        ok = f.form.dnevni();
    } else if (a[0] == "snapshot") {
        ok = f.form.presek();
    } else {
        f.form.StartText = a[1];
        f.form.EndText = a[2];
        ok = f.form.periodicni();
    }
    return ok ? kExitOk : kExitFailed;
}

int Receipt(Session& s) {
    FiscalSession f(s);
    const Options& o = s.options;
    for (std::size_t i = 0; i < o.receiptLines.size(); ++i) {
        f.form.Artikal[i] = o.receiptLines[i].first;
        f.form.Kolicina[i] = o.receiptLines[i].second;
    }
    f.form.Cek = o.cheque;
    f.form.Kartica = o.card;
    f.form.Gotovina = o.cash;
    const int code = f.form.racunOut();
    if (code != 0) {
        std::cerr << "receipt result code " << code << "\n";
        return kExitFailed;
    }
    std::cout << "Racun je izdat." << std::endl;
    return kExitOk;
}

int Status(Session& s) {
    FiscalSession f(s);
    if (f.form.fisstate() == -1) {
        return kExitFailed;
    }
    std::cout << "MENY=" << f.form.MENY << "\nSTANJE=" << f.form.STANJE
              << "\nBRPLU=" << f.form.BRPLU << "\nLERR=" << f.form.status.lastError
              << "\nLERRTEXT=" << f.form.LERRTEXT.substr(1) << std::endl;
    return kExitOk;
}

int Identity(Session& s) {
    FiscalSession f(s);
    if (!f.form.serial()) {
        return kExitFailed;
    }
    std::cout << "SER=" << f.form.SER << "\nPIB=" << f.form.PIB << "\nIBFM=" << f.form.IBFM
              << std::endl;
    return kExitOk;
}

// key NAME...: the remote keyboard's key frames, one per name; stops at a key not done.
int PressKeys(Session& s) {
    qov::fiscal::Keyboard keyboard(s.station);
    for (const std::string& name : s.options.arguments) {
        keyboard.press(name);
        if (s.state.LinkResult != 0) {
            std::cerr << "qovctl: key " << name << " not done (" << s.state.LinkResult << ")\n";
            return kExitFailed;
        }
    }
    return kExitOk;
}

// display: one poll of the remote keyboard's display, its three lines.
int ShowDisplay(Session& s) {
    qov::DisplayLines lines;
    if (qov::PollDisplay(s.calls, lines, qov::fiscal::Keyboard::kDisplayWait) <= 0) {
        s.dialogs.message(qov::fiscal::Keyboard::kLinkLost, qov::kTitle, qov::Icon::Critical);
        return kExitFailed;
    }
    lines = qov::fiscal::ShownDisplay(std::move(lines));
    std::cout << lines.operator1 << "\n" << lines.operator2 << "\n" << lines.customer << std::endl;
    return kExitOk;
}

// logo 1|2 FILE: the slot frame, then the bitmap through Invialogo; exit 0 when both were done.
int SendLogo(Session& s) {
    const std::string& file = s.options.arguments[1];
    if (std::FILE* f = std::fopen(file.c_str(), "rb")) {
        std::fclose(f);
    } else {
        std::cerr << "qovctl: cannot read " << file << "\n";
        return kExitFailed;
    }
    qov::fiscal::GraphicLogo logo(s.station);
    logo.slot = s.options.arguments[0] == "1" ? 1 : 2;
    if (!logo.otvori()) {
        return kExitFailed;
    }
    s.state.LogoFilePath = file;
    s.state.LinkResult = s.link.Invialogo(file);
    if (s.state.LinkResult != 0) {
        std::cerr << "qovctl: logo not sent (" << s.state.LinkResult << ")\n";
        return kExitFailed;
    }
    return kExitOk;
}

}  // namespace

std::vector<Command> FiscalCommands() {
    return {
        {"report",
         "  report daily|snapshot|periodic DD.MM.YYYY DD.MM.YYYY\n"
         "                     runs the fiscal report (asks \"Da li ste sigurni ?\" unless "
         "--yes)\n",
         LineUse::Open, CheckReport, Report},
        {"receipt",
         "  receipt --line CODE:QTY... [--cheque AMOUNT] [--card AMOUNT] [--cash AMOUNT]\n"
         "                     issues a receipt of at most 10 lines; exit 1 with the receipt's\n"
         "                     result code on stderr when that code is not 0\n",
         LineUse::Open, CheckReceipt, Receipt},
        {"status",
         "  status             prints MENY, STANJE, BRPLU, LERR and LERRTEXT, one NAME=value a "
         "line\n",
         LineUse::Open, nullptr, Status},
        {"identity", "  identity           prints SER, PIB and IBFM\n", LineUse::Open, nullptr,
         Identity},
        {"key",
         "  key NAME...        presses the register's keys by their button names: zero..nine,\n"
         "                     comma, doublezero, dep1..dep5, clear, total, subtotal, currencyV,\n"
         "                     ticket, creditcard, check, key, cashin, cashout, storno,\n"
         "                     returnitem, discountperc, discountval, plu, per, feedjourn,\n"
         "                     feedsc, shift\n",
         LineUse::Open, CheckKeys, PressKeys},
        {"display", "  display            prints the two operator lines and the customer line\n",
         LineUse::Open, nullptr, ShowDisplay},
        {"logo",
         "  logo 1|2 FILE.bmp  chooses the slot (1 at the start of the receipt, 2 at its end)\n"
         "                     and sends the bitmap\n",
         LineUse::Open, CheckLogo, SendLogo},
    };
}

}  // namespace qovctl
