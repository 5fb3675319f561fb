#include "GrafPrubehu.h"

#include "Vzorek.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr int Vlevo = 84; // lane names and scale
constexpr int Vpravo = 10;
constexpr int Nahore = 4;
constexpr int Osa = 22;        // time axis under the lanes
constexpr int VyskaStavu = 34; // two rows of bit names
constexpr int VyskaVstupu = 16;
constexpr int Mezera = 6;
// Counts over the rate's window that its axis spans at least.
constexpr double PulzuNaOse = 10;

const QColor BarvaCitace(0, 70, 170);
const QColor BarvaRychlosti(0, 130, 60);
const QColor BarvaVstupu(40, 40, 40);
const QColor BarvaZmeny(220, 110, 0);
const QColor BarvaMezery(255, 215, 215);
const QColor BarvaKurzoru(200, 0, 160);

// Time axis steps, ms.
constexpr qint64 Kroky[] = {100,    200,    500,     1000,    2000,    5000,
                            10000,  15000,  30000,   60000,   120000,  300000,
                            600000, 900000, 1800000, 3600000, 7200000, 10800000};

QString Cislo(double v, bool Cele) {
    return Cele ? QString::number(static_cast<qint64>(std::llround(v)))
                : QString::number(v, 'f', std::abs(v) < 100 ? 1 : 0);
}

// Rectangles of consecutive gap columns, merged.
void PridejMezeru(std::vector<QRect>& Mezery, int x, int Horni, int Vyska) {
    if (!Mezery.empty() && Mezery.back().right() == x - 1 && Mezery.back().top() == Horni)
        Mezery.back().setRight(x);
    else
        Mezery.emplace_back(x, Horni, 1, Vyska);
}

// Lanes from the top: counter, rate, status marks, the chosen inputs.
struct TPasy {
    QRect Citac, Rychlost, Stav;
    QRect Vstupy;          // the inputs' lanes in view, one under another
    std::vector<int> Bity; // the inputs chosen, DIN0 = 0
    int Vstup = 0;         // height of one input's lane; 0: none chosen
    int Vejde = 0;         // lanes the inputs' area holds
    int Navic() const { return std::max(0, static_cast<int>(Bity.size()) - Vejde); }
};

// Popisek: the height of a lane's name. A lane is never lower, so that the
// names never run into each other; the inputs take at most half the height
// the lanes share, and scroll when more are chosen than that holds.
TPasy RozvrhniPasy(const QRect& R, uint32_t Vybrane, int Popisek) {
    TPasy Pasy;
    for (int b = 0; b < 32; ++b)
        if (Vybrane >> b & 1u) Pasy.Bity.push_back(b);
    const int Pocet = static_cast<int>(Pasy.Bity.size());
    const int Volno = R.height() - VyskaStavu - 2 * Mezera;
    const int Nejnizsi = Popisek + 2;
    const int Oblast = std::max(Volno / 2, Nejnizsi);
    Pasy.Vejde = Oblast / Nejnizsi;
    if (Pocet > 0)
        Pasy.Vstup = std::clamp(Oblast / Pocet, Nejnizsi, std::max(VyskaVstupu, Nejnizsi));
    const int Analog = Volno - Pasy.Vstup * std::min(Pocet, Pasy.Vejde);
    Pasy.Citac = QRect(R.left(), R.top(), R.width(), Analog * 55 / 100);
    Pasy.Rychlost = QRect(R.left(), Pasy.Citac.bottom() + Mezera, R.width(),
                          Analog - Pasy.Citac.height() - Mezera);
    Pasy.Stav = QRect(R.left(), Pasy.Rychlost.bottom() + Mezera, R.width(), VyskaStavu);
    Pasy.Vstupy = QRect(R.left(), Pasy.Stav.bottom() + Mezera, R.width(),
                        Pasy.Vstup * std::min(Pocet, Pasy.Vejde));
    return Pasy;
}

// One drawing of the chart into the plot area R of Obdelnik: the visible
// span and one summary per pixel column, which every lane draws from.
class TKresba {
  public:
    TKresba(QPainter& P, const QRect& Obdelnik, const QRect& R, const THistoriePrubehu& H,
            qint64 T0, qint64 Rozsah, const QFont& Pismo)
        : P_(P), Obdelnik_(Obdelnik), R_(R), W_(R.width()), H_(H), T0_(T0), Rozsah_(Rozsah),
          FM_(Pismo) {
        Hranice_.resize(static_cast<size_t>(W_) + 1);
        for (int x = 0; x <= W_; ++x)
            Hranice_[static_cast<size_t>(x)] = H.Hledej(CasX(x));
        Sloupce_.resize(static_cast<size_t>(W_));
        for (int x = 0; x < W_; ++x) {
            const uint64_t a = Hranice_[static_cast<size_t>(x)],
                           b = Hranice_[static_cast<size_t>(x) + 1];
            if (a < b) {
                Sloupce_[static_cast<size_t>(x)] = H.Souhrn(a, b);
                Vse_.Pridej(Sloupce_[static_cast<size_t>(x)]);
            }
        }
        P.setFont(Pismo);
    }

    // Adds the gap columns of a trace in its lane. A failed read shades
    // its trace from its column until the next good sample, so a run of
    // slow failures reads as one gap.
    void Mezery(const QRect& Pas, uint8_t Stopa, uint8_t Platny) {
        bool VMezere = false;
        for (int x = 0; x < W_; ++x) {
            const uint64_t a = Hranice_[static_cast<size_t>(x)],
                           b = Hranice_[static_cast<size_t>(x) + 1];
            if (a < b) {
                const TSouhrn& S = Sloupce_[static_cast<size_t>(x)];
                const TBodPrubehu& Posledni = H_.Bod(b - 1);
                const bool Chybi =
                    Stopa == StopaCitac ? std::isnan(Posledni.Citac) : !(Posledni.Platne & Platny);
                if (S.Chybi & Stopa) PridejMezeru(Mezery_, R_.left() + x, Pas.top(), Pas.height());
                VMezere = Chybi;
            } else if (VMezere) {
                PridejMezeru(Mezery_, R_.left() + x, Pas.top(), Pas.height());
            }
        }
    }
    // Shades the gaps added so far.
    void VyplnMezery() {
        for (const QRect& M : Mezery_)
            P_.fillRect(M, BarvaMezery);
        Mezery_.clear();
    }

    // A line trace: per column its min..max, joined to the next column when
    // no sample lies between them; a gap stays a gap. The scale spans at
    // least NejmensiRozpeti about the values' middle.
    void Analogova(const QRect& Pas, uint8_t Stopa, double TBodPrubehu::*Pole, double TSouhrn::*Min,
                   double TSouhrn::*Max, const QColor& Barva, const QString& Nazev, bool Cele,
                   double NejmensiRozpeti = 0) {
        P_.setPen(QColor(210, 210, 210));
        P_.drawRect(Pas.adjusted(0, 0, -1, -1));
        P_.setPen(Barva);
        P_.drawText(QRect(Obdelnik_.left() + 2, Pas.top(), Vlevo - 6, FM_.height()), Qt::AlignLeft,
                    Nazev);
        if (!(Vse_.Platne & Stopa)) return;
        double Lo = Vse_.*Min, Hi = Vse_.*Max;
        if (Hi - Lo < 1e-9) {
            Lo -= 1;
            Hi += 1;
        }
        if (Hi - Lo < NejmensiRozpeti) {
            const double Stred = (Lo + Hi) / 2;
            Lo = Stred - NejmensiRozpeti / 2;
            Hi = Stred + NejmensiRozpeti / 2;
        }
        const double Sklon = (Pas.height() - 4) / (Hi - Lo);
        const auto Y = [&](double v) {
            return static_cast<int>(std::lround(Pas.bottom() - 2 - (v - Lo) * Sklon));
        };
        P_.drawText(QRect(Obdelnik_.left() + 2, Pas.top() + FM_.height(), Vlevo - 6, FM_.height()),
                    Qt::AlignRight, Cislo(Hi, Cele));
        P_.drawText(
            QRect(Obdelnik_.left() + 2, Pas.bottom() - FM_.height(), Vlevo - 6, FM_.height()),
            Qt::AlignRight, Cislo(Lo, Cele));
        Cary_.clear();
        int PredX = 0, PredY = 0;
        ProSloupce(Stopa, [&](int X, uint64_t a, uint64_t b, const TSouhrn& S, bool Navazuje) {
            const double Prvni = H_.Bod(a).*Pole, Posledni = H_.Bod(b - 1).*Pole;
            if (Navazuje && !std::isnan(Prvni)) Cary_.emplace_back(PredX, PredY, X, Y(Prvni));
            const int Dole = Y(S.*Min), Nahore = Y(S.*Max);
            // A lone sample still shows: a zero-length line draws nothing.
            Cary_.emplace_back(X, Dole, Dole == Nahore ? X + 1 : X, Nahore);
            PredX = X;
            PredY = std::isnan(Posledni) ? 0 : Y(Posledni);
            return !std::isnan(Posledni);
        });
        P_.drawLines(Cary_.data(), static_cast<int>(Cary_.size()));
    }

    // The logic trace of input Bit in the lane from Horni, Vyska high.
    void Logicka(int Bit, int Horni, int Vyska) {
        const uint32_t Maska = 1u << Bit;
        const int Y1 = Horni + 2, Y0 = Horni + Vyska - 3;
        P_.setPen(BarvaVstupu);
        P_.drawText(QRect(Obdelnik_.left() + 2, Horni, Vlevo - 6, Vyska), Qt::AlignVCenter,
                    QStringLiteral("DIN%1").arg(Bit));
        Cary_.clear();
        int PredX = 0, PredY = 0;
        ProSloupce(StopaVstupy,
                   [&](int X, uint64_t a, uint64_t b, const TSouhrn& S, bool Navazuje) {
                       const bool Jedna = S.VstupyOr & Maska, Nula = !(S.VstupyAnd & Maska);
                       const TBodPrubehu& Prvni = H_.Bod(a);
                       const TBodPrubehu& Posledni = H_.Bod(b - 1);
                       if (Navazuje && (Prvni.Platne & PlatneVstupy)) {
                           Cary_.emplace_back(PredX, PredY, X, PredY);
                           const int Y = (Prvni.Vstupy & Maska) ? Y1 : Y0;
                           if (Y != PredY) Cary_.emplace_back(X, PredY, X, Y);
                       }
                       if (Jedna && Nula)
                           Cary_.emplace_back(X, Y0, X, Y1);
                       else
                           Cary_.emplace_back(X, Jedna ? Y1 : Y0, X + 1, Jedna ? Y1 : Y0);
                       PredX = X;
                       PredY = (Posledni.Vstupy & Maska) ? Y1 : Y0;
                       return static_cast<bool>(Posledni.Platne & PlatneVstupy);
                   });
        P_.drawLines(Cary_.data(), static_cast<int>(Cary_.size()));
    }

    // Status marks: at most one per pixel column, a name where there is room.
    void ZnackyStavu(const QRect& Pas) {
        P_.setPen(QColor(210, 210, 210));
        P_.drawRect(Pas.adjusted(0, 0, -1, -1));
        P_.setPen(BarvaZmeny);
        P_.drawText(QRect(Obdelnik_.left() + 2, Pas.top(), Vlevo - 6, Pas.height()),
                    Qt::AlignVCenter, QCoreApplication::translate("TGrafPrubehu", "Stav"));
        const std::deque<TZmenaStavu>& Z = H_.ZmenyStavu();
        const auto PoCase = [](const TZmenaStavu& z, qint64 t) { return z.Cas < t; };
        auto j = std::lower_bound(Z.begin(), Z.end(), T0_, PoCase);
        int VolnoOd[2] = {R_.left(), R_.left()}; // where each row of names is free again
        QPen Znacka(BarvaZmeny, 1, Qt::DashLine);
        while (j != Z.end() && j->Cas < Pravy()) {
            const int x = static_cast<int>((j->Cas - T0_) * W_ / Rozsah_);
            const int X = R_.left() + x;
            P_.setPen(Znacka);
            P_.drawLine(X, R_.top(), X, R_.bottom());
            const QString Text = NazvyZmeny(j->Pred, j->Po);
            // A name goes right of its mark, or left of it where the plot
            // ends (a live chart's newest marks).
            const int Sirka = FM_.horizontalAdvance(Text);
            const int Od = X + 2 + Sirka <= R_.right() ? X + 2 : std::max(R_.left(), X - 2 - Sirka);
            const int Rada = Od >= VolnoOd[0] ? 0 : Od >= VolnoOd[1] ? 1 : -1;
            if (Rada >= 0) {
                P_.setPen(BarvaZmeny);
                P_.drawText(Od, Pas.top() + 2 + FM_.ascent() + Rada * (FM_.height() - 1), Text);
                VolnoOd[Rada] = Od + Sirka + 4;
            }
            j = std::lower_bound(j + 1, Z.end(), CasX(x + 1), PoCase);
        }
    }

    // Wall-clock axis.
    void CasovaOsa() {
        P_.setPen(Qt::black);
        P_.drawLine(R_.left(), R_.bottom() + 1, R_.right(), R_.bottom() + 1);
        qint64 Krok = Kroky[std::size(Kroky) - 1];
        for (qint64 k : Kroky)
            if (k * W_ / Rozsah_ >= 90) {
                Krok = k;
                break;
            }
        const QString Format =
            Krok < 1000 ? QStringLiteral("HH:mm:ss.zzz") : QStringLiteral("HH:mm:ss");
        for (qint64 t = (T0_ / Krok + 1) * Krok; t <= Pravy(); t += Krok) {
            const int X = R_.left() + static_cast<int>((t - T0_) * W_ / Rozsah_);
            P_.drawLine(X, R_.bottom() + 1, X, R_.bottom() + 5);
            const QString Text = QDateTime::fromMSecsSinceEpoch(t).toString(Format);
            const int w = FM_.horizontalAdvance(Text);
            P_.drawText(X - w / 2, R_.bottom() + 5 + FM_.ascent(), Text);
        }
    }

    // The cursor at time t, when it is in view.
    void Kurzor(qint64 t) {
        if (t < T0_ || t > Pravy()) return;
        const int X = R_.left() + static_cast<int>((t - T0_) * W_ / Rozsah_);
        P_.setPen(QPen(BarvaKurzoru, 1));
        P_.drawLine(X, R_.top(), X, R_.bottom());
    }

  private:
    qint64 Pravy() const { return T0_ + Rozsah_; }
    qint64 CasX(int x) const { return T0_ + Rozsah_ * x / W_; }

    // "+FN −PRF …": the bits a status change set and cleared, three at most.
    static QString NazvyZmeny(uint32_t Pred, uint32_t Po) {
        QStringList Nazvy;
        const uint32_t Zmena = Pred ^ Po;
        for (int b = 0; b < 32; ++b)
            if (Zmena >> b & 1u)
                Nazvy << (Po >> b & 1u ? QStringLiteral("+") : QStringLiteral("−")) +
                             ZnackaBituStavu(b);
        if (Nazvy.size() > 3) Nazvy = Nazvy.mid(0, 3) << QStringLiteral("…");
        return Nazvy.join(QLatin1Char(' '));
    }

    // Each pixel column that holds values of a trace, left to right. The
    // drawing function gets whether the column continues the last one drawn
    // (its first sample follows that one's last, which was good) and says
    // whether its own last sample is good.
    template <typename F> void ProSloupce(uint8_t Stopa, const F& Kresli) const {
        bool Predchozi = false;
        uint64_t PredBod = 0;
        for (int x = 0; x < W_; ++x) {
            const uint64_t a = Hranice_[static_cast<size_t>(x)],
                           b = Hranice_[static_cast<size_t>(x) + 1];
            if (a == b) continue;
            const TSouhrn& S = Sloupce_[static_cast<size_t>(x)];
            if (!(S.Platne & Stopa)) {
                Predchozi = false;
                continue;
            }
            Predchozi = Kresli(R_.left() + x, a, b, S, Predchozi && PredBod + 1 == a);
            PredBod = b - 1;
        }
    }

    QPainter& P_;
    const QRect Obdelnik_, R_;
    const int W_;
    const THistoriePrubehu& H_;
    const qint64 T0_, Rozsah_;
    const QFontMetrics FM_;
    std::vector<uint64_t> Hranice_; // first sample of each column, and the end
    std::vector<TSouhrn> Sloupce_;
    TSouhrn Vse_; // of every column in view
    std::vector<QRect> Mezery_;
    // Whole pixels: the raster engine draws integer cosmetic lines on its
    // fast path, without a transform per point.
    std::vector<QLine> Cary_;
};

} // namespace

TGrafPrubehu::TGrafPrubehu(const THistoriePrubehu* Historie, QWidget* Rodic)
    : QWidget(Rodic), Historie_(Historie) {
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(400, 260);
    setAttribute(Qt::WA_OpaquePaintEvent);
    Pravy_ = QDateTime::currentMSecsSinceEpoch();
    Odlozene_ = new QTimer(this);
    Odlozene_->setSingleShot(true);
    connect(Odlozene_, &QTimer::timeout, this, qOverload<>(&QWidget::update));
    ScrollBar1 = new QScrollBar(Qt::Vertical, this);
    ScrollBar1->setObjectName(QStringLiteral("ScrollBar1"));
    ScrollBar1->setAccessibleName(tr("Posun vstupů v grafu"));
    ScrollBar1->hide();
    connect(ScrollBar1, &QScrollBar::valueChanged, this, qOverload<>(&QWidget::update));
    NastavOknoRychlosti(TRychlostCitace::VychoziOkno);
}

void TGrafPrubehu::NastavVstupy(uint32_t Vybrane) {
    if (Vybrane == Vybrane_) return;
    Vybrane_ = Vybrane;
    UmistiPosuvnik();
    update();
}

int TGrafPrubehu::VejdeSeVstupu() const {
    return RozvrhniPasy(Plocha(), 0, fontMetrics().height()).Vejde;
}

void TGrafPrubehu::NastavOknoRychlosti(int Ms) {
    NejmensiRozpetiRychlosti_ = PulzuNaOse * 1000.0 / std::max(1, Ms);
    update();
}

void TGrafPrubehu::UmistiPosuvnik() {
    const QRect R = Plocha();
    const TPasy Pasy = RozvrhniPasy(R, Vybrane_, fontMetrics().height());
    ScrollBar1->setRange(0, Pasy.Navic());
    ScrollBar1->setPageStep(std::max(1, Pasy.Vejde));
    ScrollBar1->setVisible(Pasy.Navic() > 0);
    // In the margin Plocha leaves for it, beside the inputs' lanes.
    if (Pasy.Navic() > 0)
        ScrollBar1->setGeometry(R.right() + 3, Pasy.Vstupy.top(), ScrollBar1->sizeHint().width(),
                                Pasy.Vstupy.height());
}

void TGrafPrubehu::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    UmistiPosuvnik();
}

void TGrafPrubehu::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    if (e->type() == QEvent::FontChange || e->type() == QEvent::StyleChange) UmistiPosuvnik();
}

void TGrafPrubehu::NastavZive(bool Zive) {
    Zive_ = Zive;
    if (Zive_ && !Historie_->Prazdna()) Pravy_ = Historie_->Bod(Historie_->Konec() - 1).Cas;
    update();
    emit PohledZmenen();
}

void TGrafPrubehu::NovyVzorek() {
    if (!Zive_ || Historie_->Prazdna()) return;
    Pravy_ = Historie_->Bod(Historie_->Konec() - 1).Cas;
    const qint64 Uplynulo = Kresleno_.isValid() ? Kresleno_.elapsed() : NejcastejiKresli;
    if (Uplynulo >= NejcastejiKresli)
        update();
    else if (!Odlozene_->isActive())
        Odlozene_->start(static_cast<int>(NejcastejiKresli - Uplynulo));
}

void TGrafPrubehu::NastavPohled(qint64 Pravy, qint64 Rozsah) {
    Rozsah_ = std::clamp(Rozsah, NejmensiRozsah, NejvetsiRozsah);
    Pravy_ = Pravy;
    update();
    emit PohledZmenen();
}

void TGrafPrubehu::Priblizit(double Kolikrat, std::optional<qint64> Kolem) {
    const qint64 Novy = std::clamp(static_cast<qint64>(static_cast<double>(Rozsah_) * Kolikrat),
                                   NejmensiRozsah, NejvetsiRozsah);
    // A live view zooms about its right edge and stays live.
    if (Kolem && !Zive_) {
        const double Podil = static_cast<double>(Pravy_ - *Kolem) / static_cast<double>(Rozsah_);
        Pravy_ = *Kolem + static_cast<qint64>(Podil * static_cast<double>(Novy));
    }
    Rozsah_ = Novy;
    update();
    emit PohledZmenen();
}

void TGrafPrubehu::Posun(qint64 Ms) {
    Zive_ = false;
    Pravy_ += Ms;
    update();
    emit PohledZmenen();
}

std::optional<uint64_t> TGrafPrubehu::Kurzor() const {
    if (!Kurzor_ || Historie_->Prazdna()) return std::nullopt;
    uint64_t s = Historie_->Hledej(*Kurzor_);
    if (s == Historie_->Konec()) return s - 1;
    if (s > Historie_->Prvni() &&
        *Kurzor_ - Historie_->Bod(s - 1).Cas < Historie_->Bod(s).Cas - *Kurzor_)
        --s;
    return s;
}

void TGrafPrubehu::NastavKurzor(std::optional<qint64> Cas) {
    Kurzor_ = Cas;
    update();
    emit KurzorZmenen();
}

void TGrafPrubehu::PosunKurzor(int Vzorku) {
    if (Historie_->Prazdna()) return;
    std::optional<uint64_t> s = Kurzor();
    int64_t n =
        s ? static_cast<int64_t>(*s) + Vzorku : static_cast<int64_t>(Historie_->Hledej(Pravy_)) - 1;
    n = std::clamp<int64_t>(n, static_cast<int64_t>(Historie_->Prvni()),
                            static_cast<int64_t>(Historie_->Konec()) - 1);
    const qint64 Cas = Historie_->Bod(static_cast<uint64_t>(n)).Cas;
    if (Cas > Pravy_ || Cas < Pravy_ - Rozsah_) {
        Zive_ = false;
        Pravy_ = Cas + Rozsah_ / 2;
        emit PohledZmenen();
    }
    NastavKurzor(Cas);
}

QRect TGrafPrubehu::Plocha(const QRect& Obdelnik) const {
    QRect R = Obdelnik.adjusted(Vlevo, Nahore, -Vpravo, -Osa);
    // Lanes that scroll leave room for the scroll bar, in every lane so
    // that the time axis stays one.
    if (RozvrhniPasy(R, Vybrane_, fontMetrics().height()).Navic() > 0)
        R.setRight(R.right() - ScrollBar1->sizeHint().width() - 2);
    return R;
}

qint64 TGrafPrubehu::CasNaX(int X) const {
    const QRect R = Plocha();
    return Pravy_ - Rozsah_ + Rozsah_ * (X - R.left()) / std::max(1, R.width());
}

void TGrafPrubehu::paintEvent(QPaintEvent*) {
    Kresleno_.start();
    QPainter P(this);
    Kresli(P, rect());
}

void TGrafPrubehu::Kresli(QPainter& P, const QRect& Obdelnik) const {
    P.fillRect(Obdelnik, Qt::white);
    const QRect R = Plocha(Obdelnik);
    if (R.width() < 2 || R.height() < 40) return;
    const TPasy Pasy = RozvrhniPasy(R, Vybrane_, fontMetrics().height());
    TKresba K(P, Obdelnik, R, *Historie_, Pravy_ - Rozsah_, Rozsah_, font());

    // Gaps first, under the traces.
    K.Mezery(Pasy.Citac, StopaCitac, 0);
    K.Mezery(Pasy.Rychlost, StopaCitac, 0);
    K.Mezery(Pasy.Stav, StopaStav, PlatnyStav);
    if (Pasy.Vstup > 0) K.Mezery(Pasy.Vstupy, StopaVstupy, PlatneVstupy);
    K.VyplnMezery();

    K.Analogova(Pasy.Citac, StopaCitac, &TBodPrubehu::Citac, &TSouhrn::CitacMin, &TSouhrn::CitacMax,
                BarvaCitace, tr("Čítač"), true);
    K.Analogova(Pasy.Rychlost, StopaRychlost, &TBodPrubehu::Rychlost, &TSouhrn::RychlostMin,
                &TSouhrn::RychlostMax, BarvaRychlosti, tr("Rychlost/s"), false,
                NejmensiRozpetiRychlosti_);
    const int Prvni = std::clamp(ScrollBar1->value(), 0, Pasy.Navic());
    for (int i = 0; i < Pasy.Vejde && Prvni + i < static_cast<int>(Pasy.Bity.size()); ++i)
        K.Logicka(Pasy.Bity[static_cast<size_t>(Prvni + i)], Pasy.Vstupy.top() + i * Pasy.Vstup,
                  Pasy.Vstup);
    K.ZnackyStavu(Pasy.Stav);
    K.CasovaOsa();

    if (Historie_->Prazdna()) {
        P.setPen(Qt::gray);
        P.drawText(R, Qt::AlignCenter, tr("Zatím žádné hodnoty"));
    }
    if (const std::optional<uint64_t> k = Kurzor()) K.Kurzor(Historie_->Bod(*k).Cas);
}

void TGrafPrubehu::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return QWidget::mousePressEvent(e);
    Tah_ = e->position().toPoint();
    TahPravy_ = Pravy_;
    Tazeno_ = false;
}

void TGrafPrubehu::mouseMoveEvent(QMouseEvent* e) {
    if (!Tah_) return;
    const int dx = e->position().toPoint().x() - Tah_->x();
    if (!Tazeno_ && std::abs(dx) < 4) return;
    if (!Tazeno_) {
        Tazeno_ = true;
        Zive_ = false;
    }
    Pravy_ = TahPravy_ - Rozsah_ * dx / std::max(1, Plocha().width());
    update();
    emit PohledZmenen();
}

void TGrafPrubehu::mouseReleaseEvent(QMouseEvent* e) {
    if (!Tah_ || e->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(e);
    if (!Tazeno_) NastavKurzor(CasNaX(e->position().toPoint().x()));
    Tah_.reset();
}

void TGrafPrubehu::wheelEvent(QWheelEvent* e) {
    const double Kroku = e->angleDelta().y() / 120.0;
    if (Kroku == 0) return;
    Priblizit(std::pow(0.8, Kroku), CasNaX(e->position().toPoint().x()));
    e->accept();
}

void TGrafPrubehu::keyPressEvent(QKeyEvent* e) {
    const bool Shift = e->modifiers() & Qt::ShiftModifier;
    switch (e->key()) {
    case Qt::Key_Left:
        Shift ? PosunKurzor(-1) : Posun(-Rozsah_ / 10);
        break;
    case Qt::Key_Right:
        Shift ? PosunKurzor(1) : Posun(Rozsah_ / 10);
        break;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        Priblizit(0.5);
        break;
    case Qt::Key_Minus:
        Priblizit(2.0);
        break;
    case Qt::Key_Home:
        Zive_ = false;
        if (!Historie_->Prazdna())
            NastavPohled(Historie_->Bod(Historie_->Prvni()).Cas + Rozsah_, Rozsah_);
        break;
    case Qt::Key_End:
        NastavZive(true);
        break;
    default:
        QWidget::keyPressEvent(e);
        return;
    }
    e->accept();
}
