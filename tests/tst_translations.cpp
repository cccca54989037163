#include "ViewFixture.h"
#include "onboarding/OnboardingView.h"
#include "platform/Translations.h"

#include <QAbstractButton>
#include <QDateTimeEdit>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {

// What a window shows in words: labels, buttons, fields and their placeholders.
QStringList shownTexts(const QWidget *window)
{
    QStringList texts;
    for (const QWidget *w : window->findChildren<QWidget *>()) {
        if (const auto *label = qobject_cast<const QLabel *>(w))
            texts << label->text();
        else if (const auto *button = qobject_cast<const QAbstractButton *>(w))
            texts << button->text();
        else if (const auto *edit = qobject_cast<const QDateTimeEdit *>(w))
            texts << edit->text();
        else if (const auto *field = qobject_cast<const QLineEdit *>(w))
            texts << field->text() << field->placeholderText();
    }
    texts.removeAll(QString());
    return texts;
}

QStringList placeholders(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("%(\\d|lld)"));
    QStringList found;
    for (const auto &match : pattern.globalMatch(text))
        found << match.captured();
    found.sort();
    return found;
}

} // namespace

// The program as it starts in the user's language: ctest runs the shown texts once
// per LANG (de_DE, fr_FR, en_US), and checks the catalogues against the sources.
class TestTranslations : public QObject
{
    Q_OBJECT

    QString m_language; // the column the rows compare with
    QMap<QString, QStringList> m_shown;

private slots:
    void initTestCase()
    {
        const QString chosen = Translations::install(
            QLocale::system(), {QStringLiteral(DAYSTRIDE_TRANSLATIONS_BUILD_DIR)});
        m_language = QLocale::system().name().left(2);
        const bool translated = m_language == u"de" || m_language == u"fr";
        QCOMPARE(chosen.left(2), translated ? m_language : QString());
    }

    void shownTexts_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<QStringList>("texts"); // in German, French and English
        // The popover on an event at 17:05 on 14 March 2027; Qt's own words in the name
        // field's context menu; the guide walked through all five pages.
        const QStringList rows[] = {
            {"tab", "popover", "Bildschirmschoner", "Économiseur d'écran", "Screensaver"},
            {"caption", "popover", "COUNTDOWN BIS", "COMPTE À REBOURS JUSQU'À", "COUNTING DOWN TO"},
            {"unit", "popover", "Tage", "jours", "days"},
            // A day, an hour, no minutes and a second before it.
            {"one day", "popover, a day before", "Tag", "jour", "day"},
            {"one hour", "popover, a day before", "Std.", "heure", "hour"},
            {"no minutes", "popover, a day before", "Min.", "min", "mins"},
            {"picker", "popover", "Uhrzeit", "Heure", "Time"},
            {"date", "popover", "14.03.2027", "14/03/2027", "3/14/2027"},
            {"time", "popover", "17:05", "17:05", "5:05 PM"},
            {"section", "popover", "ZUSATZTEXT", "TEXTE SECONDAIRE", "SECONDARY TEXT"},
            {"default task", "popover", "Pressemappe verschicken", "Envoyer le dossier de presse",
                "Send the press kit"},
            {"commit", "popover", "Datum und Uhrzeit festlegen", "Définir la date et l'heure",
                "Set Date and Time"},
            {"qt", "menu", "Alles auswählen", "Tout sélectionner", "Select All"},
            {"window title", "titles", "Daystride-Einstellungen", "Réglages de Daystride",
                "Daystride Settings"},
            {"welcome", "guide", "Willkommen bei Daystride", "Bienvenue dans Daystride",
                "Welcome to Daystride"},
            {"first button", "guide", "Los geht's", "Commencer", "Get Started"},
            {"guide month", "guide", "März", "mars", "March"},
            {"guide panel", "guide", "63T 8h 5min", "63j 8h 5min", "63d 8h 5m"},
            {"last button", "guide", "Mit Daystride loslegen", "Commencer à utiliser Daystride",
                "Start Using Daystride"},
        };
        for (const QStringList &row : rows)
            QTest::newRow(qPrintable(row[0])) << row[1] << row.mid(2);
    }

    void shownTexts()
    {
        QFETCH(QString, where);
        QFETCH(QStringList, texts);
        if (m_shown.isEmpty())
            collect();
        const QString want = texts[m_language == u"de" ? 0 : m_language == u"fr" ? 1 : 2];
        QVERIFY2(m_shown[where].contains(want), qPrintable(m_shown[where].join(u'|')));
    }

    // Every message the sources hold is translated, with the same placeholders.
    void catalogueComplete_data()
    {
        QTest::addColumn<QString>("language");
        for (const char *language : {"de", "fr"})
            QTest::newRow(language) << QString::fromLatin1(language);
    }

    void catalogueComplete()
    {
        QFETCH(QString, language);
        // A fresh scan of the sources into a copy shows strings that are new since.
        QTemporaryDir dir;
        const QString copy = dir.filePath(QStringLiteral("copy.ts"));
        QVERIFY(QFile::copy(
            QStringLiteral(DAYSTRIDE_SOURCE_DIR "/translations/daystride_%1.ts").arg(language),
            copy));
        QProcess lupdate;
        lupdate.start(DAYSTRIDE_LUPDATE,
            {"-silent", "-locations", "none", "-no-obsolete", DAYSTRIDE_SOURCE_DIR "/src", "-ts",
                copy});
        QVERIFY(lupdate.waitForFinished(60000));
        QCOMPARE(lupdate.exitCode(), 0);

        QFile file(copy);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        QStringList untranslated, mismatched;
        int messages = 0;
        QString source;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == u"source") {
                source = xml.readElementText();
            } else if (xml.name() == u"translation") {
                ++messages;
                const bool unfinished = !xml.attributes().value(QStringLiteral("type")).isEmpty();
                // A plural's forms are elements of their own: all of them, run together.
                const QString translation
                    = xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
                if (unfinished || translation.isEmpty())
                    untranslated << source;
                else if (placeholders(translation) != placeholders(source))
                    mismatched << source;
            }
        }
        QVERIFY(!xml.hasError());
        QVERIFY(messages > 100);
        QVERIFY2(untranslated.isEmpty(), qPrintable(untranslated.join(u'|')));
        QVERIFY2(mismatched.isEmpty(), qPrintable(mismatched.join(u'|')));
    }

private:
    void collect()
    {
        ViewFixture fix;
        fix.restart({{"savedEventName", "Launch"},
                        {"savedDate", QDateTime(QDate(2027, 3, 14), QTime(17, 5))}},
            QDateTime(QDate(2027, 1, 10), QTime(9, 0)));
        QWidget *popover = fix.open(ViewFixture::popoverTimer);
        QVERIFY(popover);
        m_shown["popover"] = ::shownTexts(popover);
        // The menu belongs to the field: it goes with the popover.
        QMenu *menu = popover->findChild<QLineEdit *>()->createStandardContextMenu();
        for (const QAction *action : menu->actions())
            m_shown["menu"] << action->text().section(u'\t', 0, 0);
        m_shown["titles"] << fix.open(ViewFixture::settings)->windowTitle();
        auto *guide = static_cast<OnboardingView *>(fix.open(ViewFixture::guide));
        QVERIFY(guide);
        for (int page = 0; page < OnboardingView::stepCount; ++page) {
            m_shown["guide"] << ::shownTexts(guide);
            if (page + 1 < OnboardingView::stepCount)
                QTest::mouseClick(guide->primaryButton(), Qt::LeftButton);
        }
        fix.restart({{"savedEventName", "Launch"},
                        {"savedDate", QDateTime(QDate(2027, 3, 14), QTime(17, 5))}},
            QDateTime(QDate(2027, 3, 13), QTime(16, 4, 59)));
        m_shown["popover, a day before"] = ::shownTexts(fix.open(ViewFixture::popoverTimer));
    }
};

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
