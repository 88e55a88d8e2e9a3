#pragma once

#include <string>
#include <vector>

#include "dialogs/SortedList.h"
#include "model/KeyAssignment.h"
#include "platform/Translatable.h"

// "Assign Keys to Folders": three working lists that the command fills before the dialog runs
// and reads back after OK, each shown in a sorted list (the folders, the keys, the
// assignments), and the Move/Copy choice.
class CAssignKeysDlg
{
public:
    static constexpr const char* kCaption = QB_TRANSLATE_NOOP("Dialog", "Assign Keys to Folders");

    // Fills the three lists from the working lists and selects "Move Note".
    void OnInitDialog();
    // Assign and Unassign; each does nothing without the selections it needs.
    void OnAssign();
    void OnUnassign();

    // "Ideas (F5) Copy"
    static std::string AssignmentLine(const KeyAssignment& row);

    std::vector<std::string> m_availFolders;
    std::vector<std::string> m_availKeys;
    std::vector<KeyAssignment> m_assignments;
    int m_nFunction = 0; // 0 "Move Note", 1 "Copy Note"

    SortedList m_folderList;
    SortedList m_keyList;
    SortedList m_assignList;

private:
    // The serial number of each row of m_assignments, in step with it. Each assignment line
    // carries its row's serial, so Unassign finds the row whatever characters the folder name
    // holds.
    std::vector<long> m_rowSerials;
    long m_nextSerial = 1;
};
