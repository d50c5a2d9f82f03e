#include "media_alarm_sound.h"

#include <QAudioOutput>
#include <QDir>
#include <QFileInfo>
#include <QMediaPlayer>

namespace {

class QtMediaPlayer final : public MediaAlarmSound::Player
{
public:
    QtMediaPlayer() { m_player.setAudioOutput(&m_output); }

    void setSource(const QUrl& source) override { m_player.setSource(source); }
    QUrl source() const override { return m_player.source(); }
    void stop() override { m_player.stop(); }
    void setPosition(qint64 milliseconds) override { m_player.setPosition(milliseconds); }
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
    if (m_player)
        m_player->stop();

    if (!QFileInfo(m_filePath).isFile())
        return;

    if (!m_player) {
        m_player = m_makePlayer();
        if (!m_player)
            return;
    }

    const QUrl source = QUrl::fromLocalFile(m_filePath);
    if (m_player->source() != source)
        m_player->setSource(source);
    // With the GStreamer backend a bare play() after stop() may resume from
    // where the last sound ended; the explicit rewind makes every alarm start
    // at the beginning of the file.
    m_player->setPosition(0);
    m_player->play();
}
