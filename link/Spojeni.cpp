#include "Spojeni.h"

#include "Kxxx410.h"
#include "Operace.h"
#include "Rozhrani.h"
#include "Rychlosti.h"

namespace {

constexpr uint32_t Nejvyse16Bitu = 65535;

// The configuration block of the record's kind. Cell 0 of the LAN block
// refers to the record's own copy of the IP text.
void NaplnKonfiguraci(TData& Data, const TRozhrani& R, const TOtevreni& Jak) {
    Data.KonfigOvladace.fill(0);
    switch (R.Parametry) {
    case TParametry::CisloPortu:
        Data.KonfigOvladace[0] = Jak.CisloPortu.value_or(Data.CisloPortu);
        break;
    case TParametry::BazovaAdresa:
        Data.KonfigOvladace[0] = Data.BazovaAdresa;
        break;
    case TParametry::Zadne:
        break;
    case TParametry::Lan:
        // The driver reads the zero-terminated text during Init.
        Data.IpAdresaBajty = TextNaCp1250(Data.IpAdresa);
        Data.KonfigOvladace[0] = reinterpret_cast<uintptr_t>(Data.IpAdresaBajty.constData());
        Data.KonfigOvladace[1] = Data.UdpPort;
        Data.KonfigOvladace[2] = Data.UdpTimeout;
        break;
    }
}

} // namespace

QString ChybaParametru(const TData& Data) {
    const TRozhrani* R = NajdiRozhrani(Data.Rozhrani);
    if (!R) return TextNeznameRozhrani.toString();
    if (R->Parametry != TParametry::Lan) return {};
    if (Data.IpAdresa.isEmpty()) return TextNeplatnaIp.toString();
    if (Data.UdpPort > Nejvyse16Bitu) return TextNeplatnyPort.toString();
    if (Data.UdpTimeout > Nejvyse16Bitu) return TextNeplatnyTimeout.toString();
    return {};
}

TVysledekSpojeni OtevriSpojeni(TData& Data, uint32_t& Handle, const TOtevreni& Jak) {
    TVysledekSpojeni V;
    const auto Selhani = [&V](TKrokSpojeni Krok, uint32_t Kod, const QString& Text) {
        V.Krok = Krok;
        V.Kod = Kod;
        V.Text = Text;
        return V;
    };
    const QString Chyba = ChybaParametru(Data);
    if (!Chyba.isEmpty()) return Selhani(TKrokSpojeni::Parametry, KodNeplatne, Chyba);
    const uint8_t Druh = Data.Rozhrani;
    NaplnKonfiguraci(Data, *NajdiRozhrani(Druh), Jak);

    uint32_t Kod = OvladacInit(Druh, Handle, Data.KonfigOvladace);
    QString Text = TextChyby(Druh, Kod);
    if (Kod != 0) {
        Data.Pripojeno = false;
        return Selhani(TKrokSpojeni::Init, Kod, Text);
    }
    Data.Pripojeno = true;
    // Done with the handle as the driver left it; the texts are read before,
    // while the library is still bound.
    const auto Zavri = [&] {
        OvladacDone(Druh, Handle);
        Data.Handle = Handle;
        Data.Pripojeno = false;
    };
    if (Jak.Az >= TKrokSpojeni::SetConfig) {
        V.Rychlost = IndexNaRychlost(Jak.IndexRychlosti);
        Kod = OvladacSetConfig(Druh, Handle, V.Rychlost, IndexNaCasovani(Jak.IndexRychlosti),
                               OpakovaniSpojeni);
        Text = TextChyby(Druh, Kod);
        if (Kod != 0) {
            Zavri();
            return Selhani(TKrokSpojeni::SetConfig, Kod, Text);
        }
    }
    if (Jak.Az >= TKrokSpojeni::Identifikace) {
        // The three commands 200, B0 carried from each reply into the next.
        const uint8_t KodPrikazu = Identifikuj(TCil{Druh, Handle, Jak.Adresa}, V.Modul, Text);
        if (KodPrikazu != 0) {
            Zavri();
            return Selhani(TKrokSpojeni::Identifikace, KodPrikazu, Text);
        }
    }
    Data.Handle = Handle;
    return V;
}
