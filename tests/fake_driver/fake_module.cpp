#include "fake_module.h"

#include "driver_errors.h"
#include "fake_control.h"

#include <chrono>
#include <thread>

namespace fake {

namespace {

SendReply answer(km::emu::Module& module, const ModuleLink& link, const uint32_t* request) {
    SendReply r;
    if (!request) {
        r.stav = km::kErrParameter;
        return r;
    }
    for (int i = 0; i < 8; ++i) {
        if (request[i] > 0xFF) {
            r.stav = km::kErrParameter;
            return r;
        }
    }
    km::proto::Request req;
    req.address = static_cast<uint8_t>(request[0]);
    req.command = static_cast<uint8_t>(request[1]);
    req.p5 = static_cast<uint8_t>(request[2]);
    for (int i = 0; i < 5; ++i)
        req.b[i] = static_cast<uint8_t>(request[3 + i]);

    const km::emu::Response resp = module.exchange(req);
    if (!resp.answered || (link.timeout_ms != 0 && resp.delay_ms >= link.timeout_ms)) {
        r.stav = km::kErrTimeout;
        return r;
    }
    if (resp.delay_ms != 0 && link.sleep_on_delay)
        std::this_thread::sleep_for(std::chrono::milliseconds(resp.delay_ms));
    if (resp.corrupt) {
        r.stav = km::kErrCorrupt;
        return r;
    }
    switch (resp.reply.status) {
    case km::proto::kStatusOk:
        break;
    case km::proto::kStatusUnknownCommand:
        r.stav = km::kErrUnknownCommand;
        return r;
    case km::proto::kStatusBadRegister:
        r.stav = km::kErrBadRegister;
        return r;
    case km::proto::kStatusBadValue:
        r.stav = km::kErrBadValue;
        return r;
    default:
        r.stav = km::kErrModule;
        return r;
    }
    r.vystup = resp.reply.out;
    r.odpoved.assign(resp.reply.data, resp.reply.data + 4);
    return r;
}

} // namespace

void attach_module(km::emu::Module& module, ModuleLink link) {
    set_responder(
        [&module, link](const uint32_t* request) { return answer(module, link, request); });
}

void detach_module() {
    set_responder(nullptr);
}

} // namespace fake
