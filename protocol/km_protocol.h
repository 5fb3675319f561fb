// Bus frames between a PC driver and a KM-207 module.
//
// Serial request (10 bytes): address, command, P5, B0..B4, CRC lo, CRC hi.
// Serial reply   (10 bytes): address, command (both echoed), out byte,
//                            four reply bytes, status, CRC lo, CRC hi.
// A request and a reply use different CRC seeds, so an echoed request on an
// RS-485 line can never be taken for a reply. A reply's seed also covers the
// P5 and B0..B4 of the request it answers, so a late reply to an earlier,
// different request fails its check instead of passing for the answer. UDP frames put a 16-bit
// transaction number (little-endian) in front of the same 10 bytes, so a late
// reply to an earlier request is never taken for the current one.
#pragma once

#include <cstddef>
#include <cstdint>

namespace km::proto {

constexpr std::size_t kFrameSize = 10;
constexpr std::size_t kUdpFrameSize = 12;

// The bus's nine rates in Bd, by baud index: the value of module register
// 62 and the item order of every rate list.
constexpr uint32_t kBaudRates[9] = {600, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
constexpr int kBaudCount = 9;

// Baud index of a rate, or -1 when the rate is none of the nine.
constexpr int baud_index(uint32_t baud) {
    for (int i = 0; i < kBaudCount; ++i)
        if (kBaudRates[i] == baud) return i;
    return -1;
}

constexpr uint16_t kRequestSeed = 0xFFFF;
constexpr uint16_t kReplySeed = 0x5A5A;

// Status byte of a reply: 0 is success, anything else an error of the module.
enum ModuleStatus : uint8_t {
    kStatusOk = 0,
    kStatusUnknownCommand = 1,
    kStatusBadRegister = 2,
    kStatusBadValue = 3,
};

struct Request {
    uint8_t address = 0;
    uint8_t command = 0;
    uint8_t p5 = 0;
    uint8_t b[5] = {0, 0, 0, 0, 0};
};

struct Reply {
    uint8_t address = 0;
    uint8_t command = 0;
    uint8_t out = 0;
    uint8_t data[4] = {0, 0, 0, 0};
    uint8_t status = 0;
};

// Why a frame was refused.
enum class Reject {
    None,         // accepted
    Short,        // fewer bytes than a frame
    Long,         // more bytes than a frame
    BadCrc,       // checksum wrong (corrupt, or a frame of the other direction)
    WrongAddress, // a reply from another module
    WrongCommand, // a reply to another command
    Stale,        // UDP: transaction number of an earlier request
};

const char* reject_name(Reject r);

// CRC-16 (polynomial 0xA001 reflected, as Modbus) from the given seed.
uint16_t crc16(const uint8_t* data, std::size_t len, uint16_t seed);

void encode_request(const Request& req, uint8_t out[kFrameSize]);
// Seed of the CRC of a reply to `req`.
uint16_t reply_seed(const Request& req);
void encode_reply(const Request& req, const Reply& rep, uint8_t out[kFrameSize]);

// Decoders never read past in[len - 1]; len may be anything, in may be null
// when len is 0.
Reject decode_request(const uint8_t* in, std::size_t len, Request& out);
// Checks the echo of the address and command of `sent`.
Reject decode_reply(const uint8_t* in, std::size_t len, const Request& sent, Reply& out);

void encode_udp_request(uint16_t txn, const Request& req, uint8_t out[kUdpFrameSize]);
void encode_udp_reply(uint16_t txn, const Request& req, const Reply& rep,
                      uint8_t out[kUdpFrameSize]);
Reject decode_udp_request(const uint8_t* in, std::size_t len, uint16_t& txn, Request& out);
// Also refuses a reply whose transaction number is not `txn`.
Reject decode_udp_reply(const uint8_t* in, std::size_t len, uint16_t txn, const Request& sent,
                        Reply& out);

} // namespace km::proto
