#include "doc/CQuillboxDoc.h"

void CQuillboxDoc::OnExportFolder() {}
void CQuillboxDoc::OnImportFolder() {}
SaveResult CQuillboxDoc::ExportFolder(const std::string&) { return {}; }
ReadReport CQuillboxDoc::ImportFolder(const std::string&) { return {}; }
