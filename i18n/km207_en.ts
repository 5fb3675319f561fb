<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="cs_CZ">
<context>
    <name>Komunikace</name>
    <message>
        <source>příkazů %1, chyb %2</source>
        <translation>commands %1, errors %2</translation>
    </message>
    <message>
        <source>, doba min %1 / medián %2 / max %3 ms</source>
        <translation>, time min %1 / median %2 / max %3 ms</translation>
    </message>
</context>
<context>
    <name>TForm1</name>
    <message>
        <source>KM-207 (v.1.02) -  nastavení modulu</source>
        <translation>KM-207 (v.1.02) -  module settings</translation>
    </message>
    <message>
        <source>&amp;Připojení</source>
        <translation>&amp;Connection</translation>
    </message>
    <message>
        <source>&amp;Nastavení</source>
        <translation>&amp;Settings</translation>
    </message>
    <message>
        <source>Adresa, rychlost</source>
        <translation>Address, baud rate</translation>
    </message>
    <message>
        <source>Čítač</source>
        <translation>Counter</translation>
    </message>
    <message>
        <source>Hodinový obvod RTC</source>
        <translation>Real-time clock (RTC)</translation>
    </message>
    <message>
        <source>Digitální vstupy/výstupy</source>
        <translation>Digital inputs/outputs</translation>
    </message>
    <message>
        <source>Uložit konfiguraci modulu…</source>
        <translation>Save module configuration…</translation>
    </message>
    <message>
        <source>Nahrát konfiguraci do modulu…</source>
        <translation>Load configuration into module…</translation>
    </message>
    <message>
        <source>&amp;Okamžité hodnoty</source>
        <translation>&amp;Live values</translation>
    </message>
    <message>
        <source>Digitální vstupy</source>
        <translation>Digital inputs</translation>
    </message>
    <message>
        <source>Digitální výstupy</source>
        <translation>Digital outputs</translation>
    </message>
    <message>
        <source>Status registr</source>
        <translation>Status register</translation>
    </message>
    <message>
        <source>Průběh hodnot…</source>
        <translation>Trend of values…</translation>
    </message>
    <message>
        <source>&amp;Konec</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source> Modul</source>
        <translation> Module</translation>
    </message>
    <message>
        <source> Adresa</source>
        <translation> Address</translation>
    </message>
    <message>
        <source> Rychlost</source>
        <translation> Baud rate</translation>
    </message>
    <message>
        <source> Nelze vytvořit datové struktury programu</source>
        <translation> Cannot create the program&apos;s data structures</translation>
    </message>
    <message>
        <source> Modul  </source>
        <translation> Module  </translation>
    </message>
    <message>
        <source> Adresa  </source>
        <translation> Address  </translation>
    </message>
    <message>
        <source> Rychlost  </source>
        <translation> Baud rate  </translation>
    </message>
    <message>
        <source>Nápověda</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Příručka</source>
        <translation>User&apos;s guide</translation>
    </message>
    <message>
        <source>Přehled linky…</source>
        <translation>Line overview…</translation>
    </message>
</context>
<context>
    <name>TPrirucka</name>
    <message>
        <source>Příručka KM-207</source>
        <translation>KM-207 user&apos;s guide</translation>
    </message>
</context>
<context>
    <name>TProtokolKomunikace</name>
    <message>
        <source>Komunikace s modulem</source>
        <translation>Communication with the module</translation>
    </message>
    <message>
        <source>Vymazat</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>Uložit jako…</source>
        <translation>Save as…</translation>
    </message>
    <message>
        <source>Pozastavit</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>žádný</source>
        <translation>none</translation>
    </message>
    <message>
        <source>žádný – </source>
        <translation>none – </translation>
    </message>
    <message>
        <source>Ovladač: </source>
        <translation>Driver: </translation>
    </message>
    <message>
        <source>pozastaveno, </source>
        <translation>paused, </translation>
    </message>
    <message>
        <source>Uložit komunikaci jako</source>
        <translation>Save communication as</translation>
    </message>
    <message>
        <source>Všechny soubory (*)</source>
        <translation>All files (*)</translation>
    </message>
    <message>
        <source>Uloženo do %1 (%2 řádků)</source>
        <translation>Saved to %1 (%2 rows)</translation>
    </message>
</context>
<context>
    <name>km207</name>
    <message>
        <source>--%1 potřebuje %2</source>
        <translation>--%1 needs %2</translation>
    </message>
    <message>
        <source>cs nebo en</source>
        <translation>cs or en</translation>
    </message>
    <message>
        <source>Nápověda: </source>
        <translation>Help: </translation>
    </message>
    <message>
        <source>cestu k souboru nastavení</source>
        <translation>a path to a settings file</translation>
    </message>
    <message>
        <source>číslo portu COM nebo bázovou adresu</source>
        <translation>a COM port number or a base address</translation>
    </message>
    <message>
        <source>IP adresu LAN konvertoru</source>
        <translation>the LAN converter&apos;s IP address</translation>
    </message>
    <message>
        <source>číslo 1-65535</source>
        <translation>a number 1-65535</translation>
    </message>
    <message>
        <source>milisekundy 0-65535</source>
        <translation>milliseconds 0-65535</translation>
    </message>
    <message>
        <source>adresu modulu 0-255</source>
        <translation>a module address 0-255</translation>
    </message>
    <message>
        <source>milisekundy 1-3600000</source>
        <translation>milliseconds 1-3600000</translation>
    </message>
    <message>
        <source>počet čtení 1 a více</source>
        <translation>a count of reads, 1 or more</translation>
    </message>
    <message>
        <source>soubor (nebo - pro standardní výstup)</source>
        <translation>a file (or - for standard output)</translation>
    </message>
    <message>
        <source>počet opakování 1 a více</source>
        <translation>a count of repeats, 1 or more</translation>
    </message>
    <message>
        <source>milisekundy 100-60000</source>
        <translation>milliseconds 100-60000</translation>
    </message>
    <message>
        <source>soubor linky</source>
        <translation>a line file</translation>
    </message>
    <message>
        <source>počet 1-100</source>
        <translation>a count 1-100</translation>
    </message>
    <message>
        <source>sekundy 1-86400</source>
        <translation>seconds 1-86400</translation>
    </message>
    <message>
        <source>Konfiguraci modulu nelze uložit: </source>
        <translation>The module configuration cannot be saved: </translation>
    </message>
    <message>
        <source>Konfigurace přečtena a uložena do %1 (modul %2, adresa %3, %4 Bd).</source>
        <translation>Configuration read and saved to %1 (module %2, address %3, %4 Bd).</translation>
    </message>
    <message>
        <source>standardního výstupu</source>
        <translation>standard output</translation>
    </message>
    <message>
        <source>Čtení standardního vstupu přerušeno; nic nebylo odesláno.</source>
        <translation>Reading standard input interrupted; nothing was sent.</translation>
    </message>
    <message>
        <source>varování: soubor je z modulu %1, připojený modul je %2</source>
        <translation>warning: the file is from module %1, the connected module is %2</translation>
    </message>
    <message>
        <source>registr %1: %2 -&gt; %3, </source>
        <translation>register %1: %2 -&gt; %3, </translation>
    </message>
    <message>
        <source>Na adrese %1 už odpovídá modul; po zapnutí by tam byly dva. Nic nebylo zapsáno (--keep-address ponechá adresu modulu, --force zapíše i tak).</source>
        <translation>A module already answers at address %1; after power-up there would be two. Nothing was written (--keep-address keeps the module&apos;s address, --force writes anyway).</translation>
    </message>
    <message>
        <source>Přenos zastaven. Nic nebylo zapsáno.</source>
        <translation>Transfer stopped. Nothing was written.</translation>
    </message>
    <message>
        <source>zapsal by se</source>
        <translation>would be written</translation>
    </message>
    <message>
        <source>Zkouška nanečisto: nic nebylo zapsáno.</source>
        <translation>Dry run: nothing was written.</translation>
    </message>
    <message>
        <source>Modul už má konfiguraci ze souboru; nic se nezapisuje.</source>
        <translation>The module already has the configuration from the file; nothing is written.</translation>
    </message>
    <message>
        <source>zapsán a ověřen</source>
        <translation>written and verified</translation>
    </message>
    <message>
        <source>Konfigurace zapsána. Změněné registry: </source>
        <translation>Configuration written. Changed registers: </translation>
    </message>
    <message>
        <source>adresa %1  %2 Bd</source>
        <translation>address %1  %2 Bd</translation>
    </message>
    <message>
        <source>stav </source>
        <translation>status </translation>
    </message>
    <message>
        <source>čítač </source>
        <translation>counter </translation>
    </message>
    <message>
        <source>vstupy </source>
        <translation>inputs </translation>
    </message>
    <message>
        <source>chyba: %1 (kód %2)</source>
        <translation>error: %1 (code %2)</translation>
    </message>
    <message>
        <source>popis: </source>
        <translation>description: </translation>
    </message>
    <message>
        <source>příznaky: </source>
        <translation>flags: </translation>
    </message>
    <message>
        <source>Do souboru %1 nelze zapisovat: %2</source>
        <translation>The file %1 cannot be written: %2</translation>
    </message>
    <message>
        <source>volba %1 nepatří k line %2</source>
        <translation>option %1 does not belong to line %2</translation>
    </message>
    <message>
        <source>použití: km207 line %1 SLOŽKA</source>
        <translation>usage: km207 line %1 FOLDER</translation>
    </message>
    <message>
        <source>line %1 potřebuje --line SOUBOR (soubor linky)</source>
        <translation>line %1 needs --line FILE (the line file)</translation>
    </message>
    <message>
        <source>line restore bere soubor linky ze složky zálohy; --line nepatří k němu</source>
        <translation>line restore takes the line file from the backup folder; --line does not belong to it</translation>
    </message>
    <message>
        <source>Linka uložena do %1 (modulů: %2).</source>
        <translation>Line saved to %1 (modules: %2).</translation>
    </message>
    <message>
        <source>Cyklus přerušen.</source>
        <translation>Cycle interrupted.</translation>
    </message>
    <message>
        <source>modulů %1, odpovídá %2, s příznakem %3</source>
        <translation>modules %1, answering %2, flagged %3</translation>
    </message>
    <message>
        <source>záloha linky</source>
        <translation>line backup</translation>
    </message>
    <message>
        <source>  uložen do </source>
        <translation>  saved to </translation>
    </message>
    <message>
        <source>  NEULOŽEN: </source>
        <translation>  NOT SAVED: </translation>
    </message>
    <message>
        <source> (kód %1)</source>
        <translation> (code %1)</translation>
    </message>
    <message>
        <source>Záloha linky: uloženo modulů %1 z %2 do %3; soubor linky %4.</source>
        <translation>Line backup: %1 of %2 modules saved to %3; line file %4.</translation>
    </message>
    <message>
        <source>Záloha přerušena.</source>
        <translation>Backup interrupted.</translation>
    </message>
    <message>
        <source>obnova linky</source>
        <translation>line restore</translation>
    </message>
    <message>
        <source>  registr %1: %2 -&gt; %3, </source>
        <translation>  register %1: %2 -&gt; %3, </translation>
    </message>
    <message>
        <source>varování: %1: záloha je z modulu %2, odpovídá modul %3</source>
        <translation>warning: %1: the backup is from module %2, module %3 answers</translation>
    </message>
    <message>
        <source>  beze změny</source>
        <translation>  unchanged</translation>
    </message>
    <message>
        <source>Obnova přerušena; nic nebylo zapsáno.</source>
        <translation>Restore interrupted; nothing was written.</translation>
    </message>
    <message>
        <source>Moduly se nepodařilo přečíst; nic nebylo zapsáno.</source>
        <translation>The modules could not be read; nothing was written.</translation>
    </message>
    <message>
        <source>Nic nebylo zapsáno (--force zapíše i tak).</source>
        <translation>Nothing was written (--force writes anyway).</translation>
    </message>
    <message>
        <source>zpět přečteno %1</source>
        <translation>read back %1</translation>
    </message>
    <message>
        <source>zápis přijat, neověřen</source>
        <translation>write accepted, not verified</translation>
    </message>
    <message>
        <source>zápis odeslán bez odpovědi, stav neznámý</source>
        <translation>write sent without an answer, state unknown</translation>
    </message>
    <message>
        <source>nezapsán</source>
        <translation>not written</translation>
    </message>
    <message>
        <source>Obnova linky: zapsáno do modulů %1.</source>
        <translation>Line restore: written to modules %1.</translation>
    </message>
    <message>
        <source>Obnova přerušena.</source>
        <translation>Restore interrupted.</translation>
    </message>
    <message>
        <source>Modul na adrese %1 (%2 Bd, %3) přidán do %4. Další nový modul: připojte ho a spusťte příkaz znovu.</source>
        <translation>Module at address %1 (%2 Bd, %3) added to %4. Next new module: connect it and run the command again.</translation>
    </message>
    <message>
        <source>adresa %1, %2 Bd</source>
        <translation>address %1, %2 Bd</translation>
    </message>
    <message>
        <source>adresa %1  %2 Bd  %3</source>
        <translation>address %1  %2 Bd  %3</translation>
    </message>
    <message>
        <source>rychlost %1 Bd přeskočena: %2 (kód %3)</source>
        <translation>baud rate %1 Bd skipped: %2 (code %3)</translation>
    </message>
    <message>
        <source>jiné odpovědi na lince: </source>
        <translation>other answers on the line: </translation>
    </message>
    <message>
        <source>modul na adrese %1 odpovídá na %2 rychlostech (%3 Bd); počítá se jednou</source>
        <translation>the module at address %1 answers at %2 baud rates (%3 Bd); counted once</translation>
    </message>
    <message>
        <source>vlastní rychlost linky se nepodařilo obnovit: %1 (kód %2)</source>
        <translation>the line&apos;s own baud rate could not be restored: %1 (code %2)</translation>
    </message>
    <message>
        <source>prohledáno %1 z %2, nalezeno modulů: %3%4</source>
        <translation>searched %1 of %2, modules found: %3%4</translation>
    </message>
    <message>
        <source> (přerušeno)</source>
        <translation> (interrupted)</translation>
    </message>
    <message>
        <source>Hledání přerušeno.</source>
        <translation>Search interrupted.</translation>
    </message>
    <message>
        <source>Na adrese %1 může odpovídat více modulů najednou.</source>
        <translation>More than one module may answer at address %1.</translation>
    </message>
    <message>
        <source>Na adresách %1 může odpovídat více modulů najednou.</source>
        <translation>More than one module may answer at addresses %1.</translation>
    </message>
    <message>
        <source>Žádný modul neodpověděl.</source>
        <translation>No module answered.</translation>
    </message>
    <message>
        <source>? (index rychlosti %1)</source>
        <translation>? (baud rate index %1)</translation>
    </message>
    <message>
        <source>? (registr 0 = %1)</source>
        <translation>? (register 0 = %1)</translation>
    </message>
    <message>
        <source>začátek %1, konec %2</source>
        <translation>start %1, end %2</translation>
    </message>
    <message>
        <source>  (výpadek napájení: </source>
        <translation>  (power failure: </translation>
    </message>
    <message>
        <source> Přepsat ho lze volbou --overwrite.</source>
        <translation> --overwrite overwrites it.</translation>
    </message>
    <message>
        <source>čítač %1  rychlost %2/s  vstupy %3  stav %4</source>
        <translation>counter %1  rate %2/s  inputs %3  status %4</translation>
    </message>
    <message>
        <source>%1 čtení selhalo: %2</source>
        <translation>%1 reads failed: %2</translation>
    </message>
    <message>
        <source>Konfigurace zapsána.
</source>
        <translation>Configuration written.
</translation>
    </message>
    <message>
        <source>adresa modulu musí být 0-255</source>
        <translation>the module address must be 0-255</translation>
    </message>
    <message>
        <source>rychlost musí být jedna z 600, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200</source>
        <translation>the baud rate must be one of 600, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200</translation>
    </message>
    <message>
        <source>mód čítače je 32, 23 nebo 23s</source>
        <translation>the counter mode is 32, 23 or 23s</translation>
    </message>
    <message>
        <source>Konfigurace zapsána.</source>
        <translation>Configuration written.</translation>
    </message>
    <message>
        <source>&quot;%1&quot;: dio bere din-neg=HEX, dout-neg=HEX, dout-init=HEX</source>
        <translation>&quot;%1&quot;: dio takes din-neg=HEX, dout-neg=HEX, dout-init=HEX</translation>
    </message>
    <message>
        <source>%1 je zadáno dvakrát</source>
        <translation>%1 is given twice</translation>
    </message>
    <message>
        <source>%1 potřebuje 32bitové číslo v šestnáctkové soustavě</source>
        <translation>%1 needs a 32-bit hexadecimal number</translation>
    </message>
    <message>
        <source>Konfigurace zapsána: </source>
        <translation>Configuration written: </translation>
    </message>
    <message>
        <source>výstupy potřebují 32bitové číslo v šestnáctkové soustavě</source>
        <translation>the outputs need a 32-bit hexadecimal number</translation>
    </message>
    <message>
        <source>Data zapsána</source>
        <translation>Data written</translation>
    </message>
    <message>
        <source>čas je now nebo &quot;RRRR-MM-DD HH:MM:SS&quot;</source>
        <translation>the time is now or &quot;YYYY-MM-DD HH:MM:SS&quot;</translation>
    </message>
    <message>
        <source>Čas nastaven: </source>
        <translation>Time set: </translation>
    </message>
    <message>
        <source>Stavový registr vynulován</source>
        <translation>Status register cleared</translation>
    </message>
    <message>
        <source>Čítač vynulován</source>
        <translation>Counter cleared</translation>
    </message>
    <message>
        <source>Použití: km207 identify [VOLBY SPOJENÍ] [--json]

Otevře spojení jako dialog &quot;Připojení modulu&quot; (inicializace ovladače,
rychlost, tři příkazy identifikace 200) a vypíše modul tak, jak ho ukazuje
dialog, např. &quot;KM-207   v.1.02&quot;.

Příklady:
  km207 identify --kind lan --ip 192.168.1.50 --address 5
  km207 identify --json
</source>
        <translation>Usage: km207 identify [CONNECTION OPTIONS] [--json]

Opens the connection as the connection dialog does (driver initialization,
baud rate, three identification commands 200) and prints the module as the
dialog shows it, e.g. &quot;KM-207   v.1.02&quot;.

Examples:
  km207 identify --kind lan --ip 192.168.1.50 --address 5
  km207 identify --json
</translation>
    </message>
    <message>
        <source>Použití: km207 scan [--addresses A-B] [--bauds all|R1,R2,...] [--timeout MS]
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
</source>
        <translation>Usage: km207 scan [--addresses A-B] [--bauds all|R1,R2,...] [--timeout MS]
                  [CONNECTION OPTIONS] [--json]

Tries the identification (command 200) at each address and baud rate and
prints a line for each module that answered: address, baud rate and name
with version. Never writes anything. At the end it gives the line back its
own baud rate.

  --addresses A-B    addresses to try (default 0-255), or one address
  --bauds LIST       baud rates in Bd separated by commas, or all (all nine);
                     the default is the connection&apos;s baud rate
  --timeout MS       UDP timeout of the LAN converter (--kind lan only); an
                     empty address costs one timeout. Serial drivers wait
                     according to the line&apos;s baud rate.

Progress is shown on standard error when it is a terminal.
The exit status is 2 when no module answered, and 1 when more than one
module may answer at some address (a damaged reply or a reply from another
module; in JSON the array collisions). Ctrl-C ends the search.

Examples:
  km207 scan --kind com --port 1 --bauds all
  km207 scan --kind lan --ip 192.168.1.50 --addresses 0-31 --timeout 50
</translation>
    </message>
    <message>
        <source>Použití: km207 get PŘEDMĚT [--repeat N] [VOLBY SPOJENÍ] [--json]

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
</source>
        <translation>Usage: km207 get SUBJECT [--repeat N] [CONNECTION OPTIONS] [--json]

One read from the module:
  address         address written in the module (register 63)
  baud            baud rate written in the module (register 62), in Bd
  mode            counter mode (register 0): 32, 23 or 23s
  dio             din-neg=HEX dout-neg=HEX dout-init=HEX (registers 32-43)
  counter         the counter by the mode the module has now
  clock           the module&apos;s clock (D.M.YYYY H:MM:SS, year completed
                  from the PC)
  power-failure   start and end of the last power failure
  status          status register (HEX and the names of the bits set)
  inputs          digital inputs (HEX, bit n = DINn)

  --repeat N      reads N times in a row and at the end command statistics:
                  count, errors by code, time min/median/max

Examples:
  km207 get counter --address 5
  km207 get status --json
  km207 get inputs --repeat 100
</translation>
    </message>
    <message>
        <source>Použití: km207 set PŘEDMĚT HODNOTA [VOLBY SPOJENÍ] [--json]

  set address N                 adresa modulu 0-255 (registr 63)
  set baud N                    rychlost modulu v Bd (registr 62)
  set mode 32|23|23s            mód čítače (registr 0)
  set dio [din-neg=HEX] [dout-neg=HEX] [dout-init=HEX]
                                negace vstupů, negace výstupů, počáteční
                                stav výstupů (registry 32-43); co chybí, se
                                nejdřív přečte z modulu
  set outputs HEX               digitální výstupy (bit n = DOUTn)
  set clock now|&quot;RRRR-MM-DD HH:MM:SS&quot;
                                hodiny modulu: čas, pak datum z jednoho
                                okamžiku

Registry se zapisují a zpět čtou a porovnávají jako v oknech; výstupy a
hodiny okna zpět nečtou. Nová adresa a rychlost platí od příštího zapnutí
modulu.

Příklady:
  km207 set address 6 --address 5
  km207 set dio din-neg=A5 dout-init=80000001
  km207 set clock now
</source>
        <translation>Usage: km207 set SUBJECT VALUE [CONNECTION OPTIONS] [--json]

  set address N                 module address 0-255 (register 63)
  set baud N                    module baud rate in Bd (register 62)
  set mode 32|23|23s            counter mode (register 0)
  set dio [din-neg=HEX] [dout-neg=HEX] [dout-init=HEX]
                                input inversion, output inversion, initial
                                state of the outputs (registers 32-43); what
                                is missing is first read from the module
  set outputs HEX               digital outputs (bit n = DOUTn)
  set clock now|&quot;YYYY-MM-DD HH:MM:SS&quot;
                                the module&apos;s clock: time, then date, from
                                one moment

Registers are written, read back and compared as in the windows; the windows
do not read back the outputs and the clock. A new address and baud rate take
effect at the module&apos;s next power-up.

Examples:
  km207 set address 6 --address 5
  km207 set dio din-neg=A5 dout-init=80000001
  km207 set clock now
</translation>
    </message>
    <message>
        <source>Použití: km207 clear status|counter [VOLBY SPOJENÍ] [--json]

  clear status    vynuluje stavový registr (příkaz 101/0)
  clear counter   vynuluje čítač (příkaz 1/80)

Příklady:
  km207 clear status --address 5
</source>
        <translation>Usage: km207 clear status|counter [CONNECTION OPTIONS] [--json]

  clear status    clears the status register (command 101/0)
  clear counter   clears the counter (command 1/80)

Examples:
  km207 clear status --address 5
</translation>
    </message>
    <message>
        <source>Použití: km207 watch PŘEDMĚT [--interval MS] [--count N] [--csv SOUBOR]
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
                  chyby čtení, 0 bez chyby); &quot;-&quot; je standardní výstup.
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
</source>
        <translation>Usage: km207 watch SUBJECT [--interval MS] [--count N] [--csv FILE]
                     [--rate-window MS] [--csv-excel] [CONNECTION OPTIONS] [--json]

Reads over and over and prints a line with the time for each read:
  counter   every 100 ms (mode, then counter)
  status    every 500 ms
  inputs    every 100 ms
  clock     every 200 ms (the first time also the power failure)
  trend     every 100 ms mode and counter, inputs and status register, with
            the counter rate in pulses per second, as the window Trend of
            values

  --csv FILE      (trend only) writes CSV rows with the same columns as the
                  window&apos;s recording: cas,citac,rychlost,vstupy,stav,chyba
                  (a value not read is an empty field, chyba is the code of
                  the first read error, 0 without an error); &quot;-&quot; is standard
                  output. Creates a new file; refuses an existing one, with
                  --overwrite empties it (only a regular file it may write).
                  Each row goes whole to the file at once.
  --overwrite     (with --csv) overwrites an existing file
  --rate-window MS
                  (trend only) the counter rate from the pulses of the last
                  MS milliseconds (100-60000, default 1000): a longer window,
                  smaller jumps by one pulse
  --csv-excel     (with --csv) CSV for Excel: semicolons, decimal comma,
                  UTF-8 with BOM, as a Czech Excel opens it

  --interval MS   another period
  --count N       ends after N reads

Ctrl-C ends cleanly. A failed read is printed on standard error and reading
goes on; the exit status is then 1 or 2 by the worst error.

Examples:
  km207 watch counter --interval 500
  km207 watch inputs --count 10 --json
</translation>
    </message>
    <message>
        <source>Použití: km207 backup SOUBOR [VOLBY SPOJENÍ] [--json]

Přečte celou konfiguraci modulu (adresa, rychlost, mód čítače, dvanáct
bajtů digitálních vstupů a výstupů) a uloží ji s identifikací modulu a
časem čtení do čitelného textového souboru.

Příklady:
  km207 backup modul5.km207 --address 5
  km207 backup - &gt; modul5.km207
</source>
        <translation>Usage: km207 backup FILE [CONNECTION OPTIONS] [--json]

Reads the whole module configuration (address, baud rate, counter mode,
twelve bytes of digital inputs and outputs) and saves it with the module&apos;s
identification and the time of reading to a readable text file.

Examples:
  km207 backup modul5.km207 --address 5
  km207 backup - &gt; modul5.km207
</translation>
    </message>
    <message>
        <source>Použití: km207 restore SOUBOR [--address N] [--keep-address] [--dry-run]
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
</source>
        <translation>Usage: km207 restore FILE [--address N] [--keep-address] [--dry-run]
                  [--force] [CONNECTION OPTIONS] [--json]

Writes the configuration from the file to the module: first checks the whole
file (refuses a wrong file without sending anything), reads the module&apos;s
configuration and writes register by register only those that differ, each
read back as the window of digital inputs and outputs does. Prints the
changed registers. A new address or baud rate takes effect at the module&apos;s
next power-up.

  --address N     the address the module is at now (as with other commands);
                  the address from the file is written to the module as
                  register 63
  --keep-address  the module keeps its address and baud rate (one setting
                  for several modules)
  --dry-run       only prints what would change; writes nothing
  --force         writes the new address even when another module already
                  answers at it (without this option the write is refused,
                  exit status 1)

Prints a warning when the file is from another module than the one
connected.
An interrupted write (the module stopped answering, Ctrl-C) prints every
register in one list: written and verified; written but read back otherwise
(both values); write confirmed, not verified; sent without an answer (state
unknown); not written.

Examples:
  km207 restore modul5.km207 --address 9 --dry-run
  km207 restore nastaveni.km207 --keep-address --address 3
  ssh pc cat modul5.km207 | km207 restore -
</translation>
    </message>
    <message>
        <source>Použití: km207 line PŘEDMĚT [SLOŽKA] [--line SOUBOR] [VOLBY] [VOLBY SPOJENÍ]
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
  --misses N         kolik cyklů bez odpovědi za sebou znamená &quot;neodpovídá&quot;
                     (výchozí status 1, watch 3)
  --interval MS      watch: perioda cyklů od začátku cyklu (výchozí 1000)
  --count N          watch: skončí po N cyklech
  --csv SOUBOR       watch: řádek CSV za každý modul v každém cyklu se sloupci
                     cas,adresa,rychlost,stav,priznaky,posledni_odpoved,
                     selhani,stavovy_registr,citac,vstupy,modul
                     (&quot;-&quot; je standardní výstup); existující soubor odmítne
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
</source>
        <translation>Usage: km207 line SUBJECT [FOLDER] [--line FILE] [OPTIONS] [CONNECTION OPTIONS]
                  [--json]

A line of modules. The line file (.km207linka) gives the address and baud
rate of each module, the expected name and version, and a description.
  scan --line FILE          searches for modules as scan does (reads only)
                            and saves them to the line file; --addresses and
                            --bauds as with scan
  status --line FILE        one cycle reading all modules: state, name and
                            version, status register, counter, inputs, flags
  watch --line FILE         cycles over and over; prints a module whose state
                            or flags changed (all of them in the first cycle)
  backup FOLDER --line FILE
                            the configuration of each module into FOLDER
                            (files modul_AAA_RYCHLOST.km207 as with backup)
                            and the line file linka.km207linka; a module that
                            does not answer is printed as not saved
  restore FOLDER            the configuration from the backup back to the
                            modules: first reads all modules and prints what
                            will change, then writes the differing registers
                            with read-back
  commission --line FILE    commissions one new module (see below)

A cycle takes the modules by baud rate: first the connection&apos;s baud rate,
then the others in ascending order, so the driver&apos;s baud rate changes only
where the next module needs it, and returns at the end. A module is read
with three commands (status register, counter, inputs); at the first
contact, when it answers again and after a power failure also the
identification, the counter mode and the end of the power failure.

Flags: not answering (after --misses cycles in a row without an answer),
power failure (since the module was first read), ERR24, another module
(name or version other than in the line file).

  --line FILE        the line file; scan writes it, commission adds to it
  --misses N         how many cycles in a row without an answer mean &quot;not
                     answering&quot; (default status 1, watch 3)
  --interval MS      watch: period of the cycles from a cycle&apos;s start
                     (default 1000)
  --count N          watch: ends after N cycles
  --csv FILE         watch: a CSV row for each module in each cycle with the
                     columns cas,adresa,rychlost,stav,priznaky,posledni_odpoved,
                     selhani,stavovy_registr,citac,vstupy,modul
                     (&quot;-&quot; is standard output); refuses an existing file
  --overwrite        watch: with --csv empties an existing file (only a
                     regular file it may write)
  --dry-run          restore: only prints what would change; writes nothing
  --force            restore: writes even an address where a module already
                     answers
  --addresses A-B    commission: addresses to assign, the lowest free first
  --module-baud N    commission: the baud rate the module gets (else it stays
                     9600 Bd)
  --wait S           commission: how long to wait for the module after
                     power-up (default 120 s)

Commissioning: connect one new module (from the factory it has address 0
and baud rate 9600 Bd). The command finds it, writes it the lowest free
address (and baud rate) with read-back, asks you to switch the module off
and on, waits for it at the new address and adds it to the line file. Two
modules at the factory address or an occupied address stop the procedure.
Next module: connect it and run the command again.

status and watch return 0 when all modules answer without a flag, 1 when
one has a flag or answered with an error, 2 when one does not answer (watch:
the worst state of the whole run). A wrong line file or backup folder is
refused without sending anything.

Examples:
  km207 line scan --line linka.km207linka --bauds 9600,38400
  km207 line status --line linka.km207linka
  km207 line watch --line linka.km207linka --csv linka.csv
  km207 line backup zaloha --line linka.km207linka
  km207 line restore zaloha --dry-run
  km207 line commission --line linka.km207linka --module-baud 38400
</translation>
    </message>
    <message>
        <source> (bez dalších slov)</source>
        <translation> (no further words)</translation>
    </message>
    <message>
        <source> HODNOTA</source>
        <translation> VALUE</translation>
    </message>
    <message>
        <source> SOUBOR</source>
        <translation> FILE</translation>
    </message>
    <message>
        <source> [SLOŽKA]</source>
        <translation> [FOLDER]</translation>
    </message>
    <message>
        <source>Použití: km207 PŘÍKAZ [PŘEDMĚT] [HODNOTA] [VOLBY]

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
</source>
        <translation>Usage: km207 COMMAND [SUBJECT] [VALUE] [OPTIONS]

Settings and live values of the KM-207 module from the command line. Sends
the module the same commands in the same order, with the same pauses and
verification as the windows of the program W_KM207.

Commands:
  identify                    name and version of the module
  scan                        searches the line for modules (reads only)
  get SUBJECT                 one read: address, baud, mode, dio, counter,
                              clock, power-failure, status, inputs
  set SUBJECT VALUE           write (verified where the window verifies it):
                              address, baud, mode, dio, outputs, clock
  clear status|counter        clears the status register or the counter
  watch SUBJECT               reads over and over: counter, status, inputs,
                              clock, trend (all at once, also to CSV)
  backup FILE                 the whole module configuration to a file
  restore FILE                the configuration from a file to the module
  line SUBJECT                a line of modules: scan, status, watch, backup,
                              restore, commission
  help [COMMAND]              help (also COMMAND --help)
</translation>
    </message>
    <message>
        <source>
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

Zadá-li se volba dvakrát, platí poslední. SOUBOR &quot;-&quot; u backup a restore je
standardní výstup a vstup.
</source>
        <translation>
Connection (each option overrides the value from the program&apos;s W_km207.ini):
  --kind com|isa|pci|usb|lan  interface
  --port N                    COM port number (com) or base address of the
                              KIB-410 card (isa; 300h, 0x300 or 768)
  --ip ADDRESS                IP address of the KL-4100 LAN converter (lan)
  --udp-port N                UDP port of the LAN converter (lan), 1-65535
  --timeout MS                UDP timeout of the LAN converter (lan), 0-65535
  --address N                 module address on the bus, 0-255
  --baud N                    baud rate of the line in Bd (600 ... 115200)

Other options:
  --json                      output as one JSON object per line
  --verbose                   every request and reply on standard error, as
                              the protocol shows them
  --config FILE               settings file instead of W_km207.ini
  --no-config                 no settings file (default values)
  --lang cs|en                language of the texts (else KM207_LANG, default
                              cs); JSON is the same in both languages
  -h, --help                  help
  --version                   program version (with --json as JSON)

An option given twice takes its last value. FILE &quot;-&quot; of backup and restore
is standard output and input.
</translation>
    </message>
    <message>
        <source>
Soubor nastavení se hledá jako v programu W_KM207 (vedle programu, lze-li do
jeho složky zapisovat, jinak %LOCALAPPDATA%\W_KM207\W_km207.ini) a km207 ho
nikdy nepřepisuje.
</source>
        <translation>
The settings file is looked for as in the program W_KM207 (beside the
program, if its folder is writable, else %LOCALAPPDATA%\W_KM207\W_km207.ini)
and km207 never overwrites it.
</translation>
    </message>
    <message>
        <source>
Soubor nastavení se hledá jako v programu W_KM207 (vedle programu, nebo
~/.config/W_KM207/W_km207.ini) a km207 ho nikdy nepřepisuje.
</source>
        <translation>
The settings file is looked for as in the program W_KM207 (beside the
program, or ~/.config/W_KM207/W_km207.ini) and km207 never overwrites it.
</translation>
    </message>
    <message>
        <source>
Návratový kód:
  0   úspěch
  1   modul odpověděl chybou, ověření zápisu selhalo, restore našel modul
      na nové adrese, nebo scan našel adresu, kde může odpovídat více modulů
  2   modul neodpovídá, spojení se nepodařilo otevřít, nebo přerušeno (Ctrl-C)
  64  chybné použití (příkaz, volba, hodnota, soubor); nic se neposlalo
  74  výstup nelze zapsat (standardní výstup, soubor záznamu)
</source>
        <translation>
Exit status:
  0   success
  1   the module answered with an error, a write verification failed,
      restore found the module at a new address, or scan found an address
      where more than one module may answer
  2   the module does not answer, the connection could not be opened, or
      interrupted (Ctrl-C)
  64  wrong usage (command, option, value, file); nothing was sent
  74  output cannot be written (standard output, recording file)
</translation>
    </message>
    <message>
        <source>

Podrobně: km207 --help, km207 PŘÍKAZ --help</source>
        <translation>

In detail: km207 --help, km207 COMMAND --help</translation>
    </message>
    <message>
        <source>km207: Standardní výstup nelze zapsat: %1.</source>
        <translation>km207: Standard output cannot be written: %1.</translation>
    </message>
    <message>
        <source>neznámé rozhraní &quot;%1&quot;; --kind je com, isa, pci, usb nebo lan</source>
        <translation>unknown interface &quot;%1&quot;; --kind is com, isa, pci, usb or lan</translation>
    </message>
    <message>
        <source>jednu z rychlostí 600, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200</source>
        <translation>one of the baud rates 600, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200</translation>
    </message>
    <message>
        <source>adresu nebo rozsah A-B v mezích 0-255, A &lt;= B</source>
        <translation>an address or a range A-B within 0-255, A &lt;= B</translation>
    </message>
    <message>
        <source>all nebo rychlosti v Bd oddělené čárkou (např. 9600,38400)</source>
        <translation>all or baud rates in Bd separated by commas (e.g. 9600,38400)</translation>
    </message>
    <message>
        <source>použití: km207 %1</source>
        <translation>usage: km207 %1</translation>
    </message>
    <message>
        <source>%1: neznámý předmět &quot;%2&quot;; možnosti: %3</source>
        <translation>%1: unknown subject &quot;%2&quot;; choices: %3</translation>
    </message>
    <message>
        <source>--csv patří k watch trend</source>
        <translation>--csv belongs to watch trend</translation>
    </message>
    <message>
        <source>--rate-window patří k watch trend</source>
        <translation>--rate-window belongs to watch trend</translation>
    </message>
    <message>
        <source>--overwrite patří k --csv</source>
        <translation>--overwrite belongs to --csv</translation>
    </message>
    <message>
        <source>--csv-excel patří k --csv</source>
        <translation>--csv-excel belongs to --csv</translation>
    </message>
    <message>
        <source>neznámá volba %1</source>
        <translation>unknown option %1</translation>
    </message>
    <message>
        <source>neznámá volba --%1</source>
        <translation>unknown option --%1</translation>
    </message>
    <message>
        <source>volba --%1 potřebuje hodnotu</source>
        <translation>option --%1 needs a value</translation>
    </message>
    <message>
        <source>volba --%1 nemá hodnotu</source>
        <translation>option --%1 takes no value</translation>
    </message>
    <message>
        <source>neznámý příkaz &quot;%1&quot;</source>
        <translation>unknown command &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--config a --no-config se vylučují</source>
        <translation>--config and --no-config exclude each other</translation>
    </message>
    <message>
        <source>--version se zadává bez příkazu</source>
        <translation>--version is given without a command</translation>
    </message>
    <message>
        <source>chybí příkaz</source>
        <translation>command missing</translation>
    </message>
    <message>
        <source>volba --%1 nepatří k příkazu %2</source>
        <translation>option --%1 does not belong to command %2</translation>
    </message>
    <message>
        <source> Registr %1: zapsáno %2, zpět přečteno %3.</source>
        <translation> Register %1: written %2, read back %3.</translation>
    </message>
    <message>
        <source>
Registr %1: zapsáno %2, zpět přečteno %3.</source>
        <translation>
Register %1: written %2, read back %3.</translation>
    </message>
    <message>
        <source>
Registr %1: zápis přijat, neověřen.</source>
        <translation>
Register %1: write accepted, not verified.</translation>
    </message>
    <message>
        <source>
Registr %1: zápis odeslán bez odpovědi, stav neznámý.</source>
        <translation>
Register %1: write sent without an answer, state unknown.</translation>
    </message>
    <message>
        <source>žádné</source>
        <translation>none</translation>
    </message>
    <message>
        <source>Zápis nedokončen.
Zapsané a ověřené registry: %1.</source>
        <translation>Write not finished.
Registers written and verified: %1.</translation>
    </message>
    <message>
        <source>
Nezapsané: %1.</source>
        <translation>
Not written: %1.</translation>
    </message>
    <message>
        <source>soubor nastavení: </source>
        <translation>settings file: </translation>
    </message>
    <message>
        <source>soubor %1, [%2] %3: hodnotu &quot;%4&quot; nelze použít, použije se %5</source>
        <translation>file %1, [%2] %3: the value &quot;%4&quot; cannot be used, %5 is used</translation>
    </message>
    <message>
        <source> (rozhraní je %1)</source>
        <translation> (the interface is %1)</translation>
    </message>
    <message>
        <source>--port potřebuje číslo portu COM 1-255</source>
        <translation>--port needs a COM port number 1-255</translation>
    </message>
    <message>
        <source>--port potřebuje bázovou adresu karty 0-FFFFh (např. 300h)</source>
        <translation>--port needs the card&apos;s base address 0-FFFFh (e.g. 300h)</translation>
    </message>
    <message>
        <source>--port platí jen pro rozhraní com a isa</source>
        <translation>--port applies only to the com and isa interfaces</translation>
    </message>
    <message>
        <source>; UDP port je --udp-port</source>
        <translation>; the UDP port is --udp-port</translation>
    </message>
    <message>
        <source>--ip, --udp-port a --timeout platí jen pro rozhraní lan</source>
        <translation>--ip, --udp-port and --timeout apply only to the lan interface</translation>
    </message>
    <message>
        <source> (soubor %1, [%2] %3)</source>
        <translation> (file %1, [%2] %3)</translation>
    </message>
    <message>
        <source>Důvod: </source>
        <translation>Reason: </translation>
    </message>
    <message>
        <source>Chyba inicializace připojení - </source>
        <translation>Connection initialization error - </translation>
    </message>
    <message>
        <source>chybí příkaz
</source>
        <translation>command missing
</translation>
    </message>
</context>
</TS>
