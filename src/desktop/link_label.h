#pragma once

#include <QLabel>

// A label that looks and acts like a web link: red, underlined, a pointing
// hand over it, and clicked() on a left click. A click is a press and a
// release of the left button both on the label, so dragging off it cancels.
class LinkLabel final : public QLabel
{
    Q_OBJECT

public:
    explicit LinkLabel(const QString& text, QWidget* parent = nullptr);

Q_SIGNALS:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool m_pressed = false;
};
