#pragma once

#include <QObject>
#include <QWidget>
#include <functional>

// Calls `onActivate` each time a window becomes the active one again: the moment to look at
// what other programs did meanwhile.
class ActivationWatch : public QObject
{
public:
    ActivationWatch(QWidget* pWindow, std::function<void()> onActivate, QObject* pParent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> m_onActivate;
};
