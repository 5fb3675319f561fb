#include "Prenos.h"

#include "Kxxx410.h"

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
    Prace();
    Bezi_ = false;
    Zastavit_ = false;
    // The close asked for during the transfer acts now that it has returned.
    auto Akce = std::move(Odlozena_);
    Odlozena_ = nullptr;
    if (Akce) Akce();
    return true;
}

void TPrenos::Zapsat(const TData* Data, const std::function<void()>& PrectiOkno,
                     const std::function<void()>& ZapisData) {
    if (Bezi_) return;
    if (!SpojeniOtevreno(Data)) {
        Zobraz(TextNeinicializovano);
        return;
    }
    Proved([&] {
        PrectiOkno();
        // One blank left by the controls means they are valid.
        if (StatusBar_ && StatusBar_->Text(0).length() <= 1) ZapisData();
    });
}

void TPrenos::Precist(const TData* Data, const std::function<void()>& PrectiData,
                      const std::function<void()>& ZapisOkno) {
    if (Bezi_) return;
    if (!SpojeniOtevreno(Data)) {
        Zobraz(TextNeinicializovano);
        return;
    }
    Proved([&] {
        PrectiData();
        ZapisOkno();
    });
}

void TPrenos::Prijmout(TData* Data, const TKonfigurace& Konfig,
                       const std::function<void()>& PrectiOkno) {
    PrectiOkno();
    if (Data && StatusBar_ && StatusBar_->Text(0).length() == 1) Data->Konfigurace = Konfig;
}

bool TPrenos::Odloz(const std::function<void()>& Akce) {
    if (!Bezi_) return false;
    Zastavit_ = true;
    if (!Odlozena_) Odlozena_ = Akce;
    return true;
}

namespace {

std::vector<uint8_t> Cisla(const std::vector<TRegistr>& Registry) {
    std::vector<uint8_t> C;
    for (const TRegistr& R : Registry)
        C.push_back(R.Cislo);
    return C;
}

} // namespace

bool TPrenos::Precti(const TData* Data, TKonfigurace& Konfig, const std::vector<TRegistr>& Registry,
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
                      return CtiRegistry(CilModulu(*Data), Konfig, Cisla(Registry), Rizeni, Prubeh,
                                         Volby);
                  });
}

bool TPrenos::Zapis(const TData* Data, const TKonfigurace& Konfig,
                    const std::vector<TRegistr>& Registry, const TVolbyBloku& Volby) {
    if (!SpojeniOtevreno(Data) || Registry.empty()) return false;
    if (!Bezi_) {
        bool Vysledek = false;
        Proved([&] { Vysledek = Zapis(Data, Konfig, Registry, Volby); });
        return Vysledek;
    }
    return Prenes(TextZapis, TextZapsano, static_cast<int>(Registry.size()),
                  [&](const TRizeni& Rizeni, const TPrubehBloku& Prubeh) {
                      return ZapisBlok(CilModulu(*Data), Konfig, Cisla(Registry), Rizeni, Prubeh,
                                       Volby);
                  });
}
