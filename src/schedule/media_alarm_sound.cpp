#include "media_alarm_sound.h"

#include "schedule_log.h"

#include <QAudioOutput>
#include <QDir>
#include <QFileInfo>
#include <QMediaPlayer>

namespace {

class QtMediaPlayer final : public MediaAlarmSound::Player
{
public:
    QtMediaPlayer()
    {
        m_player.setAudioOutput(&m_output);
        QObject::connect(&m_player, &QMediaPlayer::errorOccurred, &m_player,
                         [this](QMediaPlayer::Error, const QString& reason) {
                             qCWarning(lcSchedule) << "the alarm sound did not play:" << m_player.source() << reason;
                         });
    }

    void setSource(const QUrl& source) override { m_player.setSource(source); }
    void play() override { m_player.play(); }

private:
    // Declared first so it outlives the player that renders into it.
    QAudioOutput m_output;
    QMediaPlayer m_player;
};

} // namespace

MediaAlarmSound::MediaAlarmSound(const QString& programFolder)
    : MediaAlarmSound(programFolder, &MediaAlarmSound::makeMediaPlayer)
{
}

MediaAlarmSound::MediaAlarmSound(const QString& programFolder, PlayerFactory makePlayer)
    : MediaAlarmSound(QStringList{programFolder}, std::move(makePlayer))
{
}

MediaAlarmSound::MediaAlarmSound(const QStringList& folders, PlayerFactory makePlayer)
    : m_makePlayer(std::move(makePlayer))
{
    for (const QString& folder : folders)
        m_filePaths.append(QDir(folder).filePath(QStringLiteral("alarm.wav")));
}

QString MediaAlarmSound::filePath() const
{
    for (const QString& path : m_filePaths) {
        if (QFileInfo(path).isFile())
            return path;
    }
    return m_filePaths.value(0);
}

MediaAlarmSound::~MediaAlarmSound() = default;

std::unique_ptr<MediaAlarmSound::Player> MediaAlarmSound::makeMediaPlayer()
{
    return std::make_unique<QtMediaPlayer>();
}

void MediaAlarmSound::play()
{
    // A new alarm always silences the one before, even when it has no sound
    // of its own to play.
    m_player.reset();

    const QString path = filePath();
    if (!QFileInfo(path).isFile()) {
        qCWarning(lcSchedule) << "no alarm sound in" << m_filePaths;
        return;
    }

    m_player = m_makePlayer();
    if (!m_player) {
        qCWarning(lcSchedule) << "no player for the alarm sound";
        return;
    }
    m_player->setSource(QUrl::fromLocalFile(path));
    m_player->play();
}
