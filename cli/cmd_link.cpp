// km207 identify and scan.
#include "session.h"

#include "stop.h"

#include "Kxxx410.h"
#include "Rychlosti.h"

#include <algorithm>

#include <QCoreApplication>

namespace km207 {

int Session::identify() {
    if (const int s = openLink()) return s;
    const QString modul = ModulNaText(modul_);
    out_.result(modul, {{QStringLiteral("module"), modul},
                        {QStringLiteral("address"), data_.Adresa},
                        {QStringLiteral("baud"), static_cast<qint64>(data_.Rychlost)}});
    return ExitOk;
}

int Session::scan() {
    if (const int s = openLink()) return s;
    THledani h;
    h.Od = o_.first;
    h.Do = o_.last;
    h.Rychlosti = o_.baudIndices;
    // No pause between addresses: a silent address already costs a timeout.
    h.Rizeni.Zastavit = [this] { return !goOn(); };
    h.Prubeh = [this](int done, int total, uint8_t address, int index) {
        out_.progress(done, total,
                      QCoreApplication::translate("km207", "adresa %1, %2 Bd")
                          .arg(address)
                          .arg(IndexNaRychlost(index)));
    };
    std::vector<uint8_t> shown;
    h.Nalezeno = [this, &shown](const TNalez& n) {
        // One line per module: a module that answers at another rate too
        // (a LAN converter answers at every rate) is named once, and its
        // rates at the end.
        if (std::find(shown.begin(), shown.end(), n.Adresa) != shown.end()) return;
        shown.push_back(n.Adresa);
        const QString modul = ModulNaText(n.Modul);
        const uint32_t rate = IndexNaRychlost(n.IndexRychlosti);
        out_.result(QCoreApplication::translate("km207", "adresa %1  %2 Bd  %3")
                        .arg(n.Adresa)
                        .arg(rate)
                        .arg(modul),
                    {{QStringLiteral("address"), n.Adresa},
                     {QStringLiteral("baud"), static_cast<qint64>(rate)},
                     {QStringLiteral("module"), modul}});
    };
    const TVysledekHledani v = Hledej(CilModulu(data_), h);
    if (scanFound_) *scanFound_ = v.Nalezene;
    out_.endProgress();
    if (!v.Text.isEmpty()) return fail(v.Text, v.Chyba);
    // Texts come from the driver, so they are read while it is still bound.
    for (const auto& [index, code] : v.OdmitnuteRychlosti)
        out_.note(QCoreApplication::translate("km207", "rychlost %1 Bd přeskočena: %2 (kód %3)")
                      .arg(IndexNaRychlost(index))
                      .arg(TextChyby(data_.Rozhrani, code))
                      .arg(code));
    for (const auto& entry : v.Poruchy)
        out_.note(QCoreApplication::translate("km207", "jiné odpovědi na lince: ") +
                  TextPoruchy(v, data_.Rozhrani, entry.first));
    for (uint8_t address : shown) {
        const std::vector<int> rates = RychlostiModulu(v.Nalezene, address);
        if (rates.size() < 2) continue;
        QStringList names;
        for (int index : rates)
            names << QString::number(IndexNaRychlost(index));
        out_.note(QCoreApplication::translate(
                      "km207", "modul na adrese %1 odpovídá na %2 rychlostech (%3 Bd); "
                               "počítá se jednou")
                      .arg(address)
                      .arg(rates.size())
                      .arg(names.join(QStringLiteral(", "))));
    }
    if (v.ChybaObnoveni != 0)
        out_.note(QCoreApplication::translate(
                      "km207", "vlastní rychlost linky se nepodařilo obnovit: %1 (kód %2)")
                      .arg(TextChyby(data_.Rozhrani, v.ChybaObnoveni))
                      .arg(v.ChybaObnoveni));
    // Damaged replies, or replies of another module: more than one module
    // may answer at these addresses.
    std::vector<uint8_t> collisions;
    for (const auto& [code, addresses] : v.AdresyPoruch)
        if (NejasnaOdpoved(code))
            collisions.insert(collisions.end(), addresses.begin(), addresses.end());
    std::sort(collisions.begin(), collisions.end());
    collisions.erase(std::unique(collisions.begin(), collisions.end()), collisions.end());
    const int found = PocetModulu(v.Nalezene);
    const QString summary =
        QCoreApplication::translate("km207", "prohledáno %1 z %2, nalezeno modulů: %3%4")
            .arg(v.Hotovo)
            .arg(v.Celkem)
            .arg(found)
            .arg(v.Zastaveno ? QCoreApplication::translate("km207", " (přerušeno)") : QString());
    if (out_.json())
        out_.result(summary, {{QStringLiteral("scanned"), v.Hotovo},
                              {QStringLiteral("total"), v.Celkem},
                              {QStringLiteral("found"), found},
                              {QStringLiteral("collisions"), registerArray(collisions)},
                              {QStringLiteral("stopped"), v.Zastaveno}});
    else
        out_.note(summary);
    // Stopped, the search is not complete whatever it found.
    if (v.Zastaveno) {
        out_.error(QCoreApplication::translate("km207", "Hledání přerušeno."), std::nullopt,
                   ExitLink);
        return ExitLink;
    }
    if (!collisions.empty()) {
        QStringList names;
        for (uint8_t a : collisions)
            names << QString::number(a);
        const QString where =
            collisions.size() == 1
                ? QCoreApplication::translate("km207",
                                              "Na adrese %1 může odpovídat více modulů najednou.")
                : QCoreApplication::translate(
                      "km207", "Na adresách %1 může odpovídat více modulů najednou.");
        out_.error(where.arg(names.join(QStringLiteral(", "))), std::nullopt, ExitModule,
                   {{QStringLiteral("collisions"), registerArray(collisions)}});
        return ExitModule;
    }
    if (found == 0) {
        out_.error(QCoreApplication::translate("km207", "Žádný modul neodpověděl."), std::nullopt,
                   ExitLink);
        return ExitLink;
    }
    return ExitOk;
}

} // namespace km207
