#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// The reminder window's sizes are laid out in twips; 15 twips make one
// logical pixel.
constexpr int TwipsToPixels(int twips)
{
    return (twips + 7) / 15;
}

// Where the reminder window's outer frame goes: at the bottom right of the
// screen, 60 twips from its right edge and 500 twips above its bottom edge,
// which usually clears a taskbar. The window is then pushed wholly into the
// work area, so a taller taskbar, or one on the right, never covers it.
QPoint ReminderWindowPosition(const QRect& screen, const QRect& workArea, const QSize& frameSize);
