#include "Prenos.h"

#include "Kxxx410.h"
#include "Spojeni.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

QString Procenta(const QString& Zacatek, int Krok, int Pocet) {
    return Zacatek + QString::number(Krok * 100 / Pocet) + QStringLiteral(" %)");
}

} // namespace

void TPrenos::Zobraz(const QString& Text) {
    if (StatusBar_) StatusBar_->NastavText(0, Text);
}

bool TPrenos::Prenes(const QString& Probiha, const QString& Hotovo, int Pocet, const TAkce& Akce) {
    Zobraz(Procenta(Probiha, 0, Pocet));
    TRizeni Rizeni;
    Rizeni.Pauza = Pauza;
    Rizeni.Zastavit = [this] { return Zastavit_; };
    const TVysledekBloku V = Akce(Rizeni, [&](int Hotovo, int Celkem, uint8_t) {
        Zobraz(Procenta(Probiha, Hotovo, Celkem));
    });
    // A stop shows nothing: the window is closing or the operator asked.
    if (V.Konec == TKonecBloku::Chyba || V.Konec == TKonecBloku::Neshoda)
        Zobraz(QStringLiteral(" ") + V.Text);
    if (!V.Uspech() || V.ZastavenoNaKonci) return false;
    Zobraz(Hotovo);
    return true;
}

bool TPrenos::Proved(const std::function<void()>& Prace) {
    if (Bezi_) return false;
    Bezi_ = true;
    Zastavit_ = false;
    {
        const TUzivatelSpojeni Drzeni;
        Prace();
    }
    Bezi_ = false;
    Zastavit_ = false;
    // The close asked for during the transfer acts now that it has returned.
    auto Akce = std::move(Odlozena_);
    Odlozena_ = nullptr;
    if (Akce) Akce();
    return true;
}

bool TPrenos::Odloz(const std::function<void()>& Akce, bool Zastavit) {
    if (!Bezi_) return false;
    if (Zastavit) Zastavit_ = true;
    if (!Odlozena_) Odlozena_ = Akce;
    return true;
}

bool TPrenos::Precti(const TData* Data, TKonfigurace& Konfig, const std::vector<uint8_t>& Registry,
                     const TVolbyBloku& Volby) {
    if (!SpojeniOtevreno(Data) || Registry.empty()) return false;
    // A call outside a button still counts as a transfer.
    if (!Bezi_) {
        bool Vysledek = false;
        Proved([&] { Vysledek = Precti(Data, Konfig, Registry, Volby); });
        return Vysledek;
    }
    return Prenes(TextCteni, TextPrecteno, static_cast<int>(Registry.size()),
                  [&](const TRizeni& Rizeni, const TPrubehBloku& Prubeh) {
                      return CtiRegistry(CilModulu(*Data), Konfig, Registry, Rizeni, Prubeh, Volby);
                  });
}

bool TPrenos::Zapis(const TData* Data, const TKonfigurace& Konfig,
                    const std::vector<uint8_t>& Registry, const TVolbyBloku& Volby) {
    if (!SpojeniOtevreno(Data) || Registry.empty()) return false;
    if (!Bezi_) {
        bool Vysledek = false;
        Proved([&] { Vysledek = Zapis(Data, Konfig, Registry, Volby); });
        return Vysledek;
    }
    return Prenes(TextZapis, TextZapsano, static_cast<int>(Registry.size()),
                  [&](const TRizeni& Rizeni, const TPrubehBloku& Prubeh) {
                      return ZapisBlok(CilModulu(*Data), Konfig, Registry, Rizeni, Prubeh, Volby);
                  });
}
