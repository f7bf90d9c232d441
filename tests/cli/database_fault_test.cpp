// qovctl when its database goes away: unreachable at the start, or a PostgreSQL server stopped
// in the middle of an article receive. The box of the failure is said, nothing crashes or hangs,
// and the rows received before the loss stay. The PostgreSQL server is a throw-away one of this
// test (scripts/pg-test-server.sh with a folder and port of its own), never the shared one.
#include <QThread>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "app/database.h"
#include "qovctl_fixture.h"

namespace qov::test {
namespace {

const std::string kUnavailable =
    "Baza trenutno nije dostupna. Molimo Vas, proverite globalne parametre za pristup podacima.";

std::string Box(const std::string& sender, const std::string& text) {
    return "Arvon Cash Registers(Sender:='" + sender + "'): " + text + "\n";
}

// scripts/pg-test-server.sh on a folder and a port of its own.
class OwnPostgres {
public:
    OwnPostgres() = default;
    ~OwnPostgres() { script("stop"); }

    bool script(const std::string& command) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QOV_PG_DIR", QString::fromStdString(dir_));
        env.insert("QOV_PG_PORT", QString::fromStdString(port_));
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::ForwardedChannels);
        p.start(QOV_SOURCE_DIR "/scripts/pg-test-server.sh", {QString::fromStdString(command)});
        return p.waitForFinished(180000) && p.exitStatus() == QProcess::NormalExit &&
               p.exitCode() == 0;
    }
    // The connection string the script wrote.
    std::string connection() const {
        QProcess p;
        p.start("bash", Args({"-c", ". '" + dir_ + "/env.sh' && printf %s \"$QOV_TEST_PG\""}));
        p.waitForFinished(10000);
        return p.readAllStandardOutput().toStdString();
    }

private:
    std::string dir_ = MakeTempFolder("qovpg");
    // The socket lives in a folder of its own; the port only has to differ from the shared
    // server's for the server's shared-memory key.
    std::string port_ = std::to_string(40000 + ::getpid() % 10000);
};

int Rows(const std::string& connection) {
    auto db = CreateSqlDatabase();
    db->open(connection);
    auto rows = db->query("select count(*) as N from QOV_PLU_RCV");
    return rows->next() ? std::atoi(rows->value("N").c_str()) : -1;
}

class DatabaseFault : public Qovctl {
protected:
    void useDatabase(const std::string& connection) {
        WriteFile(home + "QovCom.ini", "[database]\r\nconnectionstring=" + connection + "\r\n");
    }
};

// A database that cannot be reached when qovctl starts: the start's box and the receive's box,
// the table failed, at once.
TEST_F(DatabaseFault, UnreachableAtTheStartIsSaidByTheStartAndTheReceive) {
    Simulator sim;
    const std::string device = Start(sim, {"--tcp", "127.0.0.1:0", "--demo"});
    const std::string cases[] = {
        "Driver=SQLite;Database={app.path}\\missing.db",
        "Driver=PostgreSQL;Server=" + MakeTempFolder("qovnopg") +
            ";Port=5432;Database=qovtest;"
            "Uid=postgres;Pwd=",
    };
    for (const std::string& connection : cases) {
        useDatabase(connection);
        EXPECT_EQ(run(device, {"receive", "articles"}),
                  "1|Artikli: GRESKA\n|" + Box("frmMain.Form_Load()", kUnavailable) +
                      Box("frmRicevi.ricevi_plu()", kUnavailable))
            << connection;
    }
}

// The server stopped while articles come in: the statement's failure is said, the run ends,
// and once the server is back the rows received before are there.
TEST_F(DatabaseFault, ServerLostInTheMiddleOfAReceiveKeepsTheRowsBefore) {
    OwnPostgres server;
    if (!server.script("start")) {
        ASSERT_EQ(std::getenv("CI"), nullptr) << "PostgreSQL did not start";
        GTEST_SKIP() << "PostgreSQL did not start (scripts/install-deps.sh installs it)";
    }
    const std::string pg = server.connection();
    useDatabase(pg);
    Simulator sim;
    const std::string device =
        Start(sim, {"--tcp", "127.0.0.1:0", "--demo", "--reply-delay", "20"});
    QProcess receive;
    receive.start(QOV_BIN_DIR "/qovctl",
                  Args({"--home", home, "--device", device, "receive", "articles"}));
    int before = 0;
    for (int i = 0; i < 300 && before < 40; ++i) {
        QThread::msleep(50);
        before = Rows(pg);
    }
    ASSERT_GE(before, 40);
    ASSERT_TRUE(server.script("halt"));
    ASSERT_TRUE(receive.waitForFinished(30000)) << "qovctl hangs";
    EXPECT_EQ(receive.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(receive.exitCode(), 1);
    EXPECT_EQ(receive.readAllStandardOutput().toStdString(), "Artikli: GRESKA\n");
    const std::string err = receive.readAllStandardError().toStdString();
    const std::string box =
        "Arvon Cash Registers(Sender:='frmRicevi.ricevi_plu()'): -2147217900 - ";
    EXPECT_EQ(err.substr(0, box.size()), box) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;

    ASSERT_TRUE(server.script("resume"));
    const int after = Rows(pg);
    EXPECT_GE(after, before);
    EXPECT_LT(after, 336);  // the demo shop's articles: the run did not go on
}

}  // namespace
}  // namespace qov::test
