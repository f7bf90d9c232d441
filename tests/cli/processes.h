#pragma once

#include <QProcess>
#include <QStringList>

#include <memory>
#include <string>

namespace qov::test {

struct ProcessResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs a program of the build (QOV_BIN_DIR) to its end.
ProcessResult RunBuilt(const std::string& name, const QStringList& args, int timeoutMs = 60000);

// The register simulator, started in the background on a free TCP port of the loopback (or
// on a pseudo-terminal), stopped when the object goes.
class Simulator {
public:
    // `extra` is appended to the command line (--fault-rate, --seed, ...).
    static std::unique_ptr<Simulator> Tcp(const QStringList& extra = {});
    static std::unique_ptr<Simulator> Pty(const std::string& link, const QStringList& extra = {});
    ~Simulator();

    // What qovctl's --device takes: tcp://HOST:PORT, or the pseudo-terminal's path.
    const std::string& device() const { return device_; }
    bool started() const { return !device_.empty(); }
    const std::string& error() const { return error_; }

private:
    void start(const QStringList& args, bool tcp);

    QProcess process_;
    std::string device_;
    std::string error_;
};

// A program folder with a settings file and an empty embedded database.
std::string MakeHome();

}  // namespace qov::test
