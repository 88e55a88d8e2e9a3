#include "dialogs/CAssignKeysDlg.h"

void CAssignKeysDlg::OnInitDialog() {}
void CAssignKeysDlg::OnAssign() {}
void CAssignKeysDlg::OnUnassign() {}
std::string CAssignKeysDlg::AssignmentLine(const KeyAssignment& row) { return row.folderName + " (" + row.key + ") " + row.function; }
