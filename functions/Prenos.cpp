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

bool TPrenos::Pauza_() {
    Pauza();
    return !Zastavit_;
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

bool TPrenos::Precti(const TData* Data, TKonfigurace& Konfig, const std::vector<TRegistr>& Registry,
                     const TPrubeh& Prubeh) {
    if (!SpojeniOtevreno(Data) || Registry.empty()) return false;
    // A call outside a button still counts as a transfer.
    if (!Bezi_) {
        bool Vysledek = false;
        Proved([&] { Vysledek = Precti(Data, Konfig, Registry, Prubeh); });
        return Vysledek;
    }
    const uint8_t Rozhrani = Data->Rozhrani;
    const uint32_t Handle = Data->Handle;
    const uint8_t Adresa = Data->Adresa;
    const int Pocet = static_cast<int>(Registry.size());
    Zobraz(Procenta(TextCteni, 0, Pocet));
    for (int k = 1; k <= Pocet; ++k) {
        const TRegistr& R = Registry[k - 1];
        uint8_t Hodnota = 0;
        const uint8_t Chyba = PrikazRegistru(Rozhrani, Handle, Adresa, PrikazCti, R.Cislo, Hodnota);
        if (Chyba != 0) {
            Zobraz(QStringLiteral(" ") + TextChyby(Rozhrani, Chyba));
            return false;
        }
        Konfig.Bajt(R.Bajt) = Hodnota;
        Zobraz(Procenta(TextCteni, k, Pocet));
        if ((k < Pocet || Prubeh.PauzaPoPoslednim) && !Pauza_()) return false;
    }
    Zobraz(TextPrecteno);
    return true;
}

bool TPrenos::Zapis(const TData* Data, const TKonfigurace& Konfig,
                    const std::vector<TRegistr>& Registry, const TPrubeh& Prubeh) {
    if (!SpojeniOtevreno(Data) || Registry.empty()) return false;
    if (!Bezi_) {
        bool Vysledek = false;
        Proved([&] { Vysledek = Zapis(Data, Konfig, Registry, Prubeh); });
        return Vysledek;
    }
    const uint8_t Rozhrani = Data->Rozhrani;
    const uint32_t Handle = Data->Handle;
    const uint8_t Adresa = Data->Adresa;
    const int Pocet = static_cast<int>(Registry.size());
    Zobraz(Procenta(TextZapis, 0, Pocet));
    for (int k = 1; k <= Pocet; ++k) {
        const TRegistr& R = Registry[k - 1];
        const uint8_t v = Konfig.Bajt(R.Bajt);
        if (Prubeh.ZapisOvereni) {
            QString Text;
            if (Prubeh.ZapisOvereni(Rozhrani, Handle, Adresa, R.Cislo, v, Text) != 0) {
                Zobraz(QStringLiteral(" ") + Text);
                return false;
            }
        } else {
            uint8_t Hodnota = v;
            uint8_t Chyba = PrikazRegistru(Rozhrani, Handle, Adresa, PrikazZapis, R.Cislo, Hodnota);
            if (Chyba != 0) {
                Zobraz(QStringLiteral(" ") + TextChyby(Rozhrani, Chyba));
                return false;
            }
            if (!Pauza_()) return false;
            Hodnota = 0;
            Chyba = PrikazRegistru(Rozhrani, Handle, Adresa, PrikazCti, R.Cislo, Hodnota);
            if (Chyba != 0) {
                Zobraz(QStringLiteral(" ") + TextChyby(Rozhrani, Chyba));
                return false;
            }
            if (Hodnota != v) {
                Zobraz(QStringLiteral(" ") + TextChybaZapisu);
                return false;
            }
        }
        Zobraz(Procenta(TextZapis, k, Pocet));
        if ((k < Pocet || Prubeh.PauzaPoPoslednim) && !Pauza_()) return false;
    }
    Zobraz(TextZapsano);
    return true;
}
