#pragma once

#include <QObject>

// Shift+F1 and the toolbar's Help button: the cursor becomes a question mark and the next click
// anywhere in the program asks for help instead of acting; Escape leaves the mode.
class ContextHelpMode : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    void Enter();
    bool IsActive() const { return m_bActive; }

signals:
    void activeChanged(bool bActive);
    // A click in the mode: show the help.
    void helpRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Leave();

    bool m_bActive = false;
};
