#pragma once

#include <QListView>

// The alarm list. The selection is only ever the user's, made with the left
// button or the keyboard: other buttons do not move it, so the list menu
// acts on the line the user selected, not on the one under the pointer.
class AlarmListView final : public QListView
{
    Q_OBJECT

public:
    explicit AlarmListView(QWidget* parent = nullptr);

    // The selected line, or -1.
    int selectedRow() const;
    // The selected line's text; empty without a selection.
    QString selectedText() const;

Q_SIGNALS:
    // After any mouse button went down over the list, once the list has
    // reacted to it.
    void mouseDown(Qt::MouseButton button, const QPoint& globalPosition);

public:
    void setModel(QAbstractItemModel* model) override;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) override;

private:
    void rowsRemoved();

    bool m_selectedLineRemoved = false;
};
