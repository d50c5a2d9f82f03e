#pragma once

class QWidget;

// Toggles the window's caption between its active and inactive look, where
// the window system has such a thing (Windows); elsewhere it does nothing and
// the window's inside alone flashes.
void FlashCaption(QWidget* window);
