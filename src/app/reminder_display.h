#pragma once

#include <QObject>
#include <QString>

// The one reminder window, as the main window and the program's end see it.
class ReminderDisplay : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Opens the window with the text; an open window stays as it is.
    virtual void show(const QString& text) = 0;
    virtual bool isOpen() const = 0;

Q_SIGNALS:
    void closed();
};
