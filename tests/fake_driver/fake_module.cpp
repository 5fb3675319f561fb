#include "fake_module.h"

#include "driver_errors.h"
#include "fake_control.h"
#include "km_bus.h"

#include <chrono>
#include <functional>
#include <thread>

namespace fake {

namespace {

using Exchange = std::function<km::emu::Response(const km::proto::Request&)>;

SendReply answer(const Exchange& exchange, const ModuleLink& link, const uint32_t* request) {
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

    const km::emu::Response resp = exchange(req);
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

// The baud index of the rate the last SetConfig of any driver set; 9600 Bd
// before one.
int line_baud_index() {
    const std::vector<Call>& j = journal();
    for (auto c = j.rbegin(); c != j.rend(); ++c) {
        const std::string& e = c->entry;
        if (e.size() > 10 && e.compare(e.size() - 10, 10, "_SetConfig") == 0 &&
            c->args.size() > 1) {
            const int i = km::proto::baud_index(static_cast<uint32_t>(c->args[1]));
            return i < 0 ? km::emu::kNoBaud : i;
        }
    }
    return 4;
}

} // namespace

void attach_module(km::emu::Module& module, ModuleLink link) {
    const Exchange exchange = [&module](const km::proto::Request& r) { return module.exchange(r); };
    set_responder(
        [exchange, link](const uint32_t* request) { return answer(exchange, link, request); });
}

void attach_bus(km::emu::Bus& bus, ModuleLink link) {
    const Exchange exchange = [&bus](const km::proto::Request& r) {
        return bus.exchange(r, line_baud_index());
    };
    set_responder(
        [exchange, link](const uint32_t* request) { return answer(exchange, link, request); });
}

void detach_module() {
    set_responder(nullptr);
}

} // namespace fake
