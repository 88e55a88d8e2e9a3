#pragma once

#include <QTextBrowser>

#include "platform/HelpEngine.h"

// The help pages (index.html and the tutorial topic) in a window of their own.
class HelpWindow : public QTextBrowser, public HelpEngine
{
    Q_OBJECT

public:
    explicit HelpWindow(QWidget* parent = nullptr);

    void ShowContents() override;
    void ShowContext(unsigned long context) override;

    // Where the help pages are, installed or in the build tree; empty when they are missing.
    static QString PagesFolder();

private:
    void ShowPage(const QString& page);
};
