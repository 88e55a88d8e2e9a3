#pragma once

#include <QByteArray>
#include <QFile>
#include <QMimeData>
#include <QUrl>
#include <QString>

#include <algorithm>
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

// Local files dragged over the program, which it opens as notebooks.
inline bool IsFileDrop(const QMimeData* pData)
{
    const QList<QUrl> urls = pData->urls();
    return !urls.isEmpty() && std::all_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); });
}
