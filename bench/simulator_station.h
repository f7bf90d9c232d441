#pragma once

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "app/database.h"
#include "bench_support.h"
#include "link/link_calls.h"
#include "link/qovdll_link.h"
#include "link/station.h"

namespace qov::bench {

// A station on the real line to a simulator of its own, for the benchmarks that measure
// exchanges: the simulator starts with `options`; open() opens the line at 57,600 and tests it.
struct SimulatorStation {
    explicit SimulatorStation(const QStringList& options)
        : address(StartSimulator(simulator, options)) {}
    ~SimulatorStation() {
        link.Close_RS232();
        simulator.terminate();
        simulator.waitForFinished(5000);
    }
    SimulatorStation(const SimulatorStation&) = delete;
    SimulatorStation& operator=(const SimulatorStation&) = delete;

    bool open() {
        link.line().setPortDevice(1, "tcp://" + address);
        return !address.empty() && link.Init_RS232bd(1, 57600) == 0 && calls.testConnection() == 0;
    }

    QProcess simulator;
    std::string address;
    QTemporaryDir folder;
    SharedState shared;
    BenchDialogs dialogs;
    QovDllLink link;
    LinkCalls calls{shared, link};
    std::unique_ptr<Database> database = CreateSqlDatabase();
    NoUserStore userStore;
    Station station{shared, dialogs, calls, *database, userStore};
};

}  // namespace qov::bench
