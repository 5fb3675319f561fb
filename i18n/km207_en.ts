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
</context>
</TS>
