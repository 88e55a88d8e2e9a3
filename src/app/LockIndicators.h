#pragma once

#include <QWidget>
#include <functional>
#include <optional>

#include "app/KeyboardLocks.h"

class QKeyEvent;
class QLabel;

// The status bar's CAP, NUM and SCRL panes. They show the keyboard's real lock state, read at
// start, whenever the focus or the active window changes and on each key release, so a lock
// switched while another program had the keyboard shows correctly. Where the platform cannot
// tell, Caps Lock and Num Lock follow the lock bits that key events carry (X11 and Wayland
// report them as native modifiers) and Scroll Lock its own key presses.
class LockIndicators : public QWidget
{
    Q_OBJECT
public:
    using StateSource = std::function<std::optional<LockState>()>;

    explicit LockIndicators(StateSource source = ReadKeyboardLocks, QWidget* parent = nullptr);

    // bFocusTarget: the event is the first delivery of the key (not its propagation to a parent).
    void OnKeyEvent(const QKeyEvent& event, bool bFocusTarget);
    // Reads the lock state again.
    void Refresh();

private:
    static QLabel* MakePane(const QString& text, const char* objectName, QWidget* parent);
    static void NameLock(QLabel* pPane, const QString& on, const QString& off);
    static void ShowPane(QLabel* pPane, bool bOn);

    StateSource m_source;
    QLabel* m_pCap;
    QLabel* m_pNum;
    QLabel* m_pScroll;
    bool m_bScrollLock = false; // followed by its key where the platform cannot tell
    bool m_bRealState = false;  // the last reading came from the platform
};
