#include "notes/CQuillboxEditView.h"

void CQuillboxEditView::OnNewNote() {}
void CQuillboxEditView::OnDeleteNote() {}
void CQuillboxEditView::OnMoveCopyNote() {}
void CQuillboxEditView::SendNoteToFolder(const std::string&) {}
void CQuillboxEditView::DeleteNoteAtCursor() {}
void CQuillboxEditView::OnPrintFolder() {}
void CQuillboxEditView::OnKeyDown(Key) {}
void CQuillboxEditView::OnKeyUp(Key) {}
bool CQuillboxEditView::OnChar(char) { return false; }
void CQuillboxEditView::OnKillFocus() {}
void CQuillboxEditView::OnRButtonDown(int, int) {}
bool CQuillboxEditView::OnCommand(int) { return false; }
bool CQuillboxEditView::HasCommand(int) { return false; }
