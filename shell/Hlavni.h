// Main window: owns the connection record, offers every function as a menu
// command and shows the connected module in its status bar.
#pragma once

#include "Dekl.h"
#include "Jazyk.h"
#include "ProtokolKomunikace.h"
#include "functions.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>

#include <memory>

class TForm1 : public QMainWindow {
    Q_OBJECT
  public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // The connection record; absent when it could not be allocated.
    TData* Data = nullptr;

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
    void UlozitKonfiguraci1Click();
    void NahratKonfiguraci1Click();
    void Konec2Click();

    // Allocates the record. Tests replace it to make the allocation fail.
    static TData* (*AlokujData)();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    // Runs one modal dialog on the record; the dialog never outlives the call.
    template <class TDialog> void OtevriDialog() {
        if (!Data) return;
        std::unique_ptr<TDialog> dialog(new TDialog(this));
        dialog->Data = Data;
        dialog->exec();
    }

    void PridejNapovedu();
    // Stores the language chosen in the corner menu for the next start.
    void ZvolJazykProgramu(TJazyk Jazyk);

    bool umisteno_ = false;
};
