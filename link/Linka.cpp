#include "Linka.h"

// Interfaces first; the poll and the long operations follow.

QString TextOdezvy(TOdezva) {
    return QString();
}

QStringList TextyPriznaku(const TPolozkaLinky&) {
    return {};
}

QString BityStavuNaText(uint32_t) {
    return QString();
}

bool TLinka::Nastav(const std::vector<TModulLinky>& Moduly, QString&) {
    Polozky_.clear();
    for (const TModulLinky& M : Moduly)
        Polozky_.push_back({M, {}});
    Interni_.assign(Polozky_.size(), {});
    ++Verze_;
    return true;
}

void TLinka::NastavZHledani(const std::vector<TNalez>&) {}

bool TLinka::Pridej(const TModulLinky& Modul, QString&) {
    Polozky_.push_back({Modul, {}});
    Interni_.push_back({});
    ++Verze_;
    return true;
}

void TLinka::Odeber(int) {}

void TLinka::NastavPopis(int, const QString&) {}

void TLinka::Porovnej(const TSouborLinky&) {}

TSouborLinky TLinka::Soubor() const {
    return {};
}

void TLinka::NastavMezVynechani(int Mez) {
    MezVynechani_ = Mez;
}

TVysledekCyklu TLinka::Cyklus(const TCil&, const TRizeni&, const std::function<void(int)>&) {
    return {};
}

void TLinka::Potvrd() {}

TVysledekNulovani TLinka::NulujStavy(const TCil&, const TRizeni&, const TPrubehLinky&) {
    return {};
}

QString SouborZalohyModulu(const TModulLinky&) {
    return QString();
}

int TVysledekZalohy::Ulozenych() const {
    return 0;
}

TVysledekZalohy ZalohujLinku(const TCil&, const std::vector<TModulLinky>&, const QString&,
                             const TRizeni&, const TPrubehLinky&) {
    return {};
}

QStringList TObnovaLinky::Kolize() const {
    return {};
}

bool NactiZalohuLinky(const QString&, TObnovaLinky&, QString& Chyba) {
    Chyba = QStringLiteral("Zatím neumím.");
    return false;
}

void NahledObnovy(const TCil&, TObnovaLinky&, const TRizeni&, const TPrubehLinky&) {}

bool ObnovLinku(const TCil&, TObnovaLinky&, const TRizeni&, const TPrubehLinky&) {
    return false;
}

TVysledekUvedeni UvedDoProvozu(const TCil&, const std::vector<TModulLinky>&, const TVolbyUvedeni&,
                               const TRizeni&, const std::function<void(const QString&)>&) {
    return {};
}
