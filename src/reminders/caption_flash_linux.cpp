#include "caption_flash.h"

void FlashCaption(QWidget*)
{
    // X11 and Wayland give a program no caption of its own to flash.
}
