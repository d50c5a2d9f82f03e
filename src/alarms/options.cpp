#include "options.h"

#include "alarms_log.h"

#include <QLocale>
#include <QSettings>

#include <cfenv>
#include <cmath>

namespace {

const QString kGroup = QStringLiteral("option");
const QString kTime = QStringLiteral("Time");
const QString kClear = QStringLiteral("Clear");
const QString kAuto = QStringLiteral("Auto");

} // namespace

Options::Options(QSettings& settings)
    : m_settings(settings)
{
}

std::optional<int> Options::checkStateFromText(const QString& text)
{
    bool ok = false;
    const QString trimmed = text.trimmed();
    double value = QLocale::c().toDouble(trimmed, &ok);
    if (!ok)
        value = QLocale().toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    const int previous = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(value);
    std::fesetround(previous);
    if (rounded != 0 && rounded != 1 && rounded != 2)
        return std::nullopt;
    return static_cast<int>(rounded);
}

Options::Restored Options::load() const
{
    Restored restored;
    m_settings.beginGroup(kGroup);
    restored.time = m_settings.value(kTime, defaultTime()).toString();
    restored.clear = checkStateFromText(m_settings.value(kClear, QString::number(kDefaultClear)).toString());
    restored.autoRun = checkStateFromText(m_settings.value(kAuto, QString::number(kDefaultAutoRun)).toString());
    m_settings.endGroup();
    return restored;
}

bool Options::save(const QString& time, int clear, int autoRun)
{
    m_settings.beginGroup(kGroup);
    // An empty text is stored as an empty text, never as a missing key.
    m_settings.setValue(kTime, time.isNull() ? QStringLiteral("") : time);
    m_settings.setValue(kClear, QString::number(clear));
    m_settings.setValue(kAuto, QString::number(autoRun));
    m_settings.endGroup();
    m_settings.sync();
    if (m_settings.status() == QSettings::NoError)
        return true;
    qCWarning(lcAlarms) << "the options could not be written to" << m_settings.fileName();
    return false;
}
