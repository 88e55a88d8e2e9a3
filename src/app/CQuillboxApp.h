#pragma once

#include <QStringList>
#include <memory>

#include "qt/QtSettings.h"

class CMainFrame;
class SessionGuard;

// The program's start-up: the settings, the main window, the notebooks named on the command
// line and the Run Tutorial prompt.
class CQuillboxApp
{
public:
    CQuillboxApp();
    ~CQuillboxApp();

    // Runs the start-up; false when the program must end (a notebook could not be opened, or
    // IsEnding). arguments: the program's name, then the notebook files to open (none: a new
    // notebook).
    bool InitInstance(const QStringList& arguments);
    // A signal told the program to end; its unsaved work is kept already.
    bool IsEnding() const;

    CMainFrame* GetMainFrame() const { return m_pMainFrame.get(); }

private:
    void OfferTutorial();

    QtSettings m_settings;
    std::unique_ptr<CMainFrame> m_pMainFrame;
    std::unique_ptr<SessionGuard> m_pSessionGuard;
};
