#pragma once

#include <QTextBrowser>

#include "platform/HelpEngine.h"

// The help pages (":/help/index.html" and the tutorial topic) in a window of their own.
class HelpWindow : public QTextBrowser, public HelpEngine
{
    Q_OBJECT

public:
    explicit HelpWindow(QWidget* parent = nullptr);

    void ShowContents() override;
    void ShowContext(unsigned long context) override;

private:
    void ShowPage(const QString& page);
};
