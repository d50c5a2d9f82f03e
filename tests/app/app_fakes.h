#pragma once

#include "ad_panel_host.h"
#include "alarm_sound.h"
#include "auto_start.h"
#include "power_off.h"
#include "reminder_display.h"
#include "save_failure_notice.h"
#include "url_opener.h"

#include <QStringList>
#include <QWidget>

#include <functional>

// Recording stand-ins for everything outside the main window. None of them
// reaches the desktop, the network or the machine's power.

class FakeSound final : public AlarmSound
{
public:
    void play() override { ++plays; }
    int plays = 0;
};

class FakeReminder final : public ReminderDisplay
{
public:
    void show(const QString& text) override
    {
        shown.append(text);
        m_open = true;
    }
    bool isOpen() const override { return m_open; }
    void close()
    {
        m_open = false;
        Q_EMIT closed();
    }
    QStringList shown;

private:
    bool m_open = false;
};

class FakeBrowser final : public UrlOpener
{
public:
    void openUrl(const QString& address) override { opened.append(address); }
    QStringList opened;
};

class FakePowerOff final : public PowerOff
{
public:
    // Answers at once, as the Windows request does.
    void shutDown(std::function<void()> answered) override
    {
        ++requests;
        if (onShutDown)
            onShutDown();
        answered();
    }
    int requests = 0;
    std::function<void()> onShutDown;
};

class FakeAutoStart final : public AutoStart
{
public:
    void enable() override { calls.append(QStringLiteral("enable")); }
    void disable() override { calls.append(QStringLiteral("disable")); }
    QStringList calls;
};

class FakeAdPanelHost final : public AdPanelHost
{
public:
    QWidget* createPanel(QWidget* parent) override { return new QWidget(parent); }
    void navigate(const QString& address) override { navigated.append(address); }
    QStringList navigated;
};

class CountingNotice final : public SaveFailureNotice
{
public:
    void alarmFileNotSaved(const QString& path, const QString&) override { paths.append(path); }
    void alarmFileNotRead(const QString& path, const QString& reason, const QString& keptAs) override
    {
        unreadable.append({path, reason, keptAs});
    }
    QStringList paths;
    QList<QStringList> unreadable;
};
