#pragma once

#include <functional>
#include <optional>
#include <string>

#include "dialogs/Prompts.h"
#include "format/FileResults.h"
#include "storage/FileAccess.h"
#include "storage/FileIdentity.h"
#include "storage/LockFile.h"

// What a notebook's window knows of the notebook's file on disk: the file's identity when it was
// last read or written, the lock on it, and what to ask when another program changed it. The
// questions go through the prompts; the window only says when to look (coming back to the front,
// a save).
class FileWatch
{
public:
    explicit FileWatch(Prompts& prompts);

    // The notebook was read from or written to `path`: remembers the file and claims it, telling
    // when another Quillbox of this machine has it open, and once a run when its lock file names
    // one of another machine. `hash` is that of the bytes read or written, when they were hashed
    // on the way; the file is read again for it otherwise.
    void OnFileRead(const std::string& path, std::optional<uint64_t> hash = std::nullopt);
    // The notebook was closed.
    void Forget();
    // The same file as `path`, by whatever name either was reached.
    bool HoldsFile(const std::string& path) const;

    // How a save went.
    enum class SaveOutcome
    {
        Saved,
        Elsewhere, // the user wants another name chosen
        Merge,     // the user wants the other program's change merged in; nothing was saved
        Failed,    // refused, cancelled or failed; the user was told what went wrong
    };
    // The document's save: over a read-only file only when told, stopping when `unchanged` says
    // the file is no longer what the user agreed to replace.
    using SaveFunction = std::function<SaveResult(bool bReplaceReadOnly, const ReplaceCheck& unchanged)>;
    // Saves the notebook to `path` as File Save does, one writer at a time: when `path` is the
    // notebook's own file and another program changed or removed it, asks first (overwrite,
    // save elsewhere, merge the change in, or cancel); stops when
    // another program changes it before it is replaced; asks before it saves over a read-only
    // file; says what went wrong.
    SaveOutcome Save(const std::string& path, const SaveFunction& save);

    // The program came back to the front: true when the user wants the notebook read again
    // because another program changed it. A modified notebook is only warned; each change is
    // mentioned once.
    bool OfferReload(const std::string& path, bool bModified);

private:
    // Before a save over the notebook's own file: asks when another program changed it or it
    // is gone.
    SaveOverAnswer AskBeforeSave(const std::string& path);

    Prompts& m_prompts;
    std::optional<FileIdentity> m_known;
    // The file as last mentioned to the user.
    std::optional<FileIdentity> m_mentioned;
    bool m_bVanishMentioned = false;
    std::string m_strPath;
    LockFile m_lock;
};
