#pragma once

// The flashing of the reminder window as plain state: each tick swaps the
// highlighted look, until the user stops it. Stopping returns to the normal
// look for good.
class ReminderFlasher final
{
public:
    // No more than one full flash a second, well below the three flashes a
    // second that can set off photosensitive seizures.
    static constexpr int kIntervalMs = 500;

    bool isFlashing() const { return m_flashing; }
    bool isHighlighted() const { return m_highlighted; }

    // Returns whether the look changed.
    bool tick();
    void stop();

private:
    bool m_flashing = true;
    bool m_highlighted = false;
};
