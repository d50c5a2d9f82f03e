#pragma once

#include <QString>

// A file's path as the file system tells files apart: case-insensitive
// systems (Windows) give one form for every spelling of the same file.
QString FileIdentity(const QString& path);
