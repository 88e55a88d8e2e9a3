#include "doc/CQuillboxDoc.h"

void CQuillboxDoc::OnNoteHeaderPrefs() {}
void CQuillboxDoc::OnDeleteFolderPrefs() {}
void CQuillboxDoc::OnAssignKeys() {}
