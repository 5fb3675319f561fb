// Feeds untrusted bytes to every frame decoder. A frame that decodes must
// encode back to the very same bytes.
#include "km_protocol.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

using namespace km::proto;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Request q;
    Reply r;
    uint8_t again[kUdpFrameSize];

    if (decode_request(data, size, q) == Reject::None) {
        encode_request(q, again);
        if (std::memcmp(again, data, kFrameSize) != 0) std::abort();
    }

    // Expect the echo the frame itself claims, so the checks past the CRC run too.
    Request sent;
    if (size >= 2) {
        sent.address = data[0];
        sent.command = data[1];
    }
    if (decode_reply(data, size, sent, r) == Reject::None) {
        encode_reply(sent, r, again);
        if (std::memcmp(again, data, kFrameSize) != 0) std::abort();
    }

    uint16_t txn = 0;
    if (decode_udp_request(data, size, txn, q) == Reject::None) {
        encode_udp_request(txn, q, again);
        if (std::memcmp(again, data, kUdpFrameSize) != 0) std::abort();
    }

    Request usent;
    uint16_t want = 0;
    if (size >= 4) {
        want = static_cast<uint16_t>(data[0] | data[1] << 8);
        usent.address = data[2];
        usent.command = data[3];
    }
    // Half the time expect another transaction, so the stale path is exercised.
    if (size > 0 && (data[size - 1] & 1)) want = static_cast<uint16_t>(want + 1);
    const Reject u = decode_udp_reply(data, size, want, usent, r);
    if (u == Reject::None) {
        encode_udp_reply(want, usent, r, again);
        if (std::memcmp(again, data, kUdpFrameSize) != 0) std::abort();
    }
    (void)reject_name(u);
    return 0;
}
