#pragma once

#include <memory>
#include <string>
#include <type_traits>
#include <utility>

#include "model/KeyAssignment.h"
#include "storage/SharedText.h"
#include "platform/TreeControl.h"

// One node of a notebook's folder tree. The document owns every folder and frees it; a folder
// owns only its key record. Sibling lists run in the order of the notebook's file. The fields are read and written
// directly; only the key, an optional record, goes through functions.
class Folder
{
public:
    bool HasKey() const { return m_pKey != nullptr; }
    const KeyAssignment* GetKey() const { return m_pKey.get(); }
    void SetKey(const std::string& key, const std::string& function)
    {
        m_pKey = std::make_unique<KeyAssignment>(KeyAssignment { {}, key, function });
    }
    void ClearKey() { m_pKey.reset(); }

    // The folder's notes, but for the selected folder: its notes live in the editor, and this
    // is not kept current meanwhile (CQuillboxDoc::GetFolderText gives either).
    SharedText m_text;
    std::string m_name;
    TreeItem m_hItem = kNoItem;
    std::unique_ptr<KeyAssignment> m_pKey;
    Folder* m_pParent = nullptr;
    Folder* m_pFirstChild = nullptr;
    Folder* m_pNext = nullptr;
    Folder* m_pPrev = nullptr;
};

// Cuts a folder from the siblings that follow it while it lives, so that what goes on from a
// folder to its next siblings (the record writer, the subtree copy) takes the one subtree. The
// link comes back however the scope is left, an exception included.
class SiblingCut
{
public:
    explicit SiblingCut(Folder* pFolder)
        : m_pFolder(pFolder)
        , m_pNext(std::exchange(pFolder->m_pNext, nullptr))
    {
    }
    ~SiblingCut() { m_pFolder->m_pNext = m_pNext; }
    SiblingCut(const SiblingCut&) = delete;
    SiblingCut& operator=(const SiblingCut&) = delete;

private:
    Folder* m_pFolder;
    Folder* m_pNext;
};

// Calls visit(folder) for pStart and its subtree and, when bWithSiblings is set, for pStart's
// following siblings with their subtrees, in the notebook file's pre-order: a folder, its
// children's chain, then its next siblings. A visit that returns true ends the walk.
// Iterative, so neither depth nor sibling count can exhaust the stack.
template <typename Visit>
void WalkFolders(Folder* pStart, Visit&& visit, bool bWithSiblings = true)
{
    Folder* pFolder = pStart;
    size_t depth = 0;
    while (pFolder) {
        if constexpr (std::is_same_v<decltype(visit(pFolder)), bool>) {
            if (visit(pFolder))
                return;
        } else {
            visit(pFolder);
        }
        if (pFolder->m_pFirstChild) {
            pFolder = pFolder->m_pFirstChild;
            ++depth;
            continue;
        }
        for (;;) {
            if (depth == 0) {
                pFolder = bWithSiblings ? pFolder->m_pNext : nullptr;
                break;
            }
            if (pFolder->m_pNext) {
                pFolder = pFolder->m_pNext;
                break;
            }
            pFolder = pFolder->m_pParent;
            --depth;
        }
    }
}
