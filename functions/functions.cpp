#include "functions.h"

#include "Kxxx410.h"

#include <QGuiApplication>
#include <QPalette>
#include <QScreen>

TStatusBar::TStatusBar(QWidget* parent, const QString& name, const std::vector<int>& widths)
    : QStatusBar(parent) {
    setObjectName(name);
    setSizeGripEnabled(false);
    for (size_t i = 0; i < widths.size(); ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(name + QLatin1Char('_') + QString::number(i));
        label->setTextFormat(Qt::PlainText);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        if (widths[i] >= 0) {
            label->setFixedWidth(widths[i]);
            addWidget(label, 0);
        } else {
            addWidget(label, 1);
        }
        panels_.push_back(label);
    }
}

void TStatusBar::NastavText(int panel, const QString& text) {
    if (panel < 0 || panel >= Pocet()) return;
    panels_[panel]->setText(text);
    panels_[panel]->repaint();
}

QString TStatusBar::Text(int panel) const {
    if (panel < 0 || panel >= Pocet()) return {};
    return panels_[panel]->text();
}

QLabel* TStatusBar::Panel(int panel) const {
    if (panel < 0 || panel >= Pocet()) return nullptr;
    return panels_[panel];
}

QString BitNaText(uint8_t Hodnota, uint8_t Index) {
    if (Index > 7) return QStringLiteral("0");
    return (Hodnota >> Index) & 1u ? QStringLiteral("1") : QStringLiteral("0");
}

void NastavBilyRam(QFrame* Ram) {
    Ram->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Ram->setLineWidth(1);
    QPalette paleta = Ram->palette();
    paleta.setColor(QPalette::Window, Qt::white);
    paleta.setColor(QPalette::WindowText, Qt::black);
    Ram->setPalette(paleta);
    Ram->setAutoFillBackground(true);
}

std::array<QLabel*, 32> PostavMrizkuBitu(QWidget* Okno, int x, int y,
                                         const std::array<QString, 32>& Jmena) {
    constexpr int SirkaSloupce = 105;
    constexpr int Mezera = 8;
    constexpr int VyskaRadku = 18;
    std::array<QLabel*, 32> hodnoty{};
    for (int k = 0; k < 4; ++k) {
        auto* ram = new QFrame(Okno);
        ram->setObjectName(QStringLiteral("Panel%1").arg(k + 1));
        NastavBilyRam(ram);
        ram->setGeometry(x + k * (SirkaSloupce + Mezera), y, SirkaSloupce, 8 * VyskaRadku + 8);
        for (int r = 0; r < 8; ++r) {
            const int n = 8 * k + r;
            auto* jmeno = new QLabel(Jmena[n], ram);
            jmeno->setObjectName(QStringLiteral("Label%1").arg(n + 1));
            jmeno->setTextFormat(Qt::PlainText);
            jmeno->setGeometry(8, 4 + r * VyskaRadku, 60, VyskaRadku);
            auto* hodnota = new QLabel(QStringLiteral("0"), ram);
            hodnota->setObjectName(QStringLiteral("Label%1").arg(n + 33));
            hodnota->setTextFormat(Qt::PlainText);
            hodnota->setGeometry(72, 4 + r * VyskaRadku, 24, VyskaRadku);
            hodnoty[n] = hodnota;
        }
    }
    return hodnoty;
}

void CtiBity(const TData* Data, uint8_t Adresa, uint8_t Prikaz, uint8_t P5,
             const std::array<QLabel*, 32>& Hodnoty, TStatusBar* Stav) {
    if (!Data) return;
    if (!SpojeniOtevreno(Data)) {
        Stav->NastavText(0, TextNeinicializovano);
        return;
    }
    TOdpoved odpoved{};
    uint8_t b0 = 0, chyba = 0;
    uint8_t b[4] = {0, 0, 0, 0};
    ProvedPrikaz(Data->Rozhrani, Data->Handle, Adresa, Prikaz, P5, &b0, &b[0], &b[1], &b[2], &b[3],
                 chyba, odpoved);
    if (chyba == 0)
        for (int n = 0; n < 32; ++n)
            Hodnoty[n]->setText(BitNaText(b[n / 8], static_cast<uint8_t>(n % 8)));
    Stav->NastavText(0, QLatin1Char(' ') + TextChyby(Data->Rozhrani, chyba));
}

void VycentrujNaObrazovce(QWidget* Okno) {
    QScreen* obrazovka = Okno->screen() ? Okno->screen() : QGuiApplication::primaryScreen();
    if (!obrazovka) return;
    QRect ramec = Okno->frameGeometry();
    ramec.moveCenter(obrazovka->availableGeometry().center());
    Okno->move(ramec.topLeft());
}

QPushButton* NoveTlacitko(QWidget* Rodic, const QString& Jmeno, const QString& Text, int X, int Y,
                          int Sirka, int Vyska) {
    auto* tlacitko = new QPushButton(Text, Rodic);
    tlacitko->setObjectName(Jmeno);
    tlacitko->setAutoDefault(false);
    tlacitko->setDefault(false);
    tlacitko->setGeometry(X, Y, Sirka, Vyska);
    return tlacitko;
}

void PevnaVelikost(QWidget* Okno, TStatusBar* StatusBar, int Sirka, int Vyska) {
    Okno->setFixedSize(Sirka, Vyska);
    const int h = StatusBar->sizeHint().height();
    StatusBar->setGeometry(0, Vyska - h, Sirka, h);
}
