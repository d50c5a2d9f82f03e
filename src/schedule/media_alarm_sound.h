#pragma once

#include "alarm_sound.h"

#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <memory>

// Plays alarm.wav through Qt Multimedia, from the first of its folders that
// has one at the moment the alarm sounds (ProgramLayout says which folders). Every alarm
// gets a player of its own, made when it sounds, never at start-up (loading
// the media backend takes a noticeable moment): the player of the alarm
// before is destroyed first, which silences it. Reusing one player with
// stop(), setPosition(0) and play() sometimes left the new alarm silent with
// the GStreamer backend; a fresh player always started at the beginning.
class MediaAlarmSound final : public AlarmSound
{
public:
    // The few player operations the sound needs; the production one wraps a
    // QMediaPlayer, tests put a recorder in its place. Destroying a player
    // stops its sound.
    class Player
    {
    public:
        virtual ~Player() = default;
        virtual void setSource(const QUrl& source) = 0;
        virtual void play() = 0;
    };
    using PlayerFactory = std::function<std::unique_ptr<Player>()>;

    explicit MediaAlarmSound(const QString& programFolder);
    MediaAlarmSound(const QString& programFolder, PlayerFactory makePlayer);
    explicit MediaAlarmSound(const QStringList& folders, PlayerFactory makePlayer = &MediaAlarmSound::makeMediaPlayer);
    ~MediaAlarmSound() override;

    void play() override;

    // The alarm.wav the next alarm plays: the first that exists, or the
    // first folder's when there is none.
    QString filePath() const;
    // The player of the QMediaPlayer backend, for the program and its smoke test.
    static std::unique_ptr<Player> makeMediaPlayer();

private:
    QStringList m_filePaths;
    PlayerFactory m_makePlayer;
    std::unique_ptr<Player> m_player;
};
