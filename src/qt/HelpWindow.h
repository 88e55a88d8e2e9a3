#pragma once

#include <QMainWindow>
#include <QTextBrowser>

#include "platform/HelpEngine.h"

// The help pages (index.html and the tutorial topic) in the window's language, in a window of
// their own, with Back, Forward and Home (the contents) on a toolbar; Escape or Ctrl+W closes it.
class HelpWindow : public QMainWindow, public HelpEngine
{
    Q_OBJECT

public:
    explicit HelpWindow(QWidget* parent = nullptr);

    void ShowContents() override;
    void ShowContext(unsigned long context) override;

    QTextBrowser& GetBrowser() { return *m_pBrowser; }
    // Where the help pages are, installed or in the build tree; empty when they are missing.
    static QString PagesFolder();
    // A page in the window's language where there is one, else in English; empty when missing.
    static QString PagePath(const QString& page);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ShowPage(const QString& page);

    QTextBrowser* m_pBrowser;
};
