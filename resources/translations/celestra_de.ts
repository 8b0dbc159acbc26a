<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
<context>
    <name>ChartRenderer</name>
    <message>
        <source>N</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>S</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SW</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>W</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NW</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Alt: %1  Az: %2   RA: %3  Dec: %4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>FOV: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>UTC  %1-%2-%3 %4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GMST %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LST  %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>M: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RA: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dec: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Alt: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Az: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>   Zoom %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No ephemeris for this date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the SVG drawing could not be started</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the PDF document could not be started</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>celestra::Body</name>
    <message>
        <source>Sun</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Moon</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mercury</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Venus</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Earth</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mars</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Jupiter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saturn</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Uranus</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Neptune</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pluto</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>celestra::ChartView</name>
    <message>
        <source>Body</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Info...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Center</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Horizon</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>North</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>East</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>South</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>West</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zenith</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Flip East-West</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Full Screen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rotate while scrolling</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time unit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Step +</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Step -</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Animate +</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Animate -</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Animate Stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Realtime</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>celestra::ColorSchemeDialog</name>
    <message>
        <source>ColorScheme</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Black</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>White</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Red</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Default</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RGB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose Color</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Return color scheme to default settings?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>celestra::DetailsDialog</name>
    <message>
        <source>Details</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Measurement</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Symbol</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Units</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>celestra::DmsDialog</name>
    <message>
        <source>DMS and HMS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use Seconds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;&lt;&lt;&quot; converts degrees, minutes, seconds (DMS) into the decimal equivalent; &quot;&gt;&gt;&quot; performs the inverse. Hours, minutes, seconds (HMS) convert the same way.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>D.dddd</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Degrees</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minutes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Seconds</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>celestra::EngineFragment</name>
    <message>
        <source>away from AP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>toward AP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>along Az:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>, Upper Limb</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>, Lower Limb</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>celestra::EngineText</name>
    <message>
        <source>Body</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sextant Alt.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dip</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  Height</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  DipShort</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disabled</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Index Corr.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Apparent Alt.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Refraction</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  Temperature</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  Pressure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parallax in Alt.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Semi-diameter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Observed Alt.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calc. Alt.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Azimuth</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Position Line</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>   in NM</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dec</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GHA Body</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GHA Aries</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GST</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LST</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SHA</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LHA</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DeltaT (sec)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Obs Date, UTC</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Obs Time, UTC</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Obs Date, Loc.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Obs Time, Loc.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Obs Julian</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Obs Latitude</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Obs Longitude</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>AP Date, UTC</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>AP Time, UTC</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>AP Julian, UTC</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>AP Latitude</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>AP Longitude</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Course</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>BrightStar #</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Body Index</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>M</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>nM</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>mB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Height above sea level:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Meters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Temperature:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pressure:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Index correction:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minutes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DIP Short horizon:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NMi</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Vessel speed:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Knots</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Course:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No body or star is selected.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The body&apos;s place is not available.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date is outside Ephemeris range.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You can download larger</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ephemerides</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ephemerides.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ephemerides from</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Apparent Position (AP) may not be set correctly on the Time Page.  Set it now to the current location and time?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check AP Time and Location</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>circ-polar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--no set--</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--bright--</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--no rise--</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--no transit--</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Daylight Saving Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Standard Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Moon</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>First Quarter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Full Moon</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last Quarter</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>celestra::EnviroDialog</name>
    <message>
        <source>Enviro</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use STP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disable DIP, index, and refraction calculations (when using pre-corrected sextant measurements).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 must be a number from %2 to %3 %4.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>celestra::ExportDialog</name>
    <message>
        <source>Export Image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PNG image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SVG drawing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PDF document</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>As the chart: %1 × %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Other:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Format:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Size:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PNG image (*.png);;SVG drawing (*.svg);;PDF document (*.pdf)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose the file to write.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 could not be written: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>celestra::FindDialog</name>
    <message>
        <source>Find</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Star, BS number, Bayer/Flamsteed, planet, constellation, M or C number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Center on chart</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; was not found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is below the horizon.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> It does not rise in the next days.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Step the time to its next rise?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>celestra::GpsPage</name>
    <message>
        <source>GPS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GPS Setup</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use COM Port:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The receiver&apos;s serial device; type a path that is not listed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Baud Rate:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Raw Data</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set system clock (UTC):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>On closing, set the system clock to the received time (needs the right to set the clock)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Latitude:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Longitude:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Looking for gpsd on %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gpsd answers on %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No gpsd answers on %1 (host and port: Preferences, General)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>celestra::GreatCircleDialog</name>
    <message>
        <source>Great Circle Distance</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LatLong 1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LatLong 2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Earth Model</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NAD83 (elliptical)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Spherical (1&apos; = 1NMi)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calculate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Initial course:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Distance:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>celestra::HelpWindow</name>
    <message>
        <source>Celestra Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;h3&gt;Celestra %1&lt;/h3&gt;&lt;p&gt;A star chart, planetarium and celestial navigation program.&lt;/p&gt;&lt;p&gt;Licensed under the GNU General Public License, version 3 or (at your option) any later version (GPL-3.0-or-later). There is no warranty.&lt;/p&gt;&lt;p&gt;&lt;b&gt;Data&lt;/b&gt;&lt;/p&gt;&lt;ul&gt;&lt;li&gt;Stars: the Bright Star Catalogue, 5th Revised Edition, by D. Hoffleit and W. H. Warren Jr. (1991), distributed by the Astronomical Data Center (NSSDC/ADC) and the CDS (catalogue V/50).&lt;/li&gt;&lt;li&gt;Sun, Moon and planets: the JPL planetary ephemeris DE405, Jet Propulsion Laboratory, California Institute of Technology (see NOTICE.ephemeris).&lt;/li&gt;&lt;li&gt;Star names after the IAU Catalog of Star Names (WGSN); constellation figures, Messier and Caldwell objects from the Stellarium data files (GPL-2.0-or-later).&lt;/li&gt;&lt;li&gt;World places: the world.cities data of the R package maps (GPL-2), accents from GeoNames (CC BY 4.0).&lt;/li&gt;&lt;li&gt;Object look-ups: the SIMBAD database, operated at CDS, Strasbourg, France.&lt;/li&gt;&lt;/ul&gt;&lt;p&gt;Full sources and licences: SOURCES.md in the catalogue data folder.&lt;/p&gt;</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>celestra::HorizonDialog</name>
    <message>
        <source>Horizon Distance</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Meters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Feet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calculate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Height of eye or radome:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Visible light horizon:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Radar horizon:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>celestra::HorizonPicture</name>
    <message>
        <source>Dip</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Eye</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Height</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Visible horizon</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Radar horizon</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>celestra::InfoDialog</name>
    <message>
        <source>Alt: %1°   Az: %2°
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This comet is no longer on the chart (comets switched off or the list reloaded).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No place for this date (outside the ephemeris).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Topocentric  RA: %1  Dec: %2
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>
Topocentric  RA: %1  Dec: %2 (of date)
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nothing is selected: tap an object on the chart first.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Apparent     RA: %1  Dec: %2
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>M: %1,   Distance: %2 kM
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Today, %1 (%2):
  Rise     %3
  Transit  %4
  Set      %5
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Moon</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Full Moon</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quarter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Crescent</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gibbous</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Phase: %1, %2% illuminated
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Info</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Web...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is no web page to look this up on</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fetch the image library into %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>celestra::JulianDayDialog</name>
    <message>
        <source>Julian Day</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calendar Day         to/from       Julian Day</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Julian Date is the number of days since the mean noon measured at the Greenwich meridian on January 1st 4713 BCE.  

Each new Julian Day begins at 12h 00m UT. </source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>celestra::LatLongGroup</name>
    <message>
        <source>Assumed
 Position</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Deg</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Min</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sec</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lat</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Long</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>celestra::LopGraphView</name>
    <message>
        <source>AP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>FIX</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 NMi across</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>celestra::LopsDialog</name>
    <message>
        <source>LOPs</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Details</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Graph</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LOP Graph</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sight reduction: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Measurement</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Symbol</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Units</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export CSV...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export Sights...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import Sights...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export PDF...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Every sight with every value of its Details, one row each</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The sights as JSON lines, the file celestra-cli fix reads</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Adds the sights of a JSON-lines file to the list</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The reduction form of the selected sight: its Details and the LOP graph</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export CSV</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export Sights</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>JSON lines (*.jsonl *.json);;All files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import Sights</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print Reduction Form</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The printer could not be started.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export PDF</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PDF files (*.pdf)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1, %2
No sight was imported.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is no sight to print.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>nothing drawn</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>celestra::LunarMonthView</name>
    <message>
        <source>New</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>FQ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Full</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LQ</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>celestra::LunarPhaseDialog</name>
    <message>
        <source>Lunar Phase</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Previous month</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next month</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The ephemeris does not cover this month.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Times are local (%1).</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>celestra::MainWindow</name>
    <message>
        <source>Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Menu</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>3D - Orrery</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>2D - Star Chart</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Info...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rise Set Times...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lunar Phase...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calculators</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Great Circle Distance...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Range and Bearing...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Horizon distance...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DMS and HMS...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Julian Day...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preferences</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>General...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Colors...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Navigation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sextant...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enviro...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LOPs...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Almanac...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sight Planner...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export Image...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Space News</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Command bar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Faintest magnitude drawn</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scheme</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next color scheme (Shift: its defaults first)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Chart</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Black on white (for paper)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About Celestra</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>celestra::NauticalAlmanacDialog</name>
    <message>
        <source>UT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ARIES</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GHA</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dec</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>STARS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SHA</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mer. Pass. </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SHA and Dec at 12h UT of the %1th</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>all night</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SUN</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MOON</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>HP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SD </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SD</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lat.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Naut.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Civil</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sunrise</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sunset</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Twilight</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Moonrise</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Moonset</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Day</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Eqn. 00h</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>of T. 12h</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mer. P.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Upper</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lower</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Age</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Phase</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Times are UT at Greenwich (local mean time).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>above: the body stays above the horizon all day;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>below: it stays below all day;  all night: twilight</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lasts all night;  24:xx: the next day&apos;s event.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Eqn. of time: apparent minus mean time (−: the Sun</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>crosses the meridian after 12h).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PLANETS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>v or d</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Corr</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>INCREMENTS AND CORRECTIONS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the pages could not be drawn</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Almanac</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The first of the three days (UT)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;&lt; 3 days</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt; Day</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Day &gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>3 days &gt;&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Aries, planets and stars</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sun, Moon, rise and set</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Increments %1m and %2m</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Letter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>With increments and corrections</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export PDF...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paper:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>These days lie outside the ephemeris: no daily pages. The increments and corrections do not depend on the date.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print Almanac</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The printer could not be started.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export PDF</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PDF files (*.pdf)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>celestra::NumberSpinBox</name>
    <message>
        <source>Please enter a number.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please enter a number between %1 and %2.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>celestra::PlannerDiagram</name>
    <message>
        <source>N</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>S</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>W</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>celestra::RangeBearingDialog</name>
    <message>
        <source>Range and Bearing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LatLong Initial</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Method</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rhumb Line</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Great Circle</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calculate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Click for the next angle format</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Distance:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Course:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>° True</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>celestra::RiseSetDialog</name>
    <message>
        <source>  (first of %1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rise Set Times</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A body, or a star by name, Bayer/Flamsteed identity or Bright Star number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Event</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rise/Set</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Civil Twilight</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nautical Twilight</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Body:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Place:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zone:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Local Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Transit:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Begins:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rise:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ends:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No star &quot;%1&quot;: give a body, a star&apos;s name or a Bright Star number 1 to 9110.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>celestra::SettingsDialog</name>
    <message>
        <source>Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LatLong</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>General</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Realtime</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>as UTC</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DST</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  Assumed Position time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Star chart time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time Zone</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>System clock</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Longitude</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Custom</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Place&apos;s time zone</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Current:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set arrival time at Assumed Position</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>none yet: the longitude&apos;s zone</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LatLong: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Current: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>   (times shown as UTC)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Latitude:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Longitude:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> mb</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Height:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Temperature:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pressure:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GPS...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>none: type part of a name, such as &quot;sydney&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The place&apos;s time zone, used by &quot;Place&apos;s time zone&quot; on the Time page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time zone:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search places by name or country</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name of the selected custom place</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save current place</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No time zone &quot;%1&quot;: choose one from the list.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zenith Grid</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Polar Grid</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ecliptic</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Horizon</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Constellation Figures</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Constellation Names</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Star Names</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Messier/Caldwell Names</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Telrad</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Orbital Paths</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Objects</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Magnitude filter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Messier</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Caldwell</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Comets    Mag:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Servers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Base address of the project website (empty: none); used by Web... and Space News</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Comet elements:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Project website:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gpsd host:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gpsd port:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fetch the comet lists into %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>; the project website&apos;s list is skipped: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>celestra::SextantDialog</name>
    <message>
        <source>Sextant</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Star</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Body</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A star by name, by catalogue number or by Bayer identity</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>as UTC</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Now</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;u&gt;Altitude&lt;/u&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set the altitude that gives no intercept at the AP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calculate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Details</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save LOP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Degrees</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minutes</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>celestra::SightPlannerDialog</name>
    <message>
        <source>Sight Planner</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Degrees, north positive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Degrees, east positive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Morning twilight</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Evening twilight</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>At (UTC):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Plan</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mark on Chart</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Body</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hc</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zn</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mag.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Latitude:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Longitude:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Altitudes:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bodies in the set:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date is outside the ephemeris.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (Hc %2, Zn %3)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 UTC. Best set: %2.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
