// One get_frame exchange over TCP loopback against a register stand-in that answers at once:
// a 7-byte request, a 36-byte reply.
#include <benchmark/benchmark.h>

#include <QCoreApplication>

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "qovdll/frame_codec.h"
#include "qovdll/line.h"

namespace {

// Answers ENQ with ACK and every request with "A" + 35 bytes, on one connection.
class QuickPeer {
public:
    QuickPeer() {
        listenFd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listenFd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        ::listen(listenFd_, 1);
        socklen_t len = sizeof addr;
        ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&addr), &len);
        device_ = "tcp://127.0.0.1:" + std::to_string(ntohs(addr.sin_port));
        thread_ = std::thread([this] { serve(); });
    }

    ~QuickPeer() {
        ::shutdown(listenFd_, SHUT_RDWR);
        ::close(listenFd_);
        thread_.join();
    }

    const std::string& device() const { return device_; }

private:
    void serve() {
        const int fd = ::accept(listenFd_, nullptr, nullptr);
        if (fd < 0)
            return;
        int one = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        const std::string text = "A" + std::string("0000012345 ARTICLE NAME  00000250");
        qovdll::FrameReader reader;
        std::vector<qovdll::ReaderEvent> events;
        char buf[2048];
        for (;;) {
            const ssize_t n = ::read(fd, buf, sizeof buf);
            if (n <= 0)
                break;
            events.clear();
            reader.feed(std::string_view(buf, static_cast<std::size_t>(n)), events);
            std::string out;
            for (const auto& ev : events) {
                if (ev.kind == qovdll::ReaderEvent::Kind::Control && ev.control == qovdll::ENQ)
                    out += static_cast<char>(qovdll::ACK);
                else if (ev.kind == qovdll::ReaderEvent::Kind::Frame)
                    out += qovdll::encodeFrame(ev.frame.seq, text + "xx");
            }
            if (!out.empty() && ::write(fd, out.data(), out.size()) < 0)
                break;
        }
        ::close(fd);
    }

    int listenFd_ = -1;
    std::string device_;
    std::thread thread_;
};

void BM_GetFrameTcpLoopback(benchmark::State& state) {
    QuickPeer peer;
    qovdll::Line line;
    line.setPortDevice(1, peer.device());
    if (line.Init_RS232bd(1, 57600) != 0) {
        state.SkipWithError("cannot open the line");
        return;
    }
    qovdll::ReplyBuffer reply{};
    const std::string request = "R02PICE";  // 7 bytes
    if (line.get_frame(request, 7, reply) != 35) {
        state.SkipWithError("unexpected reply");
        return;
    }
    for (auto _ : state) {
        const int n = line.get_frame(request, 7, reply);
        if (n != 35) {
            state.SkipWithError("exchange failed");
            break;
        }
        benchmark::DoNotOptimize(reply);
    }
    state.SetItemsProcessed(state.iterations());
    line.Close_RS232();
}
BENCHMARK(BM_GetFrameTcpLoopback)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_ReaderFeed(benchmark::State& state) {
    const std::string stream = qovdll::encodeFrame('!', "A" + std::string(35, 'x'));
    qovdll::FrameReader reader;
    std::vector<qovdll::ReaderEvent> events;
    for (auto _ : state) {
        events.clear();
        reader.feed(stream, events);
        benchmark::DoNotOptimize(events);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(stream.size()));
}
BENCHMARK(BM_ReaderFeed);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
