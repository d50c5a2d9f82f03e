#pragma once

#include <QFont>

class QWidget;

// The program's look in one place: red text, and a face that has Chinese
// characters on every system (SimSun on Windows, a CJK face Linux desktops
// carry otherwise), so the text never falls back to empty boxes.
void SetRedText(QWidget* widget);
QFont ChineseFont(QFont font = QFont());
