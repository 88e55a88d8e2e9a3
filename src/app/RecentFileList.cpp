#include "app/RecentFileList.h"

#include "platform/SettingsStore.h"

namespace {

std::string EntryName(int index)
{
    return "Recent File List/File" + std::to_string(index + 1);
}

} // namespace

RecentFileList::RecentFileList(SettingsStore& settings)
    : m_settings(settings)
{
    for (int i = 0; i < kMaxFiles; ++i) {
        const auto value = m_settings.ReadString(EntryName(i));
        const QString path = value ? QString::fromStdString(*value) : QString();
        if (!path.isEmpty() && !m_files.contains(path))
            m_files.append(path);
    }
}

void RecentFileList::Add(const QString& path)
{
    m_files.removeAll(path);
    m_files.prepend(path);
    while (m_files.size() > kMaxFiles)
        m_files.removeLast();
    Store();
}

void RecentFileList::Remove(const QString& path)
{
    if (m_files.removeAll(path) > 0)
        Store();
}

void RecentFileList::Store()
{
    // Every slot is written, so an entry that left the list does not come back at the next start.
    for (int i = 0; i < kMaxFiles; ++i)
        m_settings.WriteString(EntryName(i), i < m_files.size() ? m_files[i].toStdString() : std::string());
}
