// qovreg: the register simulator. See docs/simulator.md.
#include <QCoreApplication>
#include <csignal>
#include <cstdio>
#include <string>

#include "app/settings.h"
#include "demo_shop.h"
#include "event_log.h"
#include "line_engine.h"
#include "options.h"
#include "register_model.h"
#include "server.h"
#include "state_file.h"

namespace {

volatile std::sig_atomic_t gStop = 0;

void onSignal(int) {
    gStop = 1;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace qov::sim;
    Options options;
    std::string error;
    bool help = false;
    if (!parseOptions(argc, argv, options, error, help)) {
        std::fprintf(stderr, "qovreg: %s\n%s", error.c_str(), kUsage);
        return 2;
    }
    if (help) {
        std::fputs(kUsage, stdout);
        return 0;
    }

    if (options.keep) {
        // The program folder of the station; a first start there makes its database, whose
        // SQLite driver is a plugin that needs an application object.
        QCoreApplication app(argc, argv);
        options.state = qov::AppFolder() + kKeptStateFile;
    }

    RegisterModel model(options.model);
    if (!options.state.empty() &&
        !loadState(model.memory(), options.state, &error, options.model.pluCapacity)) {
        std::fprintf(stderr, "qovreg: cannot load %s: %s\n", options.state.c_str(), error.c_str());
        return 1;
    }
    if (options.demo && model.memory().articles.empty())
        fillDemoShop(model);
    // A failed write is said once, when the state file stops following the memory.
    bool stateBehind = false;
    const auto save = [&]() {
        std::string err;
        if (options.state.empty() || saveState(model.memory(), options.state, &err)) {
            stateBehind = false;
            return;
        }
        if (!stateBehind)
            std::fprintf(stderr, "qovreg: cannot write %s: %s\n", options.state.c_str(),
                         err.c_str());
        stateBehind = true;
    };
    // Written once at the start, so a state file that cannot be written stops the start.
    model.takeChanged();
    save();
    if (stateBehind)
        return 1;

    EventLog log;
    if (!options.log.empty() && !log.open(options.log)) {
        std::fprintf(stderr, "qovreg: cannot open the log %s\n", options.log.c_str());
        return 1;
    }
    LineEngine engine(model, options.line, log.isOpen() ? &log : nullptr);

    Server server;
    bool ok = false;
    if (!options.pty.empty()) {
        ok = server.openPty(options.pty, error);
    } else {
        std::string host;
        int port = 0;
        splitHostPort(options.tcp, host, port);
        ok = server.listenTcp(host, port, error);
    }
    if (!ok) {
        std::fprintf(stderr, "qovreg: %s\n", error.c_str());
        return 1;
    }

    // SIGINT and SIGTERM are taken only while the loop waits, so a reply is never cut.
    sigset_t blocked, waitMask;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGINT);
    sigaddset(&blocked, SIGTERM);
    sigprocmask(SIG_BLOCK, &blocked, &waitMask);
    sigdelset(&waitMask, SIGINT);
    sigdelset(&waitMask, SIGTERM);
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    std::printf("qovreg listening on %s\n", server.address().c_str());
    std::fflush(stdout);

    server.run(engine, model, save, &gStop, &waitMask);
    if (stateBehind)
        std::fprintf(stderr, "qovreg: the last changes are not in %s\n", options.state.c_str());
    return stateBehind || log.failed() ? 1 : 0;
}
