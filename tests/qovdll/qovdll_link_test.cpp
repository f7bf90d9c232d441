// The station's Link service over the real library, set up from the settings file.
#include "link/qovdll_link.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>

#include "test_peer.h"

namespace {

using qovtest::TestPeer;

std::string writeSettings(const QTemporaryDir& dir, const std::string& body) {
    const std::string path = dir.filePath("qovcom.ini").toStdString();
    std::ofstream(path, std::ios::binary) << body;
    return path;
}

TEST(QovDllLink, PortsFromSettings) {
    QTemporaryDir dir;
    const auto path = writeSettings(dir,
                                    "[Ports]\r\nCOM2=tcp://127.0.0.1:7001\r\n"
                                    "com5 = /dev/pts/77\r\n[link]\r\ntrace=0\r\n");
    qov::IniFile settings(path);
    auto link = qov::makeQovDllLink(settings, dir.path().toStdString());
    EXPECT_EQ(link->line().portDevice(1), "/dev/ttyS0");
    EXPECT_EQ(link->line().portDevice(2), "tcp://127.0.0.1:7001");
    EXPECT_EQ(link->line().portDevice(5), "/dev/pts/77");
    EXPECT_EQ(link->line().portDevice(8), "/dev/ttyS7");
}

TEST(QovDllLink, ExchangesAndTraceThroughTheService) {
    TestPeer peer(TestPeer::Medium::Tcp);
    peer.setHandler([](const std::string& r) { return r == "n" ? "A0123456789" : "R"; });
    QTemporaryDir dir;
    const auto path = writeSettings(dir, "[ports]\ncom3=" + peer.device() + "\n[link]\ntrace=1\n");
    qov::IniFile settings(path);
    auto link = qov::makeQovDllLink(settings, dir.path().toStdString());
    qov::Link& service = *link;

    ASSERT_EQ(service.Init_RS232bd(3, 19200), 0);
    qov::ReplyBuffer reply;
    reply.fill(0);
    EXPECT_EQ(service.get_frame("n", 1, reply), 10);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(reply.data()) + 1, 10), "0123456789");
    EXPECT_EQ(reply[11], 0);
    EXPECT_EQ(service.send_frame("X", 1), 1);
    EXPECT_EQ(service.send_frameMD("X", 1), 1);
    EXPECT_EQ(service.get_frameT("X", 1, reply, 1000), -4);
    EXPECT_EQ(service.Testconnessione(), 0);
    service.Close_RS232();
    EXPECT_EQ(service.get_frame("n", 1, reply), -1);

    std::ifstream in(dir.filePath("QovDll.trace").toStdString());
    std::string trace((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(trace.find("** open com3 " + peer.device() + " at 19200: 0"), std::string::npos)
        << trace;
    EXPECT_NE(trace.find("A0123456789|"), std::string::npos) << trace;  // the reply to "n"
    EXPECT_NE(trace.find("** close"), std::string::npos) << trace;
}

TEST(QovDllLink, NoTraceUnlessAsked) {
    TestPeer peer(TestPeer::Medium::Tcp);
    QTemporaryDir dir;
    const auto path = writeSettings(dir, "[ports]\ncom1=" + peer.device() + "\n");
    qov::IniFile settings(path);
    auto link = qov::makeQovDllLink(settings, dir.path().toStdString());
    ASSERT_EQ(link->Init_RS232(1), 0);
    EXPECT_EQ(link->Testconnessione(), 0);
    EXPECT_FALSE(QFile::exists(dir.filePath("QovDll.trace")));
}

}  // namespace
