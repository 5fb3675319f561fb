#include "wire_client.h"

namespace emu_test {

void UdpClient::send(uint16_t txn, const km::proto::Request& req) {
    std::vector<uint8_t> f(km::proto::kUdpFrameSize);
    km::proto::encode_udp_request(txn, req, f.data());
    send_raw(f);
}

bool UdpClient::ask(uint16_t txn, const km::proto::Request& req, km::proto::Reply& rep,
                    int timeout_ms) {
    send(txn, req);
    const auto b = receive(timeout_ms);
    return !b.empty() && km::proto::decode_udp_reply(b.data(), b.size(), txn, req, rep) ==
                             km::proto::Reject::None;
}

} // namespace emu_test
