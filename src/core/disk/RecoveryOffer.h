#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "storage/RecoveryStore.h"
#include "dialogs/Prompts.h"

// What becomes of the work that Quillboxes which ended before saving it kept. The work is the
// user's to discard: it is removed only when the user discards it (and says so twice), or when
// the notebook's file holds exactly that work, byte for byte; a newer time on the file proves
// nothing. Everything else is offered, newest first, until the user recovers a piece of it or
// decides later, which keeps it all.
class RecoveryOffer
{
public:
    // `isOwnLive` tells whether a key of this program's own belongs to one of its windows.
    RecoveryOffer(RecoveryStore store, Prompts& prompts, std::function<bool(const std::string& key)> isOwnLive);

    // Opening the notebook at `path` (by whatever name its file was kept): the work chosen to
    // recover, or nothing when the notebook opens as it was saved.
    std::optional<RecoveryEntry> OfferFor(const std::string& path);
    // Starting without a notebook to open, or with `opening` only: the work kept for any other
    // notebook, saved or untitled. `recover` takes each piece the user chooses into a window,
    // false when it could not (the work then stays kept). Returns how many were recovered.
    int OfferAtStart(const std::vector<std::string>& opening, const std::function<bool(const RecoveryEntry&)>& recover);

private:
    // The work no running program looks after, newest first, that the user still has to
    // decide on: what its notebook's file holds already is removed.
    std::vector<RecoveryEntry> Undecided() const;
    // Asks about `entries` until the user recovers one (taken out and returned), decides later,
    // or discards them all.
    std::optional<RecoveryEntry> Ask(std::vector<RecoveryEntry>& entries);

    RecoveryStore m_store;
    Prompts& m_prompts;
    std::function<bool(const std::string&)> m_isOwnLive;
};

// Whether a recovery entry was kept for the notebook at `path`, by that name or another name of
// the same file.
bool IsKeptFor(const RecoveryEntry& entry, const std::string& path);
