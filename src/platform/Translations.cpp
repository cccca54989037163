#include "platform/Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

QStringList Translations::folders()
{
    const QDir program(QCoreApplication::applicationDirPath());
    return {QDir::cleanPath(program.filePath(QStringLiteral(DAYSTRIDE_INSTALLED_TRANSLATIONS))),
        program.filePath(QStringLiteral("translations"))};
}

QString Translations::install(const QLocale &locale, const QStringList &folders)
{
    auto *own = new QTranslator(QCoreApplication::instance());
    QString chosen;
    for (QString language : locale.uiLanguages()) {
        language.replace(u'-', u'_');
        if (QLocale(language).language() == QLocale::English)
            break;
        // load() also tries the shorter names: "de_AT" finds daystride_de.qm.
        for (const QString &folder : folders) {
            if (own->load(QStringLiteral("daystride_") + language, folder)) {
                chosen = language;
                break;
            }
        }
        if (!chosen.isEmpty())
            break;
    }
    if (chosen.isEmpty()) {
        delete own;
        return {};
    }
    QCoreApplication::installTranslator(own);

    // Qt's own words: the standard context menus and dialog buttons.
    auto *qt = new QTranslator(QCoreApplication::instance());
    if (qt->load(
            QStringLiteral("qtbase_") + chosen, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
    else
        delete qt;
    return chosen;
}
