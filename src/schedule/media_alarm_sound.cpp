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
    : m_filePath(QDir(programFolder).filePath(QStringLiteral("alarm.wav")))
    , m_makePlayer(std::move(makePlayer))
{
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

    if (!QFileInfo(m_filePath).isFile()) {
        qCWarning(lcSchedule) << "no alarm sound at" << m_filePath;
        return;
    }

    m_player = m_makePlayer();
    if (!m_player) {
        qCWarning(lcSchedule) << "no player for the alarm sound";
        return;
    }
    m_player->setSource(QUrl::fromLocalFile(m_filePath));
    m_player->play();
}
