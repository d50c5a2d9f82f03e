#include "alarm_book.h"

#include "alarm_file.h"
#include "save_failure_notice.h"

AlarmBook::AlarmBook(AlarmFileLocation location, SaveFailureNotice& notice, const char* encoding, QObject* parent)
    : QObject(parent)
    , m_location(std::move(location))
    , m_notice(notice)
    , m_encoding(encoding)
{
}

void AlarmBook::load(bool clearExpired, const Clock& clock, const DateTimeText& dateTimeText)
{
    const AlarmFileRead read = ReadAlarmFile(m_location.readPath, m_encoding);
    if (read.status == AlarmFileRead::Status::Unreadable) {
        QString keptAs;
        QString reason = read.error;
        // Only a file that would be written over is moved; one read from
        // a read-only program folder stays where it is.
        if (m_location.readPath == m_location.writePath) {
            QString moveError;
            if (const auto target = SetAsideUnreadable(m_location.readPath, &moveError)) {
                keptAs = *target;
            } else {
                m_writeBlocked = true;
                reason += u'\n' + moveError;
            }
        }
        // A blocked write has just been explained; it is not reported again.
        m_failureReported = m_writeBlocked;
        m_notice.alarmFileNotRead(m_location.readPath, reason, keptAs);
    }
    m_model.setStringList(PendingAlarmLines(read.lines, clearExpired, clock, dateTimeText));
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
    QString reason = QStringLiteral("原来的闹钟文件读不出，也无法移开，为了不覆盖它，不再写入。");
    if (!m_writeBlocked && SaveAlarmFile(m_location.writePath, lines(), &reason, m_encoding)) {
        m_failureReported = false;
        return true;
    }
    if (!m_failureReported) {
        m_failureReported = true;
        m_notice.alarmFileNotSaved(m_location.writePath, reason);
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
