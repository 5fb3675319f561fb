// Opening the link for km207 from the settings file and the command line.
#include "session.h"

#include "Kxxx410.h"
#include "Rychlosti.h"
#include "Soubory.h"

#include <QDir>

namespace km207 {

bool Session::prepareLink(QString& error) {
    InitData(&data_);
    QString settings;
    if (o_.config) {
        settings = *o_.config;
        QString why;
        QByteArray unused;
        if (!CtiSoubor(settings, 1024 * 1024, unused, why)) {
            error = QStringLiteral("soubor nastavení: ") + why;
            return false;
        }
        CtiIniZeSouboru(&data_, settings);
    } else if (!o_.noConfig) {
        settings = CestaCteniIni();
        CtiIni(&data_);
    }
    // A value the command line did not give came from the settings file:
    // the error names the file and the key.
    const auto fromFile = [&](bool given, const char* key) {
        return given || settings.isEmpty()
                   ? QString()
                   : QStringLiteral(" (soubor %1, [KL-4100] %2)")
                         .arg(QDir::toNativeSeparators(settings), QString::fromUtf8(key));
    };
    if (o_.kind) data_.Rozhrani = *o_.kind;
    if (o_.address) data_.Adresa = *o_.address;
    if (o_.baud) data_.Rychlost = *o_.baud;
    const uint8_t kind = data_.Rozhrani;
    const QString kindText = QStringLiteral(" (rozhraní je %1)").arg(kindName(kind));
    if (o_.port) {
        const std::optional<uint32_t> port = portValue(kind, *o_.port);
        if (kind == 0 && !port) {
            error = QStringLiteral("--port potřebuje číslo portu COM 1-255");
            return false;
        }
        if (kind == 1 && !port) {
            error = QStringLiteral("--port potřebuje bázovou adresu karty 0-FFFFh (např. 300h)");
            return false;
        }
        if (kind == 0) data_.CisloPortu = static_cast<uint8_t>(*port);
        if (kind == 1) data_.BazovaAdresa = static_cast<uint16_t>(*port);
        if (kind > 1) {
            error = QStringLiteral("--port platí jen pro rozhraní com a isa") + kindText +
                    (kind == 4 ? QStringLiteral("; UDP port je --udp-port") : QString());
            return false;
        }
    }
    if (kind != 4 && (o_.ip || o_.udpPort || o_.timeout)) {
        error =
            QStringLiteral("--ip, --udp-port a --timeout platí jen pro rozhraní lan") + kindText;
        return false;
    }
    if (o_.ip) data_.IpAdresa = *o_.ip;
    if (o_.udpPort) data_.UdpPort = *o_.udpPort;
    if (o_.timeout) data_.UdpTimeout = *o_.timeout;

    data_.KonfigOvladace.fill(0);
    switch (kind) {
    case 0:
        data_.KonfigOvladace[0] = data_.CisloPortu;
        break;
    case 1:
        data_.KonfigOvladace[0] = data_.BazovaAdresa;
        break;
    case 4:
        // The connection dialog refuses these before it opens anything.
        if (data_.IpAdresa.isEmpty()) {
            error = QStringLiteral("Neplatná IP adresa") + fromFile(o_.ip.has_value(), "IP adresa");
            return false;
        }
        if (data_.UdpPort > 65535) {
            error = QStringLiteral("Neplatný UDP port %1").arg(data_.UdpPort) +
                    fromFile(o_.udpPort.has_value(), "UDP port");
            return false;
        }
        if (data_.UdpTimeout > 65535) {
            error = QStringLiteral("Neplatný UDP timeout %1").arg(data_.UdpTimeout) +
                    fromFile(o_.timeout.has_value(), "UDP timeout");
            return false;
        }
        // The driver reads the zero-terminated text during Init.
        data_.IpAdresaBajty = TextNaCp1250(data_.IpAdresa);
        data_.KonfigOvladace[0] = reinterpret_cast<uintptr_t>(data_.IpAdresaBajty.constData());
        data_.KonfigOvladace[1] = data_.UdpPort;
        data_.KonfigOvladace[2] = data_.UdpTimeout;
        break;
    default:
        break;
    }
    return true;
}

int Session::open(bool identify) {
    const uint8_t kind = data_.Rozhrani;
    uint32_t handle = 0;
    uint32_t kod = OvladacInit(kind, handle, data_.KonfigOvladace);
    if (kod != 0) {
        // The code's text names the library; the cause, where the link
        // knows one (no Wine, no 32-bit programs here), says what to do.
        const QString duvod = OvladacDuvod();
        const int status = exitStatusForCode(kod);
        QJsonObject extra;
        if (!duvod.isEmpty()) extra.insert(QStringLiteral("reason"), duvod);
        out_.error(QStringLiteral("Chyba inicializace připojení - ") + TextChyby(kind, kod), kod,
                   status, extra);
        if (!duvod.isEmpty()) out_.note(QStringLiteral("Důvod: ") + duvod);
        return status;
    }
    data_.Handle = handle;
    data_.Pripojeno = true;
    // A rate the settings file brings that is not one of the nine goes out
    // as 9600 Bd, as the connection dialog's list shows it.
    const int index = RychlostNaIndex(data_.Rychlost);
    data_.Rychlost = IndexNaRychlost(index);
    kod = OvladacSetConfig(kind, handle, data_.Rychlost, IndexNaCasovani(index), OpakovaniSpojeni);
    if (kod != 0)
        return fail(QStringLiteral("Chyba inicializace připojení - ") + TextChyby(kind, kod), kod);
    if (!identify) return ExitOk;
    QString text;
    const uint8_t chyba = Identifikuj(kind, handle, data_.Adresa, modul_, text);
    if (chyba != 0) return fail(text, chyba);
    return ExitOk;
}

void Session::close() {
    if (!SpojeniOtevreno(&data_)) return;
    uint32_t handle = data_.Handle;
    OvladacDone(data_.Rozhrani, handle);
    data_.Handle = handle;
    data_.Pripojeno = false;
}

} // namespace km207
