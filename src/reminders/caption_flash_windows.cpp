#include "caption_flash.h"

#include <windows.h>

void FlashCaption(std::uintptr_t windowHandle)
{
    FlashWindow(reinterpret_cast<HWND>(windowHandle), TRUE);
}
