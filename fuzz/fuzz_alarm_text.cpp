// Feeds arbitrary bytes through everything that reads alarm text: the file
// decoder and loader, the line splitter and the due-time reader under several
// locales. Besides crashes it checks the properties the program relies on.
#include "alarm_entry.h"
#include "alarm_file.h"
#include "clock.h"
#include "date_time_text.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdint>
#include <cstdlib>

namespace {

class FixedClock final : public Clock
{
public:
    QDateTime now() const override { return QDateTime(QDate(2026, 12, 6), QTime(10, 15, 42), Qt::UTC); }
};

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

const QList<DateTimeText>& Readers()
{
    static const QList<DateTimeText> readers{DateTimeText(QLocale(QStringLiteral("zh_CN"))),
                                             DateTimeText(QLocale(QStringLiteral("en_US"))),
                                             DateTimeText(QLocale(QStringLiteral("de_DE"))),
                                             DateTimeText(QLocale::c())};
    return readers;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QStringList lines = DecodeAlarmFile(bytes).value_or(QStringList());

    for (const QString& line : lines) {
        const QStringList fields = line.isEmpty() ? QStringList() : line.split(u'|');
        const AlarmEntry entry = AlarmEntry::fromLine(line);
        Check(fields.isEmpty() ? entry.due.isEmpty() : fields.first() == entry.due);
        Check(fields.size() < 4 ? entry.action.isEmpty() : fields.at(3) == entry.action);

        for (const DateTimeText& reader : Readers()) {
            const auto due = reader.parse(entry.due);
            if (!due)
                continue;
            // What is read back is written and read again unchanged, and it
            // is whole seconds on a valid day.
            Check(due->isValid() && due->time().msec() == 0);
            Check(reader.parse(reader.format(*due)) == due);
        }
    }

    // Lines without line breaks survive a save and a load byte for byte.
    QStringList clean;
    for (const QString& line : lines) {
        if (!line.contains(u'\r') && !line.contains(u'\n'))
            clean << line;
    }
    if (!clean.isEmpty())
        Check(DecodeAlarmFile(EncodeAlarmFile(clean).value_or(QByteArray())) == clean);

    static const QString path = QDir::temp().filePath(QStringLiteral("neloclock-fuzz-%1.ini").arg(getpid()));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(bytes);
        file.close();
        static const FixedClock clock;
        const QStringList kept = PendingAlarmLines(ReadAlarmFile(path).lines, false, clock, Readers().first());
        Check(kept.size() <= lines.size());
        for (const QString& line : kept)
            Check(lines.contains(line));
    }
    return 0;
}
