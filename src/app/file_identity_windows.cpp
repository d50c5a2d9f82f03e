#include "file_identity.h"

#include <QDir>
#include <QFileInfo>

QString FileIdentity(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath()).toLower();
}
