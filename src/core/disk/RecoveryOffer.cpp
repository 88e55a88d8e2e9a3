#include "disk/RecoveryOffer.h"

#include <algorithm>

#include "storage/FileIdentity.h"

namespace {

constexpr int64_t kNsPerMs = 1'000'000;

KeptWork Describe(const RecoveryEntry& entry)
{
    KeptWork work { entry.notebookPath, entry.savedAt, std::nullopt };
    if (!entry.notebookPath.empty()) {
        if (const std::optional<FileIdentity> file = ReadFileIdentity(entry.notebookPath, false))
            work.savedAt = file->mtimeNs / kNsPerMs;
    }
    return work;
}

} // namespace

bool IsKeptFor(const RecoveryEntry& entry, const std::string& path)
{
    if (entry.notebookPath.empty())
        return false;
    if (entry.notebookPath == path)
        return true;
    const std::optional<FileIdentity> file = ReadFileIdentity(path, false);
    const std::optional<FileIdentity> kept = file ? ReadFileIdentity(entry.notebookPath, false) : std::nullopt;
    return kept && kept->SameFile(*file);
}

RecoveryOffer::RecoveryOffer(RecoveryStore store, Prompts& prompts, std::function<bool(const std::string&)> isOwnLive)
    : m_store(std::move(store))
    , m_prompts(prompts)
    , m_isOwnLive(std::move(isOwnLive))
{
}

std::vector<RecoveryEntry> RecoveryOffer::Undecided() const
{
    std::vector<RecoveryEntry> entries = m_store.List();
    std::erase_if(entries, [&](const RecoveryEntry& entry) {
        if (!IsOrphaned(entry, m_isOwnLive))
            return true;
        // Saved after all: nothing of it would be lost.
        if (!entry.notebookPath.empty() && m_store.HoldsKeptBytes(entry.key, entry.notebookPath)) {
            m_store.Remove(entry.key);
            return true;
        }
        return false;
    });
    return entries;
}

std::optional<RecoveryEntry> RecoveryOffer::Ask(std::vector<RecoveryEntry>& entries)
{
    while (!entries.empty()) {
        std::vector<KeptWork> work;
        std::transform(entries.begin(), entries.end(), std::back_inserter(work), Describe);
        const RecoveryAnswer answer = m_prompts.AskAboutRecovery(work);
        if (answer.action == RecoveryAnswer::Action::Later || answer.index >= entries.size())
            return std::nullopt;
        const auto chosen = entries.begin() + static_cast<std::ptrdiff_t>(answer.index);
        if (answer.action == RecoveryAnswer::Action::Recover) {
            RecoveryEntry entry = std::move(*chosen);
            entries.erase(chosen);
            return entry;
        }
        if (m_prompts.ConfirmDiscard(work[answer.index])) {
            m_store.Remove(chosen->key);
            entries.erase(chosen);
        }
    }
    return std::nullopt;
}

std::optional<RecoveryEntry> RecoveryOffer::OfferFor(const std::string& path)
{
    std::vector<RecoveryEntry> entries = Undecided();
    std::erase_if(entries, [&](const RecoveryEntry& entry) { return !IsKeptFor(entry, path); });
    return Ask(entries);
}

int RecoveryOffer::OfferAtStart(const std::vector<std::string>& opening, const std::function<bool(const RecoveryEntry&)>& recover)
{
    std::vector<RecoveryEntry> entries = Undecided();
    // Work for a notebook about to open is offered as it opens.
    std::erase_if(entries, [&](const RecoveryEntry& entry) {
        return std::any_of(opening.begin(), opening.end(), [&](const std::string& path) { return IsKeptFor(entry, path); });
    });
    int recovered = 0;
    while (const std::optional<RecoveryEntry> chosen = Ask(entries)) {
        if (!recover(*chosen))
            continue;
        ++recovered;
        // A notebook has one window: its other work waits until that window is gone.
        if (!chosen->notebookPath.empty())
            std::erase_if(entries, [&](const RecoveryEntry& entry) { return IsKeptFor(entry, chosen->notebookPath); });
    }
    return recovered;
}
