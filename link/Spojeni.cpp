#include "Spojeni.h"

#include "Kxxx410.h"
#include "Operace.h"
#include "Rozhrani.h"
#include "Rychlosti.h"

#include <QCoreApplication>

namespace {

constexpr uint32_t Nejvyse16Bitu = 65535;

int Uzivatelu = 0;

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

TUzivatelSpojeni::TUzivatelSpojeni() {
    ++Uzivatelu;
}

TUzivatelSpojeni::~TUzivatelSpojeni() {
    --Uzivatelu;
}

int UzivateleSpojeni() {
    return Uzivatelu;
}

QString TextNeznameRozhrani() {
    return QCoreApplication::translate("Spojeni", "Neznámý typ rozhraní");
}

QString TextNeplatnaIp() {
    return QCoreApplication::translate("Spojeni", "Neplatná IP adresa");
}

QString TextNeplatnyPort() {
    return QCoreApplication::translate("Spojeni", "Neplatný UDP port");
}

QString TextNeplatnyTimeout() {
    return QCoreApplication::translate("Spojeni", "Neplatný UDP timeout");
}

QString TChybaParametru::TextSHodnotou() const {
    return Hodnota ? Text + QLatin1Char(' ') + QString::number(*Hodnota) : Text;
}

std::optional<TChybaParametru> ChybaParametru(const TData& Data) {
    const TRozhrani* R = NajdiRozhrani(Data.Rozhrani);
    if (!R) return TChybaParametru{TPoleSpojeni::Rozhrani, TextNeznameRozhrani(), {}};
    if (R->Parametry != TParametry::Lan) return std::nullopt;
    if (Data.IpAdresa.isEmpty())
        return TChybaParametru{TPoleSpojeni::IpAdresa, TextNeplatnaIp(), {}};
    if (Data.UdpPort > Nejvyse16Bitu)
        return TChybaParametru{TPoleSpojeni::UdpPort, TextNeplatnyPort(), Data.UdpPort};
    if (Data.UdpTimeout > Nejvyse16Bitu)
        return TChybaParametru{TPoleSpojeni::UdpTimeout, TextNeplatnyTimeout(), Data.UdpTimeout};
    return std::nullopt;
}

void ZavriSpojeni(TData& Data, uint32_t& Handle) {
    OvladacDone(Data.Rozhrani, Handle);
    Data.Handle = Handle;
    Data.Pripojeno = false;
}

void ZavriSpojeni(TData& Data) {
    uint32_t Handle = Data.Handle;
    ZavriSpojeni(Data, Handle);
}

TVysledekSpojeni OtevriSpojeni(TData& Data, uint32_t& Handle, const TOtevreni& Jak) {
    TVysledekSpojeni V;
    const auto Selhani = [&V](TKrokSpojeni Krok, uint32_t Kod, const QString& Text) {
        V.Krok = Krok;
        V.Kod = Kod;
        V.Text = Text;
        return V;
    };
    if (const std::optional<TChybaParametru> Chyba = ChybaParametru(Data))
        return Selhani(TKrokSpojeni::Parametry, KodNeplatne, Chyba->Text);
    const uint8_t Druh = Data.Rozhrani;
    NaplnKonfiguraci(Data, *NajdiRozhrani(Druh), Jak);

    uint32_t Kod = OvladacInit(Druh, Handle, Data.KonfigOvladace);
    QString Text = TextChyby(Druh, Kod);
    if (Kod != 0) {
        Data.Pripojeno = false;
        return Selhani(TKrokSpojeni::Init, Kod, Text);
    }
    Data.Pripojeno = true;
    // A later failure closes the link again; its text is read before Done,
    // while the library is still bound.
    if (Jak.Az >= TKrokSpojeni::SetConfig) {
        V.Rychlost = IndexNaRychlost(Jak.IndexRychlosti);
        Kod = OvladacSetConfig(Druh, Handle, V.Rychlost, IndexNaCasovani(Jak.IndexRychlosti),
                               OpakovaniSpojeni);
        Text = TextChyby(Druh, Kod);
        if (Kod != 0) {
            ZavriSpojeni(Data, Handle);
            return Selhani(TKrokSpojeni::SetConfig, Kod, Text);
        }
    }
    if (Jak.Az >= TKrokSpojeni::Identifikace) {
        // The three commands 200, B0 carried from each reply into the next.
        const uint8_t KodPrikazu = Identifikuj(TCil{Druh, Handle, Jak.Adresa}, V.Modul, Text);
        if (KodPrikazu != 0) {
            ZavriSpojeni(Data, Handle);
            return Selhani(TKrokSpojeni::Identifikace, KodPrikazu, Text);
        }
    }
    Data.Handle = Handle;
    return V;
}
