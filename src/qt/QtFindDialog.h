#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

// The editor's Find dialog: finds the next match from the caret, up or down, and selects it.
class QtFindDialog : public QDialog
{
    Q_OBJECT

public:
    explicit QtFindDialog(QPlainTextEdit* pEditor);

    // Selects the next match; false, with a note in the dialog, when there is none.
    bool FindNext();

private:
    QPlainTextEdit* m_pEditor;
    QLineEdit* m_pText;
    QCheckBox* m_pWholeWord;
    QCheckBox* m_pMatchCase;
    QRadioButton* m_pUp;
    QLabel* m_pStatus;
};
