#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

#include "doc/FileIdentity.h"
#include "doc/LockFile.h"

class QWidget;

// Calls `onActivate` each time a window becomes the active one again: the moment to look at
// what other programs did meanwhile.
class ActivationWatch : public QObject
{
public:
    ActivationWatch(QWidget* pWindow, std::function<void()> onActivate, QObject* pParent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> m_onActivate;
};

// What a notebook window knows of its file on disk: the file's identity when it was last read or
// written, the lock file beside it, and the questions when another program changed the file.
class DiskWatch
{
public:
    explicit DiskWatch(QWidget* pParent);

    // The notebook was read from or written to `path`: remembers the file and takes its lock,
    // warning when another Quillbox holds it. `hash` is that of the bytes read or written, when
    // they were hashed on the way; the file is read again for it otherwise.
    void OnFileRead(const QString& path, std::optional<uint64_t> hash = std::nullopt);
    // The notebook was closed.
    void Forget();
    // The same file as `path`, by whatever name either was reached.
    bool HoldsFile(const QString& path) const;

    enum class SaveAnswer
    {
        Save,
        SaveElsewhere,
        Cancel,
    };
    // Before a save over the notebook's own file: asks when another program changed it or it
    // is gone.
    SaveAnswer AskBeforeSave(const QString& path);
    // When the program comes back to the front: true when the user wants the notebook read again
    // because another program changed it. A modified notebook is only warned; each change is
    // mentioned once.
    bool OfferReload(const QString& path, bool bModified);

private:
    QWidget* m_pParent;
    std::optional<FileIdentity> m_known;
    // The file as last mentioned to the user.
    std::optional<FileIdentity> m_mentioned;
    bool m_bVanishMentioned = false;
    QString m_strPath;
    LockFile m_lock;
};
