<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>Countdown</name>
    <message>
        <source>d</source>
        <translation>j</translation>
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
        <translation>« %1 »</translation>
    </message>
    <message>
        <source>%1, done</source>
        <translation>%1, terminée</translation>
    </message>
    <message>
        <source>%1, not done</source>
        <translation>%1, non terminée</translation>
    </message>
</context>
<context>
    <name>DatePage</name>
    <message>
        <source>When is it?</source>
        <translation>C&apos;est pour quand&#xa0;?</translation>
    </message>
    <message>
        <source>The menu bar shows the days, hours and minutes left.</source>
        <translation>La barre des menus affiche les jours, heures et minutes restants.</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Heure</translation>
    </message>
    <message>
        <source>In your menu bar</source>
        <translation>Dans votre barre des menus</translation>
    </message>
    <message>
        <source>Pick a time in the future</source>
        <translation>Choisissez un moment dans le futur</translation>
    </message>
</context>
<context>
    <name>DayCalendar</name>
    <message>
        <source>Previous month</source>
        <translation>Mois précédent</translation>
    </message>
    <message>
        <source>Next month</source>
        <translation>Mois suivant</translation>
    </message>
    <message>
        <source>Month</source>
        <translation>Mois</translation>
    </message>
    <message>
        <source>Year</source>
        <translation>Année</translation>
    </message>
    <message>
        <source>Day</source>
        <translation>Jour</translation>
    </message>
</context>
<context>
    <name>EventPage</name>
    <message>
        <source>What are you counting down to?</source>
        <translation>Quel événement attendez-vous&#xa0;?</translation>
    </message>
    <message>
        <source>The event name appears on the full-screen countdown.</source>
        <translation>Le nom de l&apos;événement apparaît sur le compte à rebours en plein écran.</translation>
    </message>
    <message>
        <source>Event name</source>
        <translation>Nom de l&apos;événement</translation>
    </message>
    <message>
        <source>e.g. Product Launch</source>
        <translation>p. ex. Lancement du produit</translation>
    </message>
    <message>
        <source>Secondary text (optional)</source>
        <translation>Texte secondaire (facultatif)</translation>
    </message>
    <message>
        <source>Secondary text</source>
        <translation>Texte secondaire</translation>
    </message>
    <message>
        <source>Shown under the event name</source>
        <translation>Affiché sous le nom de l&apos;événement</translation>
    </message>
</context>
<context>
    <name>IdleNotice</name>
    <message>
        <source>This desktop does not report idle time; the countdown shows only on request.</source>
        <translation>Ce bureau ne signale pas le temps d&apos;inactivité&#xa0;; le compte à rebours ne s&apos;affiche que sur demande.</translation>
    </message>
</context>
<context>
    <name>LoginItem</name>
    <message>
        <source>Launch at login failed: </source>
        <translation>Échec du lancement à la connexion&#xa0;: </translation>
    </message>
    <message>
        <source>not a folder</source>
        <translation>ce n&apos;est pas un dossier</translation>
    </message>
    <message>
        <source>cannot create the folder %1: %2</source>
        <translation>impossible de créer le dossier %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>Countdown to your next event</source>
        <translation>Compte à rebours jusqu&apos;à votre prochain événement</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>impossible d&apos;écrire %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>cannot remove %1: %2</source>
        <translation>impossible de supprimer %1&#xa0;: %2</translation>
    </message>
</context>
<context>
    <name>OnboardingView</name>
    <message>
        <source>Back</source>
        <translation>Retour</translation>
    </message>
    <message>
        <source>Get Started</source>
        <translation>Commencer</translation>
    </message>
    <message>
        <source>Start Using Daystride</source>
        <translation>Commencer à utiliser Daystride</translation>
    </message>
    <message>
        <source>Continue</source>
        <translation>Continuer</translation>
    </message>
    <message>
        <source>Welcome to Daystride</source>
        <translation>Bienvenue dans Daystride</translation>
    </message>
</context>
<context>
    <name>PanelItem</name>
    <message>
        <source>Open Daystride</source>
        <translation>Ouvrir Daystride</translation>
    </message>
    <message>
        <source>Show Countdown</source>
        <translation>Afficher le compte à rebours</translation>
    </message>
    <message>
        <source>Settings…</source>
        <translation>Paramètres…</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Quitter</translation>
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
        <translation>Citation %lld</translation>
    </message>
    <message>
        <source>Type a quote</source>
        <translation>Saisissez une citation</translation>
    </message>
    <message>
        <source>Delete quote %1</source>
        <translation>Supprimer la citation %1</translation>
    </message>
    <message>
        <source>Delete quote %1: “%2”</source>
        <translation>Supprimer la citation %1 : « %2 »</translation>
    </message>
</context>
<context>
    <name>ScreensaverPage</name>
    <message>
        <source>Full-screen countdown</source>
        <translation>Compte à rebours en plein écran</translation>
    </message>
    <message>
        <source>When you&apos;re away, Daystride can show the countdown, your tasks and a quote on every screen. Any key or mouse move closes it.</source>
        <translation>Quand vous vous absentez, Daystride peut afficher le compte à rebours, vos tâches et une citation sur chaque écran. Une touche ou un mouvement de souris le referme.</translation>
    </message>
    <message>
        <source>Show when idle</source>
        <translation>Afficher en cas d&apos;inactivité</translation>
    </message>
    <message>
        <source>%lld min</source>
        <translation>%lld min</translation>
    </message>
    <message>
        <source>Delay</source>
        <translation>Délai</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Aperçu</translation>
    </message>
    <message>
        <source>See what it looks like</source>
        <translation>Voir à quoi il ressemble</translation>
    </message>
    <message>
        <source>Launch Daystride at login</source>
        <translation>Lancer Daystride à la connexion</translation>
    </message>
</context>
<context>
    <name>ScreensaverSettingsView</name>
    <message>
        <source>Shown under the event name</source>
        <translation>Affiché sous le nom de l&apos;événement</translation>
    </message>
    <message>
        <source>Secondary Text</source>
        <translation>Texte secondaire</translation>
    </message>
    <message>
        <source>Tasks</source>
        <translation>Tâches</translation>
    </message>
    <message>
        <source>Show when idle</source>
        <translation>Afficher en cas d&apos;inactivité</translation>
    </message>
    <message>
        <source>Delay</source>
        <translation>Délai</translation>
    </message>
    <message>
        <source>%lld min</source>
        <translation>%lld min</translation>
    </message>
    <message>
        <source>Idle</source>
        <translation>Inactivité</translation>
    </message>
    <message>
        <source>Task %lld</source>
        <translation>Tâche %lld</translation>
    </message>
    <message>
        <source>Task %lld: type to add</source>
        <translation>Tâche %lld&#xa0;: saisissez-la pour l&apos;ajouter</translation>
    </message>
    <message>
        <source>Mark task %1 as done</source>
        <translation>Marquer la tâche %1 comme terminée</translation>
    </message>
    <message>
        <source>Mark “%1” as done</source>
        <translation>Marquer « %1 » comme terminée</translation>
    </message>
</context>
<context>
    <name>ScreensaverWindow</name>
    <message>
        <source>Daystride Countdown</source>
        <translation>Compte à rebours Daystride</translation>
    </message>
</context>
<context>
    <name>SettingsStore</name>
    <message>
        <source>%1 is not a regular file</source>
        <translation>%1 n&apos;est pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>no room for a temporary file in %1</source>
        <translation>pas de place pour un fichier temporaire dans %1</translation>
    </message>
    <message>
        <source>the unreadable settings file could not be copied to %1: %2</source>
        <translation>le fichier de paramètres illisible n&apos;a pas pu être copié vers %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>too many copies of unreadable settings files beside %1</source>
        <translation>trop de copies de fichiers de paramètres illisibles à côté de %1</translation>
    </message>
</context>
<context>
    <name>SettingsView</name>
    <message>
        <source>General</source>
        <translation>Général</translation>
    </message>
    <message>
        <source>Launch at login</source>
        <translation>Lancer à la connexion</translation>
    </message>
    <message>
        <source>Show Welcome Guide</source>
        <translation>Afficher le guide de bienvenue</translation>
    </message>
    <message>
        <source>Countdown</source>
        <translation>Compte à rebours</translation>
    </message>
    <message>
        <source>Event name</source>
        <translation>Nom de l&apos;événement</translation>
    </message>
    <message>
        <source>Secondary text</source>
        <translation>Texte secondaire</translation>
    </message>
    <message>
        <source>Ends</source>
        <translation>Se termine</translation>
    </message>
    <message>
        <source>Tasks</source>
        <translation>Tâches</translation>
    </message>
    <message>
        <source>Quotes</source>
        <translation>Citations</translation>
    </message>
    <message>
        <source>The countdown screen shows one at random and changes it every 90 seconds. Delete them all to hide the quote.</source>
        <translation>L&apos;écran du compte à rebours en affiche une au hasard et la change toutes les 90 secondes. Supprimez-les toutes pour masquer la citation.</translation>
    </message>
    <message>
        <source>Add Quote</source>
        <translation>Ajouter une citation</translation>
    </message>
    <message>
        <source>Restore Defaults</source>
        <translation>Rétablir par défaut</translation>
    </message>
    <message>
        <source>Screensaver</source>
        <translation>Économiseur d&apos;écran</translation>
    </message>
    <message>
        <source>Show countdown when idle</source>
        <translation>Afficher le compte à rebours en cas d&apos;inactivité</translation>
    </message>
    <message>
        <source>Preview Now</source>
        <translation>Afficher l&apos;aperçu</translation>
    </message>
    <message>
        <source>After %lld min</source>
        <translation>Après %lld min</translation>
    </message>
    <message>
        <source>Daystride Settings</source>
        <translation>Réglages de Daystride</translation>
    </message>
    <message>
        <source>Delay</source>
        <translation>Délai</translation>
    </message>
</context>
<context>
    <name>StepDots</name>
    <message>
        <source>Step %1 of %2</source>
        <translation>Étape %1 sur %2</translation>
    </message>
</context>
<context>
    <name>TaskRow</name>
    <message>
        <source>Task %lld</source>
        <translation>Tâche %lld</translation>
    </message>
    <message>
        <source>Task %lld: type to add</source>
        <translation>Tâche %lld&#xa0;: saisissez-la pour l&apos;ajouter</translation>
    </message>
    <message>
        <source>Mark task %1 as done</source>
        <translation>Marquer la tâche %1 comme terminée</translation>
    </message>
    <message>
        <source>Mark “%1” as done</source>
        <translation>Marquer « %1 » comme terminée</translation>
    </message>
</context>
<context>
    <name>TimerView</name>
    <message>
        <source>Timer</source>
        <translation>Minuteur</translation>
    </message>
    <message>
        <source>Screensaver</source>
        <translation>Économiseur d&apos;écran</translation>
    </message>
    <message>
        <source>COUNTING DOWN TO</source>
        <translation>COMPTE À REBOURS JUSQU&apos;À</translation>
    </message>
    <message>
        <source>Click to rename the event</source>
        <translation>Cliquez pour renommer l&apos;événement</translation>
    </message>
    <message>
        <source>Event Name</source>
        <translation>Nom de l&apos;événement</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Heure</translation>
    </message>
    <message>
        <source>Set Date and Time</source>
        <translation>Définir la date et l&apos;heure</translation>
    </message>
    <message>
        <source>Show Countdown</source>
        <translation>Plein écran</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Paramètres</translation>
    </message>
    <message>
        <source>Edit tasks, quotes and more in the Settings window</source>
        <translation>Modifier les tâches, les citations et plus encore dans la fenêtre Paramètres</translation>
    </message>
    <message>
        <source>Quit Daystride</source>
        <translation>Quitter Daystride</translation>
    </message>
</context>
<context>
    <name>TimerViewModel</name>
    <message>
        <source>Finish the launch checklist</source>
        <translation>Terminer la liste de contrôle du lancement</translation>
    </message>
    <message>
        <source>Send the press kit</source>
        <translation>Envoyer le dossier de presse</translation>
    </message>
    <message>
        <source>Record the demo video</source>
        <translation>Enregistrer la vidéo de démonstration</translation>
    </message>
    <message>
        <source>Update the website</source>
        <translation>Mettre à jour le site web</translation>
    </message>
    <message>
        <source>Test the release build</source>
        <translation>Tester la version finale</translation>
    </message>
    <message>
        <source>Plan the celebration</source>
        <translation>Préparer la fête</translation>
    </message>
    <message>
        <source>Today I choose to be happy</source>
        <translation>Aujourd&apos;hui, je choisis le bonheur</translation>
    </message>
    <message>
        <source>I&apos;m grateful for everything I have</source>
        <translation>J&apos;apprécie tout ce que j&apos;ai</translation>
    </message>
    <message>
        <source>I&apos;m capable of achieving great things</source>
        <translation>Je peux accomplir de grandes choses</translation>
    </message>
    <message>
        <source>I choose to focus on what I can control</source>
        <translation>Je choisis de me concentrer sur ce que je peux maîtriser</translation>
    </message>
    <message>
        <source>I embrace challenges as opportunities for growth</source>
        <translation>J&apos;accueille les défis comme des occasions de grandir</translation>
    </message>
    <message>
        <source>I&apos;m confident in my abilities</source>
        <translation>J&apos;ai confiance en mes capacités</translation>
    </message>
    <message>
        <source>I&apos;m grateful for the blessings in my life</source>
        <translation>Je remercie la vie pour tout ce qu&apos;elle m&apos;offre</translation>
    </message>
    <message>
        <source>I&apos;m open to new possibilities</source>
        <translation>Je m&apos;ouvre à de nouvelles possibilités</translation>
    </message>
    <message>
        <source>I&apos;m positive and optimistic</source>
        <translation>Je garde un esprit positif et optimiste</translation>
    </message>
    <message>
        <source>I&apos;m grateful for the support of my loved ones</source>
        <translation>Je remercie mes proches pour leur soutien</translation>
    </message>
    <message>
        <source>I&apos;m committed to continuous improvement</source>
        <translation>Je m&apos;engage à progresser chaque jour</translation>
    </message>
    <message>
        <source>I choose to make a positive impact today</source>
        <translation>Aujourd&apos;hui, je choisis d&apos;avoir un impact positif</translation>
    </message>
    <message>
        <source>I&apos;m confident in my decisions</source>
        <translation>J&apos;ai confiance en mes décisions</translation>
    </message>
    <message>
        <source>I&apos;m open to learning and growing</source>
        <translation>J&apos;accueille chaque occasion d&apos;apprendre et de grandir</translation>
    </message>
    <message>
        <source>Settings could not be saved: %1</source>
        <translation>Impossible d&apos;enregistrer les paramètres&#xa0;: %1</translation>
    </message>
    <message>
        <source>Some stored settings could not be read; the original file is kept as %1.</source>
        <translation>Certains paramètres enregistrés n&apos;ont pas pu être lus&#xa0;; le fichier d&apos;origine est conservé sous le nom %1.</translation>
    </message>
</context>
<context>
    <name>TourPage</name>
    <message>
        <source>You&apos;re all set</source>
        <translation>Tout est prêt</translation>
    </message>
    <message>
        <source>Here&apos;s where everything lives.</source>
        <translation>Voici où trouver chaque chose.</translation>
    </message>
    <message>
        <source>Click the countdown in the menu bar</source>
        <translation>Cliquez sur le compte à rebours dans la barre des menus</translation>
    </message>
    <message>
        <source>Change the event name, date and time from the popover.</source>
        <translation>Modifiez le nom, la date et l&apos;heure de l&apos;événement dans le panneau qui s&apos;ouvre.</translation>
    </message>
    <message>
        <source>Screensaver tab</source>
        <translation>Onglet Économiseur d&apos;écran</translation>
    </message>
    <message>
        <source>Edit the tasks and idle options shown on the full-screen countdown.</source>
        <translation>Modifiez les tâches et les options d&apos;inactivité du compte à rebours en plein écran.</translation>
    </message>
    <message>
        <source>Show Countdown</source>
        <translation>Plein écran</translation>
    </message>
    <message>
        <source>Opens the full-screen countdown right away.</source>
        <translation>Ouvre immédiatement le compte à rebours en plein écran.</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Paramètres</translation>
    </message>
    <message>
        <source>Edit quotes, turn launch at login on or off, or open this guide again.</source>
        <translation>Modifiez les citations, activez ou désactivez le lancement à la connexion, ou rouvrez ce guide.</translation>
    </message>
</context>
<context>
    <name>Units</name>
    <message numerus="yes">
        <source>day</source>
        <translation>
            <numerusform>jour</numerusform>
            <numerusform>jours</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>days</source>
        <translation>
            <numerusform>jour</numerusform>
            <numerusform>jours</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>hour</source>
        <translation>
            <numerusform>heure</numerusform>
            <numerusform>heures</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>hours</source>
        <translation>
            <numerusform>heure</numerusform>
            <numerusform>heures</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>min</source>
        <translation>
            <numerusform>min</numerusform>
            <numerusform>min</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>mins</source>
        <translation>
            <numerusform>min</numerusform>
            <numerusform>min</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>sec</source>
        <translation>
            <numerusform>sec</numerusform>
            <numerusform>sec</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>secs</source>
        <translation>
            <numerusform>sec</numerusform>
            <numerusform>sec</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n day</source>
        <translation>
            <numerusform>%n jour</numerusform>
            <numerusform>%n jours</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n days</source>
        <translation>
            <numerusform>%n jour</numerusform>
            <numerusform>%n jours</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n hour</source>
        <translation>
            <numerusform>%n heure</numerusform>
            <numerusform>%n heures</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n hours</source>
        <translation>
            <numerusform>%n heure</numerusform>
            <numerusform>%n heures</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n minute</source>
        <translation>
            <numerusform>%n minute</numerusform>
            <numerusform>%n minutes</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n minutes</source>
        <translation>
            <numerusform>%n minute</numerusform>
            <numerusform>%n minutes</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n second</source>
        <translation>
            <numerusform>%n seconde</numerusform>
            <numerusform>%n secondes</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n seconds</source>
        <translation>
            <numerusform>%n seconde</numerusform>
            <numerusform>%n secondes</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 left</source>
        <translation>encore %1</translation>
    </message>
    <message>
        <source>%1: %2 left</source>
        <translation>%1 : encore %2</translation>
    </message>
</context>
<context>
    <name>WelcomePage</name>
    <message>
        <source>Welcome to Daystride</source>
        <translation>Bienvenue dans Daystride</translation>
    </message>
    <message>
        <source>Keep a countdown to your next big day in the menu bar, and fill your screens with it when you step away.</source>
        <translation>Gardez dans la barre des menus le compte à rebours jusqu&apos;à votre prochain grand jour, et laissez-le remplir vos écrans quand vous vous absentez.</translation>
    </message>
</context>
<context>
    <name>WindowHeader</name>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
</context>
</TS>
