#include "fake_control.h"

#include <deque>

namespace fake {

namespace {
struct State {
    std::vector<Call> journal;
    uint32_t init = 0, setconfig = 0, done = 0;
    uint32_t handle = 0x1234;
    uint32_t done_handle = 0;
    std::deque<SendReply> replies;
    Responder responder;
    Observer observer;
    bool journal_on = true;
};

State& state() {
    static State s;
    return s;
}

uint32_t* result_cell(const std::string& suffix) {
    State& s = state();
    if (suffix == "Init") return &s.init;
    if (suffix == "SetConfig") return &s.setconfig;
    if (suffix == "Done") return &s.done;
    return nullptr;
}
} // namespace

void reset() {
    state() = State{};
}

const std::vector<Call>& journal() {
    return state().journal;
}

std::vector<std::string> entries() {
    std::vector<std::string> out;
    for (const Call& c : state().journal)
        out.push_back(c.entry);
    return out;
}

std::vector<Call> calls(const std::string& entry) {
    std::vector<Call> out;
    for (const Call& c : state().journal)
        if (c.entry == entry) out.push_back(c);
    return out;
}

void clear_journal() {
    state().journal.clear();
}

void set_result(const std::string& suffix, uint32_t code) {
    if (uint32_t* cell = result_cell(suffix)) *cell = code;
}

uint32_t result(const std::string& suffix) {
    uint32_t* cell = result_cell(suffix);
    return cell ? *cell : 0;
}

void set_handle(uint32_t h) {
    state().handle = h;
}
uint32_t handle() {
    return state().handle;
}
void set_done_handle(uint32_t h) {
    state().done_handle = h;
}
uint32_t done_handle() {
    return state().done_handle;
}

void push_reply(const SendReply& reply) {
    state().replies.push_back(reply);
}

bool pop_reply(SendReply& reply) {
    State& s = state();
    if (s.replies.empty()) return false;
    reply = s.replies.front();
    s.replies.pop_front();
    return true;
}

void set_responder(Responder responder) {
    state().responder = std::move(responder);
}

SendReply respond(const uint32_t* request) {
    SendReply r;
    if (pop_reply(r)) return r;
    if (state().responder) return state().responder(request);
    return r;
}

void set_observer(Observer observer) {
    state().observer = std::move(observer);
}

void set_journal(bool on) {
    state().journal_on = on;
}

void record(const Call& call) {
    if (!state().journal_on) return;
    state().journal.push_back(call);
    if (state().observer) state().observer(call);
}

} // namespace fake
