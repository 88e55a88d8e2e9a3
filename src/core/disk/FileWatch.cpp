#include "disk/FileWatch.h"

#include <chrono>
#include <set>

namespace {

// How long a save waits while a quillbox-cli command writes the same notebook.
constexpr auto kSaveWait = std::chrono::seconds(5);

// Whether the notebook of the lock file `lockPath` is mentioned for the first time this run as
// maybe open on another machine: a Quillbox that ended there leaves its name behind, and the
// user, told once, need not be told at every open.
bool FirstMentionElsewhere(const std::string& lockPath)
{
    static std::set<std::string> mentioned;
    return mentioned.insert(lockPath).second;
}

} // namespace

FileWatch::FileWatch(Prompts& prompts)
    : m_prompts(prompts)
{
}

void FileWatch::OnFileRead(const std::string& path, std::optional<uint64_t> hash)
{
    m_known = ReadFileIdentity(path, !hash);
    if (m_known && hash)
        m_known->hash = *hash;
    m_mentioned = m_known;
    m_bVanishMentioned = false;
    // A save replaces the file, whose own lock then belongs to the new one.
    if (path == m_strPath) {
        m_lock.Acquire(path);
        return;
    }
    m_strPath = path;
    const LockHolders holders = m_lock.Acquire(path);
    if (!holders.Any()) {
        if (!holders.elsewhere.empty() && FirstMentionElsewhere(LockFile::PathFor(path)))
            m_prompts.Tell({ Message::Kind::MayBeOpenElsewhere, {}, FileNameOf(path), holders.elsewhere.front() });
        return;
    }
    Message message { Message::Kind::OpenElsewhere, {}, FileNameOf(path) };
    if (!holders.owners.empty())
        message.holder = holders.owners.front();
    m_prompts.Tell(message);
}

void FileWatch::Forget()
{
    m_known.reset();
    m_mentioned.reset();
    m_strPath.clear();
    m_lock.Release();
}

bool FileWatch::HoldsFile(const std::string& path) const
{
    if (m_strPath.empty())
        return false;
    const std::optional<FileIdentity> mine = ReadFileIdentity(m_strPath, false);
    const std::optional<FileIdentity> other = ReadFileIdentity(path, false);
    if (mine && other)
        return mine->SameFile(*other);
    return path == m_strPath;
}

SaveOverAnswer FileWatch::AskBeforeSave(const std::string& path)
{
    if (!m_known)
        return SaveOverAnswer::Save;
    const DiskChange change = CheckFile(path, *m_known);
    if (change == DiskChange::None)
        return SaveOverAnswer::Save;
    return m_prompts.AskSaveOver(FileNameOf(path), change == DiskChange::Vanished);
}

FileWatch::SaveOutcome FileWatch::Save(const std::string& path, const SaveFunction& save)
{
    bool bReplaceReadOnly = false;
    // Every question is asked before the writer's lock is taken, so a quillbox-cli command never
    // waits for the user; when another writer changed the file meanwhile, the user is asked again.
    for (;;) {
        // The file as the user agrees to replace it: a writer that changes it while the question
        // waits, or a program that takes no lock and changes it before it is replaced, stops the
        // save, and the user is asked again.
        const std::optional<FileIdentity> agreed = ReadFileIdentity(path, false);
        if (path == m_strPath) {
            switch (AskBeforeSave(path)) {
            case SaveOverAnswer::Save:
                break;
            case SaveOverAnswer::SaveElsewhere:
                return SaveOutcome::Elsewhere;
            case SaveOverAnswer::Merge:
                return SaveOutcome::Merge;
            case SaveOverAnswer::Cancel:
                return SaveOutcome::Failed;
            }
        }
        const auto unchanged = [&agreed](const std::string& target) {
            const std::optional<FileIdentity> now = ReadFileIdentity(target, false);
            return agreed ? now && now->SameMetadata(*agreed) : !now;
        };
        SaveResult result;
        {
            // One writer at a time: a quillbox-cli command waits for this save, and this save for it.
            WriteLock lock;
            if (FileProblem busy; !lock.Take(path, kSaveWait, busy)) {
                m_prompts.ReportProblem(busy.During(FileProblem::Action::Save, path));
                return SaveOutcome::Failed;
            }
            if (!unchanged(path))
                continue;
            result = save(bReplaceReadOnly, unchanged);
        }
        if (result.bReadOnly && !bReplaceReadOnly) {
            if (!m_prompts.Ask({ Question::Kind::ReplaceReadOnly, path }))
                return SaveOutcome::Failed;
            bReplaceReadOnly = true;
            continue;
        }
        if (!result.ok) {
            m_prompts.ReportProblem(result.problem);
            return SaveOutcome::Failed;
        }
        return SaveOutcome::Saved;
    }
}

bool FileWatch::OfferReload(const std::string& path, bool bModified)
{
    if (!m_known)
        return false;
    FileIdentity checked = m_mentioned ? *m_mentioned : *m_known;
    const DiskChange change = CheckFile(path, checked);
    if (change == DiskChange::Vanished) {
        if (m_bVanishMentioned)
            return false;
        m_bVanishMentioned = true;
        m_prompts.Tell({ Message::Kind::Vanished, {}, FileNameOf(path) });
        return false;
    }
    m_bVanishMentioned = false;
    if (change == DiskChange::None) {
        m_mentioned = checked;
        return false;
    }
    m_mentioned = ReadFileIdentity(path);
    if (bModified) {
        m_prompts.Tell({ Message::Kind::ChangedWhileModified, {}, FileNameOf(path) });
        return false;
    }
    return m_prompts.Ask({ Question::Kind::ReadAgain, FileNameOf(path) });
}
