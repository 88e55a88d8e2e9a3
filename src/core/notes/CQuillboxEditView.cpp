#include "notes/CQuillboxEditView.h"

#include "doc/CQuillboxDoc.h"
#include "platform/CommandHandlers.h"
#include "platform/CommandIds.h"
#include "platform/EditControl.h"
#include "platform/Printer.h"
#include "platform/Translatable.h"
#include "dialogs/Prompts.h"

namespace {

// The function keys the editor turns into sends, with their send keys. F1, F2, F3, F6 and F10
// belong to help, the accelerators and the pane switch.
const char* SendKeyOf(Key key)
{
    switch (key) {
    case Key::F4: return "F4";
    case Key::F5: return "F5";
    case Key::F7: return "F7";
    case Key::F8: return "F8";
    case Key::F9: return "F9";
    case Key::F11: return "F11";
    case Key::F12: return "F12";
    default: return nullptr;
    }
}

} // namespace

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

void CQuillboxEditView::OnKeyDown(Key key)
{
    if (key == Key::Shift)
        m_bShiftDown = true;
    else if (const char* sendKey = SendKeyOf(key))
        SendNoteToFolder(sendKey);
}

void CQuillboxEditView::OnKeyUp(Key key)
{
    if (key == Key::Shift)
        m_bShiftDown = false;
}

bool CQuillboxEditView::OnChar(char ch)
{
    if (ch != '\r' || !m_bShiftDown)
        return false;
    m_bShiftDown = false;
    InsertNoteHeader();
    return true;
}

void CQuillboxEditView::OnKillFocus()
{
    m_bShiftDown = false;
}

// The menu is the control's whole handling of the click: the caret stays where it was, so the
// chosen command acts on the note at the caret.
void CQuillboxEditView::OnRButtonDown(int x, int y)
{
    const int id = m_pDoc->GetServices().pPrompts->TrackPopupMenu(cmd::NoteContextMenu, x, y);
    if (id != 0)
        m_pDoc->RunCommand(id);
}

void CQuillboxEditView::OnPrintFolder()
{
    const Services& services = m_pDoc->GetServices();
    if (!services.pPrinter) {
        services.pPrompts->Tell({ Message::Kind::PrintingUnavailable });
        return;
    }
    Printer& printer = *services.pPrinter;
    switch (printer.GetDestination()) {
    case Printer::Destination::Printer:
        break;
    case Printer::Destination::None:
        // Without a printer the folder can still go to a PDF file.
        if (!services.pPrompts->Ask({ Question::Kind::PrintToPdf }))
            return;
        [[fallthrough]];
    case Printer::Destination::PdfFile: {
        // The user names the file for every print, the last one offered, so no print replaces
        // an earlier one unasked.
        const auto path = services.pPrompts->ChooseSaveFile({ QB_TRANSLATE_NOOP("FileChooser", "PDF Files (*.pdf)|*.pdf||"), "pdf", true, printer.GetPdfPath() });
        if (!path)
            return;
        printer.PrintToPdf(*path);
        break;
    }
    }
    if (const auto error = printer.PrintText(m_edit.GetText(), kMarginTwips))
        services.pPrompts->Tell({ Message::Kind::PrintFailed, *error });
}

namespace {

const CommandHandler<CQuillboxEditView> kCommands[] = {
    { cmd::NewNote, &CQuillboxEditView::OnNewNote },
    { cmd::DeleteNote, &CQuillboxEditView::OnDeleteNote },
    { cmd::MoveCopyNote, &CQuillboxEditView::OnMoveCopyNote },
    { cmd::PrintFolder, &CQuillboxEditView::OnPrintFolder },
};

} // namespace

bool CQuillboxEditView::HasCommand(int id)
{
    return FindCommandHandler(kCommands, id) != nullptr;
}

bool CQuillboxEditView::OnCommand(int id)
{
    return RunCommandHandler(kCommands, *this, id);
}
