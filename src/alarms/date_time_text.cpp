#include "date_time_text.h"


namespace {

// Qt's date-time patterns: runs of one letter are fields, text between
// single quotes is literal, and '' is a quote character.
struct PatternToken
{
    QString text;
    bool field = false;
};

QList<PatternToken> Tokenize(const QString& pattern)
{
    QList<PatternToken> tokens;
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern.at(i);
        if (c == u'\'') {
            qsizetype end = i + 1;
            while (end < pattern.size()) {
                if (pattern.at(end) == u'\'') {
                    if (end + 1 < pattern.size() && pattern.at(end + 1) == u'\'') {
                        end += 2;
                        continue;
                    }
                    break;
                }
                ++end;
            }
            tokens.append({pattern.mid(i, end + 1 - i), false});
            i = end + 1;
        } else if ((c == u'A' || c == u'a') && i + 1 < pattern.size()
                   && pattern.at(i + 1) == QChar(c == u'A' ? u'P' : u'p')) {
            // "AP" and "ap" are one field, the AM/PM text.
            tokens.append({pattern.mid(i, 2), true});
            i += 2;
        } else if (c.isLetter() && c.unicode() < 128) {
            qsizetype end = i;
            while (end < pattern.size() && pattern.at(end) == c)
                ++end;
            tokens.append({pattern.mid(i, end - i), true});
            i = end;
        } else {
            tokens.append({QString(c), false});
            ++i;
        }
    }
    return tokens;
}

QString Join(const QList<PatternToken>& tokens)
{
    QString out;
    for (const auto& token : tokens)
        out += token.text;
    return out;
}

QString WidenYear(const QString& pattern)
{
    auto tokens = Tokenize(pattern);
    for (auto& token : tokens) {
        if (token.field && token.text == u"yy")
            token.text = QStringLiteral("yyyy");
    }
    return Join(tokens);
}

QString DropTimeZone(const QString& pattern)
{
    auto tokens = Tokenize(pattern);
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        if (!tokens[i].field || !tokens[i].text.startsWith(u't'))
            continue;
        // Take one blank beside the designator with it.
        if (i + 1 < tokens.size() && tokens[i + 1].text == u" ")
            tokens.remove(i + 1);
        else if (i > 0 && tokens[i - 1].text == u" ")
            tokens.remove(--i);
        tokens.remove(i--);
    }
    return Join(tokens).trimmed();
}

// Reads a run of 1..maxDigits ASCII digits at pos; -1 when there is none.
int ReadNumber(QStringView text, qsizetype& pos, int minDigits, int maxDigits)
{
    int value = 0;
    int digits = 0;
    while (pos < text.size() && digits < maxDigits) {
        const char16_t c = text[pos].unicode();
        if (c < u'0' || c > u'9')
            break;
        value = value * 10 + (c - u'0');
        ++digits;
        ++pos;
    }
    return digits >= minDigits ? value : -1;
}

using Piece = DateTimeText::Piece;

// The pattern as pieces; empty when it holds a field the fast reader does
// not handle (weekday names, fractions of a second, ...).
QList<Piece> ToPieces(const QString& pattern)
{
    QList<Piece> pieces;
    bool twelveHour = false;
    for (const auto& token : Tokenize(pattern)) {
        if (token.field && (token.text == u"AP" || token.text == u"ap" || token.text == u"A" || token.text == u"a"))
            twelveHour = true;
    }
    for (const auto& token : Tokenize(pattern)) {
        if (!token.field) {
            QString literal = token.text;
            if (literal.startsWith(u'\'') && literal.size() >= 2) {
                literal = literal.mid(1, literal.size() - 2);
                literal.replace(QStringLiteral("''"), QStringLiteral("'"));
            }
            if (token.text == u"''")
                literal = QStringLiteral("'");
            if (!pieces.isEmpty() && pieces.last().kind == Piece::Literal)
                pieces.last().literal += literal;
            else
                pieces.append({Piece::Literal, literal});
            continue;
        }
        const QString& t = token.text;
        Piece::Kind kind;
        if (t == u"d" || t == u"dd")
            kind = Piece::Day;
        else if (t == u"M" || t == u"MM")
            kind = Piece::Month;
        else if (t == u"MMM")
            kind = Piece::MonthName;
        else if (t == u"yyyy")
            kind = Piece::Year;
        else if (t == u"H" || t == u"HH")
            kind = Piece::Hour;
        else if (t == u"h" || t == u"hh")
            kind = twelveHour ? Piece::Hour12 : Piece::Hour;
        else if (t == u"m" || t == u"mm")
            kind = Piece::Minute;
        else if (t == u"s" || t == u"ss")
            kind = Piece::Second;
        else if (t == u"AP" || t == u"ap" || t == u"A" || t == u"a")
            kind = Piece::AmPm;
        else
            return {};
        pieces.append({kind, QString()});
    }
    return pieces;
}

// Reads a date, and after blanks a time, or the date alone, by walking the
// pieces of their patterns. Gives nothing when the text does not fit.
std::optional<QDateTime> ReadPieces(QStringView text, const QList<Piece>& datePieces, const QList<Piece>& timePieces,
                                    const QStringList& monthNames, const QString& amText, const QString& pmText)
{
    int day = -1, month = -1, year = -1, hour = 0, minute = 0, second = 0;
    int ampm = -1; // 0 before noon, 1 after
    bool twelveHour = false;
    qsizetype pos = 0;

    const auto walk = [&](const QList<Piece>& pieces) {
        for (const Piece& piece : pieces) {
            int* target = nullptr;
            switch (piece.kind) {
            case Piece::Literal:
                if (!text.mid(pos).startsWith(piece.literal))
                    return false;
                pos += piece.literal.size();
                continue;
            case Piece::MonthName: {
                bool found = false;
                for (int i = 0; i < monthNames.size() && !found; ++i) {
                    const QString& name = monthNames.at(i);
                    if (!name.isEmpty() && text.mid(pos).startsWith(name, Qt::CaseInsensitive)) {
                        month = i + 1;
                        pos += name.size();
                        found = true;
                    }
                }
                if (!found)
                    return false;
                continue;
            }
            case Piece::AmPm:
                if (!amText.isEmpty() && text.mid(pos).startsWith(amText, Qt::CaseInsensitive)) {
                    ampm = 0;
                    pos += amText.size();
                } else if (!pmText.isEmpty() && text.mid(pos).startsWith(pmText, Qt::CaseInsensitive)) {
                    ampm = 1;
                    pos += pmText.size();
                } else {
                    return false;
                }
                continue;
            case Piece::Year: {
                year = ReadNumber(text, pos, 4, 4);
                if (year < 0)
                    return false;
                continue;
            }
            case Piece::Day:
                target = &day;
                break;
            case Piece::Month:
                target = &month;
                break;
            case Piece::Hour:
                target = &hour;
                break;
            case Piece::Hour12:
                twelveHour = true;
                target = &hour;
                break;
            case Piece::Minute:
                target = &minute;
                break;
            case Piece::Second:
                target = &second;
                break;
            }
            *target = ReadNumber(text, pos, 1, 2);
            if (*target < 0)
                return false;
        }
        return true;
    };

    if (!walk(datePieces))
        return std::nullopt;
    const QDate date(year, month, day);
    if (!date.isValid())
        return std::nullopt;
    if (pos == text.size())
        return QDateTime(date, QTime(0, 0), Qt::UTC);
    if (text[pos] != u' ')
        return std::nullopt;
    while (pos < text.size() && text[pos] == u' ')
        ++pos;
    if (!walk(timePieces) || pos != text.size())
        return std::nullopt;
    if (twelveHour) {
        if (ampm < 0 || hour < 1 || hour > 12)
            return std::nullopt;
        hour = hour % 12 + (ampm == 1 ? 12 : 0);
    }
    const QTime time(hour, minute, second);
    if (!time.isValid())
        return std::nullopt;
    return QDateTime(date, time, Qt::UTC);
}

// The year-first forms Chinese systems write and people type, whatever the
// locale: yyyy/M/d, yyyy-M-d, yyyy.M.d or yyyy年M月d日, optionally followed
// by H:m:s or H:m, with or without leading zeros.
std::optional<QDateTime> ParseYearFirst(QStringView text)
{
    static const QList<Piece> dates[] = {ToPieces(QStringLiteral("yyyy/M/d")), ToPieces(QStringLiteral("yyyy-M-d")),
                                         ToPieces(QStringLiteral("yyyy.M.d")), ToPieces(QStringLiteral("yyyy年M月d日"))};
    static const QList<Piece> times[] = {ToPieces(QStringLiteral("H:m:s")), ToPieces(QStringLiteral("H:m"))};
    for (const auto& date : dates) {
        for (const auto& time : times) {
            if (auto read = ReadPieces(text, date, time, {}, {}, {}))
                return read;
        }
    }
    return std::nullopt;
}

QTime ToSecond(const QTime& time)
{
    return QTime(time.hour(), time.minute(), time.second());
}

} // namespace

DateTimeText::DateTimeText(const QLocale& locale)
    : m_locale(locale)
    , m_datePattern(WidenYear(locale.dateFormat(QLocale::ShortFormat)))
    , m_timePattern(DropTimeZone(locale.timeFormat(QLocale::LongFormat)))
    , m_datePieces(ToPieces(m_datePattern))
    , m_timePieces(ToPieces(m_timePattern))
    , m_amText(locale.amText())
    , m_pmText(locale.pmText())
{
    for (int month = 1; month <= 12; ++month)
        m_monthNames << locale.monthName(month, QLocale::ShortFormat);

    // A few regional forms cannot be read back, not even by Qt (an AM/PM
    // word with blanks standing before the hour, digits of scripts Qt does
    // not read). A due time written in such a form would be lost, so those
    // locales write the year-first numeric form instead.
    const QDateTime probes[] = {QDateTime(QDate(2026, 12, 31), QTime(23, 59, 58), Qt::UTC),
                                QDateTime(QDate(2027, 1, 2), QTime(3, 4, 5), Qt::UTC),
                                QDateTime(QDate(2026, 6, 15), QTime(12, 30, 0), Qt::UTC)};
    for (const QDateTime& probe : probes) {
        if (parse(format(probe)) != probe) {
            m_datePattern = QStringLiteral("yyyy/M/d");
            m_timePattern = QStringLiteral("HH:mm:ss");
            m_locale = QLocale::c();
            m_datePieces.clear();
            m_timePieces.clear();
            break;
        }
    }
}

std::optional<QDateTime> DateTimeText::parseWithPatterns(QStringView text) const
{
    return ReadPieces(text, m_datePieces, m_timePieces, m_monthNames, m_amText, m_pmText);
}

QString DateTimeText::format(const QDateTime& wallClock) const
{
    const QDate date = wallClock.date();
    const QTime time = ToSecond(wallClock.time());
    QString text = m_locale.toString(date, m_datePattern);
    if (time != QTime(0, 0))
        text += u' ' + m_locale.toString(time, m_timePattern);
    return text;
}

std::optional<QDateTime> DateTimeText::parse(const QString& rawText) const
{
    const QString text = rawText.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    if (auto fixed = ParseYearFirst(text))
        return fixed;
    if (!m_datePieces.isEmpty() && !m_timePieces.isEmpty()) {
        if (auto own = parseWithPatterns(text))
            return own;
    }

    // The locale's own form: the date alone, or the date and the time split
    // at one of the blanks (a date pattern may hold blanks itself).
    const QDate dateOnly = m_locale.toDate(text, m_datePattern);
    if (dateOnly.isValid())
        return QDateTime(dateOnly, QTime(0, 0), Qt::UTC);
    for (qsizetype blank = text.indexOf(u' '); blank > 0; blank = text.indexOf(u' ', blank + 1)) {
        const QDate date = m_locale.toDate(text.left(blank).trimmed(), m_datePattern);
        if (!date.isValid())
            continue;
        const QTime time = m_locale.toTime(text.mid(blank + 1).trimmed(), m_timePattern);
        if (time.isValid())
            return QDateTime(date, ToSecond(time), Qt::UTC);
    }
    return std::nullopt;
}

qint64 MinuteNumberOfWallClockMs(qint64 ms)
{
    constexpr qint64 kEpochJulianDay = 2440588;
    const qint64 minutes = ms >= 0 ? ms / 60000 : (ms - 59999) / 60000;
    return kEpochJulianDay * 1440 + minutes;
}

qint64 MinuteNumber(const QDateTime& wallClock)
{
    // Wall-clock values are carried as UTC, whose minutes count straight
    // from the epoch.
    if (wallClock.timeSpec() == Qt::UTC)
        return MinuteNumberOfWallClockMs(wallClock.toMSecsSinceEpoch());
    const QTime time = wallClock.time();
    return wallClock.date().toJulianDay() * 1440 + time.hour() * 60 + time.minute();
}

qint64 ElapsedMinutes(const QDateTime& due, const QDateTime& now)
{
    return MinuteNumber(now) - MinuteNumber(due);
}
