#pragma once

#include <cstdint>

// Toggles a window's caption between its active and inactive look (Windows
// only). The handle is the window's HWND.
void FlashCaption(std::uintptr_t windowHandle);
