#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

#include <optional>

// The general date-time text: the locale's short date, one blank, its long
// time (hours, minutes, seconds); the date alone at exactly 00:00:00.
//
// Two changes to Qt's patterns keep the text readable back: the time-zone
// designator is dropped (Qt would read a zone abbreviation such as "CST"
// back as another zone), and a two-digit year is widened to four digits
// (Qt reads "26" back as 1926).
class DateTimeText final
{
public:
    explicit DateTimeText(const QLocale& locale = QLocale());

    QString format(const QDateTime& wallClock) const;

    // Reads what format() writes under this locale, "yyyy-MM-dd HH:mm:ss",
    // and the year-first forms Chinese systems write ("2026/12/6 10:15:42",
    // "2026-12-6 9:05:42", either date alone). Gives a wall-clock value cut
    // to the second, or nothing when the text is not a date-time.
    std::optional<QDateTime> parse(const QString& text) const;

    const QString& datePattern() const { return m_datePattern; }
    const QString& timePattern() const { return m_timePattern; }

    // One field or literal of a pattern, as the fast reader walks it.
    struct Piece
    {
        enum Kind { Literal, Day, Month, MonthName, Year, Hour, Hour12, Minute, Second, AmPm };
        Kind kind = Literal;
        QString literal;
    };

private:
    std::optional<QDateTime> parseWithPatterns(QStringView text) const;

    QLocale m_locale;
    QString m_datePattern;
    QString m_timePattern;
    // The patterns as pieces, when every field in them is one the fast
    // reader knows; otherwise empty and Qt's own reader does the work.
    QList<Piece> m_datePieces;
    QList<Piece> m_timePieces;
    QStringList m_monthNames;
    QString m_amText;
    QString m_pmText;
};


// The minutes from a fixed origin to the start of the value's minute, on the
// wall clock: two values in the same minute give the same number.
qint64 MinuteNumber(const QDateTime& wallClock);
// The same for a wall-clock reading given as milliseconds from 1970-01-01.
qint64 MinuteNumberOfWallClockMs(qint64 ms);

// Minute boundaries passed from due to now: both cut to the whole minute,
// on the wall clock. An alarm is due when this is 0 or more.
qint64 ElapsedMinutes(const QDateTime& due, const QDateTime& now);
