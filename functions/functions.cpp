#include "functions.h"

#include "Jazyk.h"

#include "Kxxx410.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLayout>
#include <QLocale>
#include <QMessageBox>
#include <QPalette>
#include <QScreen>
#include <QWindow>

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

// A status panel. Its one-line size is the font's advance of its text plus
// what frame, margin and indent add, worked out once per font: QLabel lays
// its text out three times for that, on every text change of a transfer.
class TPanel : public QLabel {
  public:
    using QLabel::QLabel;

    QSize sizeHint() const override {
        if (wordWrap() || textFormat() != Qt::PlainText) return QLabel::sizeHint();
        if (!extra_.isValid()) {
            // A label like this one, measured the long way on a sample.
            QLabel vzor(QStringLiteral("x"));
            vzor.setFont(font());
            vzor.setFrameStyle(frameStyle());
            vzor.setLineWidth(lineWidth());
            vzor.setMargin(margin());
            vzor.setIndent(indent());
            vzor.setAlignment(alignment());
            const QSize s = vzor.sizeHint();
            extra_ =
                QSize(s.width() - fontMetrics().horizontalAdvance(QLatin1Char('x')), s.height());
        }
        return QSize(fontMetrics().horizontalAdvance(text()) + extra_.width(), extra_.height());
    }
    QSize minimumSizeHint() const override {
        return wordWrap() || textFormat() != Qt::PlainText ? QLabel::minimumSizeHint() : sizeHint();
    }

  protected:
    void changeEvent(QEvent* e) override {
        if (e->type() == QEvent::FontChange || e->type() == QEvent::StyleChange) extra_ = QSize();
        QLabel::changeEvent(e);
    }

  private:
    mutable QSize extra_;
};

} // namespace

TStatusBar::TStatusBar(QWidget* parent, const QString& name, const std::vector<int>& widths)
    : QStatusBar(parent), widths_(widths), needs_(widths.size(), 0), heights_(widths.size(), 0) {
    setObjectName(name);
    setSizeGripEnabled(false);
    for (size_t i = 0; i < widths.size(); ++i) {
        auto* label = new TPanel(this);
        label->setObjectName(name + QLatin1Char('_') + QString::number(i));
        label->setTextFormat(Qt::PlainText);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        // A panel fills its own background, so repainting its text does not
        // repaint the bar and the window behind it as well.
        label->setAutoFillBackground(true);
        if (widths[i] >= 0) label->setFixedWidth(widths[i]);
        // The last panel may take the rest of the bar when its text needs it.
        addWidget(label, widths[i] < 0 || i + 1 == widths.size() ? 1 : 0);
        label->installEventFilter(this);
        panels_.push_back(label);
    }
}

void TStatusBar::NastavText(int panel, const QString& text) {
    if (panel < 0 || panel >= Pocet()) return;
    QLabel* p = panels_[panel];
    // The same text again (a view polling "V pořádku") keeps its size:
    // painted again, not measured again.
    if (p->text() == text) {
        p->repaint();
        return;
    }
    // A label counts the height it was given into what its text needs;
    // the new text is measured without it.
    if (p->minimumHeight() > 0) p->setMinimumHeight(0);
    p->setText(text);
    Prizpusob(panel);
    p->repaint();
}

int SirkaTextu(QLabel* Panel) {
    if (Panel->wordWrap()) Panel->setWordWrap(false);
    return Panel->sizeHint().width();
}

int ZalomText(QLabel* Panel, int Sirka, int Potreba) {
    const bool zalomit = Potreba > Sirka;
    if (Panel->wordWrap() != zalomit) Panel->setWordWrap(zalomit);
    return zalomit ? Panel->heightForWidth(Sirka) : 0;
}

void TStatusBar::Prizpusob(int panel) {
    QLabel* p = panels_[panel];
    const int need = SirkaTextu(p);
    needs_[panel] = need;
    const int given = widths_[panel];
    if (given >= 0) {
        const bool rest = panel + 1 == Pocet() && need > given;
        p->setMaximumWidth(rest ? QWIDGETSIZE_MAX : std::max(given, need));
    }
    // The panel's new geometry now, so the repaint that follows shows it.
    if (layout()) layout()->activate();
    Zalom(panel);
}

void TStatusBar::Zalom(int panel) {
    QLabel* p = panels_[panel];
    if (p->minimumHeight() > 0) {
        p->setMinimumHeight(0);
        // Forget the sizes the label measured under that height.
        p->setWordWrap(p->wordWrap());
    }
    const int height = ZalomText(p, p->width(), needs_[panel]);
    if (height > 0) p->setMinimumHeight(height);
    if (height == heights_[panel]) return;
    heights_[panel] = height;
    // The bar's height follows its tallest panel.
    reformat();
    PrizpusobOkno();
}

void TStatusBar::PevneOkno(QWidget* Okno, int Sirka, int Vyska) {
    window_ = Okno;
    client_ = QSize(Sirka, Vyska);
    baseHeight_ = sizeHint().height();
    PrizpusobOkno();
}

void TStatusBar::PrizpusobOkno() {
    if (!window_) return;
    const int height = std::max(baseHeight_, sizeHint().height());
    const int top = client_.height() - baseHeight_;
    window_->setFixedSize(client_.width(), top + height);
    setGeometry(0, top, client_.width(), height);
    if (layout()) layout()->activate();
}

bool TStatusBar::eventFilter(QObject* o, QEvent* e) {
    // A panel's width is known only once the bar is laid out, and changes
    // with the window; whether its text wraps follows it, checked once the
    // layout that resized it is done.
    if (e->type() == QEvent::Resize && !recheck_ &&
        std::find(panels_.begin(), panels_.end(), o) != panels_.end()) {
        recheck_ = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                recheck_ = false;
                for (int i = 0; i < Pocet(); ++i)
                    Zalom(i);
            },
            Qt::QueuedConnection);
    }
    return QStatusBar::eventFilter(o, e);
}

bool TStatusBar::event(QEvent* e) {
    if (e->type() == QEvent::LayoutRequest) {
        // Every text change asks the bar to relayout, and the bar answers by
        // painting itself whole, a second time after the panel's own
        // repaint. Let it only when something it lays out or draws changed.
        std::vector<int> state{fontMetrics().height()};
        for (QLabel* p : panels_) {
            const QRect g = p->geometry();
            state.insert(state.end(), {g.x(), g.y(), g.width(), g.height(), p->minimumHeight(),
                                       p->maximumHeight(), p->minimumSizeHint().height(),
                                       p->isVisible() ? 1 : 0});
        }
        if (state == layoutState_) return QWidget::event(e);
        layoutState_ = std::move(state);
        const bool result = QStatusBar::event(e);
        PrizpusobOkno();
        return result;
    }
    return QStatusBar::event(e);
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
        PopisPole(ram,
                  QCoreApplication::translate("functions", "Bity %1-%2").arg(8 * k).arg(8 * k + 7));
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
            // Read as "bit 5 RST", not a bare 0 or 1.
            hodnota->setAccessibleDescription(QStringLiteral("bit %1 %2").arg(n).arg(Jmena[n]));
            hodnoty[n] = hodnota;
        }
    }
    return hodnoty;
}

void CtiBity(const TData* Data, uint8_t Adresa, TCteniBitu Cteni,
             const std::array<QLabel*, 32>& Hodnoty, TStatusBar* Stav) {
    if (!Data) return;
    if (!SpojeniOtevreno(Data)) {
        Stav->NastavText(0, TextNeinicializovano);
        return;
    }
    std::array<uint8_t, 4> b{};
    const uint8_t chyba = Cteni(CilModulu(*Data, Adresa), b);
    if (chyba == 0)
        for (int n = 0; n < 32; ++n)
            Hodnoty[n]->setText(BitNaText(b[n / 8], static_cast<uint8_t>(n % 8)));
    Stav->NastavText(0, QLatin1Char(' ') + TextChyby(Data->Rozhrani, chyba));
}

namespace {

// The frame the window manager put around the window; nothing while it is
// not known. While the window is being mapped, its margins may be measured
// against a geometry not yet set (and the widget's own copy of them kept
// from that moment), so only the window's present margins around it count.
QMargins Ram(const QWidget* Okno) {
    const QWindow* okno = Okno->windowHandle();
    if (!okno) return {};
    const QMargins m = okno->frameMargins();
    if (m.left() < 0 || m.top() < 0 || m.right() < 0 || m.bottom() < 0) return {};
    return m;
}

bool RamZnam(const QWidget* Okno) {
    return !Ram(Okno).isNull();
}

// Returns where the frame's top left corner goes. Once the window is on
// screen, size and place go in one request for the client area: the widget
// would convert a frame position with the frame it measured while the
// window was being mapped, and a frame position sent apart from a resize
// may reach the window manager with the resize's gravity.
QPoint Umisti(QWidget* Okno, QSize Vnejsi, bool NaObrazovce) {
    const QMargins m = Ram(Okno);
    const QSize ram(m.left() + m.right(), m.top() + m.bottom());
    const QSize klient = Vnejsi.isValid() ? Vnejsi - ram : Okno->size();
    QScreen* obrazovka = Okno->screen() ? Okno->screen() : QGuiApplication::primaryScreen();
    QRect ramec(QPoint(), klient + ram);
    if (obrazovka) ramec.moveCenter(obrazovka->availableGeometry().center());
    if (NaObrazovce && Okno->windowHandle()) {
        Okno->windowHandle()->setGeometry(
            QRect(ramec.topLeft() + QPoint(m.left(), m.top()), klient));
    } else {
        if (Vnejsi.isValid()) Okno->resize(klient);
        if (obrazovka) Okno->move(ramec.topLeft());
    }
    return ramec.topLeft();
}

// Places the window again once it is on screen in its frame. Not sooner:
// the window manager places a window when it maps it, after the frame is
// known, and may do so even after the first exposure; a move of its own in
// the first moments is answered once more. Then the watch ends, and the
// operator moves the window freely.
class THlidacRamu : public QObject {
  public:
    static constexpr const char* Jmeno = "HlidacRamu";
    THlidacRamu(QWidget* Okno, QSize Vnejsi) : QObject(Okno), okno_(Okno), vnejsi_(Vnejsi) {
        setObjectName(QLatin1String(Jmeno));
        if (QWindow* w = Okno->windowHandle()) w->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        const QEvent::Type t = e->type();
        if (!umisteno_.isValid()) {
            if (t == QEvent::Expose && RamZnam(okno_)) {
                cil_ = Umisti(okno_, vnejsi_, true);
                umisteno_.start();
            }
        } else if (umisteno_.elapsed() > kUsazeniMs || opakovani_ >= 2) {
            deleteLater();
        } else if (t == QEvent::Move && okno_->windowHandle() &&
                   okno_->windowHandle()->framePosition() != cil_) {
            ++opakovani_;
            cil_ = Umisti(okno_, vnejsi_, true);
        }
        return QObject::eventFilter(o, e);
    }

  private:
    static constexpr int kUsazeniMs = 1000;
    QWidget* okno_;
    QSize vnejsi_;
    QPoint cil_;
    QElapsedTimer umisteno_;
    int opakovani_ = 0;
};

} // namespace

void VycentrujNaObrazovce(QWidget* Okno, QSize Vnejsi) {
    Umisti(Okno, Vnejsi, false);
    if (!RamZnam(Okno) &&
        !Okno->findChild<QObject*>(QLatin1String(THlidacRamu::Jmeno), Qt::FindDirectChildrenOnly))
        new THlidacRamu(Okno, Vnejsi);
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
    StatusBar->PevneOkno(Okno, Sirka, Vyska);
}

QString Veta(const QString& Text) {
    const QString t = Text.trimmed();
    if (t.isEmpty() || t.endsWith(QLatin1Char('.'))) return t;
    return t + QLatin1Char('.');
}

void PopisPole(QLabel* Popisek, QWidget* Pole) {
    Popisek->setBuddy(Pole);
    PopisPole(Pole, Popisek->text());
}

void PopisPole(QWidget* Pole, const QString& Jmeno) {
    Pole->setAccessibleName(Jmeno.simplified());
}

namespace {

class TBezZkratek : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* Objekt, QEvent* Udalost) override {
        if (Udalost->type() != QEvent::KeyPress) return QObject::eventFilter(Objekt, Udalost);
        const auto* Klavesa = static_cast<QKeyEvent*>(Udalost);
        const Qt::KeyboardModifiers Zkratka =
            Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier;
        // Alt+Down and the like still open the list; only typed text is kept
        // from the list's search.
        return (Klavesa->modifiers() & Zkratka) && !Klavesa->text().isEmpty();
    }
};

QString ZvolSouborDialogem(QWidget* Rodic, const QString& Titulek, const QString& Filtr,
                           bool Ulozit) {
    if (!Ulozit) return QFileDialog::getOpenFileName(Rodic, Titulek, QString(), Filtr);
    QString Navrh;
    for (;;) {
        QString Vybrany;
        const QString Cesta = QFileDialog::getSaveFileName(Rodic, Titulek, Navrh, Filtr, &Vybrany);
        if (Cesta.isEmpty()) return Cesta;
        VybranyFiltr = Vybrany.isEmpty() ? Filtr.section(QStringLiteral(";;"), 0, 0) : Vybrany;
        const QString Cil = SPriponouFiltru(Cesta, VybranyFiltr);
        // The dialog asked about the name as typed; the extension added
        // here may name a file that exists. Asked as the dialog asks, and
        // No takes the operator back to it.
        if (Cil == Cesta || !QFileInfo::exists(Cil) ||
            QMessageBox::warning(Rodic, Titulek,
                                 QCoreApplication::translate(
                                     "functions", "Soubor %1 již existuje.\nChcete jej nahradit?")
                                     .arg(QFileInfo(Cil).fileName()),
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes)
            return Cil;
        Navrh = Cesta;
    }
}

QString ZvolSlozkuDialogem(QWidget* Rodic, const QString& Titulek) {
    return QFileDialog::getExistingDirectory(Rodic, Titulek);
}

} // namespace

bool NactiCeskyPrekladQt() {
    return NastavJazyk(TJazyk::Cestina);
}

void BezZkratekVSeznamu(QWidget* Seznam) {
    Seznam->installEventFilter(new TBezZkratek(Seznam));
}

void PauzaCteni() {
    QCoreApplication::processEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

QString SPriponouFiltru(const QString& Cesta, const QString& Filtr) {
    if (!QFileInfo(Cesta).suffix().isEmpty()) return Cesta;
    // "Name (*.ext)": exactly one pattern of the form *.ext.
    const qsizetype Od = Filtr.lastIndexOf(QLatin1Char('('));
    const qsizetype Do = Filtr.lastIndexOf(QLatin1Char(')'));
    if (Od < 0 || Do < Od) return Cesta;
    const QString Vzor = Filtr.mid(Od + 1, Do - Od - 1).trimmed();
    if (!Vzor.startsWith(QLatin1String("*.")) || Vzor.contains(QLatin1Char(' ')) ||
        Vzor.mid(2).contains(QLatin1Char('*')) || Vzor.size() < 3)
        return Cesta;
    return Cesta + Vzor.mid(1);
}

QString (*ZvolSoubor)(QWidget*, const QString&, const QString&, bool) = ZvolSouborDialogem;
QString (*ZvolSlozku)(QWidget*, const QString&) = ZvolSlozkuDialogem;
QString VybranyFiltr;

TDialektCsv VybranyDialektCsv() {
    return VybranyFiltr == FiltrCsvExcel ? TDialektCsv::Excel : TDialektCsv::Zakladni;
}
