#include "app/CQuillboxApp.h"

#include "app/CMainFrame.h"
#include "app/CRunTutorialDlg.h"
#include "app/SessionGuard.h"
#include "dialogs/TutorialPrompt.h"
#include "platform/CommandIds.h"
#include "qt/HelpWindow.h"

CQuillboxApp::CQuillboxApp() = default;
CQuillboxApp::~CQuillboxApp() = default;

bool CQuillboxApp::InitInstance(const QStringList& arguments)
{
    m_pMainFrame = std::make_unique<CMainFrame>(m_settings);
    m_pSessionGuard = std::make_unique<SessionGuard>(*m_pMainFrame);

    // A signal may come while a question waits for the user; each step after one checks.
    const QStringList files = arguments.mid(1);
    const int recovered = m_pMainFrame->RecoverAtStart(files);
    if (IsEnding())
        return false;
    if (files.isEmpty() && recovered == 0) {
        if (!m_pMainFrame->NewNotebook())
            return false;
    }
    for (const QString& file : files) {
        if (!m_pMainFrame->OpenNotebook(file) || IsEnding())
            return false;
    }

    m_pMainFrame->show();
    OfferTutorial();
    return !IsEnding();
}

bool CQuillboxApp::IsEnding() const
{
    return m_pSessionGuard && m_pSessionGuard->IsEnding();
}

void CQuillboxApp::OfferTutorial()
{
    if (!ShouldOfferTutorial(m_settings.ReadString(kTutorialPromptValue)))
        return;
    CRunTutorialDlg dlg(m_pMainFrame.get());
    if (dlg.exec() == QDialog::Accepted)
        m_pMainFrame->GetHelp().ShowContext(cmd::TutorialHelpContext);
    // Ended by a signal, the prompt was not answered.
    if (IsEnding())
        return;
    m_settings.WriteString(kTutorialPromptValue, TutorialPromptValue(dlg.m_bShowPrompt == 1));
}
