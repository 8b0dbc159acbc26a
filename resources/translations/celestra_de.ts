<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
<context>
    <name>ChartRenderer</name>
    <message>
        <source>N</source>
        <translation>N</translation>
    </message>
    <message>
        <source>NE</source>
        <translation>NO</translation>
    </message>
    <message>
        <source>E</source>
        <translation>O</translation>
    </message>
    <message>
        <source>SE</source>
        <translation>SO</translation>
    </message>
    <message>
        <source>S</source>
        <translation>S</translation>
    </message>
    <message>
        <source>SW</source>
        <translation>SW</translation>
    </message>
    <message>
        <source>W</source>
        <translation>W</translation>
    </message>
    <message>
        <source>NW</source>
        <translation>NW</translation>
    </message>
    <message>
        <source>Alt: %1  Az: %2   RA: %3  Dec: %4</source>
        <translation>Höhe: %1  Az: %2   RA: %3  Dek: %4</translation>
    </message>
    <message>
        <source>FOV: %1</source>
        <translation>Feld: %1</translation>
    </message>
    <message>
        <source>UTC  %1-%2-%3 %4</source>
        <translation>UTC  %1-%2-%3 %4</translation>
    </message>
    <message>
        <source>GMST %1</source>
        <translation>MGSZ %1</translation>
    </message>
    <message>
        <source>LST  %1</source>
        <translation>OSZ  %1</translation>
    </message>
    <message>
        <source>M: %1</source>
        <translation>M: %1</translation>
    </message>
    <message>
        <source>RA: </source>
        <translation>RA: </translation>
    </message>
    <message>
        <source>Dec: </source>
        <translation>Dek: </translation>
    </message>
    <message>
        <source>Alt: </source>
        <translation>Höhe: </translation>
    </message>
    <message>
        <source>Az: </source>
        <translation>Az: </translation>
    </message>
    <message>
        <source>   Zoom %1</source>
        <translation>   Zoom %1</translation>
    </message>
    <message>
        <source>No ephemeris for this date</source>
        <translation>Keine Ephemeride für dieses Datum</translation>
    </message>
    <message>
        <source>the SVG drawing could not be started</source>
        <translation>die SVG-Zeichnung ließ sich nicht beginnen</translation>
    </message>
    <message>
        <source>the PDF document could not be started</source>
        <translation>das PDF-Dokument ließ sich nicht beginnen</translation>
    </message>
</context>
<context>
    <name>celestra::Body</name>
    <message>
        <source>Sun</source>
        <translation>Sonne</translation>
    </message>
    <message>
        <source>Moon</source>
        <translation>Mond</translation>
    </message>
    <message>
        <source>Mercury</source>
        <translation>Merkur</translation>
    </message>
    <message>
        <source>Venus</source>
        <translation>Venus</translation>
    </message>
    <message>
        <source>Earth</source>
        <translation>Erde</translation>
    </message>
    <message>
        <source>Mars</source>
        <translation>Mars</translation>
    </message>
    <message>
        <source>Jupiter</source>
        <translation>Jupiter</translation>
    </message>
    <message>
        <source>Saturn</source>
        <translation>Saturn</translation>
    </message>
    <message>
        <source>Uranus</source>
        <translation>Uranus</translation>
    </message>
    <message>
        <source>Neptune</source>
        <translation>Neptun</translation>
    </message>
    <message>
        <source>Pluto</source>
        <translation>Pluto</translation>
    </message>
</context>
<context>
    <name>celestra::CDownloadDlg</name>
    <message>
        <source>Downloading File...</source>
        <translation>Datei wird geladen...</translation>
    </message>
    <message>
        <source>Initiating download...</source>
        <translation>Download wird begonnen...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>%1% complete</source>
        <translation>%1 % fertig</translation>
    </message>
</context>
<context>
    <name>celestra::ChartStatus</name>
    <message>
        <source>One time init:</source>
        <translation>Einmalige Vorbereitung:</translation>
    </message>
    <message>
        <source>Animating</source>
        <translation>Animation</translation>
    </message>
    <message>
        <source>Realtime</source>
        <translation>Echtzeit</translation>
    </message>
    <message>
        <source>Stopped</source>
        <translation>Angehalten</translation>
    </message>
    <message>
        <source>Comets</source>
        <translation>Kometen</translation>
    </message>
    <message>
        <source>Calc.</source>
        <translation>Berechn.</translation>
    </message>
</context>
<context>
    <name>celestra::ChartView</name>
    <message>
        <source>Body</source>
        <translation>Objekt</translation>
    </message>
    <message>
        <source>Info...</source>
        <translation>Info...</translation>
    </message>
    <message>
        <source>Find...</source>
        <translation>Suchen...</translation>
    </message>
    <message>
        <source>Center</source>
        <translation>Zentrieren</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>Zoom</translation>
    </message>
    <message>
        <source>Horizon</source>
        <translation>Horizont</translation>
    </message>
    <message>
        <source>North</source>
        <translation>Norden</translation>
    </message>
    <message>
        <source>East</source>
        <translation>Osten</translation>
    </message>
    <message>
        <source>South</source>
        <translation>Süden</translation>
    </message>
    <message>
        <source>West</source>
        <translation>Westen</translation>
    </message>
    <message>
        <source>Zenith</source>
        <translation>Zenit</translation>
    </message>
    <message>
        <source>Flip East-West</source>
        <translation>Ost-West spiegeln</translation>
    </message>
    <message>
        <source>Full Screen</source>
        <translation>Vollbild</translation>
    </message>
    <message>
        <source>Rotate while scrolling</source>
        <translation>Beim Verschieben drehen</translation>
    </message>
    <message>
        <source>Time unit</source>
        <translation>Zeitschritt</translation>
    </message>
    <message>
        <source>Step +</source>
        <translation>Schritt +</translation>
    </message>
    <message>
        <source>Step -</source>
        <translation>Schritt -</translation>
    </message>
    <message>
        <source>Animate +</source>
        <translation>Animation +</translation>
    </message>
    <message>
        <source>Animate -</source>
        <translation>Animation -</translation>
    </message>
    <message>
        <source>Animate Stop</source>
        <translation>Animation anhalten</translation>
    </message>
    <message>
        <source>Realtime</source>
        <translation>Echtzeit</translation>
    </message>
    <message>
        <source>Select...</source>
        <translation>Wählen...</translation>
    </message>
</context>
<context>
    <name>celestra::ColorSchemeDialog</name>
    <message>
        <source>ColorScheme</source>
        <translation>Farbschema</translation>
    </message>
    <message>
        <source>Black</source>
        <translation>Schwarz</translation>
    </message>
    <message>
        <source>White</source>
        <translation>Weiß</translation>
    </message>
    <message>
        <source>Red</source>
        <translation>Rot</translation>
    </message>
    <message>
        <source>Default</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>RGB</source>
        <translation>RGB</translation>
    </message>
    <message>
        <source>Choose Color</source>
        <translation>Farbe wählen</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Bestätigen</translation>
    </message>
    <message>
        <source>Return color scheme to default settings?</source>
        <translation>Farbschema auf die Standardwerte zurücksetzen?</translation>
    </message>
</context>
<context>
    <name>celestra::DetailsDialog</name>
    <message>
        <source>Details</source>
        <translation>Details</translation>
    </message>
    <message>
        <source>Measurement</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Symbol</source>
        <translation>Symbol</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Wert</translation>
    </message>
    <message>
        <source>Units</source>
        <translation>Einheit</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>celestra::DmsDialog</name>
    <message>
        <source>DMS and HMS</source>
        <translation>GMS und HMS</translation>
    </message>
    <message>
        <source>Use Seconds</source>
        <translation>Mit Sekunden</translation>
    </message>
    <message>
        <source>&quot;&lt;&lt;&quot; converts degrees, minutes, seconds (DMS) into the decimal equivalent; &quot;&gt;&gt;&quot; performs the inverse. Hours, minutes, seconds (HMS) convert the same way.</source>
        <translation>„&lt;&lt;“ wandelt Grad, Minuten, Sekunden (GMS) in den Dezimalwert um; „&gt;&gt;“ wandelt zurück. Stunden, Minuten, Sekunden (HMS) werden ebenso umgewandelt.</translation>
    </message>
    <message>
        <source>D.dddd</source>
        <translation>G,gggg</translation>
    </message>
    <message>
        <source>Degrees</source>
        <translation>Grad</translation>
    </message>
    <message>
        <source>Minutes</source>
        <translation>Minuten</translation>
    </message>
    <message>
        <source>Seconds</source>
        <translation>Sekunden</translation>
    </message>
</context>
<context>
    <name>celestra::DocumentQuestions</name>
    <message>
        <source> (process %1)</source>
        <translation> (Prozess %1)</translation>
    </message>
    <message>
        <source>The document %1 is open in another Celestra%2.

Open it here read-only (nothing of this session is saved), or quit?</source>
        <translation>Das Dokument %1 ist in einem anderen Celestra geöffnet%2.

Hier schreibgeschützt öffnen (nichts aus dieser Sitzung wird gespeichert) oder beenden?</translation>
    </message>
    <message>
        <source>Open Read-Only</source>
        <translation>Schreibgeschützt öffnen</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Celestra cannot read its document.

%1

The file is kept as it is: nothing of this session is saved over it. Move it aside (to %2) and start a new document, or save this session under a new name?</source>
        <translation>Celestra kann sein Dokument nicht lesen.

%1

Die Datei bleibt, wie sie ist: nichts aus dieser Sitzung wird darüber gespeichert. Die Datei beiseitelegen (als %2) und ein neues Dokument beginnen, oder diese Sitzung unter einem neuen Namen speichern?</translation>
    </message>
    <message>
        <source>Celestra cannot read its colour file.

%1

The file is kept as it is and the colours are not saved. Move it aside (to %2) so that they are?</source>
        <translation>Celestra kann seine Farbdatei nicht lesen.

%1

Die Datei bleibt, wie sie ist, und die Farben werden nicht gespeichert. Die Datei beiseitelegen (als %2), damit sie gespeichert werden?</translation>
    </message>
    <message>
        <source>Its colour file cannot be read either; it is kept too:
%1</source>
        <translation>Auch seine Farbdatei lässt sich nicht lesen; sie bleibt ebenfalls erhalten:
%1</translation>
    </message>
    <message>
        <source>Move Aside</source>
        <translation>Beiseitelegen</translation>
    </message>
    <message>
        <source>Save As...</source>
        <translation>Speichern unter...</translation>
    </message>
    <message>
        <source>Don&apos;t Save</source>
        <translation>Nicht speichern</translation>
    </message>
    <message>
        <source>Keep</source>
        <translation>Behalten</translation>
    </message>
    <message>
        <source>Save Session As</source>
        <translation>Sitzung speichern unter</translation>
    </message>
    <message>
        <source>Celestra documents (*.clj)</source>
        <translation>Celestra-Dokumente (*.clj)</translation>
    </message>
</context>
<context>
    <name>celestra::EngineFragment</name>
    <message>
        <source>away from AP</source>
        <translation>vom AP weg</translation>
    </message>
    <message>
        <source>toward AP</source>
        <translation>zum AP hin</translation>
    </message>
    <message>
        <source>along Az:</source>
        <translation>in Az:</translation>
    </message>
    <message>
        <source>, Upper Limb</source>
        <translation>, Oberrand</translation>
    </message>
    <message>
        <source>, Lower Limb</source>
        <translation>, Unterrand</translation>
    </message>
    <message>
        <source>Initial Course:</source>
        <translation>Anfangskurs:</translation>
    </message>
    <message>
        <source>Intercept:</source>
        <translation>Δh:</translation>
    </message>
    <message>
        <source>Dist:</source>
        <translation>Abst.:</translation>
    </message>
    <message>
        <source>FOV:</source>
        <translation>Feld:</translation>
    </message>
    <message>
        <source> NMi</source>
        <translation> sm</translation>
    </message>
    <message>
        <source> nMi</source>
        <translation> sm</translation>
    </message>
</context>
<context>
    <name>celestra::EngineText</name>
    <message>
        <source>Body</source>
        <translation>Gestirn</translation>
    </message>
    <message>
        <source>Sextant Alt.</source>
        <translation>Kimmabstand</translation>
    </message>
    <message>
        <source>Dip</source>
        <translation>Kimmtiefe</translation>
    </message>
    <message>
        <source>  Height</source>
        <translation>  Augeshöhe</translation>
    </message>
    <message>
        <source>  DipShort</source>
        <translation>  Kimmtiefe kurz</translation>
    </message>
    <message>
        <source>Disabled</source>
        <translation>Aus</translation>
    </message>
    <message>
        <source>Index Corr.</source>
        <translation>Indexberichtigung</translation>
    </message>
    <message>
        <source>Apparent Alt.</source>
        <translation>Scheinbare Höhe</translation>
    </message>
    <message>
        <source>Refraction</source>
        <translation>Strahlenbrechung</translation>
    </message>
    <message>
        <source>  Temperature</source>
        <translation>  Temperatur</translation>
    </message>
    <message>
        <source>  Pressure</source>
        <translation>  Luftdruck</translation>
    </message>
    <message>
        <source>Parallax in Alt.</source>
        <translation>Höhenparallaxe</translation>
    </message>
    <message>
        <source>Semi-diameter</source>
        <translation>Halbmesser</translation>
    </message>
    <message>
        <source>Observed Alt.</source>
        <translation>Wahre Höhe</translation>
    </message>
    <message>
        <source>Calc. Alt.</source>
        <translation>Rechenhöhe</translation>
    </message>
    <message>
        <source>Azimuth</source>
        <translation>Azimut</translation>
    </message>
    <message>
        <source>Position Line</source>
        <translation>Höhendifferenz</translation>
    </message>
    <message>
        <source>   in NM</source>
        <translation>   in sm</translation>
    </message>
    <message>
        <source>Dec</source>
        <translation>Abweichung</translation>
    </message>
    <message>
        <source>GHA Body</source>
        <translation>Grt Gestirn</translation>
    </message>
    <message>
        <source>GHA Aries</source>
        <translation>Grt Widderpunkt</translation>
    </message>
    <message>
        <source>GST</source>
        <translation>GSZ</translation>
    </message>
    <message>
        <source>LST</source>
        <translation>OSZ</translation>
    </message>
    <message>
        <source>SHA</source>
        <translation>Sternwinkel</translation>
    </message>
    <message>
        <source>LHA</source>
        <translation>Ortsstundenwinkel</translation>
    </message>
    <message>
        <source>DeltaT (sec)</source>
        <translation>ΔT (s)</translation>
    </message>
    <message>
        <source>Obs Date, UTC</source>
        <translation>Beob.-Datum, UTC</translation>
    </message>
    <message>
        <source>Obs Time, UTC</source>
        <translation>Beob.-Zeit, UTC</translation>
    </message>
    <message>
        <source>Obs Date, Loc.</source>
        <translation>Beob.-Datum, Ortszeit</translation>
    </message>
    <message>
        <source>Obs Time, Loc.</source>
        <translation>Beob.-Zeit, Ortszeit</translation>
    </message>
    <message>
        <source>Obs Julian</source>
        <translation>Beob. Julianisch</translation>
    </message>
    <message>
        <source>Obs Latitude</source>
        <translation>Beob. Breite</translation>
    </message>
    <message>
        <source>Obs Longitude</source>
        <translation>Beob. Länge</translation>
    </message>
    <message>
        <source>AP Date, UTC</source>
        <translation>AP-Datum, UTC</translation>
    </message>
    <message>
        <source>AP Time, UTC</source>
        <translation>AP-Zeit, UTC</translation>
    </message>
    <message>
        <source>AP Julian, UTC</source>
        <translation>AP Julianisch, UTC</translation>
    </message>
    <message>
        <source>AP Latitude</source>
        <translation>AP-Breite</translation>
    </message>
    <message>
        <source>AP Longitude</source>
        <translation>AP-Länge</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Fahrt</translation>
    </message>
    <message>
        <source>Course</source>
        <translation>Kurs</translation>
    </message>
    <message>
        <source>BrightStar #</source>
        <translation>BrightStar-Nr.</translation>
    </message>
    <message>
        <source>Body Index</source>
        <translation>Gestirn-Index</translation>
    </message>
    <message>
        <source>M</source>
        <translation>m</translation>
    </message>
    <message>
        <source>nM</source>
        <translation>sm</translation>
    </message>
    <message>
        <source>mB</source>
        <translation>hPa</translation>
    </message>
    <message>
        <source>Meters</source>
        <translation>Meter</translation>
    </message>
    <message>
        <source>Temperature:</source>
        <translation>Temperatur:</translation>
    </message>
    <message>
        <source>Pressure:</source>
        <translation>Luftdruck:</translation>
    </message>
    <message>
        <source>Index correction:</source>
        <translation>Indexberichtigung:</translation>
    </message>
    <message>
        <source>Minutes</source>
        <translation>Minuten</translation>
    </message>
    <message>
        <source>DIP Short horizon:</source>
        <translation>Kimmtiefe, nahe Kimm:</translation>
    </message>
    <message>
        <source>NMi</source>
        <translation>sm</translation>
    </message>
    <message>
        <source>Vessel speed:</source>
        <translation>Fahrt des Schiffes:</translation>
    </message>
    <message>
        <source>Knots</source>
        <translation>Knoten</translation>
    </message>
    <message>
        <source>Course:</source>
        <translation>Kurs:</translation>
    </message>
    <message>
        <source>No body or star is selected.</source>
        <translation>Kein Gestirn und kein Stern gewählt.</translation>
    </message>
    <message>
        <source>The body&apos;s place is not available.</source>
        <translation>Der Ort des Gestirns ist nicht verfügbar.</translation>
    </message>
    <message>
        <source>Date is outside Ephemeris range.</source>
        <translation>Das Datum liegt außerhalb der Ephemeride.</translation>
    </message>
    <message>
        <source>You can download larger</source>
        <translation>Größere Ephemeriden</translation>
    </message>
    <message>
        <source>Ephemerides</source>
        <translation>lassen sich laden</translation>
    </message>
    <message>
        <source>Ephemerides.</source>
        <translation>lassen sich laden.</translation>
    </message>
    <message>
        <source>Ephemerides from</source>
        <translation>lassen sich laden von</translation>
    </message>
    <message>
        <source>Check AP Time and Location</source>
        <translation>AP-Zeit und -Ort prüfen</translation>
    </message>
    <message>
        <source>circ-polar</source>
        <translation>zirkumpolar</translation>
    </message>
    <message>
        <source>--no set--</source>
        <translation>--kein Untergang--</translation>
    </message>
    <message>
        <source>--bright--</source>
        <translation>--hell--</translation>
    </message>
    <message>
        <source>--no rise--</source>
        <translation>--kein Aufgang--</translation>
    </message>
    <message>
        <source>--no transit--</source>
        <translation>--kein Durchgang--</translation>
    </message>
    <message>
        <source>Daylight Saving Time</source>
        <translation>Sommerzeit</translation>
    </message>
    <message>
        <source>Standard Time</source>
        <translation>Normalzeit</translation>
    </message>
    <message>
        <source>New Moon</source>
        <translation>Neumond</translation>
    </message>
    <message>
        <source>First Quarter</source>
        <translation>Erstes Viertel</translation>
    </message>
    <message>
        <source>Full Moon</source>
        <translation>Vollmond</translation>
    </message>
    <message>
        <source>Last Quarter</source>
        <translation>Letztes Viertel</translation>
    </message>
    <message>
        <source>Hint:  Click on the word &quot;Altitude&quot; to initialize; then press &quot;Calculate&quot;.  </source>
        <translation>Hinweis:  Zum Vorbelegen auf das Wort „Kimmabstand“ klicken, dann „Berechnen“ drücken.  </translation>
    </message>
    <message>
        <source>Click on the result to change format.</source>
        <translation>Ein Klick auf das Ergebnis wechselt das Format.</translation>
    </message>
    <message>
        <source>Fewer than two active sights: no fix.</source>
        <translation>Weniger als zwei aktive Beobachtungen: kein Standort.</translation>
    </message>
    <message>
        <source>No standard error: the residuals sum to a negative value.</source>
        <translation>Kein mittlerer Fehler: die Summe der Residuen ist negativ.</translation>
    </message>
    <message>
        <source>No error ellipse: sin 2θ = 0 (B = 0), so its axes cannot be formed.</source>
        <translation>Keine Fehlerellipse: sin 2θ = 0 (B = 0), ihre Achsen lassen sich nicht bilden.</translation>
    </message>
    <message>
        <source>No error ellipse: the lines of position do not bound it (n/2 - B/sin 2θ &lt;= 0).</source>
        <translation>Keine Fehlerellipse: die Standlinien begrenzen sie nicht (n/2 - B/sin 2θ &lt;= 0).</translation>
    </message>
    <message>
        <source>The lines of position are parallel: no fix can be formed.</source>
        <translation>Die Standlinien sind parallel: kein Standort möglich.</translation>
    </message>
    <message>
        <source>The estimate reached a pole: no fix can be formed.</source>
        <translation>Die Schätzung erreichte einen Pol: kein Standort möglich.</translation>
    </message>
    <message>
        <source>A sight could not be reduced again: no fix.</source>
        <translation>Eine Beobachtung ließ sich nicht erneut auswerten: kein Standort.</translation>
    </message>
    <message>
        <source>AP Correction:</source>
        <translation>AP-Verbesserung:</translation>
    </message>
    <message>
        <source>MPP at time of selected OBS:</source>
        <translation>Wahrscheinlichster Ort zur Zeit der gewählten Beob.:</translation>
    </message>
    <message>
        <source>The Sun does not rise to 6° below the horizon that morning: no civil twilight.</source>
        <translation>Die Sonne steigt an diesem Morgen nicht bis 6° unter den Horizont: keine bürgerliche Dämmerung.</translation>
    </message>
    <message>
        <source>The Sun does not set to 6° below the horizon that evening: no civil twilight.</source>
        <translation>Die Sonne sinkt an diesem Abend nicht bis 6° unter den Horizont: keine bürgerliche Dämmerung.</translation>
    </message>
    <message>
        <source>1 Minute</source>
        <translation>1 Minute</translation>
    </message>
    <message>
        <source>10 Minutes</source>
        <translation>10 Minuten</translation>
    </message>
    <message>
        <source>Hour</source>
        <translation>Stunde</translation>
    </message>
    <message>
        <source>Day</source>
        <translation>Tag</translation>
    </message>
    <message>
        <source>Week</source>
        <translation>Woche</translation>
    </message>
    <message>
        <source>Month</source>
        <translation>Monat</translation>
    </message>
    <message>
        <source>Height of eye:</source>
        <translation>Augeshöhe:</translation>
    </message>
    <message>
        <source>Assumed Position (AP) may not be set correctly on the Time Page.  Set it now to the current location and time?</source>
        <translation>Der angenommene Ort (AP) ist auf der Seite „Zeit“ womöglich nicht richtig gesetzt.  Jetzt auf den aktuellen Ort und die aktuelle Zeit setzen?</translation>
    </message>
    <message>
        <source>Sum: R+S+PA</source>
        <translation>Summe: R+S+PA</translation>
    </message>
    <message>
        <source>Click on graph</source>
        <translation>In die Skizze klicken</translation>
    </message>
    <message>
        <source>Nautical Miles</source>
        <translation>Seemeilen</translation>
    </message>
    <message>
        <source>Statute Miles</source>
        <translation>Landmeilen</translation>
    </message>
    <message>
        <source>kilometers</source>
        <translation>Kilometer</translation>
    </message>
    <message>
        <source>Ellipsoidal distance undefined for coincident or antipodal places; spherical distance shown</source>
        <translation>Für zusammenfallende oder gegenüberliegende Orte ist die Distanz auf dem Ellipsoid nicht bestimmt; die Distanz auf der Kugel wird gezeigt</translation>
    </message>
    <message>
        <source>Use &quot;gpsd (Linux location service)&quot;</source>
        <translation>„gpsd (Linux-Ortungsdienst)“ verwenden</translation>
    </message>
</context>
<context>
    <name>celestra::EnviroDialog</name>
    <message>
        <source>Enviro</source>
        <translation>Umgebung</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation>%1 bis %2</translation>
    </message>
    <message>
        <source>Use STP</source>
        <translation>Normbedingungen</translation>
    </message>
    <message>
        <source>Disable DIP, index, and refraction calculations (when using pre-corrected sextant measurements).</source>
        <translation>Kimmtiefe, Indexberichtigung und Strahlenbrechung abschalten (für schon beschickte Sextantenwerte).</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>%1 must be a number from %2 to %3 %4.</source>
        <translation>%1 muss eine Zahl von %2 bis %3 %4 sein.</translation>
    </message>
</context>
<context>
    <name>celestra::ExportDialog</name>
    <message>
        <source>Export Image</source>
        <translation>Bild exportieren</translation>
    </message>
    <message>
        <source>PNG image</source>
        <translation>PNG-Bild</translation>
    </message>
    <message>
        <source>SVG drawing</source>
        <translation>SVG-Zeichnung</translation>
    </message>
    <message>
        <source>PDF document</source>
        <translation>PDF-Dokument</translation>
    </message>
    <message>
        <source>As the chart: %1 × %2</source>
        <translation>Wie die Karte: %1 × %2</translation>
    </message>
    <message>
        <source>Other:</source>
        <translation>Andere:</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Durchsuchen...</translation>
    </message>
    <message>
        <source>Format:</source>
        <translation>Format:</translation>
    </message>
    <message>
        <source>Size:</source>
        <translation>Größe:</translation>
    </message>
    <message>
        <source>File:</source>
        <translation>Datei:</translation>
    </message>
    <message>
        <source>PNG image (*.png);;SVG drawing (*.svg);;PDF document (*.pdf)</source>
        <translation>PNG-Bild (*.png);;SVG-Zeichnung (*.svg);;PDF-Dokument (*.pdf)</translation>
    </message>
    <message>
        <source>Choose the file to write.</source>
        <translation>Wählen Sie die Datei, die geschrieben werden soll.</translation>
    </message>
    <message>
        <source>%1 could not be written: %2</source>
        <translation>%1 ließ sich nicht schreiben: %2</translation>
    </message>
</context>
<context>
    <name>celestra::FindDialog</name>
    <message>
        <source>Find</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Star, BS number, Bayer/Flamsteed, planet, constellation, M or C number</source>
        <translation>Stern, BS-Nummer, Bayer/Flamsteed, Planet, Sternbild, M- oder C-Nummer</translation>
    </message>
    <message>
        <source>Center on chart</source>
        <translation>Auf der Karte zentrieren</translation>
    </message>
    <message>
        <source>Find:</source>
        <translation>Suchen:</translation>
    </message>
    <message>
        <source>&quot;%1&quot; was not found.</source>
        <translation>„%1“ wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>%1 is below the horizon.</source>
        <translation>%1 steht unter dem Horizont.</translation>
    </message>
    <message>
        <source> It does not rise in the next days.</source>
        <translation> Es geht in den nächsten Tagen nicht auf.</translation>
    </message>
    <message>
        <source> Step the time to its next rise?</source>
        <translation> Die Zeit auf seinen nächsten Aufgang stellen?</translation>
    </message>
</context>
<context>
    <name>celestra::FirstStartPage</name>
    <message>
        <source>Welcome to Celestra</source>
        <translation>Willkommen bei Celestra</translation>
    </message>
    <message>
        <source>Where do you observe from? Choose a place, or take it from a GPS receiver. The chart, the rise and set times and the navigation pages use it; you can change it later on the LatLong page (Menu, Preferences, General...).</source>
        <translation>Von wo aus beobachten Sie? Wählen Sie einen Ort oder übernehmen Sie ihn von einem GPS-Empfänger. Die Sternkarte, die Auf- und Untergangszeiten und die Navigationsseiten verwenden ihn; Sie können ihn später auf der Seite „Ort“ ändern (Menü, Einstellungen, Allgemein...).</translation>
    </message>
    <message>
        <source>Search places by name or country</source>
        <translation>Orte nach Name oder Land suchen</translation>
    </message>
    <message>
        <source>No place chosen</source>
        <translation>Kein Ort gewählt</translation>
    </message>
    <message>
        <source>GPS...</source>
        <translation>GPS...</translation>
    </message>
    <message>
        <source>Take the position from a GPS receiver or gpsd</source>
        <translation>Die Position von einem GPS-Empfänger oder von gpsd übernehmen</translation>
    </message>
    <message>
        <source>System time zone (%1)</source>
        <translation>Zeitzone des Systems (%1)</translation>
    </message>
    <message>
        <source>Zone of the longitude (zone time at sea)</source>
        <translation>Zone der Länge (Zonenzeit auf See)</translation>
    </message>
    <message>
        <source>Time zone:</source>
        <translation>Zeitzone:</translation>
    </message>
    <message>
        <source>Not now</source>
        <translation>Jetzt nicht</translation>
    </message>
    <message>
        <source>GPS position</source>
        <translation>GPS-Position</translation>
    </message>
    <message>
        <source>The place&apos;s time zone (%1)</source>
        <translation>Zeitzone des Ortes (%1)</translation>
    </message>
</context>
<context>
    <name>celestra::GpsPage</name>
    <message>
        <source>GPS</source>
        <translation>GPS</translation>
    </message>
    <message>
        <source>GPS Setup</source>
        <translation>GPS-Einrichtung</translation>
    </message>
    <message>
        <source>Use COM Port:</source>
        <translation>Serielle Schnittstelle:</translation>
    </message>
    <message>
        <source>The receiver&apos;s serial device; type a path that is not listed</source>
        <translation>Das serielle Gerät des Empfängers; einen nicht aufgeführten Pfad eintippen</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Baud Rate:</source>
        <translation>Baudrate:</translation>
    </message>
    <message>
        <source>Raw Data</source>
        <translation>Rohdaten</translation>
    </message>
    <message>
        <source>Set system clock (UTC):</source>
        <translation>Systemuhr stellen (UTC):</translation>
    </message>
    <message>
        <source>On closing, set the system clock to the received time (needs the right to set the clock)</source>
        <translation>Beim Schließen die Systemuhr auf die empfangene Zeit stellen (braucht das Recht, die Uhr zu stellen)</translation>
    </message>
    <message>
        <source>Latitude:</source>
        <translation>Breite:</translation>
    </message>
    <message>
        <source>Longitude:</source>
        <translation>Länge:</translation>
    </message>
    <message>
        <source>Looking for gpsd on %1</source>
        <translation>Suche gpsd auf %1</translation>
    </message>
    <message>
        <source>gpsd answers on %1</source>
        <translation>gpsd antwortet auf %1</translation>
    </message>
    <message>
        <source>No gpsd answers on %1 (host and port: Preferences, General)</source>
        <translation>Kein gpsd antwortet auf %1 (Rechner und Port: Einstellungen, Allgemein)</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <source>Lost port %1</source>
        <translation>Schnittstelle %1 verloren</translation>
    </message>
</context>
<context>
    <name>celestra::GreatCircleDialog</name>
    <message>
        <source>Great Circle Distance</source>
        <translation>Großkreisdistanz</translation>
    </message>
    <message>
        <source>LatLong 1</source>
        <translation>Ort 1</translation>
    </message>
    <message>
        <source>LatLong 2</source>
        <translation>Ort 2</translation>
    </message>
    <message>
        <source>Earth Model</source>
        <translation>Erdmodell</translation>
    </message>
    <message>
        <source>NAD83 (elliptical)</source>
        <translation>NAD83 (Ellipsoid)</translation>
    </message>
    <message>
        <source>Spherical (1&apos; = 1NMi)</source>
        <translation>Kugel (1&apos; = 1 sm)</translation>
    </message>
    <message>
        <source>Calculate</source>
        <translation>Berechnen</translation>
    </message>
    <message>
        <source>Initial course:</source>
        <translation>Anfangskurs:</translation>
    </message>
    <message>
        <source>Distance:</source>
        <translation>Distanz:</translation>
    </message>
</context>
<context>
    <name>celestra::HelpWindow</name>
    <message>
        <source>Celestra Help</source>
        <translation>Celestra-Hilfe</translation>
    </message>
    <message>
        <source>&lt;h3&gt;Celestra %1&lt;/h3&gt;&lt;p&gt;A star chart, planetarium and celestial navigation program.&lt;/p&gt;&lt;p&gt;Licensed under the GNU General Public License, version 3 or (at your option) any later version (GPL-3.0-or-later). There is no warranty.&lt;/p&gt;&lt;p&gt;&lt;b&gt;Data&lt;/b&gt;&lt;/p&gt;&lt;ul&gt;&lt;li&gt;Stars: the Bright Star Catalogue, 5th Revised Edition, by D. Hoffleit and W. H. Warren Jr. (1991), distributed by the Astronomical Data Center (NSSDC/ADC) and the CDS (catalogue V/50).&lt;/li&gt;&lt;li&gt;Sun, Moon and planets: the JPL planetary ephemeris DE405, Jet Propulsion Laboratory, California Institute of Technology (see NOTICE.ephemeris).&lt;/li&gt;&lt;li&gt;Star names after the IAU Catalog of Star Names (WGSN); constellation figures, Messier and Caldwell objects from the Stellarium data files (GPL-2.0-or-later).&lt;/li&gt;&lt;li&gt;World places: the world.cities data of the R package maps (GPL-2), accents from GeoNames (CC BY 4.0).&lt;/li&gt;&lt;li&gt;Object look-ups: the SIMBAD database, operated at CDS, Strasbourg, France.&lt;/li&gt;&lt;/ul&gt;&lt;p&gt;Full sources and licences: SOURCES.md in the catalogue data folder.&lt;/p&gt;</source>
        <translation>&lt;h3&gt;Celestra %1&lt;/h3&gt;&lt;p&gt;Ein Programm für Sternkarte, Planetarium und astronomische Navigation.&lt;/p&gt;&lt;p&gt;Lizenziert unter der GNU General Public License, Version 3 oder (nach Ihrer Wahl) jeder späteren Version (GPL-3.0-or-later). Es gibt keine Gewährleistung.&lt;/p&gt;&lt;p&gt;&lt;b&gt;Daten&lt;/b&gt;&lt;/p&gt;&lt;ul&gt;&lt;li&gt;Sterne: der Bright Star Catalogue, 5. überarbeitete Ausgabe, von D. Hoffleit und W. H. Warren Jr. (1991), verbreitet vom Astronomical Data Center (NSSDC/ADC) und vom CDS (Katalog V/50).&lt;/li&gt;&lt;li&gt;Sonne, Mond und Planeten: die Planetenephemeride DE405 des JPL, Jet Propulsion Laboratory, California Institute of Technology (siehe NOTICE.ephemeris).&lt;/li&gt;&lt;li&gt;Sternnamen nach dem IAU Catalog of Star Names (WGSN); Sternbildfiguren, Messier- und Caldwell-Objekte aus den Datendateien von Stellarium (GPL-2.0-or-later).&lt;/li&gt;&lt;li&gt;Orte der Welt: die Daten world.cities des R-Pakets maps (GPL-2), Akzente aus GeoNames (CC BY 4.0).&lt;/li&gt;&lt;li&gt;Objektsuche: die Datenbank SIMBAD, betrieben am CDS, Straßburg, Frankreich.&lt;/li&gt;&lt;/ul&gt;&lt;p&gt;Alle Quellen und Lizenzen: SOURCES.md im Ordner der Katalogdaten.&lt;/p&gt;</translation>
    </message>
</context>
<context>
    <name>celestra::HorizonDialog</name>
    <message>
        <source>Horizon Distance</source>
        <translation>Horizontentfernung</translation>
    </message>
    <message>
        <source>Meters</source>
        <translation>Meter</translation>
    </message>
    <message>
        <source>Feet</source>
        <translation>Fuß</translation>
    </message>
    <message>
        <source>Calculate</source>
        <translation>Berechnen</translation>
    </message>
    <message>
        <source>Height of eye or radome:</source>
        <translation>Augeshöhe oder Höhe der Radarantenne:</translation>
    </message>
    <message>
        <source>Visible light horizon:</source>
        <translation>Sichtbarer Horizont:</translation>
    </message>
    <message>
        <source>Radar horizon:</source>
        <translation>Radarhorizont:</translation>
    </message>
</context>
<context>
    <name>celestra::HorizonPicture</name>
    <message>
        <source>Dip</source>
        <translation>Kimmtiefe</translation>
    </message>
    <message>
        <source>Eye</source>
        <translation>Auge</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>Höhe</translation>
    </message>
    <message>
        <source>Visible horizon</source>
        <translation>Sichtbarer Horizont</translation>
    </message>
    <message>
        <source>Radar horizon</source>
        <translation>Radarhorizont</translation>
    </message>
</context>
<context>
    <name>celestra::InfoDialog</name>
    <message>
        <source>This comet is no longer on the chart (comets switched off or the list reloaded).</source>
        <translation>Dieser Komet ist nicht mehr auf der Karte (Kometen ausgeschaltet oder die Liste neu geladen).</translation>
    </message>
    <message>
        <source>No place for this date (outside the ephemeris).</source>
        <translation>Kein Ort für dieses Datum (außerhalb der Ephemeride).</translation>
    </message>
    <message>
        <source>Topocentric  RA: %1  Dec: %2
</source>
        <translation>Topozentrisch  RA: %1  Dek: %2
</translation>
    </message>
    <message>
        <source>
Topocentric  RA: %1  Dec: %2 (of date)
</source>
        <translation>
Topozentrisch  RA: %1  Dek: %2 (des Datums)
</translation>
    </message>
    <message>
        <source>Nothing is selected: tap an object on the chart first.</source>
        <translation>Nichts ausgewählt: zuerst ein Objekt auf der Karte antippen.</translation>
    </message>
    <message>
        <source>Apparent     RA: %1  Dec: %2
</source>
        <translation>Scheinbar     RA: %1  Dek: %2
</translation>
    </message>
    <message>
        <source>M: %1,   Distance: %2 kM
</source>
        <translation>M: %1,   Entfernung: %2 km
</translation>
    </message>
    <message>
        <source>Today, %1 (%2):
  Rise     %3
  Transit  %4
  Set      %5
</source>
        <translation>Heute, %1 (%2):
  Aufgang      %3
  Durchgang    %4
  Untergang    %5
</translation>
    </message>
    <message>
        <source>New Moon</source>
        <translation>Neumond</translation>
    </message>
    <message>
        <source>Full Moon</source>
        <translation>Vollmond</translation>
    </message>
    <message>
        <source>Quarter</source>
        <translation>Viertel</translation>
    </message>
    <message>
        <source>Crescent</source>
        <translation>Sichel</translation>
    </message>
    <message>
        <source>Gibbous</source>
        <translation>Zunehmend/abnehmend, über halb</translation>
    </message>
    <message>
        <source>Phase: %1, %2% illuminated
</source>
        <translation>Phase: %1, %2 % beleuchtet
</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>Web...</source>
        <translation>Web...</translation>
    </message>
    <message>
        <source>There is no web page to look this up on</source>
        <translation>Es gibt keine Webseite, auf der sich das nachschlagen lässt</translation>
    </message>
    <message>
        <source>Fetch the image library into %1</source>
        <translation>Die Bildbibliothek nach %1 laden</translation>
    </message>
    <message>
        <source>Alt: %1°   Az: %2°%3
</source>
        <translation>Höhe: %1°   Az: %2°%3
</translation>
    </message>
    <message>
        <source>   (refracted)</source>
        <translation>   (mit Refraktion)</translation>
    </message>
    <message>
        <source>No web browser could be started. Copy this address into one:

%1</source>
        <translation>Es ließ sich kein Webbrowser starten. Bitte diese Adresse in einen Browser kopieren:

%1</translation>
    </message>
</context>
<context>
    <name>celestra::JulianDayDialog</name>
    <message>
        <source>Julian Day</source>
        <translation>Julianisches Datum</translation>
    </message>
    <message>
        <source>Calendar Day         to/from       Julian Day</source>
        <translation>Kalenderdatum        von/nach       Julianisches Datum</translation>
    </message>
    <message>
        <source>The Julian Date is the number of days since the mean noon measured at the Greenwich meridian on January 1st 4713 BCE.  

Each new Julian Day begins at 12h 00m UT. </source>
        <translation>Das Julianische Datum ist die Zahl der Tage seit dem mittleren Mittag am Meridian von Greenwich am 1. Januar 4713 v. Chr.  

Jeder neue Julianische Tag beginnt um 12h 00m UT. </translation>
    </message>
</context>
<context>
    <name>celestra::LatLongGroup</name>
    <message>
        <source>Assumed
 Position</source>
        <translation>Angenomm.
 Ort</translation>
    </message>
    <message>
        <source>Deg</source>
        <translation>Grad</translation>
    </message>
    <message>
        <source>Min</source>
        <translation>Min</translation>
    </message>
    <message>
        <source>Sec</source>
        <translation>Sek</translation>
    </message>
    <message>
        <source>Lat</source>
        <translation>Breite</translation>
    </message>
    <message>
        <source>Long</source>
        <translation>Länge</translation>
    </message>
</context>
<context>
    <name>celestra::LopGraphView</name>
    <message>
        <source>AP</source>
        <translation>AP</translation>
    </message>
    <message>
        <source>FIX</source>
        <translation>FIX</translation>
    </message>
    <message>
        <source>%1 NMi across</source>
        <translation>%1 sm breit</translation>
    </message>
</context>
<context>
    <name>celestra::LopsDialog</name>
    <message>
        <source>LOPs</source>
        <translation>Standlinien</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Details</source>
        <translation>Details</translation>
    </message>
    <message>
        <source>Graph</source>
        <translation>Skizze</translation>
    </message>
    <message>
        <source>LOP Graph</source>
        <translation>Standlinien-Skizze</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>%1 lässt sich nicht schreiben: %2</translation>
    </message>
    <message>
        <source>Sight reduction: </source>
        <translation>Beobachtungsauswertung: </translation>
    </message>
    <message>
        <source>Measurement</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Symbol</source>
        <translation>Symbol</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Wert</translation>
    </message>
    <message>
        <source>Units</source>
        <translation>Einheit</translation>
    </message>
    <message>
        <source>Export CSV...</source>
        <translation>CSV exportieren...</translation>
    </message>
    <message>
        <source>Export Sights...</source>
        <translation>Beobachtungen exportieren...</translation>
    </message>
    <message>
        <source>Import Sights...</source>
        <translation>Beobachtungen importieren...</translation>
    </message>
    <message>
        <source>Print...</source>
        <translation>Drucken...</translation>
    </message>
    <message>
        <source>Export PDF...</source>
        <translation>PDF exportieren...</translation>
    </message>
    <message>
        <source>Every sight with every value of its Details, one row each</source>
        <translation>Jede Beobachtung mit allen Werten ihrer Details, je eine Zeile</translation>
    </message>
    <message>
        <source>The sights as JSON lines, the file celestra-cli fix reads</source>
        <translation>Die Beobachtungen als JSON-Zeilen, die Datei, die celestra-cli fix liest</translation>
    </message>
    <message>
        <source>Adds the sights of a JSON-lines file to the list</source>
        <translation>Fügt die Beobachtungen einer JSON-Zeilen-Datei der Liste hinzu</translation>
    </message>
    <message>
        <source>The reduction form of the selected sight: its Details and the LOP graph</source>
        <translation>Das Auswerteformular der gewählten Beobachtung: ihre Details und die Standlinien-Skizze</translation>
    </message>
    <message>
        <source>Export CSV</source>
        <translation>CSV exportieren</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>CSV-Dateien (*.csv)</translation>
    </message>
    <message>
        <source>Export Sights</source>
        <translation>Beobachtungen exportieren</translation>
    </message>
    <message>
        <source>JSON lines (*.jsonl *.json);;All files (*)</source>
        <translation>JSON-Zeilen (*.jsonl *.json);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Import Sights</source>
        <translation>Beobachtungen importieren</translation>
    </message>
    <message>
        <source>Print Reduction Form</source>
        <translation>Auswerteformular drucken</translation>
    </message>
    <message>
        <source>The printer could not be started.</source>
        <translation>Der Drucker ließ sich nicht starten.</translation>
    </message>
    <message>
        <source>Export PDF</source>
        <translation>PDF exportieren</translation>
    </message>
    <message>
        <source>PDF files (*.pdf)</source>
        <translation>PDF-Dateien (*.pdf)</translation>
    </message>
    <message>
        <source>%1, %2
No sight was imported.</source>
        <translation>%1, %2
Keine Beobachtung wurde importiert.</translation>
    </message>
    <message>
        <source>There is no sight to print.</source>
        <translation>Es gibt keine Beobachtung zum Drucken.</translation>
    </message>
    <message>
        <source>nothing drawn</source>
        <translation>nichts gezeichnet</translation>
    </message>
</context>
<context>
    <name>celestra::LunarMonthView</name>
    <message>
        <source>New</source>
        <translation>NM</translation>
    </message>
    <message>
        <source>FQ</source>
        <translation>EV</translation>
    </message>
    <message>
        <source>Full</source>
        <translation>VM</translation>
    </message>
    <message>
        <source>LQ</source>
        <translation>LV</translation>
    </message>
</context>
<context>
    <name>celestra::LunarPhaseDialog</name>
    <message>
        <source>Lunar Phase</source>
        <translation>Mondphasen</translation>
    </message>
    <message>
        <source>Previous month</source>
        <translation>Voriger Monat</translation>
    </message>
    <message>
        <source>Next month</source>
        <translation>Nächster Monat</translation>
    </message>
    <message>
        <source>The ephemeris does not cover this month.</source>
        <translation>Die Ephemeride reicht nicht über diesen Monat.</translation>
    </message>
    <message>
        <source>Times are local (%1).</source>
        <translation>Zeiten in Ortszeit (%1).</translation>
    </message>
</context>
<context>
    <name>celestra::MainWindow</name>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Menu</source>
        <translation>Menü</translation>
    </message>
    <message>
        <source>3D - Orrery</source>
        <translation>3D - Planetensystem</translation>
    </message>
    <message>
        <source>2D - Star Chart</source>
        <translation>2D - Sternkarte</translation>
    </message>
    <message>
        <source>Info...</source>
        <translation>Info...</translation>
    </message>
    <message>
        <source>Find...</source>
        <translation>Suchen...</translation>
    </message>
    <message>
        <source>Rise Set Times...</source>
        <translation>Auf- und Untergang...</translation>
    </message>
    <message>
        <source>Lunar Phase...</source>
        <translation>Mondphasen...</translation>
    </message>
    <message>
        <source>Calculators</source>
        <translation>Rechner</translation>
    </message>
    <message>
        <source>Great Circle Distance...</source>
        <translation>Großkreisdistanz...</translation>
    </message>
    <message>
        <source>Range and Bearing...</source>
        <translation>Distanz und Kurs...</translation>
    </message>
    <message>
        <source>Horizon distance...</source>
        <translation>Horizontentfernung...</translation>
    </message>
    <message>
        <source>DMS and HMS...</source>
        <translation>GMS und HMS...</translation>
    </message>
    <message>
        <source>Julian Day...</source>
        <translation>Julianisches Datum...</translation>
    </message>
    <message>
        <source>Preferences</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>General...</source>
        <translation>Allgemein...</translation>
    </message>
    <message>
        <source>Colors...</source>
        <translation>Farben...</translation>
    </message>
    <message>
        <source>Navigation</source>
        <translation>Navigation</translation>
    </message>
    <message>
        <source>Sextant...</source>
        <translation>Sextant...</translation>
    </message>
    <message>
        <source>Enviro...</source>
        <translation>Umgebung...</translation>
    </message>
    <message>
        <source>LOPs...</source>
        <translation>Standlinien...</translation>
    </message>
    <message>
        <source>Almanac...</source>
        <translation>Jahrbuch...</translation>
    </message>
    <message>
        <source>Sight Planner...</source>
        <translation>Beobachtungsplaner...</translation>
    </message>
    <message>
        <source>Export Image...</source>
        <translation>Bild exportieren...</translation>
    </message>
    <message>
        <source>Print...</source>
        <translation>Drucken...</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Space News</source>
        <translation>Raumfahrt-Nachrichten</translation>
    </message>
    <message>
        <source>About...</source>
        <translation>Über...</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Command bar</source>
        <translation>Befehlsleiste</translation>
    </message>
    <message>
        <source>Faintest magnitude drawn</source>
        <translation>Schwächste gezeichnete Größenklasse</translation>
    </message>
    <message>
        <source>Scheme</source>
        <translation>Schema</translation>
    </message>
    <message>
        <source>Next color scheme (Shift: its defaults first)</source>
        <translation>Nächstes Farbschema (Umschalt: zuerst seine Standardwerte)</translation>
    </message>
    <message>
        <source>Chart</source>
        <translation>Karte</translation>
    </message>
    <message>
        <source>Black on white (for paper)</source>
        <translation>Schwarz auf Weiß (für Papier)</translation>
    </message>
    <message>
        <source>About Celestra</source>
        <translation>Über Celestra</translation>
    </message>
    <message>
        <source>Help...</source>
        <translation>Hilfe...</translation>
    </message>
    <message>
        <source>Not saved: %1.</source>
        <translation>Nicht gespeichert: %1.</translation>
    </message>
    <message>
        <source>Celestra (read-only)</source>
        <translation>Celestra (schreibgeschützt)</translation>
    </message>
    <message>
        <source>Celestra (not saved)</source>
        <translation>Celestra (nicht gespeichert)</translation>
    </message>
    <message>
        <source>Moved aside: %1</source>
        <translation>Beiseitegelegt: %1</translation>
    </message>
    <message>
        <source>%1 is open in another Celestra.</source>
        <translation>%1 ist in einem anderen Celestra geöffnet.</translation>
    </message>
</context>
<context>
    <name>celestra::NauticalAlmanacDialog</name>
    <message>
        <source>UT</source>
        <translation>UT</translation>
    </message>
    <message>
        <source>ARIES</source>
        <translation>WIDDERP.</translation>
    </message>
    <message>
        <source>GHA</source>
        <translation>Grt</translation>
    </message>
    <message>
        <source>Dec</source>
        <translation>Abw</translation>
    </message>
    <message>
        <source>STARS</source>
        <translation>STERNE</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>SHA</source>
        <translation>Sternw.</translation>
    </message>
    <message>
        <source>Mer. Pass. </source>
        <translation>Mer.-Durchg. </translation>
    </message>
    <message>
        <source>SHA and Dec at 12h UT of the %1th</source>
        <translation>Sternwinkel und Abw um 12h UT am %1.</translation>
    </message>
    <message>
        <source>all night</source>
        <translation>ganze Nacht</translation>
    </message>
    <message>
        <source>SUN</source>
        <translation>SONNE</translation>
    </message>
    <message>
        <source>MOON</source>
        <translation>MOND</translation>
    </message>
    <message>
        <source>HP</source>
        <translation>HP</translation>
    </message>
    <message>
        <source>SD </source>
        <translation>HM </translation>
    </message>
    <message>
        <source>SD</source>
        <translation>HM</translation>
    </message>
    <message>
        <source>Lat.</source>
        <translation>Br.</translation>
    </message>
    <message>
        <source>Naut.</source>
        <translation>Naut.</translation>
    </message>
    <message>
        <source>Civil</source>
        <translation>Bürg.</translation>
    </message>
    <message>
        <source>Sunrise</source>
        <translation>Aufgang</translation>
    </message>
    <message>
        <source>Sunset</source>
        <translation>Untergang</translation>
    </message>
    <message>
        <source>Twilight</source>
        <translation>Dämmerung</translation>
    </message>
    <message>
        <source>Moonrise</source>
        <translation>Mondaufg.</translation>
    </message>
    <message>
        <source>Moonset</source>
        <translation>Monduntg.</translation>
    </message>
    <message>
        <source>Day</source>
        <translation>Tag</translation>
    </message>
    <message>
        <source>Eqn. 00h</source>
        <translation>Zeitgl. 00h</translation>
    </message>
    <message>
        <source>of T. 12h</source>
        <translation>12h</translation>
    </message>
    <message>
        <source>Mer. P.</source>
        <translation>Mer.-D.</translation>
    </message>
    <message>
        <source>Upper</source>
        <translation>Oberer</translation>
    </message>
    <message>
        <source>Lower</source>
        <translation>Unterer</translation>
    </message>
    <message>
        <source>Age</source>
        <translation>Alter</translation>
    </message>
    <message>
        <source>Phase</source>
        <translation>Phase</translation>
    </message>
    <message>
        <source>Times are UT at Greenwich (local mean time).</source>
        <translation>Zeiten in UT für Greenwich (mittlere Ortszeit).</translation>
    </message>
    <message>
        <source>above: the body stays above the horizon all day;</source>
        <translation>über: das Gestirn bleibt den ganzen Tag über dem Horizont;</translation>
    </message>
    <message>
        <source>below: it stays below all day;  all night: twilight</source>
        <translation>unter: es bleibt den ganzen Tag darunter;  ganze Nacht: die Dämmerung</translation>
    </message>
    <message>
        <source>lasts all night;  24:xx: the next day&apos;s event.</source>
        <translation>dauert die ganze Nacht;  24:xx: das Ereignis des nächsten Tages.</translation>
    </message>
    <message>
        <source>Eqn. of time: apparent minus mean time (−: the Sun</source>
        <translation>Zeitgleichung: wahre minus mittlere Zeit (−: die Sonne</translation>
    </message>
    <message>
        <source>crosses the meridian after 12h).</source>
        <translation>geht nach 12h durch den Meridian).</translation>
    </message>
    <message>
        <source>PLANETS</source>
        <translation>PLANETEN</translation>
    </message>
    <message>
        <source>v or d</source>
        <translation>v bzw. d</translation>
    </message>
    <message>
        <source>Corr</source>
        <translation>Verb.</translation>
    </message>
    <message>
        <source>INCREMENTS AND CORRECTIONS</source>
        <translation>SCHALTTAFELN UND VERBESSERUNGEN</translation>
    </message>
    <message>
        <source>the pages could not be drawn</source>
        <translation>die Seiten ließen sich nicht zeichnen</translation>
    </message>
    <message>
        <source>Almanac</source>
        <translation>Nautisches Jahrbuch</translation>
    </message>
    <message>
        <source>The first of the three days (UT)</source>
        <translation>Der erste der drei Tage (UT)</translation>
    </message>
    <message>
        <source>&lt;&lt; 3 days</source>
        <translation>&lt;&lt; 3 Tage</translation>
    </message>
    <message>
        <source>&lt; Day</source>
        <translation>&lt; Tag</translation>
    </message>
    <message>
        <source>Day &gt;</source>
        <translation>Tag &gt;</translation>
    </message>
    <message>
        <source>3 days &gt;&gt;</source>
        <translation>3 Tage &gt;&gt;</translation>
    </message>
    <message>
        <source>Aries, planets and stars</source>
        <translation>Widderpunkt, Planeten und Sterne</translation>
    </message>
    <message>
        <source>Sun, Moon, rise and set</source>
        <translation>Sonne, Mond, Auf- und Untergang</translation>
    </message>
    <message>
        <source>Increments %1m and %2m</source>
        <translation>Schalttafeln %1m und %2m</translation>
    </message>
    <message>
        <source>Letter</source>
        <translation>Letter</translation>
    </message>
    <message>
        <source>With increments and corrections</source>
        <translation>Mit Schalttafeln und Verbesserungen</translation>
    </message>
    <message>
        <source>Print...</source>
        <translation>Drucken...</translation>
    </message>
    <message>
        <source>Export PDF...</source>
        <translation>PDF exportieren...</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Paper:</source>
        <translation>Papier:</translation>
    </message>
    <message>
        <source>These days lie outside the ephemeris: no daily pages. The increments and corrections do not depend on the date.</source>
        <translation>Diese Tage liegen außerhalb der Ephemeride: keine Tagesseiten. Die Schalttafeln und Verbesserungen hängen nicht vom Datum ab.</translation>
    </message>
    <message>
        <source>Print Almanac</source>
        <translation>Jahrbuch drucken</translation>
    </message>
    <message>
        <source>The printer could not be started.</source>
        <translation>Der Drucker ließ sich nicht starten.</translation>
    </message>
    <message>
        <source>Export PDF</source>
        <translation>PDF exportieren</translation>
    </message>
    <message>
        <source>PDF files (*.pdf)</source>
        <translation>PDF-Dateien (*.pdf)</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>%1 lässt sich nicht schreiben: %2</translation>
    </message>
</context>
<context>
    <name>celestra::NumberSpinBox</name>
    <message>
        <source>Please enter a number.</source>
        <translation>Bitte eine Zahl eingeben.</translation>
    </message>
    <message>
        <source>Please enter a number between %1 and %2.</source>
        <translation>Bitte eine Zahl zwischen %1 und %2 eingeben.</translation>
    </message>
</context>
<context>
    <name>celestra::PlannerDiagram</name>
    <message>
        <source>N</source>
        <translation>N</translation>
    </message>
    <message>
        <source>E</source>
        <translation>O</translation>
    </message>
    <message>
        <source>S</source>
        <translation>S</translation>
    </message>
    <message>
        <source>W</source>
        <translation>W</translation>
    </message>
</context>
<context>
    <name>celestra::RangeBearingDialog</name>
    <message>
        <source>Range and Bearing</source>
        <translation>Distanz und Kurs</translation>
    </message>
    <message>
        <source>LatLong Initial</source>
        <translation>Ausgangsort</translation>
    </message>
    <message>
        <source>Method</source>
        <translation>Verfahren</translation>
    </message>
    <message>
        <source>Rhumb Line</source>
        <translation>Loxodrome</translation>
    </message>
    <message>
        <source>Great Circle</source>
        <translation>Orthodrome</translation>
    </message>
    <message>
        <source>Calculate</source>
        <translation>Berechnen</translation>
    </message>
    <message>
        <source>Click for the next angle format</source>
        <translation>Klicken für das nächste Winkelformat</translation>
    </message>
    <message>
        <source>Distance:</source>
        <translation>Distanz:</translation>
    </message>
    <message>
        <source>Course:</source>
        <translation>Kurs:</translation>
    </message>
    <message>
        <source>° True</source>
        <translation>° rw</translation>
    </message>
</context>
<context>
    <name>celestra::RiseSetDialog</name>
    <message>
        <source>  (first of %1)</source>
        <translation>  (erster von %1)</translation>
    </message>
    <message>
        <source>Rise Set Times</source>
        <translation>Auf- und Untergang</translation>
    </message>
    <message>
        <source>A body, or a star by name, Bayer/Flamsteed identity or Bright Star number</source>
        <translation>Ein Gestirn oder ein Stern nach Name, Bayer-/Flamsteed-Bezeichnung oder Bright-Star-Nummer</translation>
    </message>
    <message>
        <source>Event</source>
        <translation>Ereignis</translation>
    </message>
    <message>
        <source>Rise/Set</source>
        <translation>Auf-/Untergang</translation>
    </message>
    <message>
        <source>Civil Twilight</source>
        <translation>Bürgerliche Dämmerung</translation>
    </message>
    <message>
        <source>Nautical Twilight</source>
        <translation>Nautische Dämmerung</translation>
    </message>
    <message>
        <source>Date:</source>
        <translation>Datum:</translation>
    </message>
    <message>
        <source>Body:</source>
        <translation>Gestirn:</translation>
    </message>
    <message>
        <source>Place:</source>
        <translation>Ort:</translation>
    </message>
    <message>
        <source>Zone:</source>
        <translation>Zone:</translation>
    </message>
    <message>
        <source>Local Time</source>
        <translation>Ortszeit</translation>
    </message>
    <message>
        <source>Transit:</source>
        <translation>Durchgang:</translation>
    </message>
    <message>
        <source>Begins:</source>
        <translation>Beginn:</translation>
    </message>
    <message>
        <source>Rise:</source>
        <translation>Aufgang:</translation>
    </message>
    <message>
        <source>Ends:</source>
        <translation>Ende:</translation>
    </message>
    <message>
        <source>Set:</source>
        <translation>Untergang:</translation>
    </message>
    <message>
        <source>No star &quot;%1&quot;: give a body, a star&apos;s name or a Bright Star number 1 to 9110.</source>
        <translation>Kein Stern „%1“: ein Gestirn, den Namen eines Sterns oder eine Bright-Star-Nummer 1 bis 9110 angeben.</translation>
    </message>
</context>
<context>
    <name>celestra::SettingsDialog</name>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>LatLong</source>
        <translation>Ort</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Allgemein</translation>
    </message>
    <message>
        <source>Realtime</source>
        <translation>Echtzeit</translation>
    </message>
    <message>
        <source>as UTC</source>
        <translation>als UTC</translation>
    </message>
    <message>
        <source>DST</source>
        <translation>Sommerzeit</translation>
    </message>
    <message>
        <source>  Assumed Position time</source>
        <translation>  Zeit am angenommenen Ort</translation>
    </message>
    <message>
        <source>Star chart time</source>
        <translation>Zeit der Sternkarte</translation>
    </message>
    <message>
        <source>Time Zone</source>
        <translation>Zeitzone</translation>
    </message>
    <message>
        <source>System clock</source>
        <translation>Systemuhr</translation>
    </message>
    <message>
        <source>Longitude</source>
        <translation>Nach der Länge</translation>
    </message>
    <message>
        <source>Custom</source>
        <translation>Eigene</translation>
    </message>
    <message>
        <source>Place&apos;s time zone</source>
        <translation>Zeitzone des Ortes</translation>
    </message>
    <message>
        <source>Current:</source>
        <translation>Jetzt:</translation>
    </message>
    <message>
        <source>Set arrival time at Assumed Position</source>
        <translation>Ankunftszeit am angenommenen Ort setzen</translation>
    </message>
    <message>
        <source>none yet: the longitude&apos;s zone</source>
        <translation>noch keine: die Zone der Länge</translation>
    </message>
    <message>
        <source>LatLong: </source>
        <translation>Ort: </translation>
    </message>
    <message>
        <source>Current: </source>
        <translation>Jetzt: </translation>
    </message>
    <message>
        <source>   (times shown as UTC)</source>
        <translation>   (Zeiten in UTC)</translation>
    </message>
    <message>
        <source>Latitude:</source>
        <translation>Breite:</translation>
    </message>
    <message>
        <source>Longitude:</source>
        <translation>Länge:</translation>
    </message>
    <message>
        <source> mb</source>
        <translation> hPa</translation>
    </message>
    <message>
        <source>Temperature:</source>
        <translation>Temperatur:</translation>
    </message>
    <message>
        <source>Pressure:</source>
        <translation>Luftdruck:</translation>
    </message>
    <message>
        <source>GPS...</source>
        <translation>GPS...</translation>
    </message>
    <message>
        <source>none: type part of a name, such as &quot;sydney&quot;</source>
        <translation>keine: Namensteil eintippen, etwa „sydney“</translation>
    </message>
    <message>
        <source>The place&apos;s time zone, used by &quot;Place&apos;s time zone&quot; on the Time page</source>
        <translation>Die Zeitzone des Ortes, genutzt von „Zeitzone des Ortes“ auf der Seite „Zeit“</translation>
    </message>
    <message>
        <source>Time zone:</source>
        <translation>Zeitzone:</translation>
    </message>
    <message>
        <source>Search places by name or country</source>
        <translation>Orte nach Name oder Land suchen</translation>
    </message>
    <message>
        <source>Name of the selected custom place</source>
        <translation>Name des gewählten eigenen Ortes</translation>
    </message>
    <message>
        <source>Save current place</source>
        <translation>Aktuellen Ort speichern</translation>
    </message>
    <message>
        <source>No time zone &quot;%1&quot;: choose one from the list.</source>
        <translation>Keine Zeitzone „%1“: bitte eine aus der Liste wählen.</translation>
    </message>
    <message>
        <source>Show</source>
        <translation>Anzeigen</translation>
    </message>
    <message>
        <source>Zenith Grid</source>
        <translation>Azimutalgitter</translation>
    </message>
    <message>
        <source>Polar Grid</source>
        <translation>Äquatorgitter</translation>
    </message>
    <message>
        <source>Ecliptic</source>
        <translation>Ekliptik</translation>
    </message>
    <message>
        <source>Horizon</source>
        <translation>Horizont</translation>
    </message>
    <message>
        <source>Constellation Figures</source>
        <translation>Sternbildfiguren</translation>
    </message>
    <message>
        <source>Constellation Names</source>
        <translation>Sternbildnamen</translation>
    </message>
    <message>
        <source>Star Names</source>
        <translation>Sternnamen</translation>
    </message>
    <message>
        <source>Messier/Caldwell Names</source>
        <translation>Messier-/Caldwell-Namen</translation>
    </message>
    <message>
        <source>Telrad</source>
        <translation>Telrad</translation>
    </message>
    <message>
        <source>Orbital Paths</source>
        <translation>Bahnen</translation>
    </message>
    <message>
        <source>Objects</source>
        <translation>Objekte</translation>
    </message>
    <message>
        <source>Magnitude filter</source>
        <translation>Helligkeitsfilter</translation>
    </message>
    <message>
        <source>Messier</source>
        <translation>Messier</translation>
    </message>
    <message>
        <source>Caldwell</source>
        <translation>Caldwell</translation>
    </message>
    <message>
        <source>Comets    Mag:</source>
        <translation>Kometen    Mag:</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Laden</translation>
    </message>
    <message>
        <source>Servers</source>
        <translation>Server</translation>
    </message>
    <message>
        <source>Base address of the project website (empty: none); used by Web... and Space News</source>
        <translation>Grundadresse der Projekt-Website (leer: keine); genutzt von Web... und Raumfahrt-Nachrichten</translation>
    </message>
    <message>
        <source>Comet elements:</source>
        <translation>Kometenelemente:</translation>
    </message>
    <message>
        <source>Project website:</source>
        <translation>Projekt-Website:</translation>
    </message>
    <message>
        <source>gpsd host:</source>
        <translation>gpsd-Rechner:</translation>
    </message>
    <message>
        <source>gpsd port:</source>
        <translation>gpsd-Port:</translation>
    </message>
    <message>
        <source>Fetch the comet lists into %1</source>
        <translation>Die Kometenlisten nach %1 laden</translation>
    </message>
    <message>
        <source>; the project website&apos;s list is skipped: %1</source>
        <translation>; die Liste der Projekt-Website entfällt: %1</translation>
    </message>
    <message>
        <source>Elevation:</source>
        <translation>Höhe über NN:</translation>
    </message>
</context>
<context>
    <name>celestra::SextantDialog</name>
    <message>
        <source>Sextant</source>
        <translation>Sextant</translation>
    </message>
    <message>
        <source>Star</source>
        <translation>Stern</translation>
    </message>
    <message>
        <source>Body</source>
        <translation>Gestirn</translation>
    </message>
    <message>
        <source>A star by name, by catalogue number or by Bayer identity</source>
        <translation>Ein Stern nach Name, Katalognummer oder Bayer-Bezeichnung</translation>
    </message>
    <message>
        <source>as UTC</source>
        <translation>als UTC</translation>
    </message>
    <message>
        <source>Now</source>
        <translation>Jetzt</translation>
    </message>
    <message>
        <source>Last</source>
        <translation>Letzte</translation>
    </message>
    <message>
        <source>&lt;u&gt;Altitude&lt;/u&gt;</source>
        <translation>&lt;u&gt;Kimmabstand&lt;/u&gt;</translation>
    </message>
    <message>
        <source>Set the altitude that gives no intercept at the AP</source>
        <translation>Die Höhe setzen, die am AP keine Höhendifferenz ergibt</translation>
    </message>
    <message>
        <source>Calculate</source>
        <translation>Berechnen</translation>
    </message>
    <message>
        <source>Details</source>
        <translation>Details</translation>
    </message>
    <message>
        <source>Save LOP</source>
        <translation>Standlinie speichern</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>Degrees</source>
        <translation>Grad</translation>
    </message>
    <message>
        <source>Minutes</source>
        <translation>Minuten</translation>
    </message>
</context>
<context>
    <name>celestra::SightPlannerDialog</name>
    <message>
        <source>Sight Planner</source>
        <translation>Beobachtungsplaner</translation>
    </message>
    <message>
        <source>Degrees, north positive</source>
        <translation>Grad, Nord positiv</translation>
    </message>
    <message>
        <source>Degrees, east positive</source>
        <translation>Grad, Ost positiv</translation>
    </message>
    <message>
        <source>Morning twilight</source>
        <translation>Morgendämmerung</translation>
    </message>
    <message>
        <source>Evening twilight</source>
        <translation>Abenddämmerung</translation>
    </message>
    <message>
        <source>At (UTC):</source>
        <translation>Um (UTC):</translation>
    </message>
    <message>
        <source>Plan</source>
        <translation>Planen</translation>
    </message>
    <message>
        <source>Mark on Chart</source>
        <translation>Auf der Karte markieren</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Body</source>
        <translation>Gestirn</translation>
    </message>
    <message>
        <source>Hc</source>
        <translation>Hc</translation>
    </message>
    <message>
        <source>Zn</source>
        <translation>Zn</translation>
    </message>
    <message>
        <source>Mag.</source>
        <translation>Mag.</translation>
    </message>
    <message>
        <source>Latitude:</source>
        <translation>Breite:</translation>
    </message>
    <message>
        <source>Longitude:</source>
        <translation>Länge:</translation>
    </message>
    <message>
        <source>Date:</source>
        <translation>Datum:</translation>
    </message>
    <message>
        <source>Altitudes:</source>
        <translation>Höhen:</translation>
    </message>
    <message>
        <source>Bodies in the set:</source>
        <translation>Gestirne im Satz:</translation>
    </message>
    <message>
        <source>Date is outside the ephemeris.</source>
        <translation>Das Datum liegt außerhalb der Ephemeride.</translation>
    </message>
    <message>
        <source>%1 (Hc %2, Zn %3)</source>
        <translation>%1 (Hc %2, Zn %3)</translation>
    </message>
    <message>
        <source>%1 UTC. Best set: %2.</source>
        <translation>%1 UTC. Bester Satz: %2.</translation>
    </message>
    <message>
        <source>to</source>
        <translation>bis</translation>
    </message>
</context>
</TS>
