#pragma once

// The alarm sound: plays alarm.wav from the program folder once, from its
// beginning, stopping a sound still playing. Returns at once; every failure
// (no file, no audio device) is silent.
class AlarmSound
{
public:
    virtual ~AlarmSound() = default;
    virtual void play() = 0;
};
