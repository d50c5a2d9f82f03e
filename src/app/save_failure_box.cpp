#include "save_failure_box.h"

#include <QDir>
#include <QMessageBox>

SaveFailureBox::SaveFailureBox(QWidget* parent)
    : m_parent(parent)
{
}

void SaveFailureBox::alarmFileNotSaved(const QString& path, const QString& reason)
{
    if (m_box)
        return;
    QString message = QStringLiteral("闹钟文件无法保存，新的更改在程序关闭后会丢失：\n%1").arg(QDir::toNativeSeparators(path));
    if (!reason.isEmpty())
        message += QStringLiteral("\n\n") + reason;
    m_box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Nelo闹钟"), message, QMessageBox::Ok, m_parent);
    m_box->setAttribute(Qt::WA_DeleteOnClose);
    m_box->setModal(false);
    m_box->show();
}
