#pragma once

#include "auto_start.h"

#include <QString>

// Starts the program at login through a per-user XDG autostart entry
// "<executable name>.desktop" in the autostart folder. The entry names the
// executable by its absolute path, so enabling again after the program has
// moved replaces the old path. Every failure is silent: the caller neither
// asks nor tells the user.
class XdgAutoStart final : public AutoStart
{
public:
    XdgAutoStart(QString autostartDirectory, QString executablePath);

    void enable() override;
    void disable() override;

    QString entryPath() const;

    // $XDG_CONFIG_HOME/autostart, or ~/.config/autostart when it is unset.
    static QString defaultDirectory();

    // The Exec value for running `program` without arguments, quoted and
    // escaped so that a desktop environment gives back exactly that path.
    static QString execValue(const QString& program);

private:
    QByteArray entryText() const;

    QString m_directory;
    QString m_executablePath;
};
