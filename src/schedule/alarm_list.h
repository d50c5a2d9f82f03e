#pragma once

#include <QString>

// The alarm lines as the scan sees them: the main window's list, top first.
class AlarmList
{
public:
    virtual ~AlarmList() = default;

    virtual int count() const = 0;
    virtual QString lineAt(int position) const = 0;
    virtual void removeAt(int position) = 0;
};
