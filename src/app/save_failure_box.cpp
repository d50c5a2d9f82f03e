#include "save_failure_box.h"

#include "product.h"

#include <QDir>
#include <QMessageBox>

SaveFailureBox::SaveFailureBox(QWidget* parent)
    : m_parent(parent)
{
}

void SaveFailureBox::alarmFileNotSaved(const QString& path, const QString& reason)
{
    show(QStringLiteral("闹钟文件无法保存，新的更改在程序关闭后会丢失：\n%1").arg(QDir::toNativeSeparators(path)), reason);
}

void SaveFailureBox::alarmFileNotRead(const QString& path, const QString& reason, const QString& keptAs)
{
    QString message = QStringLiteral("闹钟文件无法读取，闹钟列表从空白开始：\n%1").arg(QDir::toNativeSeparators(path));
    if (!keptAs.isEmpty())
        message += QStringLiteral("\n原文件已原样保存为：\n%1").arg(QDir::toNativeSeparators(keptAs));
    show(message, reason);
}

void SaveFailureBox::show(QString message, const QString& reason)
{
    if (m_box)
        return;
    if (!reason.isEmpty())
        message += QStringLiteral("\n\n") + reason;
    m_box = new QMessageBox(QMessageBox::Warning, kProductName, message, QMessageBox::Ok, m_parent);
    // Paths and reasons are shown as they are, never read as markup.
    m_box->setTextFormat(Qt::PlainText);
    m_box->setAttribute(Qt::WA_DeleteOnClose);
    m_box->setModal(false);
    m_box->show();
}
