#include "notes/CQuillboxEditView.h"

#include "doc/CQuillboxDoc.h"
#include "platform/EditControl.h"

CQuillboxEditView::CQuillboxEditView(CQuillboxDoc* pDoc, EditControl& edit)
    : m_pDoc(pDoc)
    , m_edit(edit)
{
    m_edit.SetChangeHandler([this] { m_pDoc->SetModifiedFlag(); });
}

void CQuillboxEditView::OnCreate()
{
    m_edit.LimitText(kTextLimit);
}
