#include "doc/CQuillboxDoc.h"

void CQuillboxDoc::OnNewFolder() {}
void CQuillboxDoc::OnRenameFolder() {}
void CQuillboxDoc::OnDeleteFolder() {}
void CQuillboxDoc::DeleteSelectedFolder() {}
void CQuillboxDoc::OnEmptyTrash() {}
