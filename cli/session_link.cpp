// The link of a km207 run: the record from the settings file and the
// command line, opening it and closing it.
#include "session.h"

#include "Kxxx410.h"
#include "Rozhrani.h"
#include "Rychlosti.h"
#include "Soubory.h"
#include "Spojeni.h"

#include <QCoreApplication>

namespace km207 {

namespace {

// The settings file's key of a LAN converter's field, and whether the
// command line gave the value.
struct FieldSource {
    const char* key;
    bool given;
};

FieldSource fieldSource(TPoleSpojeni field, const Options& o) {
    switch (field) {
    case TPoleSpojeni::IpAdresa:
        return {"IP adresa", o.ip.has_value()};
    case TPoleSpojeni::UdpPort:
        return {"UDP port", o.udpPort.has_value()};
    case TPoleSpojeni::UdpTimeout:
        return {"UDP timeout", o.timeout.has_value()};
    case TPoleSpojeni::Rozhrani:
        break;
    }
    return {"", true};
}

// Whether this run uses the settings file's value of Field: the command
// line did not give it, and it belongs to the kind in use.
bool usesFromFile(TPoleIni field, const Options& o, TParametry parametry) {
    switch (field) {
    case TPoleIni::Rozhrani:
        return !o.kind;
    case TPoleIni::Adresa:
        return !o.address;
    case TPoleIni::Rychlost:
        return !o.baud;
    case TPoleIni::BazovaAdresa:
        return parametry == TParametry::BazovaAdresa && !o.port;
    case TPoleIni::CisloPortu:
        return parametry == TParametry::CisloPortu && !o.port;
    case TPoleIni::UdpPort:
        return parametry == TParametry::Lan && !o.udpPort;
    case TPoleIni::UdpTimeout:
        return parametry == TParametry::Lan && !o.timeout;
    }
    return false;
}

} // namespace

bool Session::prepareLink(QString& error) {
    InitData(&data_);
    QString settings;
    std::vector<TNepouzitaHodnota> unusedValues;
    if (o_.config) {
        settings = *o_.config;
        QString why;
        QByteArray unused;
        if (!CtiSoubor(settings, 1024 * 1024, unused, why)) {
            error = QCoreApplication::translate("km207", "soubor nastavení: ") + why;
            return false;
        }
    } else if (!o_.noConfig) {
        settings = CestaCteniIni();
    }
    // The program's own reading (CtiIni), with what it did not use.
    if (!settings.isEmpty()) CtiIniZeSouboru(&data_, settings, &unusedValues);
    if (o_.kind) data_.Rozhrani = *o_.kind;
    if (o_.address) data_.Adresa = *o_.address;
    if (o_.baud) data_.Rychlost = *o_.baud;
    const uint8_t kind = data_.Rozhrani;
    const TRozhrani* rozhrani = NajdiRozhrani(kind);
    const TParametry parametry = rozhrani ? rozhrani->Parametry : TParametry::Zadne;
    for (const TNepouzitaHodnota& n : unusedValues)
        if (usesFromFile(n.Pole, o_, parametry))
            out_.note(QCoreApplication::translate(
                          "km207", "soubor %1, [%2] %3: hodnotu \"%4\" nelze použít, použije "
                                   "se %5")
                          .arg(JmenoSouboru(settings), n.Sekce, n.Klic, n.Hodnota, n.Pouzito));
    const QString kindText =
        QCoreApplication::translate("km207", " (rozhraní je %1)").arg(kindName(kind));
    if (o_.port) {
        const std::optional<uint32_t> port = portValue(kind, *o_.port);
        if (parametry == TParametry::CisloPortu && !port) {
            error = QCoreApplication::translate("km207", "--port potřebuje číslo portu COM 1-255");
            return false;
        }
        if (parametry == TParametry::BazovaAdresa && !port) {
            error = QCoreApplication::translate(
                "km207", "--port potřebuje bázovou adresu karty 0-FFFFh (např. 300h)");
            return false;
        }
        if (parametry == TParametry::CisloPortu) data_.CisloPortu = static_cast<uint8_t>(*port);
        if (parametry == TParametry::BazovaAdresa)
            data_.BazovaAdresa = static_cast<uint16_t>(*port);
        if (!rozhrani || !rozhrani->MaPort()) {
            error =
                QCoreApplication::translate("km207", "--port platí jen pro rozhraní com a isa") +
                kindText +
                (parametry == TParametry::Lan
                     ? QCoreApplication::translate("km207", "; UDP port je --udp-port")
                     : QString());
            return false;
        }
    }
    if (parametry != TParametry::Lan && (o_.ip || o_.udpPort || o_.timeout)) {
        error = QCoreApplication::translate(
                    "km207", "--ip, --udp-port a --timeout platí jen pro rozhraní lan") +
                kindText;
        return false;
    }
    if (o_.ip) data_.IpAdresa = *o_.ip;
    if (o_.udpPort) data_.UdpPort = *o_.udpPort;
    if (o_.timeout) data_.UdpTimeout = *o_.timeout;

    // The connection dialog refuses these before it opens anything; an
    // unknown kind is left to the opening, which names it.
    const std::optional<TChybaParametru> refused = ChybaParametru(data_);
    if (!refused || refused->Pole == TPoleSpojeni::Rozhrani) return true;
    error = refused->TextSHodnotou();
    // A value the command line did not give came from the settings file:
    // the error names the file and the key.
    const FieldSource source = fieldSource(refused->Pole, o_);
    if (!source.given && !settings.isEmpty())
        error += QCoreApplication::translate("km207", " (soubor %1, [%2] %3)")
                     .arg(JmenoSouboru(settings), NazevRozhrani(data_.Rozhrani),
                          QString::fromUtf8(source.key));
    return false;
}

int Session::open(bool identify) {
    TOtevreni jak;
    jak.Az = identify ? TKrokSpojeni::Identifikace : TKrokSpojeni::SetConfig;
    jak.Adresa = data_.Adresa;
    // A rate the settings file brings that is not one of the nine goes out
    // as 9600 Bd, as the connection dialog's list shows it.
    jak.IndexRychlosti = RychlostNaIndex(data_.Rychlost);
    data_.Rychlost = IndexNaRychlost(jak.IndexRychlosti);
    uint32_t handle = 0;
    const TVysledekSpojeni v = OtevriSpojeni(data_, handle, jak);
    modul_ = v.Modul;
    // The code's text names the library; the cause, where the link knows
    // one (no Wine, no 32-bit programs here, a library that crashed or hung
    // in its host), says what happened or what to do.
    const auto failure = [&](const QString& text) {
        const QString duvod = OvladacDuvod();
        const int status = exitStatusForCode(v.Kod);
        QJsonObject extra;
        if (!duvod.isEmpty()) extra.insert(QStringLiteral("reason"), duvod);
        out_.error(text, v.Kod, status, extra);
        if (!duvod.isEmpty()) out_.note(QCoreApplication::translate("km207", "Důvod: ") + duvod);
        return status;
    };
    switch (v.Krok) {
    case TKrokSpojeni::Hotovo:
        return ExitOk;
    case TKrokSpojeni::Init:
    case TKrokSpojeni::SetConfig:
        return failure(QCoreApplication::translate("km207", "Chyba inicializace připojení - ") +
                       v.Text);
    case TKrokSpojeni::Parametry:
        break;
    case TKrokSpojeni::Identifikace:
        return failure(v.Text);
    }
    return fail(v.Text, v.Kod);
}

void Session::close() {
    if (SpojeniOtevreno(&data_)) ZavriSpojeni(data_);
}

} // namespace km207
