// The station's Link service over the real library, set up from the settings file.
#include "link/qovdll_link.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>

#include "test_peer.h"

namespace {

TEST(QovDllLink, PortsAndTraceFromTheSettingsFile) {
    qovtest::TestPeer peer(qovtest::TestPeer::Medium::Tcp);
    QTemporaryDir dir;
    const std::string ini = dir.filePath("qovcom.ini").toStdString();
    std::ofstream(ini, std::ios::binary)
        << "[Ports]\r\nCOM3=" << peer.device << "\r\ncom5 = /dev/pts/77\r\n[link]\r\ntrace=1\r\n";
    auto link = qov::makeQovDllLink(qov::IniFile(ini), dir.path().toStdString());
    EXPECT_EQ(link->line().portDevice(1), "/dev/ttyS0");
    EXPECT_EQ(link->line().portDevice(5), "/dev/pts/77");
    EXPECT_EQ(link->line().portDevice(8), "/dev/ttyS7");

    ASSERT_EQ(link->Init_RS232bd(3, 19200), 0);
    link->line().setNextSeq('!');
    qov::ReplyBuffer reply{};
    EXPECT_EQ(link->get_frame("PTNEXT", 6, reply), 6);
    link->Close_RS232();
    std::ifstream in(dir.filePath("QovDll.trace").toStdString());
    const std::string trace{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    for (const std::string& line : std::vector<std::string>{
             "** open com3 " + peer.device + " at 19200: 0", "-> 05 ", "<- 06 ",
             "-> 02 30 30 36 21 50 54 4E 45 58 54 03 45 33 37 43  |.006!PTNEXT.E37C|",
             "<- 02 30 30 37 21 41 50 54 4E 45 58 54 03", "** close"})
        EXPECT_NE(trace.find(line), std::string::npos) << line << "\n" << trace;
    // Every line starts with a timestamp: "YYYY-MM-DD HH:MM:SS.mmm ".
    EXPECT_EQ(trace.substr(4, 1) + trace.substr(10, 1) + trace.substr(19, 1), "- .");

    // Without the switch nothing is traced.
    std::ofstream(ini, std::ios::binary) << "[ports]\ncom1=" << peer.device << "\n";
    QFile::remove(dir.filePath("QovDll.trace"));
    link = qov::makeQovDllLink(qov::IniFile(ini), dir.path().toStdString());
    ASSERT_EQ(link->Init_RS232(1), 0);
    EXPECT_EQ(link->Testconnessione(), 0);
    EXPECT_FALSE(QFile::exists(dir.filePath("QovDll.trace")));
}

}  // namespace
