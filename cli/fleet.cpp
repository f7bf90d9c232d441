#include "fleet.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>

#include <functional>
#include <iostream>
#include <memory>

#include "app/ini_file.h"
#include "command.h"

namespace qovctl {

namespace {

struct Register {
    std::string name;
    std::string device;
};

// One register's qovctl process and what it said.
struct Child {
    Register reg;
    QProcess process;
    QByteArray out, err;
    bool started = false;
    bool crashed = false;
    int exitCode = 0;
};

std::string Replaced(std::string text, const std::string& name) {
    static const std::string kToken = "{name}";
    for (std::size_t at = text.find(kToken); at != std::string::npos;
         at = text.find(kToken, at + name.size())) {
        text.replace(at, kToken.size(), name);
    }
    return text;
}

// The command line of one register: the fleet's own options left out, its line added.
QStringList ChildArguments(const std::vector<std::string>& args, const Register& reg) {
    QStringList list;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--fleet" || args[i] == "--jobs" || args[i] == "--device") {
            ++i;
            continue;
        }
        list << QString::fromStdString(Replaced(args[i], reg.name));
    }
    list << "--device" << QString::fromStdString(reg.device);
    return list;
}

// The lines of a process's output, each after "[name] ".
void PrintPrefixed(std::ostream& stream, const std::string& name, const QByteArray& bytes) {
    for (const QByteArray& line : bytes.split('\n')) {
        const QByteArray text = line.endsWith('\r') ? line.chopped(1) : line;
        if (!text.trimmed().isEmpty()) {
            stream << "[" << name << "] " << text.toStdString() << "\n";
        }
    }
    stream.flush();
}

// What went wrong, in a word or the register's last message.
std::string Failure(const Child& child) {
    if (!child.started) {
        return "qovctl se ne pokrece";
    }
    if (child.crashed) {
        return "prekinut (pad programa)";
    }
    if (child.exitCode == kExitInterrupted) {
        return "prekinuto";
    }
    QByteArray last;
    for (const QByteArray& line : child.err.split('\n')) {
        if (!line.trimmed().isEmpty()) {
            last = line.trimmed();
        }
    }
    return last.isEmpty() ? "izlaz " + std::to_string(child.exitCode) : last.toStdString();
}

}  // namespace

int RunFleet(const Options& options, const std::vector<std::string>& args) {
    const qov::IniFile file(options.fleet);
    if (!file.exists()) {
        std::cerr << "qovctl: the fleet file " << options.fleet << " cannot be read\n";
        return kExitUsage;
    }
    std::vector<std::unique_ptr<Child>> children;
    for (const std::string& name : file.keyNames("registers")) {
        auto child = std::make_unique<Child>();
        child->reg = {name, file.getString("registers", name, "")};
        if (child->reg.device.empty()) {
            std::cerr << "qovctl: register " << name << " of " << options.fleet
                      << " has no device\n";
            return kExitUsage;
        }
        children.push_back(std::move(child));
    }
    if (children.empty()) {
        std::cerr << "qovctl: no registers in [registers] of " << options.fleet << "\n";
        return kExitUsage;
    }
    if (children.size() > 1 && !options.save.empty() &&
        options.save.find("{name}") == std::string::npos) {
        std::cerr << "qovctl: --save in a fleet needs {name} in the file name\n";
        return kExitUsage;
    }

    const QString program = QCoreApplication::applicationFilePath();
    QEventLoop loop;
    std::size_t next = 0;
    int running = 0;
    std::function<void()> startMore = [&] {
        while (running < options.jobs && next < children.size()) {
            Child* c = children[next++].get();
            Child& child = *c;
            ++running;
            QObject::connect(&child.process, &QProcess::readyReadStandardOutput, &loop,
                             [c] { c->out += c->process.readAllStandardOutput(); });
            QObject::connect(&child.process, &QProcess::readyReadStandardError, &loop,
                             [c] { c->err += c->process.readAllStandardError(); });
            QObject::connect(&child.process, &QProcess::finished, &loop,
                             [&, c](int code, QProcess::ExitStatus status) {
                                 c->out += c->process.readAllStandardOutput();
                                 c->err += c->process.readAllStandardError();
                                 c->exitCode = code;
                                 c->crashed = status != QProcess::NormalExit;
                                 PrintPrefixed(std::cout, c->reg.name, c->out);
                                 PrintPrefixed(std::cerr, c->reg.name, c->err);
                                 --running;
                                 startMore();
                             });
            child.process.start(program, ChildArguments(args, child.reg));
            child.process.closeWriteChannel();  // a question is answered No without --yes
            child.started = child.process.waitForStarted(10000);
            if (!child.started) {
                --running;
            }
        }
        if (running == 0) {
            loop.quit();
        }
    };
    startMore();
    if (running > 0) {
        loop.exec();
    }

    int ok = 0, different = 0, failed = 0;
    for (const auto& child : children) {
        std::cout << child->reg.name << ": ";
        if (child->started && !child->crashed && child->exitCode == kExitOk) {
            std::cout << "OK\n";
            ++ok;
        } else if (child->started && !child->crashed && child->exitCode == kExitDifferent &&
                   options.command == "diff") {
            std::cout << "RAZLIKA\n";
            ++different;
        } else {
            std::cout << "GRESKA " << Failure(*child) << "\n";
            ++failed;
        }
    }
    std::cout << "Ukupno kasa: " << children.size() << ", OK: " << ok;
    if (different > 0) {
        std::cout << ", RAZLIKA: " << different;
    }
    std::cout << ", GRESKA: " << failed << std::endl;
    return failed > 0 ? kExitFailed : different > 0 ? kExitDifferent : kExitOk;
}

}  // namespace qovctl
