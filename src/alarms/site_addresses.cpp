#include "site_addresses.h"

#include <QRegularExpression>
#include <QSettings>

SiteAddresses::SiteAddresses(QSettings& settings)
    : m_settings(settings)
{
}

QString SiteAddresses::value(const QString& key, const QString& fallback) const
{
    return m_settings.value(QStringLiteral("sites/") + key, fallback).toString();
}

QString SiteAddresses::happyFarm() const
{
    return value(QStringLiteral("HappyFarm"), QStringLiteral("www.kaixin001.com"));
}

QString SiteAddresses::qqFarm() const
{
    return value(QStringLiteral("QQFarm"), QStringLiteral("qzone.qq.com"));
}

QString SiteAddresses::makerHost() const
{
    return value(QStringLiteral("Maker"), QStringLiteral("www.neloclock.example"));
}

QString SiteAddresses::otherFarms() const
{
    return makerHost() + QStringLiteral("/ad-tc.asp");
}

QString SiteAddresses::advertisement() const
{
    return makerHost() + QStringLiteral("/ad4.asp");
}

QString SiteAddresses::forum() const
{
    return value(QStringLiteral("Forum"), QStringLiteral("http://bbs.neloclock.example/"));
}

QString WithScheme(const QString& address)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://"));
    const QString trimmed = address.trimmed();
    if (trimmed.contains(scheme))
        return trimmed;
    return QStringLiteral("http://") + trimmed;
}
