<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>Countdown</name>
    <message>
        <source>d</source>
        <translation>T</translation>
    </message>
    <message>
        <source>h</source>
        <translation>h</translation>
    </message>
    <message>
        <source>m</source>
        <translation>min</translation>
    </message>
</context>
<context>
    <name>CountdownView</name>
    <message>
        <source>“%1”</source>
        <translation>„%1“</translation>
    </message>
    <message>
        <source>%1, done</source>
        <translation>%1, erledigt</translation>
    </message>
    <message>
        <source>%1, not done</source>
        <translation>%1, nicht erledigt</translation>
    </message>
</context>
<context>
    <name>DatePage</name>
    <message>
        <source>When is it?</source>
        <translation>Wann ist es so weit?</translation>
    </message>
    <message>
        <source>The menu bar shows the days, hours and minutes left.</source>
        <translation>Die Menüleiste zeigt die verbleibenden Tage, Stunden und Minuten.</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Uhrzeit</translation>
    </message>
    <message>
        <source>In your menu bar</source>
        <translation>In deiner Menüleiste</translation>
    </message>
    <message>
        <source>Pick a time in the future</source>
        <translation>Wähle einen Zeitpunkt in der Zukunft</translation>
    </message>
</context>
<context>
    <name>DayCalendar</name>
    <message>
        <source>Previous month</source>
        <translation>Vorheriger Monat</translation>
    </message>
    <message>
        <source>Next month</source>
        <translation>Nächster Monat</translation>
    </message>
    <message>
        <source>Month</source>
        <translation>Monat</translation>
    </message>
    <message>
        <source>Year</source>
        <translation>Jahr</translation>
    </message>
    <message>
        <source>Day</source>
        <translation>Tag</translation>
    </message>
</context>
<context>
    <name>EventPage</name>
    <message>
        <source>What are you counting down to?</source>
        <translation>Wofür läuft dein Countdown?</translation>
    </message>
    <message>
        <source>The event name appears on the full-screen countdown.</source>
        <translation>Der Name des Ereignisses erscheint auf dem Countdown im Vollbild.</translation>
    </message>
    <message>
        <source>Event name</source>
        <translation>Name des Ereignisses</translation>
    </message>
    <message>
        <source>e.g. Product Launch</source>
        <translation>z. B. Produktstart</translation>
    </message>
    <message>
        <source>Secondary text (optional)</source>
        <translation>Zusatztext (optional)</translation>
    </message>
    <message>
        <source>Secondary text</source>
        <translation>Zusatztext</translation>
    </message>
    <message>
        <source>Shown under the event name</source>
        <translation>Erscheint unter dem Namen des Ereignisses</translation>
    </message>
</context>
<context>
    <name>IdleNotice</name>
    <message>
        <source>This desktop does not report idle time; the countdown shows only on request.</source>
        <translation>Diese Arbeitsumgebung meldet keine Leerlaufzeit; der Countdown erscheint nur auf Wunsch.</translation>
    </message>
</context>
<context>
    <name>LoginItem</name>
    <message>
        <source>Launch at login failed: </source>
        <translation>Start bei der Anmeldung fehlgeschlagen: </translation>
    </message>
    <message>
        <source>not a folder</source>
        <translation>kein Ordner</translation>
    </message>
    <message>
        <source>cannot create the folder %1: %2</source>
        <translation>Ordner %1 kann nicht angelegt werden: %2</translation>
    </message>
    <message>
        <source>Countdown to your next event</source>
        <translation>Countdown bis zu deinem nächsten Ereignis</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>cannot remove %1: %2</source>
        <translation>%1 kann nicht entfernt werden: %2</translation>
    </message>
</context>
<context>
    <name>OnboardingView</name>
    <message>
        <source>Back</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>Get Started</source>
        <translation>Los geht&apos;s</translation>
    </message>
    <message>
        <source>Start Using Daystride</source>
        <translation>Mit Daystride loslegen</translation>
    </message>
    <message>
        <source>Continue</source>
        <translation>Weiter</translation>
    </message>
    <message>
        <source>Welcome to Daystride</source>
        <translation>Willkommen bei Daystride</translation>
    </message>
</context>
<context>
    <name>PanelItem</name>
    <message>
        <source>Open Daystride</source>
        <translation>Daystride öffnen</translation>
    </message>
    <message>
        <source>Show Countdown</source>
        <translation>Countdown anzeigen</translation>
    </message>
    <message>
        <source>Settings…</source>
        <translation>Einstellungen…</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
</context>
<context>
    <name>Popover</name>
    <message>
        <source>Daystride</source>
        <translation>Daystride</translation>
    </message>
</context>
<context>
    <name>QuoteRow</name>
    <message>
        <source>Quote %lld</source>
        <translation>Zitat %lld</translation>
    </message>
    <message>
        <source>Type a quote</source>
        <translation>Zitat eingeben</translation>
    </message>
    <message>
        <source>Delete quote %1</source>
        <translation>Zitat %1 löschen</translation>
    </message>
    <message>
        <source>Delete quote %1: “%2”</source>
        <translation>Zitat %1 löschen: „%2“</translation>
    </message>
</context>
<context>
    <name>ScreensaverPage</name>
    <message>
        <source>Full-screen countdown</source>
        <translation>Countdown im Vollbild</translation>
    </message>
    <message>
        <source>When you&apos;re away, Daystride can show the countdown, your tasks and a quote on every screen. Any key or mouse move closes it.</source>
        <translation>Wenn du nicht am Rechner bist, zeigt Daystride auf Wunsch den Countdown, deine Aufgaben und ein Zitat auf jedem Bildschirm. Jede Taste und jede Mausbewegung schließt ihn.</translation>
    </message>
    <message>
        <source>Show when idle</source>
        <translation>Bei Inaktivität anzeigen</translation>
    </message>
    <message>
        <source>%lld min</source>
        <translation>%lld Min.</translation>
    </message>
    <message>
        <source>Delay</source>
        <translation>Verzögerung</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
    <message>
        <source>See what it looks like</source>
        <translation>So sieht es aus</translation>
    </message>
    <message>
        <source>Launch Daystride at login</source>
        <translation>Daystride bei der Anmeldung starten</translation>
    </message>
</context>
<context>
    <name>ScreensaverSettingsView</name>
    <message>
        <source>Shown under the event name</source>
        <translation>Erscheint unter dem Namen des Ereignisses</translation>
    </message>
    <message>
        <source>Secondary Text</source>
        <translation>Zusatztext</translation>
    </message>
    <message>
        <source>Tasks</source>
        <translation>Aufgaben</translation>
    </message>
    <message>
        <source>Show when idle</source>
        <translation>Bei Inaktivität anzeigen</translation>
    </message>
    <message>
        <source>Delay</source>
        <translation>Verzögerung</translation>
    </message>
    <message>
        <source>%lld min</source>
        <translation>%lld Min.</translation>
    </message>
    <message>
        <source>Idle</source>
        <translation>Inaktivität</translation>
    </message>
    <message>
        <source>Task %lld</source>
        <translation>Aufgabe %lld</translation>
    </message>
    <message>
        <source>Task %lld: type to add</source>
        <translation>Aufgabe %lld: zum Hinzufügen tippen</translation>
    </message>
    <message>
        <source>Mark task %1 as done</source>
        <translation>Aufgabe %1 als erledigt markieren</translation>
    </message>
    <message>
        <source>Mark “%1” as done</source>
        <translation>„%1“ als erledigt markieren</translation>
    </message>
</context>
<context>
    <name>ScreensaverWindow</name>
    <message>
        <source>Daystride Countdown</source>
        <translation>Daystride-Countdown</translation>
    </message>
</context>
<context>
    <name>SettingsStore</name>
    <message>
        <source>%1 is not a regular file</source>
        <translation>%1 ist keine reguläre Datei</translation>
    </message>
    <message>
        <source>no room for a temporary file in %1</source>
        <translation>kein Platz für eine temporäre Datei in %1</translation>
    </message>
    <message>
        <source>the unreadable settings file could not be copied to %1: %2</source>
        <translation>die unlesbare Einstellungsdatei konnte nicht nach %1 kopiert werden: %2</translation>
    </message>
    <message>
        <source>too many copies of unreadable settings files beside %1</source>
        <translation>zu viele Kopien unlesbarer Einstellungsdateien neben %1</translation>
    </message>
</context>
<context>
    <name>SettingsView</name>
    <message>
        <source>General</source>
        <translation>Allgemein</translation>
    </message>
    <message>
        <source>Launch at login</source>
        <translation>Bei der Anmeldung starten</translation>
    </message>
    <message>
        <source>Show Welcome Guide</source>
        <translation>Willkommensanleitung zeigen</translation>
    </message>
    <message>
        <source>Countdown</source>
        <translation>Countdown</translation>
    </message>
    <message>
        <source>Event name</source>
        <translation>Name des Ereignisses</translation>
    </message>
    <message>
        <source>Secondary text</source>
        <translation>Zusatztext</translation>
    </message>
    <message>
        <source>Ends</source>
        <translation>Endet</translation>
    </message>
    <message>
        <source>Tasks</source>
        <translation>Aufgaben</translation>
    </message>
    <message>
        <source>Quotes</source>
        <translation>Zitate</translation>
    </message>
    <message>
        <source>The countdown screen shows one at random and changes it every 90 seconds. Delete them all to hide the quote.</source>
        <translation>Der Countdown-Bildschirm zeigt eines davon zufällig und wechselt es alle 90 Sekunden. Lösche alle, um kein Zitat zu zeigen.</translation>
    </message>
    <message>
        <source>Add Quote</source>
        <translation>Zitat hinzufügen</translation>
    </message>
    <message>
        <source>Restore Defaults</source>
        <translation>Standard wiederherstellen</translation>
    </message>
    <message>
        <source>Screensaver</source>
        <translation>Bildschirmschoner</translation>
    </message>
    <message>
        <source>Show countdown when idle</source>
        <translation>Countdown bei Inaktivität anzeigen</translation>
    </message>
    <message>
        <source>Preview Now</source>
        <translation>Vorschau anzeigen</translation>
    </message>
    <message>
        <source>After %lld min</source>
        <translation>Nach %lld Min.</translation>
    </message>
    <message>
        <source>Daystride Settings</source>
        <translation>Daystride-Einstellungen</translation>
    </message>
    <message>
        <source>Delay</source>
        <translation>Verzögerung</translation>
    </message>
</context>
<context>
    <name>StepDots</name>
    <message>
        <source>Step %1 of %2</source>
        <translation>Schritt %1 von %2</translation>
    </message>
</context>
<context>
    <name>TaskRow</name>
    <message>
        <source>Task %lld</source>
        <translation>Aufgabe %lld</translation>
    </message>
    <message>
        <source>Task %lld: type to add</source>
        <translation>Aufgabe %lld: zum Hinzufügen tippen</translation>
    </message>
    <message>
        <source>Mark task %1 as done</source>
        <translation>Aufgabe %1 als erledigt markieren</translation>
    </message>
    <message>
        <source>Mark “%1” as done</source>
        <translation>„%1“ als erledigt markieren</translation>
    </message>
</context>
<context>
    <name>TimerView</name>
    <message>
        <source>Timer</source>
        <translation>Timer</translation>
    </message>
    <message>
        <source>Screensaver</source>
        <translation>Bildschirmschoner</translation>
    </message>
    <message>
        <source>COUNTING DOWN TO</source>
        <translation>COUNTDOWN BIS</translation>
    </message>
    <message>
        <source>Click to rename the event</source>
        <translation>Klicken, um das Ereignis umzubenennen</translation>
    </message>
    <message>
        <source>Event Name</source>
        <translation>Name des Ereignisses</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Uhrzeit</translation>
    </message>
    <message>
        <source>Set Date and Time</source>
        <translation>Datum und Uhrzeit festlegen</translation>
    </message>
    <message>
        <source>Show Countdown</source>
        <translation>Vollbild</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Edit tasks, quotes and more in the Settings window</source>
        <translation>Aufgaben, Zitate und mehr im Einstellungsfenster bearbeiten</translation>
    </message>
    <message>
        <source>Quit Daystride</source>
        <translation>Daystride beenden</translation>
    </message>
</context>
<context>
    <name>TimerViewModel</name>
    <message>
        <source>Finish the launch checklist</source>
        <translation>Checkliste für den Start abarbeiten</translation>
    </message>
    <message>
        <source>Send the press kit</source>
        <translation>Pressemappe verschicken</translation>
    </message>
    <message>
        <source>Record the demo video</source>
        <translation>Demovideo aufnehmen</translation>
    </message>
    <message>
        <source>Update the website</source>
        <translation>Website aktualisieren</translation>
    </message>
    <message>
        <source>Test the release build</source>
        <translation>Release-Version testen</translation>
    </message>
    <message>
        <source>Plan the celebration</source>
        <translation>Feier planen</translation>
    </message>
    <message>
        <source>Today I choose to be happy</source>
        <translation>Heute entscheide ich mich, glücklich zu sein</translation>
    </message>
    <message>
        <source>I&apos;m grateful for everything I have</source>
        <translation>Ich bin dankbar für alles, was ich habe</translation>
    </message>
    <message>
        <source>I&apos;m capable of achieving great things</source>
        <translation>Ich kann Großes erreichen</translation>
    </message>
    <message>
        <source>I choose to focus on what I can control</source>
        <translation>Ich konzentriere mich auf das, was ich beeinflussen kann</translation>
    </message>
    <message>
        <source>I embrace challenges as opportunities for growth</source>
        <translation>Ich sehe Herausforderungen als Chance, zu wachsen</translation>
    </message>
    <message>
        <source>I&apos;m confident in my abilities</source>
        <translation>Ich vertraue auf meine Fähigkeiten</translation>
    </message>
    <message>
        <source>I&apos;m grateful for the blessings in my life</source>
        <translation>Ich bin dankbar für das Gute in meinem Leben</translation>
    </message>
    <message>
        <source>I&apos;m open to new possibilities</source>
        <translation>Ich bin offen für neue Möglichkeiten</translation>
    </message>
    <message>
        <source>I&apos;m positive and optimistic</source>
        <translation>Ich bin positiv und zuversichtlich</translation>
    </message>
    <message>
        <source>I&apos;m grateful for the support of my loved ones</source>
        <translation>Ich bin dankbar für die Unterstützung meiner Liebsten</translation>
    </message>
    <message>
        <source>I&apos;m committed to continuous improvement</source>
        <translation>Ich arbeite stetig daran, besser zu werden</translation>
    </message>
    <message>
        <source>I choose to make a positive impact today</source>
        <translation>Heute entscheide ich mich, etwas Gutes zu bewirken</translation>
    </message>
    <message>
        <source>I&apos;m confident in my decisions</source>
        <translation>Ich vertraue meinen Entscheidungen</translation>
    </message>
    <message>
        <source>I&apos;m open to learning and growing</source>
        <translation>Ich bin offen dafür, zu lernen und zu wachsen</translation>
    </message>
    <message>
        <source>Settings could not be saved: %1</source>
        <translation>Die Einstellungen konnten nicht gespeichert werden: %1</translation>
    </message>
    <message>
        <source>Some stored settings could not be read; the original file is kept as %1.</source>
        <translation>Einige gespeicherte Einstellungen konnten nicht gelesen werden; die ursprüngliche Datei bleibt als %1 erhalten.</translation>
    </message>
</context>
<context>
    <name>TourPage</name>
    <message>
        <source>You&apos;re all set</source>
        <translation>Alles bereit</translation>
    </message>
    <message>
        <source>Here&apos;s where everything lives.</source>
        <translation>Hier findest du alles.</translation>
    </message>
    <message>
        <source>Click the countdown in the menu bar</source>
        <translation>Klicke auf den Countdown in der Menüleiste</translation>
    </message>
    <message>
        <source>Change the event name, date and time from the popover.</source>
        <translation>Im Fenster, das sich dann öffnet, änderst du Name, Datum und Uhrzeit des Ereignisses.</translation>
    </message>
    <message>
        <source>Screensaver tab</source>
        <translation>Reiter „Bildschirmschoner“</translation>
    </message>
    <message>
        <source>Edit the tasks and idle options shown on the full-screen countdown.</source>
        <translation>Bearbeite die Aufgaben und die Optionen bei Inaktivität für den Countdown im Vollbild.</translation>
    </message>
    <message>
        <source>Show Countdown</source>
        <translation>Vollbild</translation>
    </message>
    <message>
        <source>Opens the full-screen countdown right away.</source>
        <translation>Öffnet sofort den Countdown im Vollbild.</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Edit quotes, turn launch at login on or off, or open this guide again.</source>
        <translation>Bearbeite Zitate, schalte den Start bei der Anmeldung ein oder aus oder öffne diese Anleitung erneut.</translation>
    </message>
</context>
<context>
    <name>Units</name>
    <message numerus="yes">
        <source>day</source>
        <translation>
            <numerusform>Tag</numerusform>
            <numerusform>Tage</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>days</source>
        <translation>
            <numerusform>Tag</numerusform>
            <numerusform>Tage</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>hour</source>
        <translation>
            <numerusform>Std.</numerusform>
            <numerusform>Std.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>hours</source>
        <translation>
            <numerusform>Std.</numerusform>
            <numerusform>Std.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>min</source>
        <translation>
            <numerusform>Min.</numerusform>
            <numerusform>Min.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>mins</source>
        <translation>
            <numerusform>Min.</numerusform>
            <numerusform>Min.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>sec</source>
        <translation>
            <numerusform>Sek.</numerusform>
            <numerusform>Sek.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>secs</source>
        <translation>
            <numerusform>Sek.</numerusform>
            <numerusform>Sek.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n day</source>
        <translation>
            <numerusform>%n Tag</numerusform>
            <numerusform>%n Tage</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n days</source>
        <translation>
            <numerusform>%n Tag</numerusform>
            <numerusform>%n Tage</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n hour</source>
        <translation>
            <numerusform>%n Stunde</numerusform>
            <numerusform>%n Stunden</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n hours</source>
        <translation>
            <numerusform>%n Stunde</numerusform>
            <numerusform>%n Stunden</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n minute</source>
        <translation>
            <numerusform>%n Minute</numerusform>
            <numerusform>%n Minuten</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n minutes</source>
        <translation>
            <numerusform>%n Minute</numerusform>
            <numerusform>%n Minuten</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n second</source>
        <translation>
            <numerusform>%n Sekunde</numerusform>
            <numerusform>%n Sekunden</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n seconds</source>
        <translation>
            <numerusform>%n Sekunde</numerusform>
            <numerusform>%n Sekunden</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 left</source>
        <translation>noch %1</translation>
    </message>
    <message>
        <source>%1: %2 left</source>
        <translation>%1: noch %2</translation>
    </message>
</context>
<context>
    <name>WelcomePage</name>
    <message>
        <source>Welcome to Daystride</source>
        <translation>Willkommen bei Daystride</translation>
    </message>
    <message>
        <source>Keep a countdown to your next big day in the menu bar, and fill your screens with it when you step away.</source>
        <translation>Behalte den Countdown zu deinem nächsten großen Tag in der Menüleiste im Blick – und lass ihn deine Bildschirme füllen, wenn du eine Pause machst.</translation>
    </message>
</context>
<context>
    <name>WindowHeader</name>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
</TS>
