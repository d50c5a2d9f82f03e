#include "alarm_list_view.h"

#include <QItemSelectionModel>
#include <QMouseEvent>

AlarmListView::AlarmListView(QWidget* parent)
    : QListView(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setContextMenuPolicy(Qt::PreventContextMenu);
}

int AlarmListView::selectedRow() const
{
    if (!selectionModel())
        return -1;
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

QString AlarmListView::selectedText() const
{
    const int row = selectedRow();
    return row < 0 ? QString() : model()->index(row, 0).data().toString();
}

void AlarmListView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        QListView::mousePressEvent(event);
    else
        event->accept();
    Q_EMIT mouseDown(event->button(), event->globalPosition().toPoint());
}

void AlarmListView::setModel(QAbstractItemModel* model)
{
    QListView::setModel(model);
    // Connected after the view's own handling, so this has the last word.
    connect(model, &QAbstractItemModel::rowsRemoved, this, &AlarmListView::rowsRemoved);
}

void AlarmListView::rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end)
{
    const int selected = selectedRow();
    m_selectedLineRemoved = selected >= start && selected <= end;
    QListView::rowsAboutToBeRemoved(parent, start, end);
}

void AlarmListView::rowsRemoved()
{
    // The view would pass the selection on to a neighbouring line; a line
    // the user did not pick must not become the one the menu deletes.
    if (m_selectedLineRemoved)
        clearSelection();
    m_selectedLineRemoved = false;
}
