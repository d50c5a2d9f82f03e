#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

// One running copy per alarm file. Two copies on one file would each write
// their own list over the other's; so a second copy asks the first one to
// come to the front and leaves. Copies with different alarm files (programs
// in different folders) do not see each other.
class SingleInstance final : public QObject
{
    Q_OBJECT

public:
    explicit SingleInstance(const QString& alarmFilePath, QObject* parent = nullptr);

    // True when this copy is the first one and now answers later copies;
    // false when another copy runs and has been asked to come forward.
    bool claim();

    // The local server name for an alarm file.
    static QString serverName(const QString& alarmFilePath);

Q_SIGNALS:
    // A later copy started on the same alarm file.
    void activationRequested();

private:
    bool askRunningCopy();
    void answer();

    QString m_name;
    QLocalServer m_server;
};
