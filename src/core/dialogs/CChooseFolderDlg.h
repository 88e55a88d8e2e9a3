#pragma once

#include <string>
#include <vector>

#include "dialogs/SortedList.h"
#include "platform/Translatable.h"

// The folder list of Move/Copy Note: the caller fills m_folderNames; on OK m_strFolder holds
// the chosen name and m_bMove says whether to move (1) or copy (0).
class CChooseFolderDlg
{
public:
    static constexpr const char* kCaption = QB_TRANSLATE_NOOP("Dialog", "Choose Folder");

    // Fills the list in array order (the list sorts) and selects its first line.
    void OnInitDialog();
    // "Move Note", Enter and a double-click; "Copy Note". Both end the dialog with OK. A
    // double-click selects its line first; one beside the lines keeps the selection.
    void OnMoveNote();
    void OnCopyNote();
    void OnDblClkList(int index);

    std::vector<std::string> m_folderNames;
    std::string m_strFolder;
    int m_bMove = 0;
    SortedList m_list;

private:
    void Choose(int bMove);
};
