#include "reminder_placement.h"

#include <algorithm>

QPoint ReminderWindowPosition(const QRect& screen, const QRect& workArea, const QSize& frameSize)
{
    int x = screen.x() + screen.width() - frameSize.width() - TwipsToPixels(60);
    int y = screen.y() + screen.height() - frameSize.height() - TwipsToPixels(500);

    // Right and bottom first, then left and top: a window larger than the
    // work area keeps its caption and left edge in view.
    x = std::min(x, workArea.x() + workArea.width() - frameSize.width());
    y = std::min(y, workArea.y() + workArea.height() - frameSize.height());
    x = std::max(x, workArea.x());
    y = std::max(y, workArea.y());
    return {x, y};
}
