// Pieces every window of the program shares: the status bar with fixed
// panels, the common status texts. The pause of a transfer (Pauza) is the
// link's, declared in Kxxx410.h.
#pragma once

#include "Komunikace.h"
#include "Kxxx410.h"
#include "Operace.h"

#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

// A fixed text in the language chosen when it is shown, not when it was
// made: such texts are built before the language is set. Kontext and Zdroj
// as QT_TRANSLATE_NOOP gives them.
struct TText {
    const char* Kontext;
    const char* Zdroj;
    operator QString() const { return QCoreApplication::translate(Kontext, Zdroj); }
};

// Shown by the function dialogs when the link is not open.
inline constexpr TText TextNeinicializovano{
    "functions", QT_TRANSLATE_NOOP("functions", " Připojení k modulu není inicializováno.")};

// Status bar made of side-by-side text panels. A width of -1 stretches the
// panel over the rest of the bar. Panel i is a QLabel named
// "<bar objectName>_<i>"; texts are plain, never rich text.
//
// No text is shown cut: a panel is at least its given width and wider when
// its text needs it at the current font; the last panel then takes the rest
// of the bar, and a text wider than even that wraps onto more lines, the bar
// growing in height (in a window of fixed size, see PevnaVelikost, the
// window grows at its bottom edge and shrinks back after).
class TStatusBar : public QStatusBar {
  public:
    TStatusBar(QWidget* parent, const QString& name, const std::vector<int>& widths);

    // Sets the text of a panel and repaints it at once, so it shows while
    // the caller is still busy.
    void NastavText(int panel, const QString& text);
    QString Text(int panel) const;
    QLabel* Panel(int panel) const;
    int Pocet() const { return static_cast<int>(panels_.size()); }

    // The bar lies across the bottom edge of a client area of fixed size.
    void PevneOkno(QWidget* Okno, int Sirka, int Vyska);

  protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

  private:
    void Prizpusob(int panel);
    void Zalom(int panel);
    void PrizpusobOkno();

    std::vector<QLabel*> panels_;
    std::vector<int> widths_;
    // One-line width of each panel's text, and the height it was given
    // when its text wraps (0: one line).
    std::vector<int> needs_;
    std::vector<int> heights_;
    // What the bar's own relayout looks at, as of its last run.
    std::vector<int> layoutState_;
    bool recheck_ = false;
    QWidget* window_ = nullptr;
    QSize client_;
    int baseHeight_ = 0;
};

// One-line width a label needs for its whole text, frame included.
int SirkaTextu(QLabel* Panel);
// Wraps the label's text at word boundaries when it needs more than Sirka
// (its one-line width Potreba); returns the height that shows all of it, or
// 0 when one line does and the caller's own height stands.
int ZalomText(QLabel* Panel, int Sirka, int Potreba);

// "1" when bit `Index` of `Hodnota` is set, else "0"; "0" for an index above 7.
QString BitNaText(uint8_t Hodnota, uint8_t Index);

// White frame with a lowered bevel, the background of every live value.
void NastavBilyRam(QFrame* Ram);

// Four white frames Panel1..Panel4 side by side at (x, y), each a column of
// eight rows: name label Label<n+1> then value label Label<n+33> (initially
// "0") for n = 8k..8k+7 in column k. Returns the 32 value labels, bit 0
// first.
std::array<QLabel*, 32> PostavMrizkuBitu(QWidget* Okno, int x, int y,
                                         const std::array<QString, 32>& Jmena);

struct TData;

// A read of a 32-bit word from the module (CtiStav, CtiVstupy).
using TCteniBitu = uint8_t (*)(const TCil& Cil, std::array<uint8_t, 4>& Bajty);

// One poll of a 32-bit word shown bit by bit (status register, digital
// inputs): reads it with Cteni from the module at Adresa, puts B1 bit 0 ...
// B4 bit 7 into the 32 value labels and the driver's text of the outcome into
// panel 0. A failed read keeps the values. Nothing when Data is absent; the
// not-initialised text when the link is closed.
void CtiBity(const TData* Data, uint8_t Adresa, TCteniBitu Cteni,
             const std::array<QLabel*, 32>& Hodnoty, TStatusBar* Stav);

// The pause between the commands of a poll (the trend window's samples,
// the line overview's cycles): pending window messages, then 1 ms asleep.
// The link's Pauza waits out the sleep's lateness awake, which a
// transfer's total needs but a poll running all day would pay in CPU.
void PauzaCteni();

// Moves a window's frame to the centre of the screen it is on; with Vnejsi
// given, also makes the frame that size (the client area is what is left).
// A window manager frames and places a window only when it maps it, so both
// happen again once the window is on screen in its frame.
void VycentrujNaObrazovce(QWidget* Okno, QSize Vnejsi = QSize());

// A push button that Enter never presses (Enter in an edit must not send
// anything to the module or close a dialog).
QPushButton* NoveTlacitko(QWidget* Rodic, const QString& Jmeno, const QString& Text, int X, int Y,
                          int Sirka = 75, int Vyska = 25);
// Fixed client area, status bar across its bottom edge.
void PevnaVelikost(QWidget* Okno, TStatusBar* StatusBar, int Sirka, int Vyska);

// A text of the link (a driver's status text has no full stop) as a
// sentence that more can follow: it ends with a full stop.
QString Veta(const QString& Text);

// A control and the label that names it: the label becomes its buddy and
// the label's text (blanks collapsed) its accessible name, so a screen
// reader names the control as the eye reads it. Called again when the
// label's text changes.
void PopisPole(QLabel* Popisek, QWidget* Pole);
// A control without a label of its own.
void PopisPole(QWidget* Pole, const QString& Jmeno);

// Loads Qt's own Czech texts (file dialogs, standard buttons), so what Qt
// draws and tells a screen reader is Czech too. False when they are not
// installed; Qt then stays English.
bool NactiCeskyPrekladQt();

// A drop-down list that takes no key with Alt, Ctrl or Meta for its own:
// such a key is meant as a shortcut, and one that is none must not pick an
// item (Alt+I would choose "ISA ..." by its first letter).
void BezZkratekVSeznamu(QWidget* Seznam);

// The path to save to with the extension of the chosen filter ("Konfigurace
// KM-207 (*.km207)") added when the name has none; unchanged when it has
// one or the filter names no single extension.
QString SPriponouFiltru(const QString& Cesta, const QString& Filtr);

// Asks the operator for a file to open (Ulozit false) or to write; empty
// when cancelled. Filtr as QFileDialog takes it; a name to save gets the
// chosen filter's extension when it has none, and a file of that name is
// replaced only when the operator says so. Tests replace it.
extern QString (*ZvolSoubor)(QWidget* Rodic, const QString& Titulek, const QString& Filtr,
                             bool Ulozit);
// Asks the operator for a folder (a line's backup); empty when cancelled.
// Tests replace it.
extern QString (*ZvolSlozku)(QWidget* Rodic, const QString& Titulek);
// The filter chosen in the last ZvolSoubor that wrote a file, one of its
// Filtr list; cleared by the caller before. A replacement of ZvolSoubor
// sets it as the operator would choose.
extern QString VybranyFiltr;

// The two file types of a CSV being saved, the documented one first, and
// the dialect of the one chosen in the last ZvolSoubor.
inline const QString FiltrCsv = QStringLiteral("CSV (*.csv)");
inline constexpr TText FiltrCsvExcel{"functions",
                                     QT_TRANSLATE_NOOP("functions", "CSV pro Excel (*.csv)")};
TDialektCsv VybranyDialektCsv();
