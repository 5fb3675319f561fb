#include "commands.h"

#include "session.h"

#include <QCoreApplication>

namespace km207 {

namespace {

const char* const kIdentifyHelp =
    QT_TRANSLATE_NOOP("km207", R"(Použití: km207 identify [VOLBY SPOJENÍ] [--json]

Otevře spojení jako dialog "Připojení modulu" (inicializace ovladače,
rychlost, tři příkazy identifikace 200) a vypíše modul tak, jak ho ukazuje
dialog, např. "KM-207   v.1.02".

Příklady:
  km207 identify --kind lan --ip 192.168.1.50 --address 5
  km207 identify --json
)");

const char* const kScanHelp = QT_TRANSLATE_NOOP(
    "km207", R"(Použití: km207 scan [--addresses A-B] [--bauds all|R1,R2,...] [--timeout MS]
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
Návratový kód je 2, když neodpověděl žádný modul, a 1, když na některé
adrese může odpovídat více modulů (poškozená odpověď nebo odpověď jiného
modulu; v JSON pole collisions). Ctrl-C hledání ukončí.

Příklady:
  km207 scan --kind com --port 1 --bauds all
  km207 scan --kind lan --ip 192.168.1.50 --addresses 0-31 --timeout 50
)");

const char* const kGetHelp =
    QT_TRANSLATE_NOOP("km207", R"(Použití: km207 get PŘEDMĚT [--repeat N] [VOLBY SPOJENÍ] [--json]

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
)");

const char* const kSetHelp =
    QT_TRANSLATE_NOOP("km207", R"(Použití: km207 set PŘEDMĚT HODNOTA [VOLBY SPOJENÍ] [--json]

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
)");

const char* const kClearHelp =
    QT_TRANSLATE_NOOP("km207", R"(Použití: km207 clear status|counter [VOLBY SPOJENÍ] [--json]

  clear status    vynuluje stavový registr (příkaz 101/0)
  clear counter   vynuluje čítač (příkaz 1/80)

Příklady:
  km207 clear status --address 5
)");

const char* const kWatchHelp = QT_TRANSLATE_NOOP(
    "km207", R"(Použití: km207 watch PŘEDMĚT [--interval MS] [--count N] [--csv SOUBOR]
                     [--rate-window MS] [--csv-excel] [VOLBY SPOJENÍ] [--json]

Čte stále dokola a vypíše řádek s časem za každé čtení:
  counter   každých 100 ms (mód, pak čítač)
  status    každých 500 ms
  inputs    každých 100 ms
  clock     každých 200 ms (poprvé i výpadek napájení)
  trend     každých 100 ms mód a čítač, vstupy a stavový registr, s rychlostí
            čítače v pulzech za sekundu, jako okno Průběh hodnot

  --csv SOUBOR    (jen trend) zapisuje řádky CSV se stejnými sloupci jako
                  záznam okna: cas,citac,rychlost,vstupy,stav,chyba
                  (nepřečtená hodnota je prázdné pole, chyba je kód první
                  chyby čtení, 0 bez chyby); "-" je standardní výstup.
                  Založí nový soubor; existující odmítne, s --overwrite
                  ho vyprázdní (jen obyčejný soubor, do kterého smí psát).
                  Každý řádek jde celý hned do souboru.
  --overwrite     (s --csv) přepíše existující soubor
  --rate-window MS
                  (jen trend) rychlost čítače z pulzů za posledních MS
                  milisekund (100-60000, výchozí 1000): delší okno, menší
                  skoky o jeden pulz
  --csv-excel     (s --csv) CSV pro Excel: středníky, desetinná čárka,
                  UTF-8 s BOM, jak ho otevře český Excel

  --interval MS   jiná perioda
  --count N       skončí po N čteních

Ctrl-C skončí čistě. Chybné čtení se vypíše na standardní chybový výstup a
čte se dál; návratový kód je pak 1 nebo 2 podle nejhorší chyby.

Příklady:
  km207 watch counter --interval 500
  km207 watch inputs --count 10 --json
)");

const char* const kBackupHelp =
    QT_TRANSLATE_NOOP("km207", R"(Použití: km207 backup SOUBOR [VOLBY SPOJENÍ] [--json]

Přečte celou konfiguraci modulu (adresa, rychlost, mód čítače, dvanáct
bajtů digitálních vstupů a výstupů) a uloží ji s identifikací modulu a
časem čtení do čitelného textového souboru.

Příklady:
  km207 backup modul5.km207 --address 5
  km207 backup - > modul5.km207
)");

const char* const kRestoreHelp = QT_TRANSLATE_NOOP(
    "km207", R"(Použití: km207 restore SOUBOR [--address N] [--keep-address] [--dry-run]
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
)");

const char* const kLineHelp = QT_TRANSLATE_NOOP(
    "km207", R"(Použití: km207 line PŘEDMĚT [SLOŽKA] [--line SOUBOR] [VOLBY] [VOLBY SPOJENÍ]
                  [--json]

Linka modulů. Soubor linky (.km207linka) uvádí adresu a rychlost každého
modulu, očekávaný název a verzi a popis.
  scan --line SOUBOR        hledá moduly jako scan (jen čte) a uloží je do
                            souboru linky; --addresses a --bauds jako u scan
  status --line SOUBOR      jeden cyklus čtení všech modulů: stav, název a
                            verze, stavový registr, čítač, vstupy, příznaky
  watch --line SOUBOR       cykly stále dokola; vypíše modul, jehož stav nebo
                            příznaky se změnily (v prvním cyklu všechny)
  backup SLOŽKA --line SOUBOR
                            konfiguraci každého modulu do SLOŽKY (soubory
                            modul_AAA_RYCHLOST.km207 jako u backup) a soubor
                            linky linka.km207linka; neodpovídající modul se
                            vypíše jako neuložený
  restore SLOŽKA            konfiguraci ze zálohy zpět do modulů: nejdřív
                            přečte všechny moduly a vypíše, co se změní, pak
                            zapíše rozdílné registry se zpětným čtením
  commission --line SOUBOR  uvede do provozu jeden nový modul (viz níže)

Cyklus bere moduly podle rychlosti: nejdřív rychlost spojení, pak ostatní
vzestupně, takže se rychlost ovladače mění jen tam, kde ji další modul
potřebuje, a na konci se vrátí. Modul se čte třemi příkazy (stavový registr,
čítač, vstupy); při prvním kontaktu, když znovu odpoví a po výpadku
napájení také identifikace, mód čítače a konec výpadku napájení.

Příznaky: neodpovídá (po --misses cyklech bez odpovědi za sebou), výpadek
napájení (od prvního přečtení modulu), ERR24, jiný modul (název nebo verze
jiné než v souboru linky).

  --line SOUBOR      soubor linky; scan ho zapíše, commission ho doplní
  --misses N         kolik cyklů bez odpovědi za sebou znamená "neodpovídá"
                     (výchozí status 1, watch 3)
  --interval MS      watch: perioda cyklů od začátku cyklu (výchozí 1000)
  --count N          watch: skončí po N cyklech
  --csv SOUBOR       watch: řádek CSV za každý modul v každém cyklu se sloupci
                     cas,adresa,rychlost,stav,priznaky,posledni_odpoved,
                     selhani,stavovy_registr,citac,vstupy,modul
                     ("-" je standardní výstup); existující soubor odmítne
  --overwrite        watch: s --csv vyprázdní existující soubor (jen obyčejný
                     soubor, do kterého smí psát)
  --dry-run          restore: jen vypíše, co by se změnilo; nic nezapíše
  --force            restore: zapíše i adresu, na které už odpovídá modul
  --addresses A-B    commission: adresy k přidělení, nejnižší volná první
  --module-baud N    commission: rychlost, kterou modul dostane (jinak zůstane
                     9600 Bd)
  --wait S           commission: jak dlouho čekat na modul po zapnutí
                     (výchozí 120 s)

Uvedení do provozu: připojte jeden nový modul (z výroby má adresu 0 a
rychlost 9600 Bd). Příkaz ho najde, zapíše mu nejnižší volnou adresu (a
rychlost) se zpětným čtením, požádá o vypnutí a zapnutí modulu, počká na něj
na nové adrese a přidá ho do souboru linky. Dva moduly na výrobní adrese
nebo obsazená adresa postup zastaví. Další modul: připojte ho a spusťte
příkaz znovu.

status a watch vrací 0, když všechny moduly odpovídají bez příznaku, 1,
když má některý příznak nebo odpověděl chybou, 2, když některý neodpovídá
(watch nejhorší stav za celý běh). Chybný soubor linky nebo složka zálohy se
odmítne, aniž by se cokoli poslalo.

Příklady:
  km207 line scan --line linka.km207linka --bauds 9600,38400
  km207 line status --line linka.km207linka
  km207 line watch --line linka.km207linka --csv linka.csv
  km207 line backup zaloha --line linka.km207linka
  km207 line restore zaloha --dry-run
  km207 line commission --line linka.km207linka --module-baud 38400
)");

} // namespace

const std::vector<Command>& commands() {
    using S = Session;
    static const std::vector<Command> table{
        {"identify",
         0,
         0,
         QT_TRANSLATE_NOOP("km207", " (bez dalších slov)"),
         {},
         true,
         &S::identify,
         kIdentifyHelp},
        {"scan",
         0,
         0,
         QT_TRANSLATE_NOOP("km207", " (bez dalších slov)"),
         {},
         false,
         &S::scan,
         kScanHelp},
        {"get",
         1,
         1,
         "",
         {{"address", &S::readAddress},
          {"baud", &S::readBaud},
          {"mode", &S::readMode},
          {"dio", &S::readDio},
          {"counter", &S::readCounter},
          {"clock", &S::readClock},
          {"power-failure", &S::readPowerFailure},
          {"status", &S::readStatus},
          {"inputs", &S::readInputs}},
         true,
         &S::get,
         kGetHelp},
        {"set",
         2,
         4,
         QT_TRANSLATE_NOOP("km207", " HODNOTA"),
         {{"address", nullptr, &S::setAddress, 1},
          {"baud", nullptr, &S::setBaud, 1},
          {"mode", nullptr, &S::setMode, 1},
          {"dio", nullptr, &S::setDio, 3},
          {"outputs", nullptr, &S::setOutputs, 1},
          {"clock", nullptr, &S::setClock, 3}},
         true,
         &S::set,
         kSetHelp},
        {"clear",
         1,
         1,
         "",
         {{"status", nullptr, &S::clearStatus}, {"counter", nullptr, &S::clearCounter}},
         true,
         &S::clear,
         kClearHelp},
        // The views' own periods.
        {"watch",
         1,
         1,
         "",
         {{"counter", &S::readCounter, nullptr, 0, 100, true},
          {"status", &S::readStatus, nullptr, 0, 500},
          {"inputs", &S::readInputs, nullptr, 0, 100},
          {"clock", &S::readClock, nullptr, 0, 200},
          {"trend", nullptr, &S::watchTrend, 0, 100}},
         true,
         &S::watch,
         kWatchHelp},
        {"backup", 1, 1, QT_TRANSLATE_NOOP("km207", " SOUBOR"), {}, true, &S::backup, kBackupHelp},
        {"restore",
         1,
         1,
         QT_TRANSLATE_NOOP("km207", " SOUBOR"),
         {},
         true,
         &S::restore,
         kRestoreHelp},
        // Opened as scan opens the link: the modules are the line file's.
        {"line",
         1,
         2,
         QT_TRANSLATE_NOOP("km207", " [SLOŽKA]"),
         {{"scan", nullptr, &S::lineScan},
          {"status", nullptr, &S::lineStatus},
          {"watch", nullptr, &S::lineWatch},
          {"backup", nullptr, &S::lineBackup, 1},
          {"restore", nullptr, &S::lineRestore, 1},
          {"commission", nullptr, &S::lineCommission}},
         false,
         &S::line,
         kLineHelp},
    };
    return table;
}

const Command* findCommand(const QString& name) {
    for (const Command& c : commands())
        if (name == QLatin1String(c.name)) return &c;
    return nullptr;
}

const Subject* findSubject(const Command& command, const QString& name) {
    for (const Subject& s : command.subjects)
        if (name == QLatin1String(s.name)) return &s;
    return nullptr;
}

QStringList subjectNames(const Command& command) {
    QStringList names;
    for (const Subject& s : command.subjects)
        names << QString::fromUtf8(s.name);
    return names;
}

QString usageForm(const Command& command) {
    QString form = QString::fromUtf8(command.name);
    if (!command.subjects.empty())
        form += QLatin1Char(' ') + subjectNames(command).join(QLatin1Char('|'));
    return form + usageTail(command);
}

QString usageTail(const Command& command) {
    return QCoreApplication::translate("km207", command.usageTail);
}

} // namespace km207
