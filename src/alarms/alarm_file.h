#pragma once

#include <QString>
#include <QStringList>

class Clock;
class DateTimeText;

// The alarm list on disk: alarm.ini, one alarm line per text line, each line
// ending in CR LF, in GB18030 (identical to GBK for every character GBK has,
// and able to hold every other character).

// Where alarm.ini lives: the program folder when files can be created there
// (a portable copy), else the per-user application data folder. Every reader
// and writer takes the path from here.
QString AlarmFilePath(const QString& programFolder);

// The lines the start-up keeps, in file order and unchanged: every line of
// more than 10 characters that is still pending, and an expired one only when
// clearExpired is off and its action is not a power-off. A line whose due
// time does not read as a date is kept (the scan fires it at once). A missing
// or unreadable file gives an empty list.
QStringList LoadAlarmFile(const QString& path, bool clearExpired, const Clock& clock,
                          const DateTimeText& dateTimeText);

// The file's bytes for a list: an empty list is one empty line.
QByteArray EncodeAlarmFile(const QStringList& lines);
QStringList DecodeAlarmFile(const QByteArray& bytes);

// Replaces the file atomically: a crash or a full disk during the write
// leaves the previous file whole. On failure returns false and, when asked,
// a description of what went wrong.
bool SaveAlarmFile(const QString& path, const QStringList& lines, QString* error = nullptr);
