#include "host_serve.h"

#include "km_host_frame.h"

#include <algorithm>
#include <atomic>
#include <cstring>

namespace kmhost {

namespace {

// The request being served and its sequence number, for the last word of a
// crash; a handler reads it, so it is lock-free.
std::atomic<bool> serving{false};
std::atomic<uint32_t> serving_seq{0};
static_assert(std::atomic<uint32_t>::is_always_lock_free);

// A buffer handed to a library: the agreed cells and slack behind them, so a
// library that writes too far spoils only the slack. The slack is marked
// and checked afterwards; only the agreed cells go back to the program.
template <typename T, size_t N, size_t Slack = 64> struct Guarded {
    static constexpr T kMark = static_cast<T>(0x5AFEC0DEu);
    T cells[N + Slack];
    Guarded() {
        std::fill(cells, cells + N, T{});
        std::fill(cells + N, cells + N + Slack, kMark);
    }
    T* data() { return cells; }
    bool intact() const {
        return std::all_of(cells + N, cells + N + Slack, [](T v) { return v == kMark; });
    }
};

class Session {
  public:
    Session(Channel& io, LibraryOpener open) : io_(io), open_(open) {}

    // The reply to one well-delimited frame.
    const std::vector<uint8_t>& answer(const Frame& f) {
        const uint8_t type = f.type | kReplyBit;
        switch (static_cast<Type>(f.type)) {
        case Type::Open:
            return open(f, type);
        case Type::Init:
            return call<InitRequest>(f, type, [this](const InitRequest& r) { return init(r); });
        case Type::SetConfig:
            return call<SetConfigRequest>(f, type, [this](const SetConfigRequest& r) {
                return ResultReply{entries_.set_config(r.handle, r.baud, r.timing, r.last)};
            });
        case Type::Send:
            return call<SendRequest>(f, type, [this](const SendRequest& r) { return send(r); });
        case Type::Done:
            return call<DoneRequest>(f, type, [this](const DoneRequest& r) { return done(r); });
        case Type::Error:
            return call<ErrorRequest>(f, type, [this](const ErrorRequest& r) { return error(r); });
        default:
            return refuse(f.seq, kRefusedType);
        }
    }

    const std::vector<uint8_t>& refuse(uint32_t seq, uint32_t reason) {
        return reply(static_cast<uint8_t>(Type::Refused) | kReplyBit, seq, RefusedReply{reason});
    }

  private:
    // Replies are built in one buffer, used again for each.
    template <typename Msg>
    const std::vector<uint8_t>& reply(uint8_t type, uint32_t seq, const Msg& msg) {
        encode_into(out_, type, seq, msg);
        return out_;
    }

    const std::vector<uint8_t>& open(const Frame& f, uint8_t type) {
        OpenRequest req;
        if (!decode(f.payload, req)) return refuse(f.seq, kRefusedPayload);
        if (library_) return refuse(f.seq, kRefusedOpen);
        OpenReply out;
        out.pointer_bits = static_cast<uint32_t>(sizeof(void*) * 8);
        std::unique_ptr<DriverLibrary> lib = open_(req.path);
        if (!lib) {
            out.result = kOpenNotLoaded;
        } else if (!resolve_entries(*lib, req.kind, entries_)) {
            out.result = kOpenEntryMissing; // released here, as the binding would
        } else {
            out.result = kOpenBound;
            library_ = std::move(lib);
            kind_ = *driver_kind(req.kind);
            prefix_ = std::string(kind_.prefix) + "_";
        }
        return reply(type, f.seq, out);
    }

    template <typename Req, typename Fn>
    const std::vector<uint8_t>& call(const Frame& f, uint8_t type, Fn&& fn) {
        Req req;
        if (!decode(f.payload, req)) return refuse(f.seq, kRefusedPayload);
        if (!library_) return refuse(f.seq, kRefusedNotOpen);
        return reply(type, f.seq, fn(req));
    }

    void check(bool intact, const char* entry, const char* what) {
        if (!intact) io_.note(prefix_ + entry + " wrote past its " + what);
    }

    HandleReply init(const InitRequest& r) {
        Guarded<uint32_t, 1> handle;
        handle.cells[0] = r.handle;
        HandleReply out;
        switch (kind_.init) {
        case InitForm::Value:
            out.result = reinterpret_cast<KmInitValueFn>(entries_.init)(handle.data(), r.cells[0]);
            break;
        case InitForm::Plain:
            out.result = reinterpret_cast<KmInitPlainFn>(entries_.init)(handle.data());
            break;
        case InitForm::Config: {
            // The library's own copy of the block, cell 0 referring to the
            // text; it must take what it needs during the call.
            Guarded<char, kMaxText + 1> text;
            std::copy(r.text.begin(), r.text.end(), text.data());
            text.cells[r.text.size()] = '\0';
            Guarded<uintptr_t, kConfigValues> block;
            block.cells[0] = r.has_text ? reinterpret_cast<uintptr_t>(text.data()) : 0;
            for (uint32_t i = 1; i < kConfigValues; ++i)
                block.cells[i] = r.cells[i];
            out.result = reinterpret_cast<KmInitLanFn>(entries_.init)(handle.data(), block.data());
            check(text.intact(), "Init", "IP text");
            check(block.intact(), "Init", "configuration block");
            break;
        }
        }
        check(handle.intact(), "Init", "handle cell");
        out.handle = handle.cells[0];
        return out;
    }

    SendReply send(const SendRequest& r) {
        Guarded<uint32_t, kRequestValues> request;
        Guarded<uint32_t, kArrayValues> reply;
        Guarded<uint32_t, 1> out, status;
        std::copy(r.request, r.request + kRequestValues, request.data());
        std::copy(r.reply, r.reply + kArrayValues, reply.data());
        out.cells[0] = r.out;
        status.cells[0] = r.status;
        SendReply s;
        s.result = entries_.send(r.handle, r.present & kHasRequest ? request.data() : nullptr,
                                 r.present & kHasReply ? reply.data() : nullptr,
                                 r.present & kHasOut ? out.data() : nullptr,
                                 r.present & kHasStatus ? status.data() : nullptr);
        check(request.intact(), "Send", "request");
        check(reply.intact(), "Send", "reply array");
        check(out.intact() && status.intact(), "Send", "out or status cell");
        std::copy(reply.data(), reply.data() + kArrayValues, s.reply);
        s.out = out.cells[0];
        s.status = status.cells[0];
        return s;
    }

    HandleReply done(const DoneRequest& r) {
        Guarded<uint32_t, 1> handle;
        handle.cells[0] = r.handle;
        HandleReply out;
        out.result = entries_.done(handle.data());
        check(handle.intact(), "Done", "handle cell");
        out.handle = handle.cells[0];
        return out;
    }

    ErrorReply error(const ErrorRequest& r) {
        Guarded<uint32_t, kArrayValues> text;
        std::copy(r.text, r.text + kArrayValues, text.data());
        ErrorReply out;
        out.result = entries_.error(r.code, r.present & kHasText ? text.data() : nullptr);
        check(text.intact(), "Error", "text array");
        std::copy(text.data(), text.data() + kArrayValues, out.text);
        return out;
    }

    Channel& io_;
    LibraryOpener open_;
    std::unique_ptr<DriverLibrary> library_;
    DriverEntries entries_;
    DriverKind kind_ = kDriverKinds[0];
    std::string prefix_;
    std::vector<uint8_t> out_;
};

} // namespace

int serve(Channel& io, LibraryOpener open) {
    FrameReader reader;
    Session session(io, open);
    uint8_t chunk[4096];
    Frame frame; // its payload's buffer serves every frame
    for (;;) {
        switch (reader.next(frame)) {
        case FrameReader::Status::Ready: {
            serving_seq = frame.seq;
            serving = true;
            const std::vector<uint8_t>& out = session.answer(frame);
            serving = false;
            if (!io.write(out.data(), out.size())) return 1;
            continue;
        }
        case FrameReader::Status::Broken: {
            // Nothing after a broken header can be trusted to start a frame.
            const std::vector<uint8_t>& out = session.refuse(0, kRefusedFrame);
            io.write(out.data(), out.size());
            io.note("broken frame from the program; stopping");
            return 2;
        }
        case FrameReader::Status::Incomplete:
            break;
        }
        const long n = io.read(chunk, sizeof chunk);
        if (n == 0) return 0; // the program closed the pipe: release and end
        if (n < 0) return 1;
        reader.feed(chunk, static_cast<size_t>(n));
    }
}

bool crashed_frame(uint32_t cause, uint32_t code, uint8_t (&out)[kCrashedFrameSize]) {
    if (!serving) return false;
    encode_crashed(out, serving_seq, CrashedReply{cause, code});
    return true;
}

} // namespace kmhost
