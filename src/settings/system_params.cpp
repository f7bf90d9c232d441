#include "settings/system_params.h"

#include <cmath>
#include <exception>
#include <optional>

#include "app/vb_convert.h"
#include "tables/fields.h"
#include "tables/record_loops.h"

namespace qov::settings {

using tables::FitRight;
using tables::IsNumber;
using tables::NumericValue;
using tables::TrimBlanks;

namespace {

// The 16-bit integer a numeric text converts to, halves rounding to even; nothing when it does
// not fit (such a value is out of every range checked here).
std::optional<int> Integer16(const std::string& text) {
    const double value = std::nearbyint(NumericValue(text));
    if (!(value >= -32768.0 && value <= 32767.0)) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

// A numeric field in [low, high]: nothing when it passes, else the failure's message.
std::optional<std::string> CheckNumber(const std::string& text, int low, int high,
                                       const char* notNumber, const char* outOfRange) {
    if (!IsNumber(text)) {
        return notNumber;
    }
    const std::optional<int> value = Integer16(text);
    if (!value || *value < low || *value > high) {
        return outOfRange;
    }
    return std::nullopt;
}

bool Checked(const std::string& field) {
    return LeadingNumber(field) != 0;
}

const char* Digit(bool on) {
    return on ? "1" : "0";
}

// Blanks around CASH removed, zero-filled on the left to two characters.
void NormaliseCash(SystemParamsT& params) {
    params.CASH = TrimBlanks(params.CASH);
    while (params.CASH.size() < 2) {
        params.CASH = "0" + params.CASH;
    }
}

}  // namespace

void SystemEditor::open() {
    vis();
    station_.state.CurrentForm = kFormName;
}

void SystemEditor::vis() {
    const SystemParamsT& p = station_.state.SystemParams;
    txtcarta = p.PRINT;
    txtncassa = p.CASH;
    chkgrafica1 = Checked(p.GRAFICA1);
    if (chkgrafica1) {
        txtgrafica1 = p.GRAFICA1_IMG;
    }
    chkgrafica2 = Checked(p.GRAFICA2);
    if (chkgrafica2) {
        txtgrafica2 = p.GRAFICA2_IMG;
    }
    chkop = Checked(p.OBLIGATE);
    chkcic = Checked(p.SINGLE);
    chkmanut = Checked(p.TEST_MENY);
    const double speed = LeadingNumber(p.SPEED) - 1;
    speedIndex = speed >= 0 && speed < kSpeedItemCount ? static_cast<int>(speed) : -1;
}

bool SystemEditor::contr() {
    std::optional<std::string> failure;
    auto remember = [&failure](std::optional<std::string> found) {
        if (found) {
            failure = std::move(found);
        }
    };
    remember(
        CheckNumber(txtcarta, 0, 3, "Intenzitet stampe je broj !", "Pogresan intenzitet stampe !"));
    remember(CheckNumber(txtncassa, 0, 100, "Broj kase je broj !", "Pogresan broj kase !"));
    if (chkgrafica1) {
        remember(
            CheckNumber(txtgrafica1, 0, 3, "Broj grafike je broj !", "Pogresan broj grafike !"));
    }
    if (chkgrafica2) {
        remember(
            CheckNumber(txtgrafica2, 0, 3, "Broj grafike je broj !", "Pogresan broj grafike !"));
    }
    if (failure) {
        station_.dialogs.message(*failure, kSettingsTitle, Icon::Exclamation);
        return false;
    }
    return true;
}

void SystemEditor::ins() {
    SystemParamsT& p = station_.state.SystemParams;
    p.PRINT = FitRight(txtcarta, 1);
    p.CASH = FitRight(txtncassa, 2);
    p.GRAFICA1 = Digit(chkgrafica1);
    p.GRAFICA1_IMG = chkgrafica1 ? FitRight(txtgrafica1, 1) : "0";
    p.GRAFICA2 = Digit(chkgrafica2);
    p.GRAFICA2_IMG = chkgrafica2 ? FitRight(txtgrafica2, 1) : "0";
    p.OBLIGATE = Digit(chkop);
    p.SINGLE = Digit(chkcic);
    p.TEST_MENY = Digit(chkmanut);
    p.SPEED = FitRight(std::to_string(speedIndex + 1), 1);
}

bool SystemEditor::onToolbar(const std::string& key) {
    if (key == "Salva") {
        if (!contr()) {
            return false;
        }
        ins();
    } else if (key != "Annulla") {
        return false;
    }
    station_.state.CurrentForm = " ";
    return true;
}

std::string SystemFrame(const SystemParamsT& p) {
    return "X" + TrimBlanks(p.CASH) + TrimBlanks(p.PRINT) + "0000" + TrimBlanks(p.GRAFICA1_IMG) +
           TrimBlanks(p.GRAFICA2_IMG) + "0" + TrimBlanks(p.OBLIGATE) + TrimBlanks(p.SINGLE) +
           TrimBlanks(p.SPEED) + TrimBlanks(p.TEST_MENY);
}

void StoreSystemReply(SystemParamsT& p, const std::string& reply) {
    auto field = [&reply](std::size_t from, std::size_t width) {
        return FitRight(tables::ReplyField(reply, from, width), width);
    };
    p.CASH = field(1, 2);
    p.PRINT = field(3, 1);
    p.GRAFICA1_IMG = field(8, 1);
    p.GRAFICA2_IMG = field(9, 1);
    p.OBLIGATE = field(11, 1);
    p.SINGLE = field(12, 1);
    p.SPEED = field(13, 1);
    p.TEST_MENY = field(14, 1);
    NormaliseCash(p);
    if (LeadingNumber(p.GRAFICA1_IMG) != 0) {
        p.GRAFICA1 = "1";
    }
    if (LeadingNumber(p.GRAFICA2_IMG) != 0) {
        p.GRAFICA2 = "1";
    }
}

bool invia_sist(tables::TransferContext& ctx) {
    try {
        ctx.progress.start(1);
        ctx.progress.setCounter(0);
        SystemParamsT& p = ctx.state().SystemParams;
        NormaliseCash(p);
        for (std::string* field : {&p.GRAFICA1_IMG, &p.GRAFICA2_IMG, &p.PRINT}) {
            if (*field == " ") {
                *field = "0";
            }
        }
        for (std::string* field :
             {&p.CASH, &p.PRINT, &p.GRAFICA1, &p.GRAFICA1_IMG, &p.GRAFICA2, &p.GRAFICA2_IMG,
              &p.OBLIGATE, &p.SINGLE, &p.SPEED, &p.TEST_MENY}) {
            *field = TrimBlanks(*field);
        }
        const tables::OutgoingRecord record{
            SystemFrame(p), std::string(" Podaci nisu primljeni u kasu!") + kLineBreak};
        const bool sent = tables::SendRecord(ctx, record);
        ctx.progress.setDone(1);
        return sent;
    } catch (const std::exception&) {
        return false;
    }
}

bool ricevi_sist(tables::TransferContext& ctx) {
    try {
        ctx.progress.start(1);
        const std::optional<int> result = tables::RequestRecord(
            ctx.dialogs(), [&ctx] { return ctx.link().requestFrame("L"); },
            std::string("Podaci o sistemu nisu primljeni iz kase!") + kLineBreak);
        ctx.progress.setDone(1);
        if (!result || *result == -1) {
            return false;
        }
        if (*result > 0) {
            StoreSystemReply(ctx.state().SystemParams, ctx.state().ReplyText);
            ctx.progress.setCounter(1);
        }
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace qov::settings
