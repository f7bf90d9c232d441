#include "link/comline.h"

#include <QElapsedTimer>
#include <QThread>
#include <algorithm>
#include <exception>
#include <string_view>

#include "app/show_error.h"

namespace qov {

namespace {

constexpr const char* kComLineSender = "frmComLine.Toolbar1_ButtonClick()";
constexpr const char* kKeyboardSender = "frmKeyboard.CheckForSpeed()";
constexpr const char* kCrLf = "\r\n";

// Whether `word` starts at a position 1..last (1-based) of `text`.
bool FoundAt(std::string_view text, std::string_view word, int last) {
    for (int pos = 1; pos <= last; ++pos) {
        if (static_cast<std::size_t>(pos - 1) + word.size() > text.size()) {
            return false;
        }
        if (text.compare(static_cast<std::size_t>(pos - 1), word.size(), word) == 0) {
            return true;
        }
    }
    return false;
}

// The first `count` characters of a read buffer (a count past the buffer is cut).
std::string_view ReadText(const std::string& buffer, int count) {
    const auto n = static_cast<std::size_t>(std::clamp(count, 0, static_cast<int>(buffer.size())));
    return std::string_view(buffer).substr(0, n);
}

std::string TrimBlanks(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

void Say(Dialogs& dialogs, const std::string& text, const std::string& title = kTitle) {
    dialogs.message(text, title);
}

}  // namespace

int SpeedIndexOf(int baudRate) {
    for (std::size_t i = 0; i < kLineSpeeds.size(); ++i) {
        if (kLineSpeeds[i] == baudRate) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void Pause(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QThread::msleep(1);
    }
}

std::string PortDeleteStatement() {
    return "delete * from port;";
}

std::string PortInsertStatement(const SharedState& state, bool quotePort) {
    const std::string port = std::to_string(state.PortNumber);
    return "INSERT INTO PORT (Port, Qov ,tone, phonenm) values (" +
           (quotePort ? SqlText(port) : port) + ", " + SqlText(std::to_string(state.BaudRate)) +
           ", " + SqlText(state.DialCommand) + ", " + SqlText(state.PhoneNumber) + ");";
}

void TestLink(Station& station) {
    if (station.link.testConnection() == 0) {
        station.dialogs.message("Veza je u redu!", kTitle, Icon::Exclamation);
    }
}

void CheckForSpeed(Station& station, const std::string& display, int& speedIndex) {
    try {
        const std::string text = TrimBlanks(display);
        if (text.rfind("5.8.11.1", 0) == 0 && text.size() >= 10) {
            // The 10th character names the register's speed index; only a digit is taken.
            const char c = text[9];
            if (c >= '0' && c <= '9' && c - '0' != speedIndex) {
                speedIndex = c - '0';
            }
        }
        if (text.rfind("5.8.11.4", 0) == 0) {
            SharedState& state = station.state;
            station.link.link().Close_RS232();
            if (speedIndex >= 0 && speedIndex < static_cast<int>(kLineSpeeds.size())) {
                state.BaudRate = kLineSpeeds[static_cast<std::size_t>(speedIndex)];
            }
            if (station.link.link().Init_RS232bd(state.PortNumber, state.BaudRate) == 0) {
                Database& db = station.database;
                db.open(state.ConnectionString);
                db.execute(PortDeleteStatement());
                db.execute(PortInsertStatement(state, true));
                db.close();
            }
        }
    } catch (const RunError& e) {
        if (station.database.isOpen()) {
            station.database.close();
        }
        ShowError(station.dialogs, e, kKeyboardSender);
    } catch (const std::exception& e) {
        ShowError(station.dialogs, e, kKeyboardSender);
    }
}

ComLine::ComLine(Station& station) : st_(station) {}

void ComLine::open() {
    st_.state.CurrentForm = kFormName;
    RefreshLineScreen();
}

void ComLine::RefreshLineScreen() {
    const SharedState& s = st_.state;
    if (s.PortNumber >= 1 && s.PortNumber <= kPortCount) {
        portIndex = s.PortNumber - 1;
    }
    const int speed = SpeedIndexOf(s.BaudRate);
    if (speed >= 0) {
        speedIndex = speed;
    }
    if (s.DialCommand == s.PulseDialCommand) {
        tone = false;
    } else if (s.DialCommand == s.ToneDialCommand) {
        tone = true;
    } else {
        tone = false;
    }
    phoneNumber = s.PhoneNumber;
    password = s.LinePassword;
}

void ComLine::onToneClicked(bool checked) {
    tone = checked;
    st_.state.DialCommand = checked ? st_.state.ToneDialCommand : st_.state.PulseDialCommand;
}

void ComLine::onToolbar(const std::string& key) {
    try {
        if (key == "Salva") {
            salva();
        } else if (key == "Annulla") {
            st_.state.CurrentForm = " ";
            closeRequested_ = true;
        } else if (key == "Connect") {
            connect();
        } else if (key == "Disconnect") {
            disconnect();
        }
    } catch (const RunError& e) {
        if (st_.database.isOpen()) {
            st_.database.close();
        }
        ShowError(st_.dialogs, e, kComLineSender);
    } catch (const std::exception& e) {
        ShowError(st_.dialogs, e, kComLineSender);
    }
}

// Speed and port from the lists; a list without a selection leaves its value.
void ComLine::applyFields() {
    SharedState& s = st_.state;
    if (speedIndex >= 0 && speedIndex < static_cast<int>(kLineSpeeds.size())) {
        s.BaudRate = kLineSpeeds[static_cast<std::size_t>(speedIndex)];
    }
    st_.link.link().Close_RS232();
    if (portIndex >= 0 && portIndex < kPortCount) {
        s.PortNumber = static_cast<std::int16_t>(portIndex + 1);
    }
}

void ComLine::storePortRow() {
    Database& db = st_.database;
    db.open(st_.state.ConnectionString);
    db.execute(PortDeleteStatement());
    db.execute(PortInsertStatement(st_.state, false));
    db.close();
    st_.state.ModemMode = false;
}

void ComLine::salva() {
    SharedState& s = st_.state;
    Link& link = st_.link.link();
    link.Close_RS232();
    applyFields();
    s.LinePassword = password.empty() ? "   " : password;
    s.PhoneNumber = phoneNumber.empty() ? "   " : phoneNumber;
    const int result = link.Init_RS232bd(s.PortNumber, s.BaudRate);
    if (result == 0) {
        Say(st_.dialogs, "Komunikacioni port je odabran.");
        storePortRow();
    } else if (result == 2) {
        Say(st_.dialogs, "Port nije dobro podesen ! ");
    } else if (result == 1) {
        Say(st_.dialogs, "Port je zauzet !");
    }
}

void ComLine::connect() {
    if (phoneNumber.empty()) {
        Say(st_.dialogs, "Unesite telefonski broj !", "Arvon Cash registers");
        return;
    }
    SharedState& s = st_.state;
    Link& link = st_.link.link();
    link.Close_RS232();
    if (speedIndex >= 0 && speedIndex < static_cast<int>(kLineSpeeds.size())) {
        s.BaudRate = kLineSpeeds[static_cast<std::size_t>(speedIndex)];
    }
    if (portIndex >= 0 && portIndex < kPortCount) {
        s.PortNumber = static_cast<std::int16_t>(portIndex + 1);
    }
    s.LinePassword = password;
    s.PhoneNumber = phoneNumber;

    const int result = link.Init_RS232(s.PortNumber);
    if (result == 2) {
        Say(st_.dialogs, "Port nije dobro podesen ! ");
        return;
    }
    if (result == 1) {
        Say(st_.dialogs, "Port je zauzet !");
        return;
    }
    if (result != 0) {
        return;
    }
    storePortRow();
    while (dialOnce()) {
        pause(1000);
    }
}

bool ComLine::dialOnce() {
    Link& link = st_.link.link();
    // The answers are read into the dial command itself, so its length bounds one read.
    std::string command = st_.state.DialCommand + phoneNumber + kCrLf;
    link.send_data(command, static_cast<int>(command.size()));

    struct Failure {
        const char* answer;
        const char* text;
    };
    static constexpr Failure kFailures[] = {
        {"BUSY", "Broj je zauzet !"},
        {"NO CARRIER", "Linija je zauzeta !"},
        {"NO ANSWER", "Nema odgovora !"},
        {"NO DIALTON", "Linija je prekinuta !"},
    };

    for (int read = 0; read < kDialReads; ++read) {
        int count = 0;
        link.read_data(count, command);
        if (count < 7) {
            continue;
        }
        const std::string_view text = ReadText(command, count);
        if (FoundAt(text, "CONNECT", count - 6)) {
            st_.state.ModemMode = true;
            link.send_data(password, static_cast<int>(password.size()));
            Say(st_.dialogs, "Komunikacija je ostvarena ! ");
            return false;
        }
        for (const Failure& f : kFailures) {
            const std::string_view answer = f.answer;
            if (FoundAt(text, answer, count - static_cast<int>(answer.size()) + 1)) {
                const Answer a = st_.dialogs.message(std::string(f.text) + kLineBreak, kTitle,
                                                     Icon::None, Buttons::RetryCancel);
                return a == Answer::Retry;
            }
        }
        if (FoundAt(text, "RING", count - 3)) {
            Say(st_.dialogs, "Imate poziv ! ");
        }
    }
    Say(st_.dialogs, "Komunikacija nije ostvarena !");
    return false;
}

void ComLine::disconnect() {
    Link& link = st_.link.link();
    std::string command = st_.state.HangupCommand + kCrLf;
    link.send_data(command, static_cast<int>(command.size()));
    for (int read = 0; read < kHangupReads; ++read) {
        int count = 0;
        link.read_data(count, command);
        if (count < 2) {
            continue;
        }
        if (FoundAt(ReadText(command, count), "OK", count - 1)) {
            Say(st_.dialogs, "Komunikacija je prekinuta ! ");
            st_.state.ModemMode = false;
            return;
        }
    }
    Say(st_.dialogs, "Komunikacija je vec bila prekinuta !");
}

}  // namespace qov
