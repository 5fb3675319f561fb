#include "pty_peer.h"

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

PtyPeer::PtyPeer(Script script) : script_(std::move(script)) {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return;
    path_ = ptsname(master_);
    thread_ = std::thread([this] { run(); });
}

PtyPeer::~PtyPeer() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (master_ >= 0) close(master_);
}

std::vector<uint8_t> PtyPeer::reply(const km::proto::Request& req, uint8_t out,
                                    std::array<uint8_t, 4> data, uint8_t status, int address) {
    km::proto::Reply rep;
    rep.address = address < 0 ? req.address : static_cast<uint8_t>(address);
    rep.command = req.command;
    rep.out = out;
    for (int i = 0; i < 4; ++i)
        rep.data[i] = data[i];
    rep.status = status;
    std::vector<uint8_t> bytes(km::proto::kFrameSize);
    km::proto::encode_reply(req, rep, bytes.data());
    return bytes;
}

void PtyPeer::run() {
    std::vector<uint8_t> buf;
    int index = 0;
    while (!stop_) {
        pollfd p{master_, POLLIN, 0};
        if (poll(&p, 1, 20) <= 0) continue;
        if (!(p.revents & POLLIN)) {
            // No slave open yet (or any more): the master reports a hang-up.
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            continue;
        }
        uint8_t chunk[64];
        ssize_t n = read(master_, chunk, sizeof chunk);
        if (n <= 0) continue;
        buf.insert(buf.end(), chunk, chunk + n);
        while (buf.size() >= km::proto::kFrameSize && !stop_) {
            std::vector<uint8_t> raw(buf.begin(), buf.begin() + km::proto::kFrameSize);
            km::proto::Request req;
            if (km::proto::decode_request(raw.data(), raw.size(), req) != km::proto::Reject::None) {
                buf.erase(buf.begin()); // resynchronise
                continue;
            }
            buf.erase(buf.begin(), buf.begin() + km::proto::kFrameSize);
            ++requests_;
            for (const PeerWrite& w : script_(req, raw, index++)) {
                if (w.delay_ms > 0)
                    std::this_thread::sleep_for(std::chrono::milliseconds(w.delay_ms));
                if (!w.bytes.empty()) {
                    ssize_t wr = write(master_, w.bytes.data(), w.bytes.size());
                    (void)wr;
                }
            }
        }
    }
}
