#include "caption_flash.h"

#include <QWidget>

#include <windows.h>

void FlashCaption(QWidget* window)
{
    FlashWindow(reinterpret_cast<HWND>(window->winId()), TRUE);
}
