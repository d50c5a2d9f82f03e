#pragma once

#include "save_failure_notice.h"

#include <QPointer>

class QMessageBox;
class QWidget;

// The notice as a message box that does not block: the clock and the scan
// go on while it is open.
class SaveFailureBox final : public SaveFailureNotice
{
public:
    explicit SaveFailureBox(QWidget* parent = nullptr);

    void alarmFileNotSaved(const QString& path, const QString& reason) override;
    void alarmFileNotRead(const QString& path, const QString& reason, const QString& keptAs) override;

private:
    void show(QString message, const QString& reason);

    QWidget* m_parent;
    QPointer<QMessageBox> m_box;
};
