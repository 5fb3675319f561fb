// Control surface of the test driver library.
//
// The test driver is built once per prefix (KSER410.so ... KL4100.so) into a
// folder of its own and bound by the program exactly like a real driver. Its
// state lives here, in a shared library that the drivers and the tests both
// link, so it survives the driver being unloaded and loaded again.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace fake {

struct Call {
    std::string entry;          // "KSER410_Init", "KL4100_Send", "KIB410_load", ...
    std::vector<uint64_t> args; // scalar arguments and values read through references
    std::string text;           // Init of kind 4: the IP text the driver was handed
};

struct SendReply {
    uint32_t result = 0;           // result of Send itself
    uint32_t stav = 0;             // written to the status cell
    uint32_t vystup = 0;           // written to the out cell
    std::vector<uint32_t> odpoved; // written to the reply buffer from element 0
};

// Answers a Send when no scripted reply is queued: gets the 8 request values.
using Responder = std::function<SendReply(const uint32_t* request)>;

// Back to the start: empty journal and script, every result 0, handle 0x1234,
// no responder (Send then answers zeros with status 0).
void reset();

const std::vector<Call>& journal();
// Entry names of the journal in order ("KSER410_Init", ...).
std::vector<std::string> entries();
// Calls of one entry (by full name).
std::vector<Call> calls(const std::string& entry);
void clear_journal();

// Result of "Init", "SetConfig" or "Done" (by suffix), kept until changed.
void set_result(const std::string& suffix, uint32_t code);
uint32_t result(const std::string& suffix);
// Handle that Init writes on success.
void set_handle(uint32_t handle);
uint32_t handle();
// Value Done writes back into the handle cell.
void set_done_handle(uint32_t handle);
uint32_t done_handle();

// Scripted replies, taken in order before the responder.
void push_reply(const SendReply& reply);
bool pop_reply(SendReply& reply);
void set_responder(Responder responder);
SendReply respond(const uint32_t* request);

// Called with every call as the driver records it, so a test can look at
// the world at that moment (cleared by reset()).
using Observer = std::function<void(const Call& call)>;
void set_observer(Observer observer);

// Written by the driver libraries themselves.
void record(const Call& call);
// Journal on (the default) or off, for a driver that runs for long on its own.
void set_journal(bool on);

// Module address at which the fault variants of the test driver crash inside
// Send, or never return from it; every other address is served.
constexpr uint32_t kFaultAddress = 99;

} // namespace fake
