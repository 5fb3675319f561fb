// Main window: owns the connection record, offers every function as a menu
// command and shows the connected module in its status bar.
#pragma once

#include "Dekl.h"
#include "Jazyk.h"
#include "Linka.h"
#include "PrehledLinky.h"
#include "ProtokolKomunikace.h"
#include "Spojeni.h"
#include "functions.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>

#include <functional>
#include <memory>
#include <vector>

class TForm1 : public QMainWindow {
    Q_OBJECT
  public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // The connection record; absent when it could not be allocated.
    TData* Data = nullptr;
    // The line of modules the overview shows and polls.
    TLinka Linka;
    // The line overview, made when first asked for; modeless.
    TForm17* Prehled = nullptr;

    TStatusBar* StatusBar1 = nullptr;
    QMenuBar* MainMenu1 = nullptr;
    QAction* Pipojen1 = nullptr;
    QMenu* Nastaven1 = nullptr;
    QAction* AdresaRychlost1 = nullptr;
    QAction* NastavAIN1 = nullptr;
    QAction* HodinovobvodRTC1 = nullptr;
    QAction* NastavDIO1 = nullptr;
    // Below a separator in "&Nastavení": the configuration kept in a file.
    QAction* UlozitKonfiguraci1 = nullptr;
    QAction* NahratKonfiguraci1 = nullptr;
    QMenu* Okamithodnoty1 = nullptr;
    QAction* OkamAIN2 = nullptr;
    QAction* OkamDIN2 = nullptr;
    QAction* OkamDOUT1 = nullptr;
    QAction* Statusregistr1 = nullptr;
    QAction* Prubehhodnot1 = nullptr;
    QAction* Prehledlinky1 = nullptr;
    QAction* Konec2 = nullptr;
    QAction* Prirucka1 = nullptr;
    // The client area: every command that reaches the driver.
    TProtokolKomunikace* Protokol1 = nullptr;

    void FormCreate();
    void FormClose();

    void Pipojen1Click();
    void AdresaRychlost1Click();
    void NastavAIN1Click();
    void HodinovobvodRTC1Click();
    void NastavDIO1Click();
    void OkamAIN2Click();
    void OkamDIN2Click();
    void OkamDOUT1Click();
    void Statusregistr1Click();
    void Prubehhodnot1Click();
    void Prehledlinky1Click();
    void UlozitKonfiguraci1Click();
    void NahratKonfiguraci1Click();
    void Konec2Click();

    // The connected module in the status bar: name, address, rate.
    void UkazModul();
    // "Do přehledu" in the search: the modules found become the line, and
    // the overview opens once the connection dialog has closed.
    void PredejDoPrehledu(const std::vector<TNalez>& Nalezene);

    // Allocates the record. Tests replace it to make the allocation fail.
    static TData* (*AlokujData)();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    // Runs one modal dialog on the record; the dialog never outlives the
    // call and holds the link while open, so the overview's poll waits.
    template <class TDialog> void OtevriDialog(const std::function<void(TDialog&)>& Nastav = {}) {
        if (!Data) return;
        if (Prehled && Prehled->Odloz([this, Nastav] { OtevriDialog<TDialog>(Nastav); }, false))
            return;
        const TUzivatelSpojeni Drzeni;
        std::unique_ptr<TDialog> dialog(new TDialog(this));
        dialog->Data = Data;
        if (Nastav) Nastav(*dialog);
        dialog->exec();
    }
    // While the overview polls the line or runs an operation on it, a
    // command that needs the link runs once that is over (true then).
    bool Odlozeno(void (TForm1::*Akce)());

    void PridejNapovedu();
    // Stores the language chosen in the corner menu for the next start.
    void ZvolJazykProgramu(TJazyk Jazyk);

    bool umisteno_ = false;
    bool ukazatPrehled_ = false;
};

// The program's set-up before its main window: the language of this process,
// the busy cursor while a call waits, F1 in every window.
void PripravAplikaci(QApplication& Aplikace);
