#pragma once

#include <QString>

// Tells the user that the alarm file could not be written or read, so that
// alarms are not lost without a word. The program shows a message box;
// tests count the calls.
class SaveFailureNotice
{
public:
    virtual ~SaveFailureNotice() = default;
    virtual void alarmFileNotSaved(const QString& path, const QString& reason) = 0;
    // keptAs: where the unreadable file was moved, empty when it stayed.
    virtual void alarmFileNotRead(const QString& path, const QString& reason, const QString& keptAs) = 0;
};
