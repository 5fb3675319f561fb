// Help of km207 and of each command.
#include "commands.h"
#include "parse.h"

#include <QCoreApplication>

namespace km207 {

namespace {

const char* const kTool =
    QT_TRANSLATE_NOOP("km207", R"(Použití: km207 PŘÍKAZ [PŘEDMĚT] [HODNOTA] [VOLBY]

Nastavení a okamžité hodnoty modulu KM-207 z příkazové řádky. Posílá modulu
tytéž příkazy ve stejném pořadí, se stejnými pauzami a ověřením jako okna
programu W_KM207.

Příkazy:
  identify                    název a verze modulu
  scan                        hledá moduly na lince (jen čte)
  get PŘEDMĚT                 jedno čtení: address, baud, mode, dio, counter,
                              clock, power-failure, status, inputs
  set PŘEDMĚT HODNOTA         zápis (s ověřením tam, kde ho dělá okno):
                              address, baud, mode, dio, outputs, clock
  clear status|counter        vynuluje stavový registr nebo čítač
  watch PŘEDMĚT               čtení stále dokola: counter, status, inputs, clock,
                              trend (vše najednou, i do CSV)
  backup SOUBOR               celá konfigurace modulu do souboru
  restore SOUBOR              konfigurace ze souboru do modulu
  line PŘEDMĚT                linka modulů: scan, status, watch, backup,
                              restore, commission
  help [PŘÍKAZ]               nápověda (také PŘÍKAZ --help)
)");

// The options, after the commands: the short usage stops before them.
const char* const kOptions = QT_TRANSLATE_NOOP("km207", R"(
Spojení (každá volba přepíše hodnotu ze souboru W_km207.ini programu):
  --kind com|isa|pci|usb|lan  rozhraní
  --port N                    číslo portu COM (com) nebo bázová adresa
                              karty KIB-410 (isa; 300h, 0x300 nebo 768)
  --ip ADRESA                 IP adresa LAN konvertoru KL-4100 (lan)
  --udp-port N                UDP port LAN konvertoru (lan), 1-65535
  --timeout MS                UDP timeout LAN konvertoru (lan), 0-65535
  --address N                 adresa modulu na sběrnici, 0-255
  --baud N                    rychlost linky v Bd (600 ... 115200)

Další volby:
  --json                      výstup jako jeden objekt JSON na řádek
  --verbose                   každý požadavek a odpověď na standardní
                              chybový výstup, jako je ukazuje protokol
  --config SOUBOR             soubor nastavení místo W_km207.ini
  --no-config                 žádný soubor nastavení (výchozí hodnoty)
  --lang cs|en                jazyk textů (jinak KM207_LANG, výchozí cs);
                              JSON je v obou jazycích stejný
  -h, --help                  nápověda
  --version                   verze programu (s --json jako JSON)

Zadá-li se volba dvakrát, platí poslední. SOUBOR "-" u backup a restore je
standardní výstup a vstup.
)");

// Where the program keeps its settings on the platform the tool runs on.
#ifdef Q_OS_WIN
const char* const kSettings = QT_TRANSLATE_NOOP("km207", R"(
Soubor nastavení se hledá jako v programu W_KM207 (vedle programu, lze-li do
jeho složky zapisovat, jinak %LOCALAPPDATA%\W_KM207\W_km207.ini) a km207 ho
nikdy nepřepisuje.
)");
#else
const char* const kSettings = QT_TRANSLATE_NOOP("km207", R"(
Soubor nastavení se hledá jako v programu W_KM207 (vedle programu, nebo
~/.config/W_KM207/W_km207.ini) a km207 ho nikdy nepřepisuje.
)");
#endif

const char* const kExitCodes = QT_TRANSLATE_NOOP("km207", R"(
Návratový kód:
  0   úspěch
  1   modul odpověděl chybou, ověření zápisu selhalo, restore našel modul
      na nové adrese, nebo scan našel adresu, kde může odpovídat více modulů
  2   modul neodpovídá, spojení se nepodařilo otevřít, nebo přerušeno (Ctrl-C)
  64  chybné použití (příkaz, volba, hodnota, soubor); nic se neposlalo
  74  výstup nelze zapsat (standardní výstup, soubor záznamu)
)");

// A text of the tables above in the chosen language.
QString text(const char* source) {
    return QCoreApplication::translate("km207", source);
}

} // namespace

QString shortUsage() {
    return text(kTool).trimmed() +
           QCoreApplication::translate("km207", "\n\nPodrobně: km207 --help, km207 PŘÍKAZ --help");
}

QString helpText(const QString& command) {
    if (command.isEmpty()) return text(kTool) + text(kOptions) + text(kSettings) + text(kExitCodes);
    const Command* c = findCommand(command);
    return c ? text(c->help) + text(kExitCodes) : QString();
}

} // namespace km207
