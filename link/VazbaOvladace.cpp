#include "VazbaOvladace.h"

#include "Soubory.h"
#include "child_process.h"
#include "driver_library.h"
#include "km_host_frame.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

namespace {

// ---- In the program's process.

class VProcesu : public VazbaOvladace {
  public:
    VProcesu(uint8_t druh, std::unique_ptr<kmhost::DriverLibrary> knihovna,
             const kmhost::DriverEntries& vstupy)
        : druh_(druh), knihovna_(std::move(knihovna)), e_(vstupy) {}

    uint32_t Init(uint32_t& Handle, const TKonfigOvladace& Konfig) override {
        switch (kmhost::kDriverKinds[druh_].init) {
        case kmhost::InitForm::Value:
            return reinterpret_cast<KmInitValueFn>(e_.init)(&Handle,
                                                            static_cast<uint32_t>(Konfig[0]));
        case kmhost::InitForm::Plain:
            return reinterpret_cast<KmInitPlainFn>(e_.init)(&Handle);
        case kmhost::InitForm::Config: {
            // The driver gets its own copy of the block; it must take what it
            // needs during the call.
            TKonfigOvladace kopie = Konfig;
            return reinterpret_cast<KmInitLanFn>(e_.init)(&Handle, kopie.data());
        }
        }
        return KodNeplatne; // no other form exists
    }
    uint32_t SetConfig(uint32_t Handle, uint32_t Rychlost, uint32_t Casovani,
                       uint32_t Posledni) override {
        return e_.set_config(Handle, Rychlost, Casovani, Posledni);
    }
    uint32_t Send(uint32_t Handle, uint32_t* Pozadavek, uint32_t* Odpoved, uint32_t* Vystup,
                  uint32_t* Stav) override {
        return e_.send(Handle, Pozadavek, Odpoved, Vystup, Stav);
    }
    uint32_t Done(uint32_t& Handle) override { return e_.done(&Handle); }
    uint32_t Error(uint32_t Kod, uint32_t* Text) override { return e_.error(Kod, Text); }

  private:
    uint8_t druh_;
    std::unique_ptr<kmhost::DriverLibrary> knihovna_;
    kmhost::DriverEntries e_;
};

// ---- Through km207-driverhost.

// Deadlines: the driver's own time plus a margin. The maker's timing is not
// known, so a serial attempt is bounded by the slowest exchange of this
// project's drivers (600 Bd: 384 ms) and a wait for a silent line (1 s).
constexpr int kRezervaMs = 2000;
constexpr int kRezervaWineMs = 5000; // Wine's server adds its own delays under load
constexpr int kPokusSerioveMs = 1400;
constexpr int kVolaniMs = 10000;       // Init, SetConfig, Done: no exchange with the module
constexpr int kTextMs = 5000;          // Error
constexpr int kOtevreniMs = 10000;     // start and Open
constexpr int kOtevreniWineMs = 60000; // Wine may first have to create its prefix
constexpr int kKonecMs = 3000;         // a host ends by itself once its input closes
// A wait longer than this is handed to the hook, in steps of kKrokMs: long
// enough not to flicker a busy cursor on every call, short of what an
// operator takes for a stuck window.
constexpr int kCekaniMs = 300;
constexpr int kKrokMs = 30;

std::function<void(TCekani)>& hookCekani() {
    static std::function<void(TCekani)> h;
    return h;
}

// One wait on the host as the hook sees it: Zacatek at the first step, Konec
// at the end of the wait, whichever way it ends.
class Cekani {
  public:
    ~Cekani() {
        if (zacalo_) hookCekani()(TCekani::Konec);
    }
    // Before the next read: how long it may wait, at most `zbyvaMs`.
    int krok(int zbyvaMs) {
        if (!hookCekani()) return zbyvaMs;
        const qint64 uz = od_.elapsed();
        if (uz < kCekaniMs) return static_cast<int>(std::min<qint64>(zbyvaMs, kCekaniMs - uz));
        if (!zacalo_) hookCekani()(TCekani::Zacatek);
        zacalo_ = true;
        hookCekani()(TCekani::Trva);
        return std::min(zbyvaMs, kKrokMs);
    }

  private:
    QElapsedTimer od_ = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    bool zacalo_ = false;
};

QString TextPadu(const kmhost::CrashedReply& r) {
    if (r.cause == kmhost::kCrashSignal)
        return QCoreApplication::translate("VazbaOvladace",
                                           "knihovna ovladače havarovala (signál %1)")
            .arg(r.code);
    return QCoreApplication::translate("VazbaOvladace",
                                       "knihovna ovladače havarovala (výjimka 0x%1)")
        .arg(QString::number(r.code, 16).toUpper().rightJustified(8, QLatin1Char('0')));
}

class PresHostitele : public VazbaOvladace {
  public:
    PresHostitele(uint8_t druh, bool wine) : druh_(druh), wine_(wine) {}
    ~PresHostitele() override { ukonci(); }

    bool spust(const SpusteniHostitele& s, const QString& cesta, uint32_t& kod, bool& odpovedel) {
        kod = KodNenacteno + druh_;
        odpovedel = false;
        nazev_ =
            QFileInfo(s.Wine && !s.Argumenty.isEmpty() ? s.Argumenty.last() : s.Program).fileName();
        // The host's own notes (and Wine's) go to the program's standard
        // error, which the child shares.
        kmhost::ChildCommand c;
        c.program = NativniCesta(s.Program);
        for (const QString& a : s.Argumenty)
            c.arguments.push_back(NativniCesta(a));
        if (wine_) {
            // Quiet, and no offer to install Wine's .NET or browser into a
            // new prefix: the host needs neither.
            if (!qEnvironmentVariableIsSet("WINEDEBUG"))
                c.environment.emplace_back("WINEDEBUG", "-all");
            if (!qEnvironmentVariableIsSet("WINEDLLOVERRIDES"))
                c.environment.emplace_back("WINEDLLOVERRIDES", "mscoree,mshtml=");
        }
        proces_ = kmhost::start_child(c);
        if (!proces_) return selhani();

        // The first frame also waits out the host's start (Wine's may be long).
        const int lhuta = wine_ ? kOtevreniWineMs : kOtevreniMs;
        kmhost::OpenRequest r;
        r.kind = druh_;
        r.path = NativniCesta(cesta);
        kmhost::OpenReply a;
        const bool otevreno = vymena(kmhost::Type::Open, r, a, lhuta);
        odpovedel = odpovedel_;
        if (!otevreno) return false;
        if (a.result != kmhost::kOpenBound) {
            ukonci();
            if (a.result == kmhost::kOpenEntryMissing) kod = KodNeuplne + druh_;
            return false;
        }
        kod = 0;
        return true;
    }

    uint32_t Init(uint32_t& Handle, const TKonfigOvladace& Konfig) override {
        kmhost::InitRequest r;
        r.handle = Handle;
        for (size_t i = 0; i < kmhost::kConfigValues; ++i)
            r.cells[i] = static_cast<uint32_t>(Konfig[i]);
        if (druh().init == kmhost::InitForm::Config) {
            // Cell 0 refers to the zero-terminated IP text, which crosses
            // as bytes.
            r.cells[0] = 0;
            if (const char* t = reinterpret_cast<const char*>(Konfig[0])) {
                size_t n = 0;
                while (n < kmhost::kMaxText && t[n] != '\0')
                    ++n;
                r.has_text = true;
                r.text.assign(t, n);
            }
            udpTimeout_ = static_cast<uint32_t>(Konfig[2]);
        }
        kmhost::HandleReply a;
        const int lhuta = kVolaniMs + (druh().udp ? 3 * static_cast<int>(udpTimeoutMs()) : 0);
        if (!vymena(kmhost::Type::Init, r, a, lhuta)) return ztraceno();
        Handle = a.handle;
        return a.result;
    }

    uint32_t SetConfig(uint32_t Handle, uint32_t Rychlost, uint32_t Casovani,
                       uint32_t Posledni) override {
        kmhost::ResultReply a;
        if (!vymena(kmhost::Type::SetConfig,
                    kmhost::SetConfigRequest{Handle, Rychlost, Casovani, Posledni}, a, kVolaniMs))
            return ztraceno();
        if (a.result == 0) opakovani_ = Posledni;
        return a.result;
    }

    uint32_t Send(uint32_t Handle, uint32_t* Pozadavek, uint32_t* Odpoved, uint32_t* Vystup,
                  uint32_t* Stav) override {
        // The cells go as the caller holds them, so what the library leaves
        // alone comes back unchanged.
        kmhost::SendRequest r;
        r.handle = Handle;
        if (Pozadavek) {
            r.present |= kmhost::kHasRequest;
            std::copy(Pozadavek, Pozadavek + kmhost::kRequestValues, r.request);
        }
        if (Odpoved) {
            r.present |= kmhost::kHasReply;
            std::copy(Odpoved, Odpoved + kmhost::kArrayValues, r.reply);
        }
        if (Vystup) {
            r.present |= kmhost::kHasOut;
            r.out = *Vystup;
        }
        if (Stav) {
            r.present |= kmhost::kHasStatus;
            r.status = *Stav;
        }
        kmhost::SendReply a;
        if (!vymena(kmhost::Type::Send, r, a, lhutaSend())) return ztraceno();
        if (Odpoved) std::copy(a.reply, a.reply + kmhost::kArrayValues, Odpoved);
        if (Vystup) *Vystup = a.out;
        if (Stav) *Stav = a.status;
        return a.result;
    }

    uint32_t Done(uint32_t& Handle) override {
        kmhost::HandleReply a;
        if (!vymena(kmhost::Type::Done, kmhost::DoneRequest{Handle}, a, kVolaniMs))
            return ztraceno();
        Handle = a.handle;
        return a.result;
    }

    uint32_t Error(uint32_t Kod, uint32_t* Text) override {
        kmhost::ErrorRequest r;
        r.code = Kod;
        if (Text) {
            r.present = kmhost::kHasText;
            std::copy(Text, Text + kmhost::kArrayValues, r.text);
        }
        kmhost::ErrorReply a;
        if (!vymena(kmhost::Type::Error, r, a, kTextMs)) return ztraceno();
        if (Text) std::copy(a.text, a.text + kmhost::kArrayValues, Text);
        return a.result;
    }

    bool Ztracena() const override { return ztracena_; }
    QString Duvod() const override { return duvod_; }

  private:
    // The host bound a library only of a kind it knows.
    const kmhost::DriverKind& druh() const { return kmhost::kDriverKinds[druh_]; }
    uint32_t udpTimeoutMs() const { return std::clamp(udpTimeout_, 10u, 65535u); }

    int lhutaSend() const {
        const uint32_t pokus = druh().udp ? udpTimeoutMs() : kPokusSerioveMs;
        return static_cast<int>((std::min(opakovani_, 10u) + 1) * pokus);
    }
    int rezerva() const { return wine_ ? kRezervaWineMs : kRezervaMs; }

    // One request and its reply, within `lhutaMs` plus the margin. Any
    // fault of the host ends it, and says why in duvod_.
    template <typename Req, typename Rep>
    bool vymena(kmhost::Type typ, const Req& req, Rep& rep, int lhutaMs) {
        if (ztracena_ || !proces_) return false;
        const uint32_t seq = ++seq_;
        kmhost::encode_into(ven_, static_cast<uint8_t>(typ), seq, req);
        const int celkemMs = lhutaMs + rezerva();
        const QDeadlineTimer lhuta(celkemMs);
        if (!proces_->write(ven_.data(), ven_.size(), celkemMs)) return selhani();
        Cekani cekani;
        for (;;) {
            switch (reader_.next(dovnitr_)) {
            case kmhost::FrameReader::Status::Ready:
                // The host's last word: the library crashed in this call.
                if (dovnitr_.type ==
                    (static_cast<uint8_t>(kmhost::Type::Crashed) | kmhost::kReplyBit)) {
                    kmhost::CrashedReply pad;
                    if (dovnitr_.seq == seq && kmhost::decode(dovnitr_.payload, pad)) {
                        odpovedel_ = true;
                        duvod_ = TextPadu(pad);
                    }
                    return selhani();
                }
                // Exactly the reply to this request, and nothing behind it.
                if (dovnitr_.type != (static_cast<uint8_t>(typ) | kmhost::kReplyBit) ||
                    dovnitr_.seq != seq || reader_.pending() != 0 ||
                    !kmhost::decode(dovnitr_.payload, rep))
                    return selhani();
                odpovedel_ = true;
                return true;
            case kmhost::FrameReader::Status::Broken:
                return selhani();
            case kmhost::FrameReader::Status::Incomplete:
                break;
            }
            // Whatever else it is (an end, a failure, the deadline), the
            // host is of no further use.
            const qint64 zbyva = lhuta.remainingTime();
            if (zbyva <= 0) {
                duvod_ = QCoreApplication::translate(
                             "VazbaOvladace", "knihovna neodpověděla do %1 s a byla ukončena")
                             .arg((celkemMs + 999) / 1000);
                return selhani();
            }
            uint8_t data[4096];
            const long n = proces_->read(data, sizeof data, cekani.krok(static_cast<int>(zbyva)));
            if (n == kmhost::ChildProcess::kTimedOut) continue;
            if (n == kmhost::ChildProcess::kEnded)
                duvod_ = QCoreApplication::translate(
                             "VazbaOvladace", "%1, který knihovnu spouští, skončil bez odpovědi")
                             .arg(nazev_);
            if (n <= 0) return selhani();
            reader_.feed(data, static_cast<size_t>(n));
        }
    }

    uint32_t ztraceno() const { return KodNenacteno + druh_; }

    bool selhani() {
        ztracena_ = true;
        if (proces_) proces_->kill();
        proces_.reset();
        return false;
    }

    void ukonci() {
        // End of input: the host releases the library and exits.
        if (proces_) proces_->finish(kKonecMs);
        proces_.reset();
    }

    uint8_t druh_;
    bool wine_;
    std::unique_ptr<kmhost::ChildProcess> proces_;
    kmhost::FrameReader reader_;
    std::vector<uint8_t> ven_; // the request going out
    kmhost::Frame dovnitr_;    // the reply coming in
    uint32_t seq_ = 0;
    bool ztracena_ = false;
    bool odpovedel_ = false; // some frame came from the host
    QString duvod_;
    QString nazev_;          // the host's file name, for duvod_
    uint32_t opakovani_ = 2; // SetConfig's last value, as the program passes it
    uint32_t udpTimeout_ = 0;
};

// ---- Each call on a thread of its own, so that a stop ends its wait.

// What a caller and the binding's thread share. The thread holds it too, so
// it outlives a caller that stopped waiting.
struct Ukoly {
    std::mutex m;
    std::condition_variable cv;
    std::function<void()> ukol; // the call to run; empty when none
    bool hotovo = false;
    bool konec = false; // the binding is gone: the thread ends
};

class Prerusitelna : public VazbaOvladace {
  public:
    Prerusitelna(std::unique_ptr<VazbaOvladace> vnitrni, std::function<bool()> zastavit)
        : vnitrni_(std::move(vnitrni)), zastavit_(std::move(zastavit)),
          u_(std::make_shared<Ukoly>()) {
        std::thread([u = u_] {
            std::unique_lock l(u->m);
            for (;;) {
                u->cv.wait(l, [&] { return u->konec || u->ukol; });
                if (u->konec) return;
                const std::function<void()> ukol = std::move(u->ukol);
                u->ukol = nullptr;
                l.unlock();
                ukol();
                l.lock();
                u->hotovo = true;
                u->cv.notify_all();
            }
        }).detach();
    }
    ~Prerusitelna() override {
        {
            const std::lock_guard l(u_->m);
            u_->konec = true;
        }
        u_->cv.notify_all();
        // The library is still inside the call left to the thread.
        if (opustena_) (void)vnitrni_.release();
    }

    uint32_t Init(uint32_t& Handle, const TKonfigOvladace& Konfig) override {
        // The thread works on copies: a call left to it may go on after
        // this one returned. Cell 0 may refer to the record's IP text, which
        // lives as long as the process.
        auto h = std::make_shared<uint32_t>(Handle);
        const uint32_t kod = volej([h, Konfig](VazbaOvladace& v) { return v.Init(*h, Konfig); });
        if (!opustena_) Handle = *h;
        return kod;
    }
    uint32_t SetConfig(uint32_t Handle, uint32_t Rychlost, uint32_t Casovani,
                       uint32_t Posledni) override {
        return volej(
            [=](VazbaOvladace& v) { return v.SetConfig(Handle, Rychlost, Casovani, Posledni); });
    }
    uint32_t Send(uint32_t Handle, uint32_t* Pozadavek, uint32_t* Odpoved, uint32_t* Vystup,
                  uint32_t* Stav) override {
        struct Bunky {
            std::array<uint32_t, kmhost::kRequestValues> pozadavek{};
            std::array<uint32_t, kmhost::kArrayValues> odpoved{};
            uint32_t vystup = 0, stav = 0;
        };
        auto b = std::make_shared<Bunky>();
        if (Pozadavek) std::copy_n(Pozadavek, b->pozadavek.size(), b->pozadavek.begin());
        if (Odpoved) std::copy_n(Odpoved, b->odpoved.size(), b->odpoved.begin());
        if (Vystup) b->vystup = *Vystup;
        if (Stav) b->stav = *Stav;
        // An absent reference stays absent.
        const bool p = Pozadavek, o = Odpoved, v = Vystup, st = Stav;
        const uint32_t kod = volej([=](VazbaOvladace& vazba) {
            return vazba.Send(Handle, p ? b->pozadavek.data() : nullptr,
                              o ? b->odpoved.data() : nullptr, v ? &b->vystup : nullptr,
                              st ? &b->stav : nullptr);
        });
        if (opustena_) return kod;
        if (Odpoved) std::copy(b->odpoved.begin(), b->odpoved.end(), Odpoved);
        if (Vystup) *Vystup = b->vystup;
        if (Stav) *Stav = b->stav;
        return kod;
    }
    uint32_t Done(uint32_t& Handle) override {
        auto h = std::make_shared<uint32_t>(Handle);
        const uint32_t kod = volej([h](VazbaOvladace& v) { return v.Done(*h); });
        if (!opustena_) Handle = *h;
        return kod;
    }
    uint32_t Error(uint32_t Kod, uint32_t* Text) override {
        auto t = std::make_shared<std::array<uint32_t, kmhost::kArrayValues>>();
        if (Text) std::copy_n(Text, t->size(), t->begin());
        const bool maText = Text;
        const uint32_t kod =
            volej([=](VazbaOvladace& v) { return v.Error(Kod, maText ? t->data() : nullptr); });
        if (!opustena_ && Text) std::copy(t->begin(), t->end(), Text);
        return kod;
    }

    bool Ztracena() const override { return opustena_ || vnitrni_->Ztracena(); }
    // An abandoned call may still run inside the binding: it is not asked.
    QString Duvod() const override { return opustena_ ? QString() : vnitrni_->Duvod(); }

  private:
    // Runs Volani on the thread and waits for it, or after a stop for at
    // most PreruseniPoMs.
    uint32_t volej(std::function<uint32_t(VazbaOvladace&)> volani) {
        if (opustena_) return KodNeplatne;
        using Hodiny = std::chrono::steady_clock;
        auto kod = std::make_shared<uint32_t>(KodNeplatne);
        std::unique_lock l(u_->m);
        u_->ukol = [v = vnitrni_.get(), volani = std::move(volani), kod] { *kod = volani(*v); };
        u_->hotovo = false;
        u_->cv.notify_all();
        std::optional<Hodiny::time_point> konec;
        while (!u_->hotovo) {
            const Hodiny::time_point ted = Hodiny::now();
            if (!konec && zastavit_()) konec = ted + std::chrono::milliseconds(PreruseniPoMs);
            if (konec && ted >= *konec) {
                opustena_ = true;
                return KodPreruseno;
            }
            // A signal sets the stop and wakes nobody: it is looked at often.
            u_->cv.wait_for(l, std::chrono::milliseconds(10));
        }
        if (vnitrni_->Ztracena() && zastavit_()) {
            opustena_ = true;
            return KodPreruseno;
        }
        return *kod;
    }

    std::unique_ptr<VazbaOvladace> vnitrni_;
    std::function<bool()> zastavit_;
    std::shared_ptr<Ukoly> u_;
    bool opustena_ = false;
};

} // namespace

std::unique_ptr<VazbaOvladace> VazbaVProcesu(uint8_t Druh, const QString& Cesta, uint32_t& Kod) {
    Kod = KodNenacteno + Druh;
    std::unique_ptr<kmhost::DriverLibrary> knihovna =
        kmhost::open_driver_library(NativniCesta(Cesta));
    if (!knihovna) return nullptr;
    kmhost::DriverEntries vstupy;
    if (!kmhost::resolve_entries(*knihovna, Druh, vstupy)) {
        Kod = KodNeuplne + Druh; // released as it goes out of scope
        return nullptr;
    }
    Kod = 0;
    return std::make_unique<VProcesu>(Druh, std::move(knihovna), vstupy);
}

std::unique_ptr<VazbaOvladace> VazbaPresHostitele(uint8_t Druh, const SpusteniHostitele& Spusteni,
                                                  const QString& Cesta, uint32_t& Kod,
                                                  bool* Odpovedel, QString* Duvod) {
    auto vazba = std::make_unique<PresHostitele>(Druh, Spusteni.Wine);
    bool odpovedel = false;
    const bool spusten = vazba->spust(Spusteni, Cesta, Kod, odpovedel);
    if (Odpovedel) *Odpovedel = odpovedel;
    if (Duvod) *Duvod = vazba->Duvod();
    if (!spusten) return nullptr;
    return vazba;
}

std::unique_ptr<VazbaOvladace> PrerusitelnaVazba(std::unique_ptr<VazbaOvladace> Vnitrni,
                                                 std::function<bool()> Zastavit) {
    return std::make_unique<Prerusitelna>(std::move(Vnitrni), std::move(Zastavit));
}

void NastavCekaniNaHostitele(std::function<void(TCekani)> Hook) {
    hookCekani() = std::move(Hook);
}
