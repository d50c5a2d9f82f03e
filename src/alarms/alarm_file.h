#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

class Clock;
class DateTimeText;

// The alarm list on disk: alarm.ini, one alarm line per text line, each line
// ending in CR LF, in GB18030 (identical to GBK for every character GBK has,
// and able to hold every other character).

inline constexpr const char* kAlarmFileEncoding = "GB18030";

// Where alarm.ini is read from and written to. A portable copy keeps it in
// the program folder. When that folder cannot be written, and always for an
// installed copy (ProgramLayout), the file lives in the per-user data
// folder; an alarm.ini that already sits in the program folder is read
// until the per-user one exists.
struct AlarmFileLocation
{
    QString readPath;
    QString writePath;
};
AlarmFileLocation LocateAlarmFile(const QString& programFolder, bool programFolderWritable,
                                  const QString& userDataFolder);
// The same for the running program: probes the program folder of a portable
// copy and takes the per-user application data folder.
AlarmFileLocation LocateAlarmFile(const QString& programFolder);

struct AlarmFileRead
{
    enum class Status { Missing, Read, Unreadable };
    Status status = Status::Missing;
    QStringList lines;
    // Why an existing file could not be read.
    QString error;
};

// Every line of the file, unfiltered. A file that exists but cannot be opened,
// read or converted is Unreadable, never an empty list.
AlarmFileRead ReadAlarmFile(const QString& path, const char* encoding = kAlarmFileEncoding);

// The lines the start-up keeps, in file order and unchanged: every line of
// more than 10 characters that is still pending, and an expired one only when
// clearExpired is off and its action is not a power-off. A line whose due
// time does not read as a date is kept (the scan fires it at once).
QStringList PendingAlarmLines(const QStringList& lines, bool clearExpired, const Clock& clock,
                              const DateTimeText& dateTimeText);

// The file's bytes for a list: an empty list is one empty line. Nothing when
// the converter is missing or cannot write a line.
std::optional<QByteArray> EncodeAlarmFile(const QStringList& lines, const char* encoding = kAlarmFileEncoding);
// The lines in the bytes; nothing when the converter is missing or the bytes
// are not text in that encoding.
std::optional<QStringList> DecodeAlarmFile(const QByteArray& bytes, const char* encoding = kAlarmFileEncoding);

// Replaces the file atomically: a crash or a full disk during the write
// leaves the previous file whole. On failure returns false and, when asked,
// a description of what went wrong.
bool SaveAlarmFile(const QString& path, const QStringList& lines, QString* error = nullptr,
                   const char* encoding = kAlarmFileEncoding);

// Moves a file that could not be read out of the way, to the first free name
// of "<path>.unreadable", "<path>.unreadable.2", ..., so that saving never
// overwrites it. Gives the new name, or nothing when it could not be moved.
std::optional<QString> SetAsideUnreadable(const QString& path, QString* error = nullptr);
