#pragma once

#include <QByteArray>
#include <QProcessEnvironment>

// The windowing platform to ask Qt for, when the program should choose one.
// A Wayland compositor decides where a window goes and whether it stays on
// top, so a reminder could land behind other windows; through XWayland the
// program places it itself. A platform the user chose is left alone.
// Gives an empty array when Qt's own choice stands.
QByteArray ChoosePlatform(const QProcessEnvironment& environment);
