#pragma once

#include <QLabel>

// A label whose one run of blanks is drawn as a gap of a given width, so a
// field can stand inside the caption ("提前提醒 [ 2 ] 分钟"). Blanks are far
// narrower in some fonts than in others, and Qt's word spacing is not applied
// to Chinese text, so the gap is made here; the caption stays as it is.
class GapLabel final : public QLabel
{
    Q_OBJECT

public:
    explicit GapLabel(const QString& text, QWidget* parent = nullptr);

    // The width of the blank run in pixels; 0 draws the blanks as they are.
    void setGapWidth(int pixels);
    // Where the blank run starts, in pixels from the label's left edge.
    int gapStart() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString lead() const;
    QString tail() const;

    int m_gapWidth = 0;
};
