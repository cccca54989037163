#include "ui/DateTimeFormats.h"

namespace {

// `format` with each field of `letter` (outside quoted text) replaced by
// `replacement`; an empty replacement also drops the separator before the field.
QString replaceField(const QString &format, QChar letter, const QString &replacement)
{
    QString result;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c == u'\'')
            quoted = !quoted;
        if (quoted || c != letter) {
            result += c;
            continue;
        }
        while (i + 1 < format.size() && format[i + 1] == letter)
            ++i;
        if (replacement.isEmpty()) {
            while (!result.isEmpty() && !result.back().isLetter() && result.back() != u'\'')
                result.chop(1);
        }
        result += replacement;
    }
    return result;
}

} // namespace

QString DateTimeFormats::date(const QLocale &locale)
{
    // A two-digit year is ambiguous and cannot reach every date.
    return replaceField(locale.dateFormat(QLocale::ShortFormat), u'y', QStringLiteral("yyyy"));
}

QString DateTimeFormats::time(const QLocale &locale)
{
    return replaceField(locale.timeFormat(QLocale::ShortFormat), u's', QString());
}

QString DateTimeFormats::dateTime(const QLocale &locale)
{
    return date(locale) + QLatin1Char(' ') + time(locale);
}
