#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

// The program's own messages and Qt's in the first of the user's languages that has
// them. English is the language of the source text, so it needs no file and stops
// the search: someone who prefers English over German gets English.
class Translations
{
public:
    // Where daystride_<language>.qm is looked for: beside the installed program's data,
    // then in the build tree next to the program.
    static QStringList folders();

    // Installs the translators into the running application before any window
    // exists; returns the language chosen ("de", "fr_CA"), or empty for the source text.
    static QString install(const QLocale &locale = QLocale::system(),
        const QStringList &folders = Translations::folders());
};
