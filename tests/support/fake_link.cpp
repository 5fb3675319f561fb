#include "fake_link.h"

#include "HledaniOvladace.h"
#include "Kxxx410.h"

#include <QDir>
#include <QTemporaryDir>

#include <memory>

namespace testsupport {

void use_fake_drivers() {
    OvladacUvolni();
    fake::reset();
    NastavAdresarOvladacu(QStringLiteral(FAKE_DIR));
}

void use_broken_drivers() {
    OvladacUvolni();
    fake::reset();
    NastavAdresarOvladacu(QStringLiteral(FAKE_BROKEN_DIR));
}

void open_fake_link(TData& data, uint8_t kind) {
    use_fake_drivers();
    data.Rozhrani = kind;
    uint32_t handle = 0;
    TKonfigOvladace konfig{};
    if (OvladacInit(kind, handle, konfig) == 0) {
        data.Handle = handle;
        data.Pripojeno = true;
    }
    fake::clear_journal();
}

void close_link(TData& data) {
    if (data.Pripojeno && data.Handle != 0) {
        uint32_t handle = data.Handle;
        OvladacDone(data.Rozhrani, handle);
    }
    data.Pripojeno = false;
    data.Handle = 0;
    OvladacUvolni();
}

std::vector<std::array<uint32_t, 8>> sent_requests() {
    std::vector<std::array<uint32_t, 8>> out;
    for (const fake::Call& c : fake::journal()) {
        if (c.entry.size() < 5 || c.entry.compare(c.entry.size() - 5, 5, "_Send") != 0) continue;
        std::array<uint32_t, 8> r{};
        for (size_t i = 0; i < 8 && i + 1 < c.args.size(); ++i)
            r[i] = static_cast<uint32_t>(c.args[i + 1]);
        out.push_back(r);
    }
    return out;
}

fake::SendReply reply_bytes(uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3, uint8_t b4) {
    fake::SendReply r;
    r.vystup = b0;
    r.odpoved = {b1, b2, b3, b4};
    return r;
}

fake::SendReply reply_status(uint32_t stav) {
    fake::SendReply r;
    r.stav = stav;
    return r;
}

QString use_temp_settings_dir() {
    // One folder per test process, emptied for each caller.
    static std::unique_ptr<QTemporaryDir> dir;
    dir = std::make_unique<QTemporaryDir>();
    // The per-user folder too, so that no test touches the real one.
    NastavAdresarIni(dir->path(), QDir(dir->path()).filePath(QStringLiteral("per-user")));
    return dir->path();
}

} // namespace testsupport
