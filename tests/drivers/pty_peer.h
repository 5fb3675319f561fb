// A scripted module at the far end of a pseudo-terminal, for the serial
// cases the emulator does not produce (echoing adapters, other modules,
// noise, frames split by pauses).
#pragma once

#include "km_protocol.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

struct PeerWrite {
    int delay_ms = 0; // pause before these bytes
    std::vector<uint8_t> bytes;
};

class PtyPeer {
  public:
    // Called for every whole request read from the line; `index` counts from 0.
    using Script = std::function<std::vector<PeerWrite>(
        const km::proto::Request& req, const std::vector<uint8_t>& raw, int index)>;
    explicit PtyPeer(Script script);
    ~PtyPeer();
    PtyPeer(const PtyPeer&) = delete;
    PtyPeer& operator=(const PtyPeer&) = delete;

    const std::string& path() const { return path_; }
    int requests() const { return requests_.load(); }

    // The module's answer to `req` as 10 bytes on the wire.
    static std::vector<uint8_t> reply(const km::proto::Request& req, uint8_t out,
                                      std::array<uint8_t, 4> data, uint8_t status = 0,
                                      int address = -1);

  private:
    void run();

    Script script_;
    int master_ = -1;
    std::string path_;
    std::atomic<bool> stop_{false};
    std::atomic<int> requests_{0};
    std::thread thread_;
};
