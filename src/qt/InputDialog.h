#pragma once

#include <QDialog>

class CInputDlg;
class QLineEdit;
class TextCodec;

// "Input Dialog": the caller's label over a one-line field that opens fully selected.
class InputDialog : public QDialog
{
    Q_OBJECT

public:
    InputDialog(CInputDlg& dlg, TextCodec& codec, QWidget* parent = nullptr);

    void accept() override;

private:
    CInputDlg& m_dlg;
    TextCodec& m_codec;
    QLineEdit* m_pEdit;
};
