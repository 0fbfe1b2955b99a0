<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>CommandLine</name>
    <message>
        <source>A viewer for laser-show frame files.</source>
        <translation>Ein Betrachter für Laser-Show-Dateien.</translation>
    </message>
    <message>
        <source>The ILDA or controller file to open.</source>
        <translation>Die zu öffnende ILDA- oder Controller-Datei.</translation>
    </message>
</context>
<context>
    <name>EtherDreamClient</name>
    <message>
        <source>%1: the DAC&apos;s largest scan rate is %2 points per second; %3 lowered to it</source>
        <translation>%1: die höchste Scanrate des DAC ist %2 Punkte pro Sekunde; %3 wurde darauf gesenkt</translation>
    </message>
    <message>
        <source>%1: no answer within 3 s</source>
        <translation>%1: keine Antwort innerhalb von 3 s</translation>
    </message>
    <message>
        <source>%1: the DAC answered a command that was not sent</source>
        <translation>%1: der DAC hat auf einen Befehl geantwortet, der nicht gesendet wurde</translation>
    </message>
    <message>
        <source>%1: the DAC is in an emergency stop (check its interlock and stop inputs)</source>
        <translation>%1: der DAC ist im Not-Halt (prüfen Sie seine Interlock- und Stopp-Eingänge)</translation>
    </message>
    <message>
        <source>as invalid</source>
        <translation>als ungültig</translation>
    </message>
    <message>
        <source>with a stop condition</source>
        <translation>mit einer Stopp-Bedingung</translation>
    </message>
    <message>
        <source>with code %1</source>
        <translation>mit dem Code %1</translation>
    </message>
    <message>
        <source>%1: the DAC refused the &apos;%2&apos; command %3</source>
        <translation>%1: der DAC hat den Befehl „%2“ %3 abgelehnt</translation>
    </message>
    <message>
        <source>connected to %1, streaming %2 points per second</source>
        <translation>verbunden mit %1, sende %2 Punkte pro Sekunde</translation>
    </message>
    <message>
        <source>%1: cannot send: %2</source>
        <translation>%1: kann nicht senden: %2</translation>
    </message>
</context>
<context>
    <name>ExportDialogs</name>
    <message>
        <source>Export Picture</source>
        <translation>Bild exportieren</translation>
    </message>
    <message>
        <source>PNG Image (*.png)</source>
        <translation>PNG-Bild (*.png)</translation>
    </message>
    <message>
        <source>SVG Drawing (*.svg)</source>
        <translation>SVG-Zeichnung (*.svg)</translation>
    </message>
    <message>
        <source>Open a show to export it.</source>
        <translation>Öffnen Sie eine Show, um sie zu exportieren.</translation>
    </message>
    <message>
        <source>Export Animation</source>
        <translation>Animation exportieren</translation>
    </message>
    <message>
        <source>Animated GIF (*.gif)</source>
        <translation>Animiertes GIF (*.gif)</translation>
    </message>
    <message>
        <source>Numbered PNG Pictures in a New Folder (*)</source>
        <translation>Nummerierte PNG-Bilder in einem neuen Ordner (*)</translation>
    </message>
    <message>
        <source>Exporting %1 frames...</source>
        <translation>Exportiere %1 Frames...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Export O&amp;ptions...</source>
        <translation>Export&amp;optionen...</translation>
    </message>
    <message>
        <source>Cannot write %1:
%2</source>
        <translation>%1 kann nicht geschrieben werden:
%2</translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>%1 existiert bereits.
Möchten Sie die Datei ersetzen?</translation>
    </message>
    <message>
        <source>The show plays faster than a GIF can: a GIF shows at most %1 frames per second. %2 of the %3 frames were left out so that the GIF keeps the show&apos;s timing.</source>
        <translation>Die Show läuft schneller, als ein GIF es kann: Ein GIF zeigt höchstens %1 Frames pro Sekunde. %2 der %3 Frames wurden ausgelassen, damit das GIF das Timing der Show beibehält.</translation>
    </message>
</context>
<context>
    <name>ExportOptionsDialog</name>
    <message>
        <source>The &amp;window&apos;s size</source>
        <translation>Die Größe des &amp;Fensters</translation>
    </message>
    <message>
        <source>&amp;Width x height:</source>
        <translation>&amp;Breite x Höhe:</translation>
    </message>
    <message>
        <source>Draw the views&apos; &amp;labels and frames</source>
        <translation>&amp;Beschriftungen und Rahmen der Ansichten zeichnen</translation>
    </message>
    <message>
        <source>Export Options</source>
        <translation>Exportoptionen</translation>
    </message>
    <message>
        <source> px</source>
        <translation> px</translation>
    </message>
    <message>
        <source>Pictures and animations are drawn at:</source>
        <translation>Bilder und Animationen werden gezeichnet in:</translation>
    </message>
</context>
<context>
    <name>Exporter</name>
    <message>
        <source>There is no such view.</source>
        <translation>Diese Ansicht gibt es nicht.</translation>
    </message>
    <message>
        <source>Pictures are written as PNG or SVG.</source>
        <translation>Bilder werden als PNG oder SVG geschrieben.</translation>
    </message>
    <message>
        <source>Drawn by Lumenar</source>
        <translation>Gezeichnet von Lumenar</translation>
    </message>
    <message>
        <source>There are no frames to write.</source>
        <translation>Es gibt keine Frames zum Schreiben.</translation>
    </message>
    <message>
        <source>The folder is not empty; choose a new one.</source>
        <translation>Der Ordner ist nicht leer; wählen Sie einen neuen.</translation>
    </message>
    <message>
        <source>The folder cannot be created.</source>
        <translation>Der Ordner kann nicht angelegt werden.</translation>
    </message>
    <message>
        <source>Animations are written as GIF or as a PNG sequence.</source>
        <translation>Animationen werden als GIF oder als PNG-Folge geschrieben.</translation>
    </message>
</context>
<context>
    <name>FrameFacts</name>
    <message>
        <source>no points</source>
        <translation>keine Punkte</translation>
    </message>
    <message>
        <source>all %L1 points blanked</source>
        <translation>alle %L1 Punkte dunkelgetastet</translation>
    </message>
    <message>
        <source>%L1 points, %L2 lit</source>
        <translation>%L1 Punkte, %L2 sichtbar</translation>
    </message>
    <message>
        <source>%L1 ms at %L2 pps</source>
        <translation>%L1 ms bei %L2 Punkten/s</translation>
    </message>
    <message>
        <source>1 point, blanked</source>
        <translation>1 Punkt, dunkelgetastet</translation>
    </message>
    <message>
        <source>1 point, lit</source>
        <translation>1 Punkt, sichtbar</translation>
    </message>
</context>
<context>
    <name>IdnClient</name>
    <message>
        <source>%1: no answer within 3 s</source>
        <translation>%1: keine Antwort innerhalb von 3 s</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>reports a malfunction</source>
        <translation>meldet eine Störung</translation>
    </message>
    <message>
        <source>is offline</source>
        <translation>ist offline</translation>
    </message>
    <message>
        <source>excludes this computer</source>
        <translation>schließt diesen Computer aus</translation>
    </message>
    <message>
        <source>is in use by another client</source>
        <translation>wird von einem anderen Client benutzt</translation>
    </message>
    <message>
        <source>%1: the device %2</source>
        <translation>%1: das Gerät %2</translation>
    </message>
    <message>
        <source>connected to %1 (%2), streaming %3 points per second</source>
        <translation>verbunden mit %1 (%2), sende %3 Punkte pro Sekunde</translation>
    </message>
    <message>
        <source>unnamed</source>
        <translation>ohne Namen</translation>
    </message>
    <message>
        <source>%1: connection refused</source>
        <translation>%1: Verbindung abgelehnt</translation>
    </message>
    <message>
        <source>%1: cannot send: %2</source>
        <translation>%1: kann nicht senden: %2</translation>
    </message>
</context>
<context>
    <name>IldaViewFront</name>
    <message>
        <source>Front</source>
        <translation>Vorne</translation>
    </message>
    <message>
        <source>X</source>
        <translation>X</translation>
    </message>
    <message>
        <source>Y</source>
        <translation>Y</translation>
    </message>
</context>
<context>
    <name>IldaViewPerspective</name>
    <message>
        <source>Perspective</source>
        <translation>Perspektive</translation>
    </message>
    <message>
        <source>Y</source>
        <translation>Y</translation>
    </message>
    <message>
        <source>X</source>
        <translation>X</translation>
    </message>
    <message>
        <source>Z</source>
        <translation>Z</translation>
    </message>
</context>
<context>
    <name>IldaViewSide</name>
    <message>
        <source>Side</source>
        <translation>Seite</translation>
    </message>
    <message>
        <source>Z</source>
        <translation>Z</translation>
    </message>
    <message>
        <source>Y</source>
        <translation>Y</translation>
    </message>
</context>
<context>
    <name>IldaViewTop</name>
    <message>
        <source>Top</source>
        <translation>Oben</translation>
    </message>
    <message>
        <source>X</source>
        <translation>X</translation>
    </message>
    <message>
        <source>Z</source>
        <translation>Z</translation>
    </message>
</context>
<context>
    <name>InfoWindow</name>
    <message>
        <source>Format</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Company</source>
        <translation>Firma</translation>
    </message>
    <message>
        <source>Records</source>
        <translation>Datensätze</translation>
    </message>
    <message>
        <source>Projector</source>
        <translation>Projektor</translation>
    </message>
</context>
<context>
    <name>Inspection</name>
    <message>
        <source>Open Rea&amp;dable Frames</source>
        <translation>&amp;Lesbare Frames öffnen</translation>
    </message>
    <message>
        <source>Ctrl+Shift+R</source>
        <translation>Ctrl+Shift+R</translation>
    </message>
    <message>
        <source>&amp;Reload</source>
        <translation>&amp;Neu laden</translation>
    </message>
    <message>
        <source>F5</source>
        <translation>F5</translation>
    </message>
    <message>
        <source>Next File</source>
        <translation>Nächste Datei</translation>
    </message>
    <message>
        <source>Previous File</source>
        <translation>Vorherige Datei</translation>
    </message>
    <message>
        <source>&amp;Problems</source>
        <translation>Pro&amp;bleme</translation>
    </message>
    <message>
        <source>F8</source>
        <translation>F8</translation>
    </message>
    <message>
        <source>Zoom to &amp;Fit</source>
        <translation>&amp;Einpassen</translation>
    </message>
    <message>
        <source>Ctrl+9</source>
        <translation>Ctrl+9</translation>
    </message>
    <message>
        <source>Show &amp;Axes</source>
        <translation>&amp;Achsen zeigen</translation>
    </message>
    <message>
        <source>Reload of %1 failed: details in View &gt; Problems</source>
        <translation>Neu laden von %1 fehlgeschlagen: Einzelheiten unter Ansicht &gt; Probleme</translation>
    </message>
    <message>
        <source>1 frame kept; the failed section starts at byte %L1</source>
        <translation>1 Frame behalten; der fehlerhafte Abschnitt beginnt bei Byte %L1</translation>
    </message>
    <message>
        <source>%L1 frames kept; the failed section starts at byte %L2</source>
        <translation>%L1 Frames behalten; der fehlerhafte Abschnitt beginnt bei Byte %L2</translation>
    </message>
    <message>
        <source>%1 could not be loaded: details in View &gt; Problems</source>
        <translation>%1 konnte nicht geladen werden: Einzelheiten unter Ansicht &gt; Probleme</translation>
    </message>
    <message>
        <source>%1 (damaged)</source>
        <translation>%1 (beschädigt)</translation>
    </message>
</context>
<context>
    <name>LaserControl</name>
    <message>
        <source>Output &amp;Settings...</source>
        <translation>Ausgabe-&amp;Einstellungen...</translation>
    </message>
    <message>
        <source>&amp;Arm Output</source>
        <translation>Ausgabe &amp;scharf schalten</translation>
    </message>
    <message>
        <source>&amp;Blackout</source>
        <translation>&amp;Blackout</translation>
    </message>
    <message>
        <source>LASER</source>
        <translation>LASER</translation>
    </message>
    <message>
        <source>B</source>
        <translation>B</translation>
    </message>
    <message>
        <source>Arm laser output to %1?</source>
        <translation>Laserausgabe an %1 scharf schalten?</translation>
    </message>
    <message>
        <source>A class 3B or 4 laser can injure eyes and skin and set things alight. Arm only when the projection zone is safe: no person, animal, aircraft or reflecting surface in the beam&apos;s reach.

The blackout key %1 ends the output at any time.</source>
        <translation>Ein Laser der Klasse 3B oder 4 kann Augen und Haut verletzen und Dinge entzünden. Schalten Sie nur scharf, wenn der Projektionsbereich sicher ist: keine Person, kein Tier, kein Flugzeug und keine spiegelnde Fläche in Reichweite des Strahls.

Die Blackout-Taste %1 beendet die Ausgabe jederzeit.</translation>
    </message>
    <message>
        <source>The Zone Is &amp;Safe: Arm</source>
        <translation>Der Bereich ist &amp;sicher: scharf schalten</translation>
    </message>
    <message>
        <source>Laser output blacked out</source>
        <translation>Laserausgabe dunkelgeschaltet</translation>
    </message>
</context>
<context>
    <name>LaserOutput</name>
    <message>
        <source>%1: connection refused</source>
        <translation>%1: Verbindung abgelehnt</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>LaserSettingsDialog</name>
    <message>
        <source>Flip &amp;X (left and right)</source>
        <translation>&amp;X spiegeln (links und rechts)</translation>
    </message>
    <message>
        <source>Flip &amp;Y (up and down)</source>
        <translation>&amp;Y spiegeln (oben und unten)</translation>
    </message>
    <message>
        <source>Laser Output Settings</source>
        <translation>Einstellungen der Laserausgabe</translation>
    </message>
    <message>
        <source>Ether Dream</source>
        <translation>Ether Dream</translation>
    </message>
    <message>
        <source>IDN (ILDA Digital Network)</source>
        <translation>IDN (ILDA Digital Network)</translation>
    </message>
    <message>
        <source>address[:port]</source>
        <translation>Adresse[:Port]</translation>
    </message>
    <message>
        <source> points/s</source>
        <translation> Punkte/s</translation>
    </message>
    <message>
        <source> %</source>
        <translation> %</translation>
    </message>
    <message>
        <source>DACs heard on the network (only a scan is sent to them):</source>
        <translation>Im Netzwerk gehörte DACs (an sie wird nur eine Suchanfrage gesendet):</translation>
    </message>
    <message>
        <source>&amp;Protocol:</source>
        <translation>&amp;Protokoll:</translation>
    </message>
    <message>
        <source>&amp;Address:</source>
        <translation>&amp;Adresse:</translation>
    </message>
    <message>
        <source>Scan &amp;rate:</source>
        <translation>Scan&amp;rate:</translation>
    </message>
    <message>
        <source>S&amp;cale:</source>
        <translation>&amp;Größe:</translation>
    </message>
    <message>
        <source>, up to %1 points/s</source>
        <translation>, bis zu %1 Punkte/s</translation>
    </message>
</context>
<context>
    <name>LoadProgress</name>
    <message>
        <source>Loading %1
%L2 bytes read</source>
        <translation>Lade %1
%L2 Bytes gelesen</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Lumenar</source>
        <translation>Lumenar</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>Ö&amp;ffnen...</translation>
    </message>
    <message>
        <source>Ctrl+O</source>
        <translation>Ctrl+O</translation>
    </message>
    <message>
        <source>&amp;Export Picture...</source>
        <translation>Bild &amp;exportieren...</translation>
    </message>
    <message>
        <source>Ctrl+E</source>
        <translation>Ctrl+E</translation>
    </message>
    <message>
        <source>Export &amp;Animation...</source>
        <translation>&amp;Animation exportieren...</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Ctrl+Q</source>
        <translation>Ctrl+Q</translation>
    </message>
    <message>
        <source>Zoom &amp;In</source>
        <translation>Ver&amp;größern</translation>
    </message>
    <message>
        <source>Ctrl++</source>
        <translation>Ctrl++</translation>
    </message>
    <message>
        <source>Zoom &amp;Out</source>
        <translation>Ver&amp;kleinern</translation>
    </message>
    <message>
        <source>Ctrl+-</source>
        <translation>Ctrl+-</translation>
    </message>
    <message>
        <source>&amp;Reset</source>
        <translation>&amp;Zurücksetzen</translation>
    </message>
    <message>
        <source>Ctrl+0</source>
        <translation>Ctrl+0</translation>
    </message>
    <message>
        <source>&amp;Front</source>
        <translation>&amp;Vorne</translation>
    </message>
    <message>
        <source>Ctrl+F</source>
        <translation>Ctrl+F</translation>
    </message>
    <message>
        <source>&amp;Side</source>
        <translation>&amp;Seite</translation>
    </message>
    <message>
        <source>Ctrl+S</source>
        <translation>Ctrl+S</translation>
    </message>
    <message>
        <source>&amp;Top</source>
        <translation>&amp;Oben</translation>
    </message>
    <message>
        <source>Ctrl+T</source>
        <translation>Ctrl+T</translation>
    </message>
    <message>
        <source>&amp;Perspective</source>
        <translation>&amp;Perspektive</translation>
    </message>
    <message>
        <source>Ctrl+P</source>
        <translation>Ctrl+P</translation>
    </message>
    <message>
        <source>&amp;All</source>
        <translation>&amp;Alle</translation>
    </message>
    <message>
        <source>Ctrl+A</source>
        <translation>Ctrl+A</translation>
    </message>
    <message>
        <source>&amp;First</source>
        <translation>&amp;Erster</translation>
    </message>
    <message>
        <source>&amp;Previous</source>
        <translation>&amp;Vorheriger</translation>
    </message>
    <message>
        <source>&amp;Next</source>
        <translation>&amp;Nächster</translation>
    </message>
    <message>
        <source>&amp;Last</source>
        <translation>&amp;Letzter</translation>
    </message>
    <message>
        <source>Show &amp;Blanked Lines</source>
        <translation>&amp;Dunkelstrecken zeigen</translation>
    </message>
    <message>
        <source>Ctrl+B</source>
        <translation>Ctrl+B</translation>
    </message>
    <message>
        <source>Show &amp;Dots</source>
        <translation>&amp;Punkte zeigen</translation>
    </message>
    <message>
        <source>Ctrl+D</source>
        <translation>Ctrl+D</translation>
    </message>
    <message>
        <source>Show &amp;Information</source>
        <translation>&amp;Information zeigen</translation>
    </message>
    <message>
        <source>&amp;About Lumenar...</source>
        <translation>&amp;Über Lumenar...</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Frame</source>
        <translation>&amp;Frame</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Optionen</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>+</source>
        <translation>+</translation>
    </message>
    <message>
        <source>-</source>
        <translation>-</translation>
    </message>
    <message>
        <source>I</source>
        <translation>I</translation>
    </message>
    <message>
        <source>Ctrl+I</source>
        <translation>Ctrl+I</translation>
    </message>
    <message>
        <source>Alt+Return</source>
        <translation>Alt+Return</translation>
    </message>
    <message>
        <source>Alt+Enter</source>
        <translation>Alt+Enter</translation>
    </message>
    <message>
        <source>Esc</source>
        <translation>Esc</translation>
    </message>
    <message>
        <source> 99999 / 99999 </source>
        <translation> 99999 / 99999 </translation>
    </message>
    <message>
        <source>%1 / %2</source>
        <translation>%1 / %2</translation>
    </message>
    <message>
        <source>- / -</source>
        <translation>- / -</translation>
    </message>
    <message>
        <source>%1 - %2</source>
        <translation>%1 - %2</translation>
    </message>
    <message>
        <source>Open File</source>
        <translation>Datei öffnen</translation>
    </message>
    <message>
        <source>ILDA Format Files (*.ild *.ilda);;All Files (*.*)</source>
        <translation>ILDA-Dateien (*.ild *.ilda);;Alle Dateien (*.*)</translation>
    </message>
    <message>
        <source>&lt;h3&gt;Lumenar&lt;/h3&gt;&lt;p&gt;Based on Qt %1 (%2, %3 bit)&lt;/p&gt;&lt;p&gt;A viewer for laser-show frame files: ILDA shows and Vectrion Pyx pictures, catalogues and animations, frame by frame, from the front, the side, the top and in perspective.&lt;/p&gt;</source>
        <translation>&lt;h3&gt;Lumenar&lt;/h3&gt;&lt;p&gt;Basiert auf Qt %1 (%2, %3 Bit)&lt;/p&gt;&lt;p&gt;Ein Betrachter für Laser-Show-Dateien: ILDA-Shows und Bilder, Kataloge und Animationen des Vectrion Pyx, Frame für Frame, von vorne, von der Seite, von oben und in der Perspektive.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>About Lumenar</source>
        <translation>Über Lumenar</translation>
    </message>
    <message>
        <source>&amp;Laser</source>
        <translation>&amp;Laser</translation>
    </message>
</context>
<context>
    <name>OutputFile</name>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>%1 is a symbolic link; outputs are never written through one</source>
        <translation>%1 ist ein symbolischer Link; Ausgaben werden nie durch einen geschrieben</translation>
    </message>
    <message>
        <source>%1 is not a regular file; only regular files are replaced</source>
        <translation>%1 ist keine reguläre Datei; nur reguläre Dateien werden ersetzt</translation>
    </message>
    <message>
        <source>%1 is an input; inputs are never written to</source>
        <translation>%1 ist eine Eingabe; Eingaben werden nie überschrieben</translation>
    </message>
    <message>
        <source>%1 exists (--force replaces it)</source>
        <translation>%1 existiert (--force ersetzt sie)</translation>
    </message>
</context>
<context>
    <name>PlaybackSpeedDialog</name>
    <message>
        <source>Playback Speed</source>
        <translation>Wiedergabegeschwindigkeit</translation>
    </message>
    <message>
        <source>&amp;Frames per second:</source>
        <translation>&amp;Frames pro Sekunde:</translation>
    </message>
    <message>
        <source>&amp;Points per second:</source>
        <translation>&amp;Punkte pro Sekunde:</translation>
    </message>
    <message>
        <source>At a scan rate, each frame shows as long as a projector needs to draw its points.</source>
        <translation>Bei einer Scanrate steht jeder Frame so lange, wie ein Projektor braucht, um seine Punkte zu zeichnen.</translation>
    </message>
</context>
<context>
    <name>Player</name>
    <message>
        <source>&amp;Play</source>
        <translation>&amp;Abspielen</translation>
    </message>
    <message>
        <source>Space</source>
        <translation>Space</translation>
    </message>
    <message>
        <source>&amp;Loop</source>
        <translation>&amp;Wiederholen</translation>
    </message>
    <message>
        <source>Playback &amp;Speed...</source>
        <translation>Wiedergabe&amp;geschwindigkeit...</translation>
    </message>
    <message>
        <source>%1 fps</source>
        <translation>%1 fps</translation>
    </message>
    <message>
        <source>%L1 points/s</source>
        <translation>%L1 Punkte/s</translation>
    </message>
</context>
<context>
    <name>PointMapper</name>
    <message>
        <source>Laser output blanked: the frame is a still beam (its lit points lie within 1% of the range)</source>
        <translation>Laserausgabe dunkelgetastet: der Frame ist ein stehender Strahl (seine hellen Punkte liegen innerhalb von 1 % des Bereichs)</translation>
    </message>
</context>
<context>
    <name>ProblemsModel</name>
    <message>
        <source>error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>Severity</source>
        <translation>Schweregrad</translation>
    </message>
    <message>
        <source>Code</source>
        <translation>Code</translation>
    </message>
    <message>
        <source>Offset</source>
        <translation>Offset</translation>
    </message>
    <message>
        <source>Frame</source>
        <translation>Frame</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Text</translation>
    </message>
</context>
<context>
    <name>ProblemsWindow</name>
    <message>
        <source>Open Rea&amp;dable Frames</source>
        <translation>&amp;Lesbare Frames öffnen</translation>
    </message>
    <message>
        <source>Problems - %1</source>
        <translation>Probleme - %1</translation>
    </message>
    <message>
        <source>Checking...</source>
        <translation>Prüfe...</translation>
    </message>
    <message>
        <source>Checking %1
%L2 bytes read</source>
        <translation>Prüfe %1
%L2 Bytes gelesen</translation>
    </message>
    <message>
        <source>Check cancelled.</source>
        <translation>Prüfung abgebrochen.</translation>
    </message>
    <message>
        <source>No problems found.</source>
        <translation>Keine Probleme gefunden.</translation>
    </message>
    <message>
        <source>1 error</source>
        <translation>1 Fehler</translation>
    </message>
    <message>
        <source>%L1 errors</source>
        <translation>%L1 Fehler</translation>
    </message>
    <message>
        <source>1 warning</source>
        <translation>1 Warnung</translation>
    </message>
    <message>
        <source>%L1 warnings</source>
        <translation>%L1 Warnungen</translation>
    </message>
    <message>
        <source>, %L1 more not listed</source>
        <translation>, %L1 weitere nicht aufgeführt</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Unknown file format!</source>
        <translation>Unbekanntes Dateiformat!</translation>
    </message>
    <message>
        <source>Unknown file version!</source>
        <translation>Unbekannte Dateiversion!</translation>
    </message>
    <message>
        <source>Vectrion Pyx Picture (True Color)</source>
        <translation>Vectrion-Pyx-Bild (Echtfarben)</translation>
    </message>
    <message>
        <source>Vectrion Pyx Picture (Indexed Color)</source>
        <translation>Vectrion-Pyx-Bild (indizierte Farben)</translation>
    </message>
    <message>
        <source>No file specified!</source>
        <translation>Keine Datei angegeben!</translation>
    </message>
    <message>
        <source>Cannot open &apos;%1&apos;!</source>
        <translation>&apos;%1&apos; kann nicht geöffnet werden!</translation>
    </message>
    <message>
        <source>Not enough memory to show this file!</source>
        <translation>Nicht genug Speicher, um diese Datei zu zeigen!</translation>
    </message>
    <message>
        <source>Loading cancelled.</source>
        <translation>Laden abgebrochen.</translation>
    </message>
    <message>
        <source>0 = 3D Coordinates with Indexed Color</source>
        <translation>0 = 3D-Koordinaten mit indizierten Farben</translation>
    </message>
    <message>
        <source>1 = 2D Coordinates with Indexed Color</source>
        <translation>1 = 2D-Koordinaten mit indizierten Farben</translation>
    </message>
    <message>
        <source>2 = Color Palette for Indexed Color Frames</source>
        <translation>2 = Farbpalette für Frames mit indizierten Farben</translation>
    </message>
    <message>
        <source>4 = 3D Coordinates with True Color</source>
        <translation>4 = 3D-Koordinaten mit Echtfarben</translation>
    </message>
    <message>
        <source>5 = 2D Coordinates with True Color</source>
        <translation>5 = 2D-Koordinaten mit Echtfarben</translation>
    </message>
    <message>
        <source>Invalid data section (Format 0)!</source>
        <translation>Ungültiger Datenabschnitt (Format 0)!</translation>
    </message>
    <message>
        <source>Invalid data section (Format 1)!</source>
        <translation>Ungültiger Datenabschnitt (Format 1)!</translation>
    </message>
    <message>
        <source>Invalid data section (Format 2)!</source>
        <translation>Ungültiger Datenabschnitt (Format 2)!</translation>
    </message>
    <message>
        <source>Invalid data section (Format 4)!</source>
        <translation>Ungültiger Datenabschnitt (Format 4)!</translation>
    </message>
    <message>
        <source>Invalid data section (Format 5)!</source>
        <translation>Ungültiger Datenabschnitt (Format 5)!</translation>
    </message>
    <message>
        <source>No ILDA header found!</source>
        <translation>Kein ILDA-Header gefunden!</translation>
    </message>
    <message>
        <source>Error reading file!</source>
        <translation>Fehler beim Lesen der Datei!</translation>
    </message>
    <message>
        <source>Invalid ILDA header!</source>
        <translation>Ungültiger ILDA-Header!</translation>
    </message>
    <message>
        <source>Unknown format (%1)!</source>
        <translation>Unbekanntes Format (%1)!</translation>
    </message>
    <message>
        <source>%1 points; those after the first %2 are not shown</source>
        <translation>%1 Punkte; die nach den ersten %2 werden nicht gezeigt</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>the file cannot be read from here on</source>
        <translation>die Datei ist ab hier nicht lesbar</translation>
    </message>
    <message>
        <source>no &quot;ILDA&quot; signature in the file&apos;s %1 bytes</source>
        <translation>keine &quot;ILDA&quot;-Signatur in den %1 Bytes der Datei</translation>
    </message>
    <message>
        <source>%1 bytes belong to no section</source>
        <translation>%1 Bytes gehören zu keinem Abschnitt</translation>
    </message>
    <message>
        <source>the file ends without an end header (a header of 0 records)</source>
        <translation>die Datei endet ohne End-Header (einen Header mit 0 Datensätzen)</translation>
    </message>
    <message>
        <source>the header ends after %1 of its %2 bytes</source>
        <translation>der Header endet nach %1 seiner %2 Bytes</translation>
    </message>
    <message>
        <source>the reserved last header byte is %1, not 0</source>
        <translation>das reservierte letzte Header-Byte ist %1, nicht 0</translation>
    </message>
    <message>
        <source>unknown format code %1</source>
        <translation>unbekannter Formatcode %1</translation>
    </message>
    <message>
        <source> (header bytes 4 to 6 should be 0)</source>
        <translation> (die Header-Bytes 4 bis 6 sollten 0 sein)</translation>
    </message>
    <message>
        <source>%1 bytes follow the end header</source>
        <translation>auf den End-Header folgen %1 Bytes</translation>
    </message>
    <message>
        <source>the palette holds %1 colours; those after the first %2 are ignored</source>
        <translation>die Palette enthält %1 Farben; die nach den ersten %2 werden übergangen</translation>
    </message>
    <message>
        <source>the section ends after %1 of its %2 records</source>
        <translation>der Abschnitt endet nach %1 seiner %2 Datensätze</translation>
    </message>
    <message>
        <source>frame number %1, but this is frame %2 counting from 0</source>
        <translation>Frame-Nummer %1, aber dies ist Frame %2, von 0 an gezählt</translation>
    </message>
    <message>
        <source>total frames %1, but the file holds %2</source>
        <translation>Frames insgesamt %1, aber die Datei enthält %2</translation>
    </message>
    <message>
        <source>%1 records; those after the first %2 are not shown</source>
        <translation>%1 Datensätze; die nach den ersten %2 werden nicht gezeigt</translation>
    </message>
    <message>
        <source>the frame&apos;s last record (%1) lacks the last-point bit</source>
        <translation>dem letzten Datensatz des Frames (%1) fehlt das Letzter-Punkt-Bit</translation>
    </message>
    <message>
        <source>record %1 has the last-point bit, but the frame has %2 records</source>
        <translation>Datensatz %1 hat das Letzter-Punkt-Bit, aber der Frame hat %2 Datensätze</translation>
    </message>
    <message>
        <source>record %1 uses colour %2, but projector %3 has %4 colours</source>
        <translation>Datensatz %1 nutzt Farbe %2, aber Projektor %3 hat %4 Farben</translation>
    </message>
    <message>
        <source>the section ends after %1 of its 1 record</source>
        <translation>der Abschnitt endet nach %1 seines 1 Datensatzes</translation>
    </message>
    <message>
        <source>no &quot;ILDA&quot; signature in the file&apos;s 1 byte</source>
        <translation>keine &quot;ILDA&quot;-Signatur im 1 Byte der Datei</translation>
    </message>
    <message>
        <source>the file ends without an end header; 1 byte follows the last section</source>
        <translation>die Datei endet ohne End-Header; auf den letzten Abschnitt folgt 1 Byte</translation>
    </message>
    <message>
        <source>the file ends without an end header; %1 bytes follow the last section</source>
        <translation>die Datei endet ohne End-Header; auf den letzten Abschnitt folgen %1 Bytes</translation>
    </message>
    <message>
        <source>1 byte belongs to no section</source>
        <translation>1 Byte gehört zu keinem Abschnitt</translation>
    </message>
    <message>
        <source>1 byte follows the end header</source>
        <translation>auf den End-Header folgt 1 Byte</translation>
    </message>
    <message>
        <source>total frames %1, but the file holds at least %2 before its error</source>
        <translation>Frames insgesamt %1, aber die Datei enthält vor ihrem Fehler schon mindestens %2</translation>
    </message>
</context>
<context>
    <name>RecentFiles</name>
    <message>
        <source>&amp;%1 %2</source>
        <translation>&amp;%1 %2</translation>
    </message>
</context>
</TS>
