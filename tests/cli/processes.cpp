#include "processes.h"

#include <QDeadlineTimer>

#include "support/test_environment.h"

namespace qov::test {

ProcessResult RunBuilt(const std::string& name, const QStringList& args, int timeoutMs) {
    QProcess process;
    process.start(QString::fromStdString(std::string(QOV_BIN_DIR) + "/" + name), args);
    ProcessResult result;
    if (!process.waitForStarted(10000) || !process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(5000);
        result.err = "did not run to its end";
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput().toStdString();
    result.err = process.readAllStandardError().toStdString();
    return result;
}

std::unique_ptr<Simulator> Simulator::Tcp(const QStringList& extra) {
    auto sim = std::unique_ptr<Simulator>(new Simulator);
    sim->start(QStringList{"--tcp", "127.0.0.1:0"} + extra, true);
    return sim;
}

std::unique_ptr<Simulator> Simulator::Pty(const std::string& link, const QStringList& extra) {
    auto sim = std::unique_ptr<Simulator>(new Simulator);
    sim->start(QStringList{"--pty", QString::fromStdString(link)} + extra, false);
    return sim;
}

void Simulator::start(const QStringList& args, bool tcp) {
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(QString::fromStdString(std::string(QOV_BIN_DIR) + "/qovreg"), args);
    if (!process_.waitForStarted(10000)) {
        error_ = "qovreg did not start";
        return;
    }
    const std::string marker = "qovreg listening on ";
    QDeadlineTimer deadline(10000);
    std::string line;
    while (!deadline.hasExpired()) {
        if (!process_.canReadLine() && !process_.waitForReadyRead(200)) {
            if (process_.state() != QProcess::Running) {
                break;
            }
            continue;
        }
        line = process_.readLine().trimmed().toStdString();
        if (line.rfind(marker, 0) == 0) {
            const std::string address = line.substr(marker.size());
            device_ = tcp ? "tcp://" + address : address;
            return;
        }
    }
    error_ = "qovreg did not say where it listens: " + line;
}

Simulator::~Simulator() {
    if (process_.state() != QProcess::NotRunning) {
        process_.terminate();
        if (!process_.waitForFinished(5000)) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }
}

std::string MakeHome() {
    const std::string home = MakeTempFolder("qovctl") + "/";
    WriteFile(home + "QovCom.ini",
              "[database]\r\nconnectionstring=Driver=SQLite;Database={app.path}\\QovCom.db\r\n"
              "[application.rules]\r\nfontcyrilic=Helvetica Ciril\r\nfontlatin=Courier New\r\n");
    QProcess sqlite;
    sqlite.start("sqlite3", {"-bail", QString::fromStdString(home + "QovCom.db"),
                             QString::fromStdString(".read '" + std::string(QOV_SOURCE_DIR) +
                                                    "/db/sqlite.sql'")});
    sqlite.waitForFinished(20000);
    return home;
}

}  // namespace qov::test
