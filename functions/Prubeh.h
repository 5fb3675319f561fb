// "Průběh hodnot": the counter, its rate, the inputs and the status bits
// over time. Polls the module only while it is open; the history stays in
// memory (bounded), a CSV recording and a PNG of the chart go to files.
#pragma once

#include "Dekl.h"
#include "GrafPrubehu.h"
#include "HistoriePrubehu.h"
#include "Vzorek.h"
#include "functions.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>

#include <functional>

class TForm16 : public QDialog {
    Q_OBJECT
  public:
    explicit TForm16(QWidget* parent = nullptr,
                     size_t Kapacita = THistoriePrubehu::VychoziKapacita);
    ~TForm16() override;

    TData* Data = nullptr;
    uint8_t AdresaModulu = 0;

    QLabel* Label1;             // "Perioda"
    QSpinBox* SpinBox1;         // period, ms
    QLabel* Label7;             // "Rychlost za"
    QSpinBox* SpinBox2;         // the rate's window, ms
    QPushButton* Button1;       // "Pozastavit" (checkable)
    QPushButton* Button2;       // "Záznam CSV…" / "Zastavit záznam"
    QPushButton* Button3;       // "Uložit PNG…"
    QPushButton* Button4;       // "Živě"
    QPushButton* Button5;       // "Zavřít"
    QLabel* Label2;             // "Selhání čtení:"
    QLabel* Label3;             // the failure count
    QLabel* Label4;             // "Vstupy"
    QListWidget* ListWidget1;   // DIN0-DIN31, checkable
    QLabel* Label8;             // inputs that changed but have no room in the chart
    QLabel* Label5;             // "Hodnoty"
    QTableWidget* TableWidget1; // the values at the cursor (or the newest)
    QLabel* Label6;             // the recording's file and rows
    TGrafPrubehu* PaintBox1;
    TStatusBar* StatusBar1;
    QTimer* Timer1; // the poll, single-shot, started again after each sample
    QTimer* Timer3; // the newest values into the table, at most twice a second

    // Period bounds, ms.
    static constexpr int NejkratsiPerioda = 50;
    static constexpr int NejdelsiPerioda = 10000;

    const THistoriePrubehu& Historie() const { return Historie_; }
    // Adds a sample as a poll does (benchmarks pre-fill the history with it).
    void PridejVzorek(const TVzorek& Vzorek);
    int Selhani() const { return Selhani_; }

    // Starts a CSV recording into Cesta; false with the reason in the status bar.
    bool ZacniZaznam(const QString& Cesta, TDialektCsv Dialekt = TDialektCsv::Zakladni);
    void ZastavZaznam();
    bool Zaznamenava() const { return Zaznam_.Otevreno(); }
    // A PNG of the chart as shown.
    bool UlozPng(const QString& Cesta);

  public slots:
    void FormShow();
    void Timer1Timer();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void ListWidget1Change(QListWidgetItem* Polozka);
    void UkazHodnoty();

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    // The constructor's parts, in this order: the controls of each group
    // (top row, chart, input choice, value table, bottom row), their
    // layout and tab order, the timers, the connections.
    void VytvorHorniRadu();
    void VytvorGraf();
    void VytvorVyberVstupu();
    void VytvorTabulku();
    void VytvorDolniRadu();
    void Rozloz();
    void VytvorCasovace();
    void Propoj();

    // The link's state after a poll, and the outcome of a file written
    // (PNG, recording): the latter stays until the link's state changes,
    // not wiped by the next poll's same "V pořádku".
    void ZobrazStav(const QString& Text);
    void ZobrazVysledek(const QString& Text);
    void NaplnVyber();
    void Naplanuj(qint64 Trvalo);

    THistoriePrubehu Historie_;
    TRychlostCitace Rychlost_;
    TZaznamPrubehu Zaznam_;
    int Selhani_ = 0;
    // The default choice of inputs follows the inputs that changed until
    // the operator picks some.
    bool VyberSam_ = true;
    // Inputs that changed but found no room, and the lanes there were.
    uint32_t Mimo_ = 0;
    int Vejde_ = 0;
    QString StavSpojeni_;   // the last poll's text
    bool Vysledek_ = false; // a file's outcome is in the status line
    // A tick is waiting for the module; what a click asks for meanwhile
    // runs after it.
    bool Probiha_ = false;
    bool Otevreno_ = false; // shown and not closed (minimised counts as open)
    QElapsedTimer Ukazano_; // since the table last showed the newest values
    std::function<void()> Potom_;
};
