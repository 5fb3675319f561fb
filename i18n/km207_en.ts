<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="cs_CZ">
<context>
    <name>Dekl</name>
    <message>
        <source>Připojení modulu dosud neinicializováno</source>
        <translation>Module connection not initialized yet</translation>
    </message>
</context>
<context>
    <name>HledaniOvladace</name>
    <message>
        <source>knihovna %1 není ve složce programu %2 ani v %3 a nenašlo ji ani systémové hledání knihoven; pracovní složka se neprohledává, a tak se %1 z ní (%4) nenačte</source>
        <translation>library %1 is not in the program folder %2 nor in %3, and the system&apos;s library search did not find it either; the working folder is not searched, so %1 is not loaded from it (%4)</translation>
    </message>
    <message>
        <source>knihovna %1 není ve složce programu %2 ani v %3 a nenašlo ji ani systémové hledání knihoven; pracovní složka se neprohledává</source>
        <translation>library %1 is not in the program folder %2 nor in %3, and the system&apos;s library search did not find it either; the working folder is not searched</translation>
    </message>
    <message>
        <source>knihovna %1 není ve složce programu %2 a nenašlo ji ani systémové hledání knihoven; pracovní složka se neprohledává, a tak se %1 z ní (%3) nenačte</source>
        <translation>library %1 is not in the program folder %2, and the system&apos;s library search did not find it either; the working folder is not searched, so %1 is not loaded from it (%3)</translation>
    </message>
    <message>
        <source>knihovna %1 není ve složce programu %2 a nenašlo ji ani systémové hledání knihoven; pracovní složka se neprohledává</source>
        <translation>library %1 is not in the program folder %2, and the system&apos;s library search did not find it either; the working folder is not searched</translation>
    </message>
    <message>
        <source>vedle programu chybí %1, který knihovnu %2 spouští.</source>
        <translation>%1, which runs library %2, is missing beside the program.</translation>
    </message>
    <message>
        <source>%1 přes %2 (Wine)</source>
        <translation>%1 via %2 (Wine)</translation>
    </message>
    <message>
        <source>%1 přes %2</source>
        <translation>%1 via %2</translation>
    </message>
    <message>
        <source>program Wine není nainstalován, a 32bitovou knihovnu %1 spouští km207-driverhost.exe právě pod Wine. Nainstalujte ho: %2</source>
        <translation>Wine is not installed, and km207-driverhost.exe runs the 32-bit library %1 under Wine. Install it: %2</translation>
    </message>
    <message>
        <source>tento systém neumí spouštět 32bitové programy (jádro je odmítá), a tak ani Wine nespustí 32bitový km207-driverhost.exe pro knihovnu %1. Pomůže jádro s podporou 32bitových programů (IA32 emulation), jiný počítač s Linuxem nebo Windows.</source>
        <translation>this system cannot run 32-bit programs (the kernel refuses them), so Wine cannot start the 32-bit km207-driverhost.exe for library %1 either. A kernel with 32-bit support (IA32 emulation), another Linux computer or Windows will do.</translation>
    </message>
    <message>
        <source>chybí wine32, 32bitová část Wine, bez níž Wine nespustí 32bitový km207-driverhost.exe pro knihovnu %1. Nainstalujte ji: %2</source>
        <translation>wine32 is missing, the 32-bit part of Wine without which Wine cannot start the 32-bit km207-driverhost.exe for library %1. Install it: %2</translation>
    </message>
    <message>
        <source>km207-driverhost.exe pro knihovnu %1 se pod Wine nespustil; hlášení Wine jsou na chybovém výstupu programu.</source>
        <translation>km207-driverhost.exe for library %1 did not start under Wine; Wine&apos;s messages are on the program&apos;s error output.</translation>
    </message>
</context>
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
    <message>
        <source>CHYBA %1</source>
        <translation>ERROR %1</translation>
    </message>
    <message>
        <source>%1  adr %2  %3  %4 -&gt; %5  %6  %7 ms</source>
        <translation>%1  addr %2  %3  %4 -&gt; %5  %6  %7 ms</translation>
    </message>
</context>
<context>
    <name>Kxxx410</name>
    <message>
        <source>V pořádku</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Zařízení nenalezeno</source>
        <translation>Device not found</translation>
    </message>
    <message>
        <source>Přístup k zařízení odepřen (přidejte uživatele do skupiny dialout)</source>
        <translation>Access to the device denied (add the user to the dialout group)</translation>
    </message>
    <message>
        <source>Port je používán jiným programem</source>
        <translation>The port is used by another program</translation>
    </message>
    <message>
        <source>Neplatná komunikační rychlost</source>
        <translation>Invalid baud rate</translation>
    </message>
    <message>
        <source>Modul neodpovídá</source>
        <translation>The module does not respond</translation>
    </message>
    <message>
        <source>Poškozená odpověď modulu</source>
        <translation>Damaged reply from the module</translation>
    </message>
    <message>
        <source>Odpověď od jiného modulu</source>
        <translation>Reply from another module</translation>
    </message>
    <message>
        <source>Neplatná IP adresa</source>
        <translation>Invalid IP address</translation>
    </message>
    <message>
        <source>Chybný požadavek</source>
        <translation>Invalid request</translation>
    </message>
    <message>
        <source>Ovladač není připojen</source>
        <translation>The driver is not bound</translation>
    </message>
    <message>
        <source>Neplatný UDP port</source>
        <translation>Invalid UDP port</translation>
    </message>
    <message>
        <source>Modul hlásí chybu</source>
        <translation>The module reports an error</translation>
    </message>
    <message>
        <source>Neplatný handle ovladače</source>
        <translation>Invalid driver handle</translation>
    </message>
    <message>
        <source>Chyba komunikace</source>
        <translation>Communication error</translation>
    </message>
    <message>
        <source>Nedostatek prostředků</source>
        <translation>Out of resources</translation>
    </message>
    <message>
        <source>Modul nezná příkaz</source>
        <translation>The module does not know the command</translation>
    </message>
    <message>
        <source>Modul nemá tento registr</source>
        <translation>The module has no such register</translation>
    </message>
    <message>
        <source>Modul odmítl hodnotu</source>
        <translation>The module refused the value</translation>
    </message>
    <message>
        <source>Neplatný parametr ovladače</source>
        <translation>Invalid driver parameter</translation>
    </message>
    <message>
        <source>Neznámá chyba ovladače</source>
        <translation>Unknown driver error</translation>
    </message>
    <message>
        <source>chyba inicializace knihovny %1</source>
        <translation>library %1 failed to initialize</translation>
    </message>
    <message>
        <source>chybná knihovna %1</source>
        <translation>invalid library %1</translation>
    </message>
    <message>
        <source>Čekání na odpověď modulu přerušeno</source>
        <translation>Waiting for the module&apos;s reply interrupted</translation>
    </message>
    <message>
        <source>neznámý chybový kód</source>
        <translation>unknown error code</translation>
    </message>
</context>
<context>
    <name>Linka</name>
    <message>
        <source>odpovídá</source>
        <translation>responds</translation>
    </message>
    <message>
        <source>neodpovídá</source>
        <translation>does not respond</translation>
    </message>
    <message>
        <source>odpovídá s chybami</source>
        <translation>responds with errors</translation>
    </message>
    <message>
        <source>nezjištěno</source>
        <translation>unknown</translation>
    </message>
    <message>
        <source>výpadek napájení (konec %1)</source>
        <translation>power failure (ended %1)</translation>
    </message>
    <message>
        <source>výpadek napájení</source>
        <translation>power failure</translation>
    </message>
    <message>
        <source>jiný modul: %1 (čekán %2)</source>
        <translation>another module: %1 (expected %2)</translation>
    </message>
    <message>
        <source>adresa není v souboru linky</source>
        <translation>address not in the line file</translation>
    </message>
    <message>
        <source>Připojení k modulu není inicializováno.</source>
        <translation>The connection to the module is not initialized.</translation>
    </message>
    <message>
        <source>Na lince právě probíhá jiná operace.</source>
        <translation>Another operation is running on the line.</translation>
    </message>
    <message>
        <source>%1 není složka.</source>
        <translation>%1 is not a folder.</translation>
    </message>
    <message>
        <source>Složku %1 nelze vytvořit.</source>
        <translation>Folder %1 cannot be created.</translation>
    </message>
    <message>
        <source>Záloha nedokončena.</source>
        <translation>Backup not finished.</translation>
    </message>
    <message>
        <source>%1 není složka se zálohou linky.</source>
        <translation>%1 is not a folder with a line backup.</translation>
    </message>
    <message>
        <source>Moduly na adresách %1 a %2 by po obnově byly oba na adrese %3 s rychlostí %4 Bd a odpovídaly by si navzájem; záloha se neobnoví.</source>
        <translation>After the restore, the modules at addresses %1 and %2 would both be at address %3 at %4 Bd and would answer over each other; the backup is not restored.</translation>
    </message>
    <message>
        <source>Modul nebyl zálohován; nic se nezapíše.</source>
        <translation>The module was not backed up; nothing is written.</translation>
    </message>
    <message>
        <source>Modul na adrese %1 má dostat adresu %2, ale na ní už odpovídá modul (%3 Bd); po zapnutí by tam byly dva.</source>
        <translation>The module at address %1 is to get address %2, but a module already responds there (%3 Bd); after power-up there would be two.</translation>
    </message>
    <message>
        <source>Rozsah adres musí být 0-255 a rychlost jedna z devíti.</source>
        <translation>The address range must be 0-255 and the baud rate one of the nine.</translation>
    </message>
    <message>
        <source>Na lince je modul na výrobní adrese %1 (%2 Bd); nový modul by se od něj nerozlišil. Dejte mu nejdřív jinou adresu.</source>
        <translation>A module on the line is at the factory address %1 (%2 Bd); a new module could not be told apart from it. Give it another address first.</translation>
    </message>
    <message>
        <source>V rozsahu %1-%2 už není volná adresa.</source>
        <translation>No free address is left in the range %1-%2.</translation>
    </message>
    <message>
        <source>Uvedení do provozu zastaveno.</source>
        <translation>Commissioning stopped.</translation>
    </message>
    <message>
        <source>Hledám nový modul na výrobní adrese %1 (%2 Bd)…</source>
        <translation>Looking for a new module at the factory address %1 (%2 Bd)…</translation>
    </message>
    <message>
        <source>Na výrobní adrese %1 (%2 Bd) neodpovídá žádný modul. Připojte nový modul a zkuste to znovu.</source>
        <translation>No module responds at the factory address %1 (%2 Bd). Connect the new module and try again.</translation>
    </message>
    <message>
        <source>Na výrobní adrese %1 odpovídá více modulů najednou (%2). Připojujte nové moduly po jednom.</source>
        <translation>More than one module responds at the factory address %1 (%2). Connect new modules one at a time.</translation>
    </message>
    <message>
        <source>Nalezen modul %1; dostane adresu %2 (%3 Bd).</source>
        <translation>Module %1 found; it gets address %2 (%3 Bd).</translation>
    </message>
    <message>
        <source>Na adrese %1 (%2 Bd) už odpovídá modul, který na lince není; po zapnutí by tam byly dva. Nic nebylo zapsáno.</source>
        <translation>A module that is not on the line already responds at address %1 (%2 Bd); after power-up there would be two. Nothing was written.</translation>
    </message>
    <message>
        <source>Zápis adresy se nepodařil: %1</source>
        <translation>Writing the address failed: %1</translation>
    </message>
    <message>
        <source>Adresa %1 zapsána a ověřena. %2 Vypněte a znovu zapněte modul; čekám na něj na adrese %1 (%3 Bd).</source>
        <translation>Address %1 written and verified. %2 Switch the module off and on again; waiting for it at address %1 (%3 Bd).</translation>
    </message>
    <message>
        <source>Modul %1 odpovídá na nové adrese %2 (%3 Bd).</source>
        <translation>Module %1 responds at the new address %2 (%3 Bd).</translation>
    </message>
    <message>
        <source>Modul se na adrese %1 (%2 Bd) do %3 s neozval. Adresa je zapsaná; platí od příštího zapnutí modulu.</source>
        <translation>The module did not respond at address %1 (%2 Bd) within %3 s. The address is written; it applies from the module&apos;s next power-up.</translation>
    </message>
</context>
<context>
    <name>Operace</name>
    <message>
        <source>rok %1 hodiny modulu neudrží: modul si pamatuje jen rok modulo 4 a při čtení ho doplní podle data PC, takže teď lze nastavit jen roky %2 až %3 (%1 by se přečetl jako %4)</source>
        <translation>the module&apos;s clock cannot keep the year %1: the module keeps only the year modulo 4 and completes it from the PC&apos;s date when read, so only the years %2 to %3 can be set now (%1 would read back as %4)</translation>
    </message>
    <message>
        <source>Přenos zastaven.</source>
        <translation>Transfer stopped.</translation>
    </message>
    <message>
        <source>Registr %1 nepatří do konfigurace modulu.</source>
        <translation>Register %1 is not part of the module configuration.</translation>
    </message>
    <message>
        <source>Připojení k modulu není inicializováno.</source>
        <translation>The connection to the module is not initialized.</translation>
    </message>
    <message>
        <source>Adresy musí být v rozsahu 0-255, první nejvýše poslední.</source>
        <translation>Addresses must be in the range 0-255, the first at most the last.</translation>
    </message>
    <message>
        <source>Index rychlosti musí být v rozsahu 0-8.</source>
        <translation>The baud rate index must be in the range 0-8.</translation>
    </message>
    <message>
        <source>%1 (kód %2) %3×</source>
        <translation>%1 (code %2) %3×</translation>
    </message>
    <message>
        <source>%1 (kód %2) %3×, adresa %4 – na adrese může odpovídat více modulů najednou</source>
        <translation>%1 (code %2) %3×, address %4 – more than one module may respond at the address</translation>
    </message>
    <message>
        <source>%1 (kód %2) %3×, adresy %4 – na adresách může odpovídat více modulů najednou</source>
        <translation>%1 (code %2) %3×, addresses %4 – more than one module may respond at these addresses</translation>
    </message>
    <message>
        <source>%1 (kód %2) %3×, adresa %4</source>
        <translation>%1 (code %2) %3×, address %4</translation>
    </message>
    <message>
        <source>%1 (kód %2) %3×, adresy %4</source>
        <translation>%1 (code %2) %3×, addresses %4</translation>
    </message>
</context>
<context>
    <name>Prikazy</name>
    <message>
        <source>mód čítače</source>
        <translation>counter mode</translation>
    </message>
    <message>
        <source>rychlost</source>
        <translation>baud rate</translation>
    </message>
    <message>
        <source>adresa</source>
        <translation>address</translation>
    </message>
    <message>
        <source>počáteční stav DOUT%1</source>
        <translation>initial state DOUT%1</translation>
    </message>
    <message>
        <source>negace DIN%1</source>
        <translation>inversion DIN%1</translation>
    </message>
    <message>
        <source>negace DOUT%1</source>
        <translation>inversion DOUT%1</translation>
    </message>
    <message>
        <source>neznámý příkaz (P5 %1)</source>
        <translation>unknown command (P5 %1)</translation>
    </message>
    <message>
        <source>Nová adresa a rychlost platí od příštího zapnutí modulu.</source>
        <translation>The new address and baud rate apply from the module&apos;s next power-up.</translation>
    </message>
    <message>
        <source>Nová adresa platí od příštího zapnutí modulu.</source>
        <translation>The new address applies from the module&apos;s next power-up.</translation>
    </message>
    <message>
        <source>Nová rychlost platí od příštího zapnutí modulu.</source>
        <translation>The new baud rate applies from the module&apos;s next power-up.</translation>
    </message>
    <message>
        <source>čtení digitálních vstupů</source>
        <translation>read digital inputs</translation>
    </message>
    <message>
        <source>čtení čítače</source>
        <translation>read counter</translation>
    </message>
    <message>
        <source>zápis digitálních výstupů</source>
        <translation>write digital outputs</translation>
    </message>
    <message>
        <source>nulování čítače</source>
        <translation>clear counter</translation>
    </message>
    <message>
        <source>čtení stavového registru</source>
        <translation>read status register</translation>
    </message>
    <message>
        <source>čtení času</source>
        <translation>read time</translation>
    </message>
    <message>
        <source>čtení data</source>
        <translation>read date</translation>
    </message>
    <message>
        <source>čtení času začátku výpadku napájení</source>
        <translation>read time of power failure start</translation>
    </message>
    <message>
        <source>čtení data začátku výpadku napájení</source>
        <translation>read date of power failure start</translation>
    </message>
    <message>
        <source>čtení času konce výpadku napájení</source>
        <translation>read time of power failure end</translation>
    </message>
    <message>
        <source>čtení data konce výpadku napájení</source>
        <translation>read date of power failure end</translation>
    </message>
    <message>
        <source>nulování stavového registru</source>
        <translation>clear status register</translation>
    </message>
    <message>
        <source>nastavení času</source>
        <translation>set time</translation>
    </message>
    <message>
        <source>nastavení data</source>
        <translation>set date</translation>
    </message>
    <message>
        <source>čtení registru</source>
        <translation>read register</translation>
    </message>
    <message>
        <source>zápis registru</source>
        <translation>write register</translation>
    </message>
    <message>
        <source>identifikace (název 1-4)</source>
        <translation>identification (name 1-4)</translation>
    </message>
    <message>
        <source>identifikace (název 5-8)</source>
        <translation>identification (name 5-8)</translation>
    </message>
    <message>
        <source>identifikace (verze)</source>
        <translation>identification (version)</translation>
    </message>
    <message>
        <source>Chyba zápisu dat.</source>
        <translation>Data write error.</translation>
    </message>
</context>
<context>
    <name>Rozhrani</name>
    <message>
        <source>Standardní COMx</source>
        <translation>Standard COMx</translation>
    </message>
    <message>
        <source>ISA karta KIB-410</source>
        <translation>ISA card KIB-410</translation>
    </message>
    <message>
        <source>PCI karta KPB-4100</source>
        <translation>PCI card KPB-4100</translation>
    </message>
    <message>
        <source>USB konvertor KUB-4100</source>
        <translation>USB converter KUB-4100</translation>
    </message>
    <message>
        <source>LAN konvertor KL-4100</source>
        <translation>LAN converter KL-4100</translation>
    </message>
</context>
<context>
    <name>SouborKonfigurace</name>
    <message>
        <source>neznámý klíč %1.</source>
        <translation>unknown key %1.</translation>
    </message>
    <message>
        <source>klíč %1 je uveden podruhé (poprvé na řádku %2).</source>
        <translation>key %1 is given a second time (first on line %2).</translation>
    </message>
    <message>
        <source>chybí hodnota klíče %1.</source>
        <translation>key %1 has no value.</translation>
    </message>
    <message>
        <source>V souboru chybí klíč %1.</source>
        <translation>The file lacks key %1.</translation>
    </message>
    <message>
        <source>nepodporovaná verze formátu %1 (tento program zná verzi %2).</source>
        <translation>unsupported format version %1 (this program knows version %2).</translation>
    </message>
    <message>
        <source>identifikace modulu</source>
        <translation>module identification</translation>
    </message>
    <message>
        <source>čas čtení musí mít tvar RRRR-MM-DDThh:mm:ss+hh:mm.</source>
        <translation>the read time must have the form YYYY-MM-DDThh:mm:ss+hh:mm.</translation>
    </message>
    <message>
        <source>Index rychlosti %1 není v rozsahu 0-8.</source>
        <translation>Baud rate index %1 is not in the range 0-8.</translation>
    </message>
    <message>
        <source>Mód čítače %1 není v rozsahu 0-2.</source>
        <translation>Counter mode %1 is not in the range 0-2.</translation>
    </message>
    <message>
        <source>Chybí platný čas čtení konfigurace.</source>
        <translation>A valid time of reading the configuration is missing.</translation>
    </message>
    <message>
        <source>konfigurace modulu</source>
        <translation>a module configuration</translation>
    </message>
</context>
<context>
    <name>SouborLinky</name>
    <message>
        <source>klíč %1 je uveden podruhé (poprvé na řádku %2).</source>
        <translation>key %1 is given a second time (first on line %2).</translation>
    </message>
    <message>
        <source>chybí hodnota klíče %1.</source>
        <translation>key %1 has no value.</translation>
    </message>
    <message>
        <source>za klíčem &quot;konec&quot; (řádek %1) už nesmí nic následovat.</source>
        <translation>nothing may follow the key &quot;konec&quot; (line %1).</translation>
    </message>
    <message>
        <source>neznámý klíč %1.</source>
        <translation>unknown key %1.</translation>
    </message>
    <message>
        <source>klíč %1 patří na začátek souboru, před první modul.</source>
        <translation>key %1 belongs at the start of the file, before the first module.</translation>
    </message>
    <message>
        <source>nepodporovaná verze formátu %1 (tento program zná verzi %2).</source>
        <translation>unsupported format version %1 (this program knows version %2).</translation>
    </message>
    <message>
        <source>klíč &quot;konec&quot; uvádí modulů %1, ale před ním jich je %2; soubor je poškozený.</source>
        <translation>key &quot;konec&quot; gives %1 modules, but %2 come before it; the file is damaged.</translation>
    </message>
    <message>
        <source>klíč %1 musí následovat za klíčem &quot;modul&quot;.</source>
        <translation>key %1 must follow the key &quot;modul&quot;.</translation>
    </message>
    <message>
        <source>identifikace modulu</source>
        <translation>module identification</translation>
    </message>
    <message>
        <source>popis modulu</source>
        <translation>module description</translation>
    </message>
    <message>
        <source>popis modulu je delší než %1 znaků.</source>
        <translation>the module description is longer than %1 characters.</translation>
    </message>
    <message>
        <source>modulu chybí klíč %1.</source>
        <translation>the module lacks key %1.</translation>
    </message>
    <message>
        <source>modul na adrese %1 s rychlostí %2 Bd je už na řádku %3; dva moduly na jedné adrese a rychlosti by si odpovídaly navzájem.</source>
        <translation>the module at address %1 at %2 Bd is already on line %3; two modules at one address and baud rate would answer over each other.</translation>
    </message>
    <message>
        <source>V souboru chybí klíč %1.</source>
        <translation>The file lacks key %1.</translation>
    </message>
    <message>
        <source>V souboru chybí závěrečný klíč %1; soubor je zřejmě neúplný.</source>
        <translation>The file lacks the closing key %1; the file is probably incomplete.</translation>
    </message>
    <message>
        <source>Index rychlosti %1 není v rozsahu 0-8.</source>
        <translation>Baud rate index %1 is not in the range 0-8.</translation>
    </message>
    <message>
        <source>Modul na adrese %1 (%2 Bd): %3</source>
        <translation>Module at address %1 (%2 Bd): %3</translation>
    </message>
    <message>
        <source>Modul na adrese %1 (%2 Bd): popis modulu je delší než %3 znaků.</source>
        <translation>Module at address %1 (%2 Bd): the module description is longer than %3 characters.</translation>
    </message>
    <message>
        <source>Modul na adrese %1 (%2 Bd) už na lince je; dva moduly na jedné adrese a rychlosti by si odpovídaly navzájem.</source>
        <translation>Module at address %1 (%2 Bd) is already on the line; two modules at one address and baud rate would answer over each other.</translation>
    </message>
    <message>
        <source>soubor linky</source>
        <translation>a line file</translation>
    </message>
</context>
<context>
    <name>Soubory</name>
    <message>
        <source>%1 není obyčejný soubor (je to složka, zařízení, roura nebo soket). Číst lze jen obyčejný soubor.</source>
        <translation>%1 is not a regular file (it is a folder, device, pipe or socket). Only a regular file can be read.</translation>
    </message>
    <message>
        <source>%1 není obyčejný soubor (je to složka, zařízení, roura nebo soket). Zapisovat lze jen do obyčejného souboru.</source>
        <translation>%1 is not a regular file (it is a folder, device, pipe or socket). Only a regular file can be written.</translation>
    </message>
    <message>
        <source>Soubor %1 neexistuje.</source>
        <translation>File %1 does not exist.</translation>
    </message>
    <message>
        <source>Soubor %1 nelze otevřít: přístup odepřen.</source>
        <translation>File %1 cannot be opened: access denied.</translation>
    </message>
    <message>
        <source>Soubor %1 nelze otevřít.</source>
        <translation>File %1 cannot be opened.</translation>
    </message>
    <message>
        <source>Soubor %1 nelze přečíst.</source>
        <translation>File %1 cannot be read.</translation>
    </message>
    <message>
        <source>Soubor %1 je příliš velký (nejvýše %2 bajtů).</source>
        <translation>File %1 is too large (at most %2 bytes).</translation>
    </message>
    <message>
        <source>%1 je odkaz na neexistující soubor.</source>
        <translation>%1 is a link to a file that does not exist.</translation>
    </message>
    <message>
        <source>Složka %1 neexistuje.</source>
        <translation>Folder %1 does not exist.</translation>
    </message>
    <message>
        <source>Soubor %1 nelze přepsat: přístup odepřen.</source>
        <translation>File %1 cannot be overwritten: access denied.</translation>
    </message>
    <message>
        <source>Soubor %1 nelze vytvořit: do složky %2 nelze zapisovat.</source>
        <translation>File %1 cannot be created: folder %2 cannot be written to.</translation>
    </message>
    <message>
        <source>Soubor %1 nelze zapsat (plný nebo nedostupný disk); původní obsah zůstal beze změny.</source>
        <translation>File %1 cannot be written (disk full or unavailable); the previous content is unchanged.</translation>
    </message>
    <message>
        <source>Soubor %1 nelze uložit; původní obsah zůstal beze změny.</source>
        <translation>File %1 cannot be saved; the previous content is unchanged.</translation>
    </message>
    <message>
        <source>Není zadán soubor.</source>
        <translation>No file given.</translation>
    </message>
    <message>
        <source>Soubor %1 už existuje.</source>
        <translation>File %1 already exists.</translation>
    </message>
    <message>
        <source>Soubor %1 nelze vytvořit: přístup odepřen.</source>
        <translation>File %1 cannot be created: access denied.</translation>
    </message>
    <message>
        <source>Soubor %1 nelze vytvořit.</source>
        <translation>File %1 cannot be created.</translation>
    </message>
</context>
<context>
    <name>Spojeni</name>
    <message>
        <source>Neznámý typ rozhraní</source>
        <translation>Unknown interface type</translation>
    </message>
    <message>
        <source>Neplatná IP adresa</source>
        <translation>Invalid IP address</translation>
    </message>
    <message>
        <source>Neplatný UDP port</source>
        <translation>Invalid UDP port</translation>
    </message>
    <message>
        <source>Neplatný UDP timeout</source>
        <translation>Invalid UDP timeout</translation>
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
    <name>TForm2</name>
    <message>
        <source>neznámý typ rozhraní</source>
        <translation>unknown interface type</translation>
    </message>
    <message>
        <source>, port COM%1</source>
        <translation>, port COM%1</translation>
    </message>
    <message>
        <source>, bázová adresa %1</source>
        <translation>, base address %1</translation>
    </message>
    <message>
        <source>, %1, UDP port %2</source>
        <translation>, %1, UDP port %2</translation>
    </message>
    <message>
        <source>Připojení modulu</source>
        <translation>Module Connection</translation>
    </message>
    <message>
        <source>Komunikační rozhraní</source>
        <translation>Communication interface</translation>
    </message>
    <message>
        <source>Adresa připojeného modulu</source>
        <translation>Address of the connected module</translation>
    </message>
    <message>
        <source>Komunikační rychlost</source>
        <translation>Baud rate</translation>
    </message>
    <message>
        <source>Status připojení</source>
        <translation>Connection status</translation>
    </message>
    <message>
        <source>Inicializace připojení</source>
        <translation>Initialize connection</translation>
    </message>
    <message>
        <source>Hledat…</source>
        <translation>Search…</translation>
    </message>
    <message>
        <source>Parametr rozhraní</source>
        <translation>Interface parameter</translation>
    </message>
    <message>
        <source>UDP port</source>
        <translation>UDP port</translation>
    </message>
    <message>
        <source>UDP timeout</source>
        <translation>UDP timeout</translation>
    </message>
    <message>
        <source>Číslo portu COMx</source>
        <translation>COMx port number</translation>
    </message>
    <message>
        <source>Bázová adresa KIB-410</source>
        <translation>KIB-410 base address</translation>
    </message>
    <message>
        <source>IP adresa</source>
        <translation>IP address</translation>
    </message>
    <message>
        <source>Probíhá inicializace připojení</source>
        <translation>Initializing the connection</translation>
    </message>
    <message>
        <source>Chyba inicializace připojení - %1</source>
        <translation>Connection initialization error - %1</translation>
    </message>
    <message>
        <source>Připojení úspěšně inicializováno. Připojen modul   %1</source>
        <translation>Connection initialized. Connected module   %1</translation>
    </message>
    <message>
        <source>V pořádku</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>otevřené připojení, %1</source>
        <translation>open connection, %1</translation>
    </message>
</context>
<context>
    <name>TFormHledani</name>
    <message>
        <source>Hledání modulů</source>
        <translation>Module Search</translation>
    </message>
    <message>
        <source>Rozhraní: %1</source>
        <translation>Interface: %1</translation>
    </message>
    <message>
        <source>Adresy od</source>
        <translation>Addresses from</translation>
    </message>
    <message>
        <source>do</source>
        <translation>to</translation>
    </message>
    <message>
        <source>Adresy do</source>
        <translation>Addresses to</translation>
    </message>
    <message>
        <source>Všech devět rychlostí (jinak jen %1)</source>
        <translation>All nine baud rates (otherwise only %1)</translation>
    </message>
    <message>
        <source>Průběh hledání</source>
        <translation>Search progress</translation>
    </message>
    <message>
        <source>Adresa</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>Rychlost</source>
        <translation>Baud rate</translation>
    </message>
    <message>
        <source>Identifikace</source>
        <translation>Identification</translation>
    </message>
    <message>
        <source>Nalezené moduly</source>
        <translation>Modules found</translation>
    </message>
    <message>
        <source>Hledat</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>Zastavit</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Zavřít</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Do přehledu</source>
        <translation>To overview</translation>
    </message>
    <message>
        <source>Hledání posílá jen identifikaci; do modulů nic nezapisuje.</source>
        <translation>The search sends identification only; it writes nothing to the modules.</translation>
    </message>
    <message>
        <source>První adresa musí být nejvýše poslední.</source>
        <translation>The first address must be at most the last.</translation>
    </message>
    <message>
        <source>Rozhraní nelze otevřít: %1</source>
        <translation>The interface cannot be opened: %1</translation>
    </message>
    <message>
        <source>Probíhá hledání…</source>
        <translation>Searching…</translation>
    </message>
    <message>
        <source>Do přehledu linky předáno modulů: %1. Přehled se otevře po zavření okna připojení.</source>
        <translation>Modules passed to the line overview: %1. The overview opens when the connection window is closed.</translation>
    </message>
    <message>
        <source>Hledání přerušeno: %1 Nalezeno modulů: %2.</source>
        <translation>Search interrupted: %1 Modules found: %2.</translation>
    </message>
    <message>
        <source>Hledání zastaveno na adrese %1 (%2). Nalezeno modulů: %3.</source>
        <translation>Search stopped at address %1 (%2). Modules found: %3.</translation>
    </message>
    <message>
        <source>Hledání dokončeno: žádný modul neodpověděl.</source>
        <translation>Search finished: no module responded.</translation>
    </message>
    <message>
        <source>Hledání dokončeno. Nalezeno modulů: %1; dvojklikem modul vyberete.</source>
        <translation>Search finished. Modules found: %1; double-click a module to select it.</translation>
    </message>
    <message>
        <source> Rychlosti odmítnuté ovladačem: %1.</source>
        <translation> Baud rates refused by the driver: %1.</translation>
    </message>
    <message>
        <source> Jiné odpovědi na lince: %1.</source>
        <translation> Other replies on the line: %1.</translation>
    </message>
    <message>
        <source> Rychlost připojení se nepodařilo vrátit: %1</source>
        <translation> The connection&apos;s baud rate could not be restored: %1</translation>
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
    <name>TextovySoubor</name>
    <message>
        <source>Soubor je příliš velký (nejvýše %1 bajtů).</source>
        <translation>The file is too large (at most %1 bytes).</translation>
    </message>
    <message>
        <source>Soubor obsahuje nulový bajt; není to %1.</source>
        <translation>The file contains a zero byte; it is not %1.</translation>
    </message>
    <message>
        <source>Soubor není platný text v kódování UTF-8.</source>
        <translation>The file is not valid UTF-8 text.</translation>
    </message>
    <message>
        <source>chybí konec řádku; soubor je zřejmě neúplný.</source>
        <translation>the end of line is missing; the file is probably incomplete.</translation>
    </message>
    <message>
        <source>řádek %1: </source>
        <translation>line %1: </translation>
    </message>
    <message>
        <source>očekáván zápis klíč = hodnota.</source>
        <translation>expected an entry key = value.</translation>
    </message>
    <message>
        <source>%1 musí být v uvozovkách (\&quot;, \\ a \xHH jako náhrady).</source>
        <translation>%1 must be in quotes (\&quot;, \\ and \xHH as escapes).</translation>
    </message>
    <message>
        <source>identifikace modulu je delší než %1 znaků.</source>
        <translation>the module identification is longer than %1 characters.</translation>
    </message>
    <message>
        <source>identifikace modulu obsahuje znak mimo Windows-1250.</source>
        <translation>the module identification contains a character outside Windows-1250.</translation>
    </message>
    <message>
        <source>hodnota %1 klíče %2 musí být číslo %3-%4.</source>
        <translation>value %1 of key %2 must be a number %3-%4.</translation>
    </message>
    <message>
        <source>rychlost %1 není jedna z 600, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200 Bd.</source>
        <translation>baud rate %1 is not one of 600, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200 Bd.</translation>
    </message>
</context>
<context>
    <name>VazbaOvladace</name>
    <message>
        <source>knihovna ovladače havarovala (signál %1)</source>
        <translation>the driver library crashed (signal %1)</translation>
    </message>
    <message>
        <source>knihovna ovladače havarovala (výjimka 0x%1)</source>
        <translation>the driver library crashed (exception 0x%1)</translation>
    </message>
    <message>
        <source>knihovna neodpověděla do %1 s a byla ukončena</source>
        <translation>the library did not answer within %1 s and was ended</translation>
    </message>
    <message>
        <source>%1, který knihovnu spouští, skončil bez odpovědi</source>
        <translation>%1, which runs the library, ended without an answer</translation>
    </message>
</context>
<context>
    <name>Vzorek</name>
    <message>
        <source>Standardní výstup nelze zapisovat.</source>
        <translation>Standard output cannot be written.</translation>
    </message>
    <message>
        <source>Na standardní výstup</source>
        <translation>To standard output</translation>
    </message>
    <message>
        <source>Do souboru %1</source>
        <translation>To file %1</translation>
    </message>
    <message>
        <source>Záznam není otevřen.</source>
        <translation>The recording is not open.</translation>
    </message>
    <message>
        <source>%1; záznam končí posledním celým řádkem</source>
        <translation>%1; the recording ends with the last whole row</translation>
    </message>
    <message>
        <source>%1 nelze zapisovat: %2</source>
        <translation>%1 cannot be written: %2</translation>
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
</context>
</TS>
