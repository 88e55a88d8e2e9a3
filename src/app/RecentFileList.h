#pragma once

#include <QStringList>

class SettingsStore;

// The File menu's list of recently used notebooks, newest first, kept in the program's settings.
class RecentFileList
{
public:
    static constexpr int kMaxFiles = 4;

    explicit RecentFileList(SettingsStore& settings);

    const QStringList& Files() const { return m_files; }
    // Puts the notebook at the front (once) and stores the list.
    void Add(const QString& path);
    // Drops a notebook that could not be opened and stores the list.
    void Remove(const QString& path);

private:
    void Store();

    SettingsStore& m_settings;
    QStringList m_files;
};
