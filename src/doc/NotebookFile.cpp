#include "doc/CQuillboxDoc.h"

ReadReport CQuillboxDoc::OnOpenDocument(const std::string&) { return {}; }
SaveResult CQuillboxDoc::OnSaveDocument(const std::string&) { return {}; }
void CQuillboxDoc::WriteFolder(Folder*, std::string&, bool) const {}
bool CQuillboxDoc::ReadFolder(LineReader&) { return false; }
