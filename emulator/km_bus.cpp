#include "km_bus.h"

#include <algorithm>

namespace km::emu {

bool Bus::hears(const Module& m, int line_baud_index) const {
    return line_baud_index == kAnyBaud || m.baud_index() == line_baud_index;
}

bool Bus::hears(int line_baud_index) const {
    return std::any_of(modules_.begin(), modules_.end(),
                       [&](const Module* m) { return hears(*m, line_baud_index); });
}

Response Bus::exchange(const proto::Request& req, int line_baud_index) {
    ++requests_;
    Response out;
    int answers = 0;
    for (Module* m : modules_) {
        if (!hears(*m, line_baud_index)) continue;
        const Response r = m->exchange(req);
        if (!r.answered) continue;
        if (++answers == 1) {
            out = r;
            last_ = m;
        } else {
            out.delay_ms = std::max(out.delay_ms, r.delay_ms);
        }
    }
    if (answers > 1) {
        ++collisions_;
        out.corrupt = true;
    }
    return out;
}

void Bus::corrupt_frame(uint8_t* frame, std::size_t len) {
    Module* m = last_ ? last_ : (modules_.empty() ? nullptr : modules_.front());
    if (m) m->corrupt_frame(frame, len);
}

} // namespace km::emu
