// Help of km207 and of each command.
#include "options.h"

namespace km207 {

namespace {

const char* const kTool = R"(Použití: km207 PŘÍKAZ [PŘEDMĚT] [HODNOTA] [VOLBY]

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
  watch PŘEDMĚT               čtení stále dokola: counter, status, inputs, clock
  backup SOUBOR               celá konfigurace modulu do souboru
  restore SOUBOR              konfigurace ze souboru do modulu
  help [PŘÍKAZ]               nápověda (také PŘÍKAZ --help)

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
  -h, --help                  nápověda
  --version                   verze programu (s --json jako JSON)

Zadá-li se volba dvakrát, platí poslední. SOUBOR "-" u backup a restore je
standardní výstup a vstup.

Soubor nastavení se hledá jako v programu W_KM207 (vedle programu, nebo
~/.config/W_KM207/W_km207.ini) a km207 ho nikdy nepřepisuje.
)";

struct CommandHelp {
    const char* command;
    const char* text;
};

const CommandHelp kCommands[] = {
    {"identify", R"(Použití: km207 identify [VOLBY SPOJENÍ] [--json]

Otevře spojení jako dialog "Připojení modulu" (inicializace ovladače,
rychlost, tři příkazy identifikace 200) a vypíše modul tak, jak ho ukazuje
dialog, např. "KM-207   v.1.02".

Příklady:
  km207 identify --kind lan --ip 192.168.1.50 --address 5
  km207 identify --json
)"},
    {"scan", R"(Použití: km207 scan [--addresses A-B] [--bauds all|R1,R2,...] [--timeout MS]
                  [VOLBY SPOJENÍ] [--json]

Zkouší na každé adrese a rychlosti identifikaci (příkaz 200) a vypíše řádek
za každý modul, který odpověděl: adresu, rychlost a název s verzí. Nikdy nic
nezapisuje. Na konci vrátí lince její vlastní rychlost.

  --addresses A-B    adresy ke zkoušení (výchozí 0-255), nebo jedna adresa
  --bauds LIST       rychlosti v Bd oddělené čárkou, nebo all (všech devět);
                     výchozí je rychlost spojení
  --timeout MS       UDP timeout LAN konvertoru (jen --kind lan); prázdná
                     adresa stojí jeden timeout. Sériové ovladače čekají
                     podle rychlosti linky.

Průběh se ukazuje na standardním chybovém výstupu, je-li to terminál.
Návratový kód je 2, když neodpověděl žádný modul. Ctrl-C hledání ukončí.

Příklady:
  km207 scan --kind com --port 1 --bauds all
  km207 scan --kind lan --ip 192.168.1.50 --addresses 0-31 --timeout 50
)"},
    {"get", R"(Použití: km207 get PŘEDMĚT [--repeat N] [VOLBY SPOJENÍ] [--json]

Jedno čtení z modulu:
  address         adresa zapsaná v modulu (registr 63)
  baud            rychlost zapsaná v modulu (registr 62), v Bd
  mode            mód čítače (registr 0): 32, 23 nebo 23s
  dio             din-neg=HEX dout-neg=HEX dout-init=HEX (registry 32-43)
  counter         čítač podle módu, který modul právě má
  clock           hodiny modulu (D.M.RRRR H:MM:SS, rok doplněný z PC)
  power-failure   začátek a konec posledního výpadku napájení
  status          stavový registr (HEX a jména nastavených bitů)
  inputs          digitální vstupy (HEX, bit n = DINn)

  --repeat N      čtení N krát za sebou a na konci statistika příkazů:
                  počet, chyby podle kódu, doba min/medián/max

Příklady:
  km207 get counter --address 5
  km207 get status --json
  km207 get inputs --repeat 100
)"},
    {"set", R"(Použití: km207 set PŘEDMĚT HODNOTA [VOLBY SPOJENÍ] [--json]

  set address N                 adresa modulu 0-255 (registr 63)
  set baud N                    rychlost modulu v Bd (registr 62)
  set mode 32|23|23s            mód čítače (registr 0)
  set dio [din-neg=HEX] [dout-neg=HEX] [dout-init=HEX]
                                negace vstupů, negace výstupů, počáteční
                                stav výstupů (registry 32-43); co chybí, se
                                nejdřív přečte z modulu
  set outputs HEX               digitální výstupy (bit n = DOUTn)
  set clock now|"RRRR-MM-DD HH:MM:SS"
                                hodiny modulu: čas, pak datum z jednoho
                                okamžiku

Registry se zapisují a zpět čtou a porovnávají jako v oknech; výstupy a
hodiny okna zpět nečtou. Nová adresa a rychlost platí od příštího zapnutí
modulu.

Příklady:
  km207 set address 6 --address 5
  km207 set dio din-neg=A5 dout-init=80000001
  km207 set clock now
)"},
    {"clear", R"(Použití: km207 clear status|counter [VOLBY SPOJENÍ] [--json]

  clear status    vynuluje stavový registr (příkaz 101/0)
  clear counter   vynuluje čítač (příkaz 1/80)

Příklady:
  km207 clear status --address 5
)"},
    {"watch", R"(Použití: km207 watch PŘEDMĚT [--interval MS] [--count N] [VOLBY SPOJENÍ] [--json]

Čte stále dokola a vypíše řádek s časem za každé čtení:
  counter   každých 100 ms (mód, pak čítač)
  status    každých 500 ms
  inputs    každých 100 ms
  clock     každých 200 ms (poprvé i výpadek napájení)

  --interval MS   jiná perioda
  --count N       skončí po N čteních

Ctrl-C skončí čistě. Chybné čtení se vypíše na standardní chybový výstup a
čte se dál; návratový kód je pak 1 nebo 2 podle nejhorší chyby.

Příklady:
  km207 watch counter --interval 500
  km207 watch inputs --count 10 --json
)"},
    {"backup", R"(Použití: km207 backup SOUBOR [VOLBY SPOJENÍ] [--json]

Přečte celou konfiguraci modulu (adresa, rychlost, mód čítače, dvanáct
bajtů digitálních vstupů a výstupů) a uloží ji s identifikací modulu a
časem čtení do čitelného textového souboru.

Příklady:
  km207 backup modul5.km207 --address 5
  km207 backup - > modul5.km207
)"},
    {"restore", R"(Použití: km207 restore SOUBOR [--address N] [--keep-address] [--dry-run]
                  [--force] [VOLBY SPOJENÍ] [--json]

Zapíše konfiguraci ze souboru do modulu: soubor nejdřív celý zkontroluje
(chybný soubor odmítne, aniž by cokoli poslal), přečte konfiguraci modulu a
zapíše registr po registru jen ty, které se liší, každý se zpětným čtením
jako okno digitálních vstupů a výstupů. Vypíše změněné registry. Nová
adresa nebo rychlost platí od příštího zapnutí modulu.

  --address N     adresa, na které modul teď je (jako u ostatních příkazů);
                  adresa ze souboru se do modulu zapíše jako registr 63
  --keep-address  modul si ponechá svou adresu a rychlost (jedno nastavení
                  do více modulů)
  --dry-run       jen vypíše, co by se změnilo; nic nezapíše
  --force         zapíše novou adresu, i když na ní už odpovídá jiný modul
                  (bez této volby se zápis odmítne, návratový kód 1)

Je-li soubor z jiného modulu, než je připojen, vypíše varování.
Přerušený zápis (modul přestal odpovídat, Ctrl-C) vypíše každý registr
v jednom seznamu: zapsané a ověřené; zapsaný, ale zpět přečtený jinak (obě
hodnoty); zápis potvrzený, neověřený; odeslaný bez odpovědi (stav neznámý);
nezapsané.

Příklady:
  km207 restore modul5.km207 --address 9 --dry-run
  km207 restore nastaveni.km207 --keep-address --address 3
  ssh pc cat modul5.km207 | km207 restore -
)"},
};

const char* const kExitCodes = R"(
Návratový kód:
  0   úspěch
  1   modul odpověděl chybou, ověření zápisu selhalo, nebo restore našel
      modul na nové adrese
  2   modul neodpovídá, spojení se nepodařilo otevřít, nebo přerušeno (Ctrl-C)
  64  chybné použití (příkaz, volba, hodnota, soubor); nic se neposlalo
)";

} // namespace

QString shortUsage() {
    const QString tool = QString::fromUtf8(kTool);
    // The form and the list of commands, up to the connection options.
    return tool.left(tool.indexOf(QStringLiteral("\nSpojení"))).trimmed() +
           QStringLiteral("\n\nPodrobně: km207 --help, km207 PŘÍKAZ --help");
}

QString helpText(const QString& command) {
    if (command.isEmpty()) return QString::fromUtf8(kTool) + QString::fromUtf8(kExitCodes);
    for (const CommandHelp& h : kCommands)
        if (command == QLatin1String(h.command))
            return QString::fromUtf8(h.text) + QString::fromUtf8(kExitCodes);
    return QString();
}

} // namespace km207
