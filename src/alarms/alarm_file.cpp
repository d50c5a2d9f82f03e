#include "alarm_file.h"

#include "alarm_entry.h"
#include "alarms_log.h"
#include "clock.h"
#include "date_time_text.h"
#include "program_layout.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryFile>

namespace {

constexpr qsizetype kShortestKeptLine = 11;
const QString kFileName = QStringLiteral("alarm.ini");

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

QString NoConverter(const char* encoding)
{
    return QStringLiteral("没有 %1 字符转换器").arg(QLatin1StringView(encoding));
}

} // namespace

AlarmFileLocation LocateAlarmFile(const QString& programFolder, bool programFolderWritable,
                                  const QString& userDataFolder)
{
    const QString beside = QDir(programFolder).filePath(kFileName);
    if (programFolderWritable)
        return {beside, beside};
    const QString own = QDir(userDataFolder).filePath(kFileName);
    return {QFileInfo::exists(own) || !QFileInfo::exists(beside) ? own : beside, own};
}

AlarmFileLocation LocateAlarmFile(const QString& programFolder)
{
    // An installed copy passes the probe when root runs it, and must still
    // leave its program folder alone.
    if (!ProgramLayoutOf(programFolder).installed() && CanCreateFilesIn(programFolder))
        return LocateAlarmFile(programFolder, true, QString());
    const QString dataFolder = UserDataFolder();
    if (!QDir().mkpath(dataFolder))
        qCWarning(lcAlarms) << "cannot create the data folder" << dataFolder;
    return LocateAlarmFile(programFolder, false, dataFolder);
}

std::optional<QStringList> DecodeAlarmFile(const QByteArray& bytes, const char* encoding)
{
    QStringDecoder decoder(encoding);
    if (!decoder.isValid())
        return std::nullopt;
    const QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
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

std::optional<QByteArray> EncodeAlarmFile(const QStringList& lines, const char* encoding)
{
    QStringEncoder encoder(encoding);
    if (!encoder.isValid())
        return std::nullopt;
    if (lines.isEmpty())
        return QByteArrayLiteral("\r\n");
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += encoder.encode(line);
        bytes += "\r\n";
    }
    if (encoder.hasError())
        return std::nullopt;
    return bytes;
}

AlarmFileRead ReadAlarmFile(const QString& path, const char* encoding)
{
    AlarmFileRead read;
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return read;
    read.status = AlarmFileRead::Status::Unreadable;
    QFile file(path);
    if (info.isDir() || !file.open(QIODevice::ReadOnly)) {
        read.error = info.isDir() ? QStringLiteral("这是一个文件夹") : file.errorString();
        return read;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        read.error = file.errorString();
        return read;
    }
    const auto lines = DecodeAlarmFile(bytes, encoding);
    if (!lines) {
        read.error = QStringDecoder(encoding).isValid()
                         ? QStringLiteral("文件里有不能按 %1 读出的字节").arg(QLatin1StringView(encoding))
                         : NoConverter(encoding);
        return read;
    }
    read.status = AlarmFileRead::Status::Read;
    read.lines = *lines;
    return read;
}

QStringList PendingAlarmLines(const QStringList& lines, bool clearExpired, const Clock& clock,
                              const DateTimeText& dateTimeText)
{
    const QString powerOff = ExtraActionText(ExtraAction::PowerOff);
    QStringList kept;
    for (const QString& line : lines) {
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

bool SaveAlarmFile(const QString& path, const QStringList& lines, QString* error, const char* encoding)
{
    const auto fail = [&](const QString& what) {
        if (error)
            *error = what;
        return false;
    };
    // Refused before the file is touched: a converter that cannot write the
    // lines must not leave empty lines where the alarms were.
    const auto bytes = EncodeAlarmFile(lines, encoding);
    if (!bytes)
        return fail(QStringEncoder(encoding).isValid()
                        ? QStringLiteral("有的字符不能按 %1 写出").arg(QLatin1StringView(encoding))
                        : NoConverter(encoding));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    if (file.write(*bytes) != bytes->size() || !file.flush()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return fail(reason);
    }
    if (!file.commit())
        return fail(file.errorString());
    return true;
}

std::optional<QString> SetAsideUnreadable(const QString& path, QString* error)
{
    QString target = path + QStringLiteral(".unreadable");
    for (int number = 2; QFileInfo::exists(target) || QFileInfo(target).isSymLink(); ++number)
        target = path + QStringLiteral(".unreadable.%1").arg(number);
    // A rename keeps every byte, also of a file the program may not read.
    if (QDir().rename(path, target))
        return target;
    if (error)
        *error = QStringLiteral("无法改名为 %1").arg(QDir::toNativeSeparators(target));
    return std::nullopt;
}
