#pragma once

#include <QString>

class QSettings;

// An address as a browser or web view takes it: "http://" goes before an
// address that names no scheme of its own (a bare host such as
// "www.example.com", or "localhost:8080/x"); blanks around it are dropped.
QString WithScheme(const QString& address);

// The web addresses the program opens, in one place. Each has a default and
// can be overridden in the settings store, group "sites".
// Farm sites and the maker's host are bare hosts without scheme; the forum is
// a full address.
class SiteAddresses final
{
public:
    explicit SiteAddresses(QSettings& settings);

    QString happyFarm() const;    // "打开开心农场"
    QString qqFarm() const;       // "打开QQ农场"
    QString makerHost() const;
    QString otherFarms() const;   // "打开其他农场": makerHost + "/ad-tc.asp"
    QString advertisement() const; // makerHost + "/ad4.asp"
    QString forum() const;        // "交流论坛"

private:
    QString value(const QString& key, const QString& fallback) const;

    QSettings& m_settings;
};
