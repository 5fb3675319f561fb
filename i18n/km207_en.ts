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
    <message>
        <source>Uložit konfiguraci modulu</source>
        <translation>Save module configuration</translation>
    </message>
    <message>
        <source>Nahrát konfiguraci do modulu</source>
        <translation>Load configuration into module</translation>
    </message>
</context>
<context>
    <name>TForm11</name>
    <message>
        <source>Okamžité hodnoty digitálních vstupů</source>
        <translation>Live values of the digital inputs</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>TForm12</name>
    <message>
        <source>Nastavení komunikační adresy a rychlosti</source>
        <translation>Communication address and baud rate settings</translation>
    </message>
    <message>
        <source>Adresa modulu  (0-255)</source>
        <translation>Module address  (0-255)</translation>
    </message>
    <message>
        <source>Komunikační rychlost</source>
        <translation>Baud rate</translation>
    </message>
    <message>
        <source>Adresa modulu musí být v rozsahu 0-255.</source>
        <translation>The module address must be in the range 0-255.</translation>
    </message>
    <message>
        <source>Komunikační rychlost musí být v rozsahu 600Bd-115200Bd.</source>
        <translation>The baud rate must be in the range 600Bd-115200Bd.</translation>
    </message>
</context>
<context>
    <name>TForm14</name>
    <message>
        <source>Nastavení digitálních vstupů/výstupů</source>
        <translation>Digital input/output settings</translation>
    </message>
    <message>
        <source> Negace DIN </source>
        <translation> DIN inversion </translation>
    </message>
    <message>
        <source>Negace DOUT </source>
        <translation>DOUT inversion </translation>
    </message>
    <message>
        <source> Počáteční stav DOUT </source>
        <translation> DOUT initial state </translation>
    </message>
    <message>
        <source>Negace </source>
        <translation>Inversion </translation>
    </message>
    <message>
        <source>Počáteční stav </source>
        <translation>Initial state </translation>
    </message>
</context>
<context>
    <name>TForm15</name>
    <message>
        <source>Status registr</source>
        <translation>Status register</translation>
    </message>
    <message>
        <source>Vynulovat</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>TForm16</name>
    <message>
        <source>Čas</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Čítač</source>
        <translation>Counter</translation>
    </message>
    <message>
        <source>Mód čítače</source>
        <translation>Counter mode</translation>
    </message>
    <message>
        <source>Rychlost [1/s]</source>
        <translation>Rate [1/s]</translation>
    </message>
    <message>
        <source>Vstupy</source>
        <translation>Inputs</translation>
    </message>
    <message>
        <source>Stav</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Bity stavu</source>
        <translation>Status bits</translation>
    </message>
    <message>
        <source>Průběh hodnot</source>
        <translation>Trend of values</translation>
    </message>
    <message>
        <source>Perioda</source>
        <translation>Period</translation>
    </message>
    <message>
        <source>Rychlost za</source>
        <translation>Rate over</translation>
    </message>
    <message>
        <source>Pozastavit</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Živě</source>
        <translation>Live</translation>
    </message>
    <message>
        <source>Záznam CSV…</source>
        <translation>CSV recording…</translation>
    </message>
    <message>
        <source>Uložit PNG…</source>
        <translation>Save PNG…</translation>
    </message>
    <message>
        <source>Zavřít</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Selhání čtení:</source>
        <translation>Read failures:</translation>
    </message>
    <message>
        <source>Graf průběhu hodnot</source>
        <translation>Trend chart</translation>
    </message>
    <message>
        <source>Šipky posouvají, Shift+šipky posouvají kurzor, + a - mění měřítko, Home nejstarší hodnoty, End živě. Hodnoty u kurzoru jsou v tabulce.</source>
        <translation>Arrows scroll, Shift+arrows move the cursor, + and - change the scale, Home oldest values, End live. The values at the cursor are in the table.</translation>
    </message>
    <message>
        <source>Vstupy v grafu</source>
        <translation>Inputs in the chart</translation>
    </message>
    <message>
        <source>Hodnoty u kurzoru</source>
        <translation>Values at the cursor</translation>
    </message>
    <message>
        <source>Veličina</source>
        <translation>Quantity</translation>
    </message>
    <message>
        <source>Hodnota</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>Záznam</source>
        <translation>Recording</translation>
    </message>
    <message>
        <source>Záznam do %1: %2 řádků</source>
        <translation>Recording to %1: %2 rows</translation>
    </message>
    <message>
        <source>Záznam zastaven: </source>
        <translation>Recording stopped: </translation>
    </message>
    <message>
        <source>Změněné vstupy mimo graf (%1): %2</source>
        <translation>Changed inputs outside the chart (%1): %2</translation>
    </message>
    <message>
        <source>Poslední hodnoty</source>
        <translation>Latest values</translation>
    </message>
    <message>
        <source>chybí</source>
        <translation>missing</translation>
    </message>
    <message>
        <source>Záznam nezačal: </source>
        <translation>Recording not started: </translation>
    </message>
    <message>
        <source>Zastavit záznam</source>
        <translation>Stop recording</translation>
    </message>
    <message>
        <source>Záznam do %1: 0 řádků</source>
        <translation>Recording to %1: 0 rows</translation>
    </message>
    <message>
        <source>Záznam uložen do %1: %2 řádků</source>
        <translation>Recording saved to %1: %2 rows</translation>
    </message>
    <message>
        <source>Záznam průběhu do CSV</source>
        <translation>Record the trend to CSV</translation>
    </message>
    <message>
        <source>Graf nelze převést do PNG.</source>
        <translation>The chart cannot be converted to PNG.</translation>
    </message>
    <message>
        <source> Graf uložen do %1</source>
        <translation> Chart saved to %1</translation>
    </message>
    <message>
        <source>Uložit graf jako PNG</source>
        <translation>Save the chart as PNG</translation>
    </message>
</context>
<context>
    <name>TForm17</name>
    <message>
        <source>Adresa</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>Rychlost</source>
        <translation>Baud rate</translation>
    </message>
    <message>
        <source>Modul</source>
        <translation>Module</translation>
    </message>
    <message>
        <source>Popis</source>
        <translation>Description</translation>
    </message>
    <message>
        <source>Stav</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Poslední odpověď</source>
        <translation>Last reply</translation>
    </message>
    <message>
        <source>Selhání</source>
        <translation>Failures</translation>
    </message>
    <message>
        <source>Bity stavu</source>
        <translation>Status bits</translation>
    </message>
    <message>
        <source>Čítač</source>
        <translation>Counter</translation>
    </message>
    <message>
        <source>Vstupy</source>
        <translation>Inputs</translation>
    </message>
    <message>
        <source>Příznaky</source>
        <translation>Flags</translation>
    </message>
    <message>
        <source>Zavřít</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Zrušit</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Záloha linky do složky %1: uloženo %2 z %3 modulů.</source>
        <translation>Line backup to folder %1: %2 of %3 modules saved.</translation>
    </message>
    <message>
        <source>%1: uloženo do %2.</source>
        <translation>%1: saved to %2.</translation>
    </message>
    <message>
        <source>%1: NEULOŽENO – %2</source>
        <translation>%1: NOT SAVED – %2</translation>
    </message>
    <message>
        <source>Zálohování bylo zastaveno; další moduly nejsou uloženy.</source>
        <translation>The backup was stopped; the remaining modules are not saved.</translation>
    </message>
    <message>
        <source>Soubor linky nebyl uložen: %1</source>
        <translation>The line file was not saved: %1</translation>
    </message>
    <message>
        <source>Soubor linky: %1.</source>
        <translation>Line file: %1.</translation>
    </message>
    <message>
        <source>v záloze chybí jeho konfigurace (nebyl zálohován)</source>
        <translation>its configuration is missing from the backup (it was not backed up)</translation>
    </message>
    <message>
        <source>kolize – %1</source>
        <translation>collision – %1</translation>
    </message>
    <message>
        <source>nepřečten – %1</source>
        <translation>not read – %1</translation>
    </message>
    <message>
        <source>neodpověděl</source>
        <translation>no reply</translation>
    </message>
    <message>
        <source>beze změn, konfigurace odpovídá záloze</source>
        <translation>no changes, the configuration matches the backup</translation>
    </message>
    <message>
        <source>Obnova linky ze složky %1. Registry, které se v modulech změní:</source>
        <translation>Line restore from folder %1. Registers that will change in the modules:</translation>
    </message>
    <message>
        <source>%1: nezapíše se, %2.</source>
        <translation>%1: will not be written, %2.</translation>
    </message>
    <message>
        <source>    Záloha pochází z modulu %1.</source>
        <translation>    The backup comes from module %1.</translation>
    </message>
    <message>
        <source>zapsán a ověřen</source>
        <translation>written and verified</translation>
    </message>
    <message>
        <source>zapsán, zpět přečteno %1 místo %2</source>
        <translation>written, read back %1 instead of %2</translation>
    </message>
    <message>
        <source>zápis přijat, neověřen</source>
        <translation>write accepted, not verified</translation>
    </message>
    <message>
        <source>zápis odeslán bez odpovědi, stav neznámý</source>
        <translation>write sent without a reply, state unknown</translation>
    </message>
    <message>
        <source>nezapsán</source>
        <translation>not written</translation>
    </message>
    <message>
        <source>Obnova linky ze složky %1, výsledek po modulech:</source>
        <translation>Line restore from folder %1, result by module:</translation>
    </message>
    <message>
        <source>%1: nezapsán, %2.</source>
        <translation>%1: not written, %2.</translation>
    </message>
    <message>
        <source>obnova na něj nedošla</source>
        <translation>the restore did not reach it</translation>
    </message>
    <message>
        <source>Obnova byla zastavena.</source>
        <translation>The restore was stopped.</translation>
    </message>
    <message>
        <source>adresa %1, %2</source>
        <translation>address %1, %2</translation>
    </message>
    <message>
        <source>adresa %1, %2 („%3“)</source>
        <translation>address %1, %2 (“%3”)</translation>
    </message>
    <message>
        <source>Přehled linky</source>
        <translation>Line overview</translation>
    </message>
    <message>
        <source>Perioda</source>
        <translation>Period</translation>
    </message>
    <message>
        <source>Neodpovídá po</source>
        <translation>No reply after</translation>
    </message>
    <message>
        <source> cyklech bez odpovědi</source>
        <translation> cycles without a reply</translation>
    </message>
    <message>
        <source>Pozastavit</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Otevřít linku…</source>
        <translation>Open line…</translation>
    </message>
    <message>
        <source>Uložit linku…</source>
        <translation>Save line…</translation>
    </message>
    <message>
        <source>Porovnat se souborem…</source>
        <translation>Compare with file…</translation>
    </message>
    <message>
        <source>Moduly linky</source>
        <translation>Modules of the line</translation>
    </message>
    <message>
        <source>Dvojklik nebo Enter udělá z modulu modul programu; F2 upraví popis.</source>
        <translation>Double-click or Enter makes the module the program&apos;s module; F2 edits the description.</translation>
    </message>
    <message>
        <source>Přidat</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>Odebrat vybraný</source>
        <translation>Remove selected</translation>
    </message>
    <message>
        <source>Potvrdit stav</source>
        <translation>Acknowledge status</translation>
    </message>
    <message>
        <source>a vynulovat stavové registry modulů</source>
        <translation>and reset the modules&apos; status registers</translation>
    </message>
    <message>
        <source>Zálohovat linku…</source>
        <translation>Back up line…</translation>
    </message>
    <message>
        <source>Obnovit linku…</source>
        <translation>Restore line…</translation>
    </message>
    <message>
        <source>Uvést do provozu…</source>
        <translation>Commission…</translation>
    </message>
    <message>
        <source>Zastavit</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source> Přehled je pozastaven; moduly se nedotazují.</source>
        <translation> The overview is paused; the modules are not polled.</translation>
    </message>
    <message>
        <source> Přehled čeká: připojení k modulu právě používá jiné okno.</source>
        <translation> The overview is waiting: another window is using the connection to the module.</translation>
    </message>
    <message>
        <source> Linka je prázdná: přidejte moduly z hledání, ze souboru linky nebo ručně.</source>
        <translation> The line is empty: add modules from a search, from a line file or by hand.</translation>
    </message>
    <message>
        <source> Cyklus přerušen: %1</source>
        <translation> Cycle interrupted: %1</translation>
    </message>
    <message>
        <source> Cyklus zastaven.</source>
        <translation> Cycle stopped.</translation>
    </message>
    <message>
        <source> Odpovídá %1 z %2 modulů; cyklus %3 ms, příkazů %4.</source>
        <translation> %1 of %2 modules reply; cycle %3 ms, %4 commands.</translation>
    </message>
    <message>
        <source> Rychlost připojení se nepodařilo vrátit: %1</source>
        <translation> The baud rate of the connection could not be restored: %1</translation>
    </message>
    <message>
        <source>(čekán %1)</source>
        <translation>(expected %1)</translation>
    </message>
    <message>
        <source>žádný</source>
        <translation>none</translation>
    </message>
    <message>
        <source> Rychlost %1 Bd nelze nastavit: %2</source>
        <translation> Baud rate %1 Bd cannot be set: %2</translation>
    </message>
    <message>
        <source> Modul programu: %1.</source>
        <translation> Program&apos;s module: %1.</translation>
    </message>
    <message>
        <source> Soubor linky odmítnut: %1</source>
        <translation> Line file rejected: %1</translation>
    </message>
    <message>
        <source>Otevřít soubor linky</source>
        <translation>Open line file</translation>
    </message>
    <message>
        <source> Linka načtena ze souboru %1: %2 modulů.</source>
        <translation> Line loaded from file %1: %2 modules.</translation>
    </message>
    <message>
        <source>Uložit soubor linky</source>
        <translation>Save line file</translation>
    </message>
    <message>
        <source> Linka neuložena: %1</source>
        <translation> Line not saved: %1</translation>
    </message>
    <message>
        <source> Linka uložena do souboru %1.</source>
        <translation> Line saved to file %1.</translation>
    </message>
    <message>
        <source>Soubor linky neuložen: %1</source>
        <translation>Line file not saved: %1</translation>
    </message>
    <message>
        <source>Soubor linky %1 uložen.</source>
        <translation>Line file %1 saved.</translation>
    </message>
    <message>
        <source>Porovnat linku se souborem</source>
        <translation>Compare the line with a file</translation>
    </message>
    <message>
        <source> Linka porovnána se souborem %1.</source>
        <translation> Line compared with file %1.</translation>
    </message>
    <message>
        <source> Přidán modul: %1.</source>
        <translation> Module added: %1.</translation>
    </message>
    <message>
        <source> Odebrán modul: %1.</source>
        <translation> Module removed: %1.</translation>
    </message>
    <message>
        <source>Potvrdit stav a vynulovat stavové registry</source>
        <translation>Acknowledge status and reset the status registers</translation>
    </message>
    <message>
        <source>Stav linky se potvrdí a ve všech %1 modulech linky se vynuluje stavový registr, stejně jako v okně Status registr. Bity FN, PRF, PWR, RST a ERR24 v modulech zaniknou.

Pokračovat?</source>
        <translation>The line status will be acknowledged and the status register of all %1 modules of the line will be reset, just as in the Status register window. The bits FN, PRF, PWR, RST and ERR24 in the modules will be cleared.

Continue?</translation>
    </message>
    <message>
        <source>Vynulovat</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source> Stav linky potvrzen; výpadky napájení se počítají od teď.</source>
        <translation> Line status acknowledged; power failures are counted from now on.</translation>
    </message>
    <message>
        <source> Nulování stavových registrů: modul %1 z %2…</source>
        <translation> Resetting status registers: module %1 of %2…</translation>
    </message>
    <message>
        <source> Stav linky potvrzen; stavové registry vynulovány v %1 z %2 modulů.</source>
        <translation> Line status acknowledged; status registers reset in %1 of %2 modules.</translation>
    </message>
    <message>
        <source>Nulování přerušeno: %1</source>
        <translation>Reset interrupted: %1</translation>
    </message>
    <message>
        <source>Nulování bylo zastaveno.</source>
        <translation>The reset was stopped.</translation>
    </message>
    <message>
        <source>Nulování stavových registrů</source>
        <translation>Resetting the status registers</translation>
    </message>
    <message>
        <source>Nevynulováno:
</source>
        <translation>Not reset:
</translation>
    </message>
    <message>
        <source> Linka je prázdná: není co zálohovat.</source>
        <translation> The line is empty: nothing to back up.</translation>
    </message>
    <message>
        <source>Zálohovat linku do složky</source>
        <translation>Back up the line to a folder</translation>
    </message>
    <message>
        <source> Zálohování linky: modul %1 z %2…</source>
        <translation> Backing up the line: module %1 of %2…</translation>
    </message>
    <message>
        <source> Záloha linky: uloženo %1 z %2 modulů.</source>
        <translation> Line backup: %1 of %2 modules saved.</translation>
    </message>
    <message>
        <source>Záloha linky</source>
        <translation>Line backup</translation>
    </message>
    <message>
        <source>Obnovit linku ze zálohy ve složce</source>
        <translation>Restore the line from a backup in a folder</translation>
    </message>
    <message>
        <source> Záloha odmítnuta, nic se neposlalo: %1</source>
        <translation> Backup rejected, nothing was sent: %1</translation>
    </message>
    <message>
        <source> Náhled obnovy: modul %1 z %2…</source>
        <translation> Restore preview: module %1 of %2…</translation>
    </message>
    <message>
        <source>Náhled nebyl dokončen; do modulů se nic nezapsalo.</source>
        <translation>The preview was not completed; nothing was written to the modules.</translation>
    </message>
    <message>
        <source>Kolize adres, obnova se neprovede; do modulů se nic nezapsalo.</source>
        <translation>Address collision, the restore will not run; nothing was written to the modules.</translation>
    </message>
    <message>
        <source>Není co zapsat.</source>
        <translation>Nothing to write.</translation>
    </message>
    <message>
        <source>Obnova linky</source>
        <translation>Line restore</translation>
    </message>
    <message>
        <source>Obnova linky: náhled</source>
        <translation>Line restore: preview</translation>
    </message>
    <message>
        <source>Zapsat</source>
        <translation>Write</translation>
    </message>
    <message>
        <source> Obnova zrušena; do modulů se nic nezapsalo.</source>
        <translation> Restore cancelled; nothing was written to the modules.</translation>
    </message>
    <message>
        <source> Obnova linky: modul %1 z %2…</source>
        <translation> Line restore: module %1 of %2…</translation>
    </message>
    <message>
        <source>

Obnova odmítnuta; do modulů se nic nezapsalo.
</source>
        <translation>

Restore rejected; nothing was written to the modules.
</translation>
    </message>
    <message>
        <source> Obnova linky dokončena.</source>
        <translation> Line restore completed.</translation>
    </message>
    <message>
        <source> Obnova odmítnuta; do modulů se nic nezapsalo.</source>
        <translation> Restore rejected; nothing was written to the modules.</translation>
    </message>
    <message>
        <source>Obnova linky: výsledek</source>
        <translation>Line restore: result</translation>
    </message>
    <message>
        <source>Linka KM-207 (*.km207linka);;Všechny soubory (*)</source>
        <translation>KM-207 line (*.km207linka);;All files (*)</translation>
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
        <translation>Module address</translation>
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
    <name>TForm3</name>
    <message>
        <source>Nastavení hodinového obvodu RTC</source>
        <translation>Real-time clock (RTC) settings</translation>
    </message>
    <message>
        <source>Začátek výpadku napájení</source>
        <translation>Start of power failure</translation>
    </message>
    <message>
        <source>Konec výpadku napájení</source>
        <translation>End of power failure</translation>
    </message>
    <message>
        <source>Čas a datum modulu</source>
        <translation>Module time and date</translation>
    </message>
    <message>
        <source>Výpadek napájení</source>
        <translation>Power failure</translation>
    </message>
    <message>
        <source>čas</source>
        <translation>time</translation>
    </message>
    <message>
        <source>datum</source>
        <translation>date</translation>
    </message>
    <message>
        <source>Nastavit čas</source>
        <translation>Set time</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source> Čas nastaven</source>
        <translation> Time set</translation>
    </message>
</context>
<context>
    <name>TForm5</name>
    <message>
        <source>Nastavení čítače</source>
        <translation>Counter settings</translation>
    </message>
    <message>
        <source> Mód čítače </source>
        <translation> Counter mode </translation>
    </message>
    <message>
        <source>32 bitů</source>
        <translation>32 bits</translation>
    </message>
    <message>
        <source>23 bitů</source>
        <translation>23 bits</translation>
    </message>
    <message>
        <source>+/- 23 bitů</source>
        <translation>+/- 23 bits</translation>
    </message>
</context>
<context>
    <name>TForm6</name>
    <message>
        <source>Okamžitá hodnota čítače</source>
        <translation>Live value of the counter</translation>
    </message>
    <message>
        <source>Čítač</source>
        <translation>Counter</translation>
    </message>
    <message>
        <source>Nulovat</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source> Čítač vynulován</source>
        <translation> Counter reset</translation>
    </message>
</context>
<context>
    <name>TForm9</name>
    <message>
        <source>Zápis na digitální výstupy</source>
        <translation>Write to the digital outputs</translation>
    </message>
    <message>
        <source>Výstup </source>
        <translation>Output </translation>
    </message>
    <message>
        <source>Zapsat</source>
        <translation>Write</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source> Data zapsána</source>
        <translation> Data written</translation>
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
    <name>TFormKonfigurace</name>
    <message>
        <source> Do té doby modul odpovídá na dosavadní adrese a rychlosti.</source>
        <translation> Until then the module answers at its present address and baud rate.</translation>
    </message>
    <message>
        <source>Nahrání konfigurace do modulu</source>
        <translation>Loading the configuration into the module</translation>
    </message>
    <message>
        <source>Uložení konfigurace modulu</source>
        <translation>Saving the module configuration</translation>
    </message>
    <message>
        <source>Soubor: </source>
        <translation>File: </translation>
    </message>
    <message>
        <source>Registr</source>
        <translation>Register</translation>
    </message>
    <message>
        <source>Význam</source>
        <translation>Meaning</translation>
    </message>
    <message>
        <source>V modulu</source>
        <translation>In module</translation>
    </message>
    <message>
        <source>V souboru</source>
        <translation>In file</translation>
    </message>
    <message>
        <source>Změna</source>
        <translation>Change</translation>
    </message>
    <message>
        <source>Registry konfigurace modulu</source>
        <translation>Module configuration registers</translation>
    </message>
    <message>
        <source>Průběh přenosu</source>
        <translation>Transfer progress</translation>
    </message>
    <message>
        <source>Zapsat do modulu</source>
        <translation>Write to module</translation>
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
        <source>Soubor nelze použít: %1 Do modulu nebylo nic odesláno.</source>
        <translation>The file cannot be used: %1 Nothing was sent to the module.</translation>
    </message>
    <message>
        <source>V souboru: modul %1, přečteno %2.</source>
        <translation>In the file: module %1, read %2.</translation>
    </message>
    <message>
        <source>Připojení k modulu není inicializováno.</source>
        <translation>The connection to the module is not initialised.</translation>
    </message>
    <message>
        <source>Soubor nelze uložit: %1 Z modulu nebylo nic čteno.</source>
        <translation>The file cannot be saved: %1 Nothing was read from the module.</translation>
    </message>
    <message>
        <source> Pozor: soubor je z jiného modulu, než je připojen.</source>
        <translation> Caution: the file is from a different module than the one connected.</translation>
    </message>
    <message>
        <source>Modul už má konfiguraci ze souboru; není co zapsat.</source>
        <translation>The module already has the configuration from the file; nothing to write.</translation>
    </message>
    <message>
        <source>Liší se %1 z %2 registrů: %3. Zapsat je do modulu?</source>
        <translation>%1 of %2 registers differ: %3. Write them to the module?</translation>
    </message>
    <message>
        <source>Připojený modul: %1, adresa %2.</source>
        <translation>Connected module: %1, address %2.</translation>
    </message>
    <message>
        <source>Probíhá čtení konfigurace z modulu…</source>
        <translation>Reading the configuration from the module…</translation>
    </message>
    <message>
        <source> Soubor nebyl uložen.</source>
        <translation> The file was not saved.</translation>
    </message>
    <message>
        <source> Nic nebylo zapsáno.</source>
        <translation> Nothing was written.</translation>
    </message>
    <message>
        <source>Čtení zastaveno.</source>
        <translation>Read stopped.</translation>
    </message>
    <message>
        <source>Konfiguraci modulu nelze přečíst (registr %1): %2</source>
        <translation>The module configuration cannot be read (register %1): %2</translation>
    </message>
    <message>
        <source>Soubor nelze uložit: </source>
        <translation>The file cannot be saved: </translation>
    </message>
    <message>
        <source>Konfigurace modulu uložena do souboru %1.</source>
        <translation>Module configuration saved to file %1.</translation>
    </message>
    <message>
        <source>neznámá</source>
        <translation>unknown</translation>
    </message>
    <message>
        <source>ano</source>
        <translation>yes</translation>
    </message>
    <message>
        <source>Probíhá zápis konfigurace do modulu…</source>
        <translation>Writing the configuration to the module…</translation>
    </message>
    <message>
        <source>Zapsáno a ověřeno %1 registrů: %2.</source>
        <translation>%1 registers written and verified: %2.</translation>
    </message>
    <message>
        <source>Zápis zastaven u registru %1.</source>
        <translation>Write stopped at register %1.</translation>
    </message>
    <message>
        <source>Zápis přerušen u registru %1: %2 Modul vrátil %3.</source>
        <translation>Write interrupted at register %1: %2 The module returned %3.</translation>
    </message>
    <message>
        <source>Zápis přerušen u registru %1: %2</source>
        <translation>Write interrupted at register %1: %2</translation>
    </message>
    <message>
        <source> Žádný registr nebyl zapsán.</source>
        <translation> No register was written.</translation>
    </message>
    <message>
        <source> Zapsány a ověřeny registry: %1.</source>
        <translation> Registers written and verified: %1.</translation>
    </message>
    <message>
        <source> Zápis registru %1 modul potvrdil, jeho hodnota ale nebyla ověřena.</source>
        <translation> The module acknowledged the write of register %1, but its value was not verified.</translation>
    </message>
    <message>
        <source>Konfigurace KM-207 (*.km207);;Všechny soubory (*)</source>
        <translation>KM-207 configuration (*.km207);;All files (*)</translation>
    </message>
</context>
<context>
    <name>TFormUvedeni</name>
    <message>
        <source>Uvedení modulů do provozu</source>
        <translation>Commissioning modules</translation>
    </message>
    <message>
        <source>Přidělovat adresy od</source>
        <translation>Assign addresses from</translation>
    </message>
    <message>
        <source>do</source>
        <translation>to</translation>
    </message>
    <message>
        <source>Zapsat i rychlost linky</source>
        <translation>Also write the line baud rate</translation>
    </message>
    <message>
        <source>Rychlost linky</source>
        <translation>Line baud rate</translation>
    </message>
    <message>
        <source>Průběh uvádění do provozu</source>
        <translation>Commissioning progress</translation>
    </message>
    <message>
        <source>Uvést modul</source>
        <translation>Commission module</translation>
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
        <source>Připojte k lince jeden nový modul (z výroby má adresu %1 a rychlost %2 Bd) a stiskněte „Uvést modul“.</source>
        <translation>Connect one new module to the line (from the factory it has address %1 and baud rate %2 Bd) and press “Commission module”.</translation>
    </message>
    <message>
        <source>První adresa musí být nejvýše poslední.</source>
        <translation>The first address must not be above the last one.</translation>
    </message>
    <message>
        <source>Modul přidán do linky: adresa %1, %2 Bd.</source>
        <translation>Module added to the line: address %1, %2 Bd.</translation>
    </message>
    <message>
        <source>Připojte další nový modul a stiskněte „Uvést modul“, nebo okno zavřete.</source>
        <translation>Connect another new module and press “Commission module”, or close the window.</translation>
    </message>
</context>
<context>
    <name>TGrafPrubehu</name>
    <message>
        <source>Stav</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Posun vstupů v grafu</source>
        <translation>Scrolling of the inputs in the chart</translation>
    </message>
    <message>
        <source>Čítač</source>
        <translation>Counter</translation>
    </message>
    <message>
        <source>Rychlost/s</source>
        <translation>Rate/s</translation>
    </message>
    <message>
        <source>Zatím žádné hodnoty</source>
        <translation>No values yet</translation>
    </message>
</context>
<context>
    <name>TNastaveni</name>
    <message>
        <source>Zapsat</source>
        <translation>Write</translation>
    </message>
    <message>
        <source>Přečíst</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>TPrenos</name>
    <message>
        <source> Probíhá čtení konfigurace z modulu (</source>
        <translation> Reading the configuration from the module (</translation>
    </message>
    <message>
        <source> Probíhá zápis konfigurace do modulu (</source>
        <translation> Writing the configuration to the module (</translation>
    </message>
    <message>
        <source> Konfigurace přečtena.</source>
        <translation> Configuration read.</translation>
    </message>
    <message>
        <source> Konfigurace zapsána.</source>
        <translation> Configuration written.</translation>
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
    <name>functions</name>
    <message>
        <source>Bity %1-%2</source>
        <translation>Bits %1-%2</translation>
    </message>
    <message>
        <source>Soubor %1 již existuje.
Chcete jej nahradit?</source>
        <translation>The file %1 already exists.
Do you want to replace it?</translation>
    </message>
    <message>
        <source> Připojení k modulu není inicializováno.</source>
        <translation> The connection to the module is not initialised.</translation>
    </message>
    <message>
        <source>CSV pro Excel (*.csv)</source>
        <translation>CSV for Excel (*.csv)</translation>
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
