#include "sim_texts.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace km::emu {

namespace {

Language g_language = Language::czech;

const char* const kHelpCzech = R"(Použití: km207-sim [volby]

Softwarový model modulů KM-207 na jedné lince: jeden modul, nebo více
s --module. Odpovídá na příkazy modulů přes UDP (jako KL-4100, rámce po 12
bajtech s číslem transakce) a přes sériovou linku (rámce po 10 bajtech):
pseudoterminál, který ji zastupuje (Linux), nebo sériový port zadaný
volbou --com. Po startu vypíše na stdout strojově čitelné řádky:
  udp: HOST:PORT
  pty: /dev/pts/N                   (nebo název portu z --com)
  module: ADDRESS baud-index B      (jeden řádek za modul)
  address: N                        (prvního modulu)
  ready
a běží do SIGINT nebo SIGTERM (nebo --exit-after). SIGUSR1 (ne ve Windows)
vypne a znovu zapne každý modul (zapsaná adresa nebo index rychlosti začne
platit, výpadek napájení se zaznamená) a za každý vypíše
  power-up: address N baud-index B

Emulováno: identifikace (příkaz 200), čítač (0/80 čtení, 1/80 nulování; čítá
s časem, přetéká podle módu: 0 32 bitů, 1 23 bitů, 2 znaménko a velikost),
hodiny (100/1-2 čtení, 101/1-2 zápis, rok modulo 4), začátek a konec výpadku
napájení (100/3-6), stavový registr (100/0 čtení, 101/0 nulování; bity FN,
PRF, PWR, RST, ERR24), digitální vstupy (0/64, pohyblivý vzor, není-li
--inputs), výstupy (1/64), konfigurační registry (102 čtení, 103 zápis) 0,
32-43, 62, 63. Nová adresa (63) nebo index rychlosti (62) platí až od
příštího zapnutí.
Neznámé příkazy, registry nebo hodnoty dostanou chybový stav (1 neznámý
příkaz, 2 takový registr není, 3 hodnota odmítnuta). Bajt out odpovědi
opakuje P5; její čtyři datové bajty jsou B1-B4.

Modul:
  --address N        adresa jediného modulu na sběrnici 0-255 (výchozí 0)
  --baud-index N     index rychlosti, registr 62, 0-8 (výchozí 4 = 9600 Bd);
                     s --module index modulů zadaných bez něj
  --module A[:B]     modul na adrese A (0-255) s indexem rychlosti B (0-8);
                     lze opakovat, za každý modul jednou, každý má vlastní
                     registry; volby níže platí pro každý z nich.
                     Ne spolu s --address. Dva moduly se stejnou adresou
                     a indexem se odmítnou; dva, které odpoví na jeden
                     požadavek (stejná adresa, rychlost se nehlídá), ho
                     poškodí.
  --mode N           mód čítače, registr 0, 0-2 (výchozí 0)
  --reg R=V          nastaví konfigurační registr R (0, 32-43, 62, 63) na V;
                     lze opakovat
  --name TEXT        název modulu, 8 znaků (výchozí "KM-207  ")
  --fw TEXT          verze firmwaru, 4 znaky (výchozí "1.02")
  --counter N        počáteční hodnota čítače (výchozí 0)
  --counter-rate N   pulzy za sekundu, může být záporné (výchozí 10)
  --inputs X         pevné slovo vstupů (např. 0x0000ff01) místo
                     pohyblivého vzoru
  --input-script W   řídí jeden vstup skriptem časovaným od startu (lze
                     opakovat, jeden skript na vstup; ostatní drží --inputs,
                     výchozí 0):
                       square:BIT:HALF_MS       HALF_MS nula, HALF_MS jedna, ...
                       pulse:BIT:AT_MS:LEN_MS   jedna od AT_MS po LEN_MS
                     Start se vypíše jako "inputs-start: MS" (ms od roku
                     1970, UTC).
  --clock-offset S   hodiny modulu minus místní čas počítače, v sekundách
                     (výchozí 0)
  --off-before S     kolik sekund byl modul před startem vypnutý, zaznamená
                     se jako výpadek napájení (výchozí 3600)

Poruchy (lze opakovat; každá potřebuje count=N nebo p=P):
  --fault DRUH[:klíč=hodnota,...]
      DRUH: drop      příkaz proběhne, odpověď se ztratí
            delay     příkaz proběhne, odpověď přijde o ms později (klíč ms,
                      výchozí 100)
            corrupt   příkaz proběhne, odpověď je poškozená (nesedí
                      kontrolní součet)
            readback  příkaz 102 odpoví jinou hodnotou
            status    příkaz odmítnut chybovým stavem (klíč status,
                      výchozí 3)
      klíče: count=N  dalších N odpovídajících požadavků
            p=P       potom s pravděpodobností P (0..1)
            cmd=C     jen požadavky s kódem příkazu C
            address=A jen požadavky na adresu A (jeden modul linky)
      např. --fault drop:count=2 --fault delay:p=0.1,ms=300
  --seed N           počáteční hodnota náhody pravděpodobnostních poruch
                     (výchozí 1)

Zkoušená linka, aby jeden modul selhal, zatímco ostatní běží dál (signály
ne ve Windows); modul se jmenuje svou adresou při startu, A[:B] s indexem
rychlosti B, sdílí-li dva adresu:
  --usr1-modules A[:B][,...]
                     SIGUSR1 vypne a zapne jen tyto moduly (výchozí: každý
                     modul)
  --usr2-modules A[:B][,...]
                     SIGUSR2 tyto moduly vypne (výchozí: každý modul):
                     přestanou odpovídat, jako by je někdo odpojil z linky,
                     a další SIGUSR2 je zase zapne (zapnutí: výpadek
                     napájení se zaznamená). Za každý vypíše
                       power-down: address N baud-index B
                     nebo řádek power-up jako u SIGUSR1
  --status-bits A[:B]=X
                     stavový registr toho modulu začne hodnotou X místo PWR,
                     RST a PRF po zapnutí (0x34): např. 0x74 přidá ERR24,
                     0 je vynulovaný registr; lze opakovat

Obsluha:
  --udp-host ADRESA  adresa, na které naslouchá (výchozí 127.0.0.1)
  --udp-port N       port UDP (výchozí 5000; 0 vybere volný port)
  --no-udp           neobsluhuje UDP
  --no-pty           neotevře pseudoterminál (Windows ho neotevřou nikdy)
  --com PORT         obsluhuje sériový port PORT (COM5, /dev/ttyUSB0) místo
                     pseudoterminálu, rychlostí podle indexu rychlosti
                     prvního modulu
  --pty-link CESTA   udělá z CESTY také symbolický odkaz na pseudoterminál
                     (při skončení se odstraní)
  --strict-baud      na pseudoterminálu modul slyší (a odpovídá), jen když
                     klient nastavil rychlost linky jeho platného indexu
                     rychlosti. Rámce UDP rychlost nenesou: přes UDP odpovídá
                     každý modul, ať má index rychlosti jakýkoli.
  --exit-after S     sám skončí po S sekundách (výchozí: nikdy)
  --verbose          každý požadavek a odpověď do stderr
  --lang cs|en       jazyk této nápovědy a hlášení (jinak KM207_LANG,
                     výchozí cs); řádky na stdout jsou v obou stejné
  --version          vypíše verzi a skončí
  --help             tento text
)";

const char* const kHelpEnglish = R"(Usage: km207-sim [options]

Software model of KM-207 bus modules on one line: one module, or several
with --module. It answers the modules' commands over UDP (KL-4100 style,
12-byte frames with a transaction number) and over a serial line (10-byte
frames): a pseudo-terminal that stands in for one (Linux), or a serial port
given with --com. On start it prints machine-readable lines on stdout:
  udp: HOST:PORT
  pty: /dev/pts/N                   (or the --com port's name)
  module: ADDRESS baud-index B      (one line per module)
  address: N                        (the first module's)
  ready
and runs until SIGINT or SIGTERM (or --exit-after). SIGUSR1 (not on Windows)
switches every module off and on again (a power cycle: a written address or baud index takes
effect, the power failure is recorded) and prints for each
  power-up: address N baud-index B

Emulated: identification (command 200), counter (0/80 read, 1/80 reset; counts
with time, wraps by mode: 0 32-bit, 1 23-bit, 2 sign and magnitude), clock
(100/1-2 read, 101/1-2 write, year modulo 4), power-failure start and end
(100/3-6), status register (100/0 read, 101/0 clear; bits FN, PRF, PWR, RST,
ERR24), digital inputs (0/64, a moving pattern unless --inputs), outputs
(1/64), configuration registers (102 read, 103 write) 0, 32-43, 62, 63. A new
address (63) or baud index (62) takes effect at the next power-up only.
Unknown commands, registers or values are answered with an error status
(1 unknown command, 2 no such register, 3 value refused). A reply's out byte
echoes P5; its four data bytes are B1-B4.

Module:
  --address N        bus address 0-255 of the single module (default 0)
  --baud-index N     baud index register 62, 0-8 (default 4 = 9600 Bd); with
                     --module, the index of modules given without one
  --module A[:B]     a module at address A (0-255) with baud index B (0-8);
                     may repeat, one module each, every one with its own
                     registers; the options below apply to each of them.
                     Not together with --address. Two modules at the same
                     address and index are refused; two that answer one
                     request (same address, rates not enforced) garble it.
  --mode N           counter mode register 0, 0-2 (default 0)
  --reg R=V          set configuration register R (0, 32-43, 62, 63) to V;
                     may repeat
  --name TEXT        module name, 8 characters (default "KM-207  ")
  --fw TEXT          firmware version, 4 characters (default "1.02")
  --counter N        counter start value (default 0)
  --counter-rate N   counts per second, may be negative (default 10)
  --inputs X         fixed raw input word (e.g. 0x0000ff01) instead of the
                     moving pattern
  --input-script W   drive one input by a script timed from the start (may
                     repeat, one script per input; the others keep --inputs,
                     default 0):
                       square:BIT:HALF_MS       low HALF_MS, high HALF_MS, ...
                       pulse:BIT:AT_MS:LEN_MS   high from AT_MS for LEN_MS
                     The start is printed as "inputs-start: MS" (ms since
                     1970, UTC).
  --clock-offset S   module clock minus host local time, in seconds (default 0)
  --off-before S     seconds the module was off before start-up, recorded as
                     the power failure (default 3600)

Faults (may repeat; all need count=N or p=P):
  --fault KIND[:key=value,...]
      KIND: drop      command runs, reply lost
            delay     command runs, reply sent ms later (key ms, default 100)
            corrupt   command runs, reply damaged (checksum fails)
            readback  command 102 answers another value
            status    command refused with error status (key status,
                      default 3)
      keys: count=N   the next N matching requests
            p=P       then with probability P (0..1)
            cmd=C     only requests with command code C
            address=A only requests to address A (one module of a line)
      e.g. --fault drop:count=2 --fault delay:p=0.1,ms=300
  --seed N           random seed of probabilistic faults (default 1)

A line under test, so that one module fails while the others run on (the
signals not on Windows); a module is named by its address at start, A[:B]
with its baud index B where two share the address:
  --usr1-modules A[:B][,...]
                     SIGUSR1 power-cycles only these modules (default: every
                     module)
  --usr2-modules A[:B][,...]
                     SIGUSR2 switches these modules off (default: every
                     module): they stop answering, as if taken off the line,
                     and the next SIGUSR2 switches them on again (a power-up:
                     the power failure is recorded). Prints for each
                       power-down: address N baud-index B
                     or the power-up line of SIGUSR1
  --status-bits A[:B]=X
                     that module's status register starts as X in place of
                     the power-up's PWR, RST and PRF (0x34): e.g. 0x74 adds
                     ERR24, 0 is the register as cleared; may repeat

Serving:
  --udp-host ADDR    address to bind (default 127.0.0.1)
  --udp-port N       UDP port (default 5000; 0 picks a free port)
  --no-udp           do not serve UDP
  --no-pty           do not open a pseudo-terminal (Windows never opens one)
  --com PORT         serve the serial port PORT (COM5, /dev/ttyUSB0) instead of
                     a pseudo-terminal, at the rate of the first module's baud
                     index
  --pty-link PATH    also make PATH a symbolic link to the pseudo-terminal
                     (removed at exit)
  --strict-baud      on the pseudo-terminal, a module hears (and answers) only
                     when the client set the line speed of its active baud
                     index. UDP frames carry no speed: over UDP every module
                     answers whatever its baud index.
  --exit-after S     stop by itself after S seconds (default: never)
  --verbose          log every request and reply on stderr
  --lang cs|en       language of this help and of the messages (else
                     KM207_LANG, default cs); the lines on stdout stay the same
  --version          print the version and exit
  --help             this text
)";

// The program's own messages, English beside Czech.
struct Message {
    const char* english;
    const char* czech;
};

constexpr Message kMessages[] = {
    {"%1 (see --help)", "%1 (viz --help)"},
    {"unknown option %1", "neznámá volba %1"},
    {"--lang needs cs or en", "--lang potřebuje cs nebo en"},
    {"--address needs 0-255", "--address potřebuje 0-255"},
    {"--module needs ADDRESS[:BAUDINDEX], 0-255 and 0-8",
     "--module potřebuje ADRESA[:INDEX_RYCHLOSTI], 0-255 a 0-8"},
    {"--baud-index needs 0-8", "--baud-index potřebuje 0-8"},
    {"--mode needs 0-2", "--mode potřebuje 0-2"},
    {"--reg needs R=V with bytes", "--reg potřebuje R=V s bajty"},
    {"--reg %1: no such register or value out of range",
     "--reg %1: takový registr není nebo hodnota je mimo rozsah"},
    {"--name needs up to 8 characters", "--name potřebuje nejvýš 8 znaků"},
    {"--fw needs up to 4 characters", "--fw potřebuje nejvýš 4 znaky"},
    {"--counter needs a number", "--counter potřebuje číslo"},
    {"--counter-rate needs -1000000..1000000", "--counter-rate potřebuje -1000000..1000000"},
    {"--inputs needs a 32-bit word", "--inputs potřebuje 32bitové slovo"},
    {"--input-script: input %1 has a script already", "--input-script: vstup %1 už skript má"},
    {"--clock-offset needs seconds", "--clock-offset potřebuje sekundy"},
    {"--off-before needs seconds", "--off-before potřebuje sekundy"},
    {"--seed needs a number", "--seed potřebuje číslo"},
    {"--udp-host needs an address", "--udp-host potřebuje adresu"},
    {"--udp-port needs 0-65535", "--udp-port potřebuje 0-65535"},
    {"--com needs a port name", "--com potřebuje název portu"},
    {"--pty-link needs a path", "--pty-link potřebuje cestu"},
    {"--exit-after needs seconds", "--exit-after potřebuje sekundy"},
    {"%1 needs A[:B][,A[:B]...], 0-255 and 0-8", "%1 potřebuje A[:B][,A[:B]...], 0-255 a 0-8"},
    {"--status-bits needs A[:B]=X with a 32-bit word",
     "--status-bits potřebuje A[:B]=X s 32bitovým slovem"},
    {"--address is for the single module; give each module with --module",
     "--address platí pro jediný modul; více modulů zadejte každý volbou --module"},
    {"--pty-link names the pseudo-terminal, which --com replaces",
     "--pty-link pojmenuje pseudoterminál, který --com nahrazuje"},
    {"two modules at address %1 and baud index %2",
     "dva moduly na adrese %1 s indexem rychlosti %2"},
    {"%1: no module at address %2", "%1: na adrese %2 není žádný modul"},
    {"%1: no module at address %2 and baud index %3",
     "%1: na adrese %2 s indexem rychlosti %3 není žádný modul"},
    {"stopped after %1 udp and %2 serial frames",
     "zastaven po %1 rámcích UDP a %2 sériových rámcích"},
};

} // namespace

std::optional<Language> language_from_code(const char* code) {
    if (!code) return std::nullopt;
    if (std::strcmp(code, "cs") == 0) return Language::czech;
    if (std::strcmp(code, "en") == 0) return Language::english;
    return std::nullopt;
}

bool choose_language(int argc, char** argv) {
    const std::optional<Language> from_env = language_from_code(std::getenv("KM207_LANG"));
    g_language = from_env.value_or(Language::czech);
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--lang") == 0) {
            const std::optional<Language> given =
                language_from_code(i + 1 < argc ? argv[i + 1] : nullptr);
            if (!given) return false;
            g_language = *given;
        }
    return true;
}

const char* help_text() {
    return g_language == Language::english ? kHelpEnglish : kHelpCzech;
}

std::string say(const char* english, std::initializer_list<std::string> args) {
    const char* pattern = english;
    if (g_language == Language::czech)
        for (const Message& m : kMessages)
            if (std::strcmp(m.english, english) == 0) pattern = m.czech;
    // %1, %2, ... by the values in order, in one pass: a value is never
    // read for markers.
    const std::vector<std::string> values(args);
    std::string text;
    for (const char* c = pattern; *c; ++c) {
        const std::size_t n =
            c[0] == '%' && c[1] >= '1' && c[1] <= '9' ? c[1] - '1' : values.size();
        if (n < values.size()) {
            text += values[n];
            ++c;
        } else {
            text += *c;
        }
    }
    return text;
}

} // namespace km::emu
