#pragma once

#include <QWidget>

class QKeyEvent;
class QLabel;

// The status bar's CAP, NUM and SCRL panes. Caps Lock and Num Lock are read from the lock bits
// that key events carry (X11 and Wayland report them as native modifiers); Scroll Lock, which
// is seldom a modifier, follows its own key presses.
class LockIndicators : public QWidget
{
    Q_OBJECT
public:
    explicit LockIndicators(QWidget* parent = nullptr);

    // bFocusTarget: the event is the first delivery of the key (not its propagation to a parent).
    void OnKeyEvent(const QKeyEvent& event, bool bFocusTarget);

private:
    static QLabel* MakePane(const char* text, const char* objectName, QWidget* parent);
    static void ShowPane(QLabel* pPane, bool bOn);

    QLabel* m_pCap;
    QLabel* m_pNum;
    QLabel* m_pScroll;
    bool m_bScrollLock = false;
};
