#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <string>

// A path as the core keeps it (the file system's bytes, whatever their encoding) and as Qt
// shows and passes it. Never through a notebook's encoding.
inline std::string EncodePath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

inline QString DecodePath(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}
