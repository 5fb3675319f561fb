// The trend chart, drawn with QPainter: the counter and its rate as lines,
// the chosen inputs as logic traces (each lane at least as high as its
// name; more than the inputs' area holds scroll), marks where status bits
// change, a wall-clock axis. One min/max summary per pixel column, so a redraw costs
// the same whatever the history holds. Mouse: wheel zooms about the pointer,
// dragging pans, a click puts the cursor. Keys: Left/Right pan, Shift+Left/
// Right move the cursor by one sample, +/- zoom, Home the oldest sample,
// End back to live.
#pragma once

#include "HistoriePrubehu.h"

#include <QElapsedTimer>
#include <QScrollBar>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <optional>

class TGrafPrubehu : public QWidget {
    Q_OBJECT
  public:
    explicit TGrafPrubehu(const THistoriePrubehu* Historie, QWidget* Rodic = nullptr);

    // Inputs drawn as traces, DIN0 = bit 0.
    void NastavVstupy(uint32_t Vybrane);
    uint32_t Vstupy() const { return Vybrane_; }
    // How many inputs' lanes the chart shows at its size without scrolling.
    int VejdeSeVstupu() const;

    // The rate's window, ms: the rate axis spans at least ten counts over
    // it, so one count more or less does not fill the lane.
    void NastavOknoRychlosti(int Ms);

    // Live: the right edge follows the newest sample. Off (pause, pan,
    // zoom) the view stays where it is while the history grows.
    void NastavZive(bool Zive);
    bool Zive() const { return Zive_; }
    // A new sample came: a live view scrolls to it.
    void NovyVzorek();

    // Visible time span and its right edge (local ms since 1970).
    qint64 Rozsah() const { return Rozsah_; }
    qint64 PravyOkraj() const { return Pravy_; }
    void NastavPohled(qint64 Pravy, qint64 Rozsah);
    void Priblizit(double Kolikrat, std::optional<qint64> Kolem = std::nullopt);
    void Posun(qint64 Ms);

    // The cursor's sample, when one is placed.
    std::optional<uint64_t> Kurzor() const;
    void NastavKurzor(std::optional<qint64> Cas);
    void PosunKurzor(int Vzorku);

    // Draws the whole chart into the rectangle (the widget paints itself
    // with it; the PNG export and the benchmark draw into an image).
    void Kresli(QPainter& P, const QRect& Obdelnik) const;

    // A live chart is drawn again at most this often (ms) as samples come;
    // they go into the history at the full rate.
    static constexpr int NejcastejiKresli = 500;
    static constexpr qint64 NejmensiRozsah = 1000;
    static constexpr qint64 NejvetsiRozsah = 3 * 3600 * 1000;

  signals:
    void KurzorZmenen();
    void PohledZmenen();

  protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void changeEvent(QEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

  private:
    QRect Plocha(const QRect& Obdelnik) const; // the plot area inside Obdelnik
    QRect Plocha() const { return Plocha(rect()); }
    qint64 CasNaX(int X) const;
    // The scroll bar over the inputs' lanes: shown, placed and ranged when
    // more are chosen than the area holds.
    void UmistiPosuvnik();

    const THistoriePrubehu* Historie_;
    uint32_t Vybrane_ = 0;
    double NejmensiRozpetiRychlosti_ = 0;
    QScrollBar* ScrollBar1; // the first input lane shown
    bool Zive_ = true;
    qint64 Rozsah_ = 60 * 1000;
    qint64 Pravy_ = 0;
    std::optional<qint64> Kurzor_;
    // Dragging: where it started and the right edge then.
    std::optional<QPoint> Tah_;
    qint64 TahPravy_ = 0;
    bool Tazeno_ = false;
    QElapsedTimer Kresleno_; // since the last paint
    QTimer* Odlozene_;       // a repaint held back by NejcastejiKresli
};
