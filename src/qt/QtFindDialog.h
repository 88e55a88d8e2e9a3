#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QtEditControl;

// The editor's Find dialog: finds the next match from the caret, up or down, and selects it.
class QtFindDialog : public QDialog
{
    Q_OBJECT

public:
    explicit QtFindDialog(QtEditControl* pEditor);

    // Selects the next match; false, with a note in the dialog, when there is none.
    bool FindNext();

private:
    QtEditControl* m_pEditor;
    QLineEdit* m_pText;
    QCheckBox* m_pWholeWord;
    QCheckBox* m_pMatchCase;
    QRadioButton* m_pUp;
    QLabel* m_pStatus;
};
