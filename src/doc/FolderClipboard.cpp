#include "doc/CQuillboxDoc.h"

void CQuillboxDoc::OnCutFolder() {}
void CQuillboxDoc::OnCopyFolder() {}
void CQuillboxDoc::OnPasteFolder() {}
void CQuillboxDoc::CopyFolderTree(Folder*, Folder*) {}
void CQuillboxDoc::PasteFolderTree(Folder*) {}
