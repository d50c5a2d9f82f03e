#include "alarm_book.h"

#include "alarm_file.h"
#include "save_failure_notice.h"

AlarmBook::AlarmBook(QString filePath, SaveFailureNotice& notice, QObject* parent)
    : QObject(parent)
    , m_filePath(std::move(filePath))
    , m_notice(notice)
{
}

void AlarmBook::setLoaded(const QStringList& lines)
{
    m_model.setStringList(lines);
}

void AlarmBook::add(const QString& line)
{
    const int row = m_model.rowCount();
    m_model.insertRows(row, 1);
    m_model.setData(m_model.index(row), line);
    save();
    setAdPanelVisible(false);
}

void AlarmBook::deleteAt(int row)
{
    if (row >= 0 && row < m_model.rowCount()) {
        m_model.removeRows(row, 1);
        save();
    }
    if (m_model.rowCount() == 0)
        setAdPanelVisible(true);
}

void AlarmBook::deleteAll()
{
    m_model.setStringList({});
    save();
    setAdPanelVisible(true);
}

void AlarmBook::scanned(int fired)
{
    if (fired > 0)
        save();
}

bool AlarmBook::save()
{
    QString reason;
    if (SaveAlarmFile(m_filePath, lines(), &reason)) {
        m_failureReported = false;
        return true;
    }
    if (!m_failureReported) {
        m_failureReported = true;
        m_notice.alarmFileNotSaved(m_filePath, reason);
    }
    return false;
}

void AlarmBook::setAdPanelVisible(bool visible)
{
    if (visible == m_adPanelVisible)
        return;
    m_adPanelVisible = visible;
    Q_EMIT adPanelVisibleChanged(visible);
}

int AlarmBook::count() const
{
    return m_model.rowCount();
}

QString AlarmBook::lineAt(int position) const
{
    // The scan reads every line every few seconds: take the text straight
    // from the model's list rather than through an index and a variant.
    return m_model.stringList().at(position);
}

void AlarmBook::removeAt(int position)
{
    m_model.removeRows(position, 1);
}
