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
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source> Čítač vynulován</source>
        <translation> Counter reset</translation>
    </message>
    <message>
        <source>Nulovat</source>
        <translation>Reset</translation>
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
</context>
</TS>
