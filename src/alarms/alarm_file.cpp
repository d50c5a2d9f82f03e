#include "alarm_file.h"

#include "alarm_entry.h"
#include "clock.h"
#include "date_time_text.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryFile>

namespace {

const char* const kEncoding = "GB18030";
constexpr qsizetype kShortestKeptLine = 11;

// Characters as the user sees them: a character outside the basic plane
// (an emoji) counts once, not as its two UTF-16 halves.
qsizetype CharacterCount(const QString& text)
{
    qsizetype count = text.size();
    for (const QChar c : text) {
        if (c.isHighSurrogate())
            --count;
    }
    return count;
}

bool CanCreateFilesIn(const QString& folder)
{
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".neloclock-probe-XXXXXX")));
    return probe.open();
}

} // namespace

QString AlarmFilePath(const QString& programFolder)
{
    const QString name = QStringLiteral("alarm.ini");
    if (CanCreateFilesIn(programFolder))
        return QDir(programFolder).filePath(name);
    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(dataFolder);
    return QDir(dataFolder).filePath(name);
}

QStringList DecodeAlarmFile(const QByteArray& bytes)
{
    QStringDecoder decoder(kEncoding);
    const QString text = decoder.decode(bytes);
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.mid(start));
    return lines;
}

QByteArray EncodeAlarmFile(const QStringList& lines)
{
    QStringEncoder encoder(kEncoding);
    QByteArray bytes;
    if (lines.isEmpty())
        return QByteArrayLiteral("\r\n");
    for (const QString& line : lines) {
        bytes += encoder.encode(line);
        bytes += "\r\n";
    }
    return bytes;
}

QStringList LoadAlarmFile(const QString& path, bool clearExpired, const Clock& clock,
                          const DateTimeText& dateTimeText)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString powerOff = ExtraActionText(ExtraAction::PowerOff);
    QStringList kept;
    for (const QString& line : DecodeAlarmFile(file.readAll())) {
        if (line.size() < kShortestKeptLine || CharacterCount(line) < kShortestKeptLine)
            continue;
        const AlarmEntry entry = AlarmEntry::fromLine(line);
        const auto due = dateTimeText.parse(entry.due);
        if (!due || ElapsedMinutes(*due, clock.now()) <= 0) {
            kept.append(line);
            continue;
        }
        if (!clearExpired && entry.action != powerOff)
            kept.append(line);
    }
    return kept;
}

bool SaveAlarmFile(const QString& path, const QStringList& lines, QString* error)
{
    QSaveFile file(path);
    const auto fail = [&](const QString& what) {
        if (error)
            *error = what;
        file.cancelWriting();
        return false;
    };
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    const QByteArray bytes = EncodeAlarmFile(lines);
    if (file.write(bytes) != bytes.size())
        return fail(file.errorString());
    if (!file.flush())
        return fail(file.errorString());
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}
