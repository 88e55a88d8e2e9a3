#pragma once

#include <QDialog>

class QCheckBox;

// Offered at start while the settings ask for it: run the tutorial or skip it, and whether to
// ask again next time.
class CRunTutorialDlg : public QDialog
{
    Q_OBJECT
public:
    static constexpr const char* kCaption = QT_TRANSLATE_NOOP("CRunTutorialDlg", "Run Tutorial");
    static constexpr const char* kFirstParagraph = QT_TRANSLATE_NOOP("CRunTutorialDlg",
        "There is a short tutorial for first-time users of Quillbox.  Although Quillbox is quite easy to use, it is "
        "suggested that first-time users take a few minutes to go through the tutorial to learn some of the basics "
        "of Quillbox. ");
    static constexpr const char* kSecondParagraph = QT_TRANSLATE_NOOP("CRunTutorialDlg",
        "If you want to go through the tutorial at a later time, you may always do so by selecting \"Tutorial\" from "
        "the \"Help\" menu.");
    static constexpr const char* kShowPromptText = QT_TRANSLATE_NOOP("CRunTutorialDlg", "Show this prompt each time you run Quillbox.");

    explicit CRunTutorialDlg(QWidget* parent = nullptr);

    // Follows the check box at once, so it holds whichever button ends the dialog.
    int m_bShowPrompt = 1;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QCheckBox* m_pShowPrompt;
};
