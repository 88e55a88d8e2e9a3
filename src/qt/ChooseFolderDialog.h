#pragma once

#include <QDialog>

class CChooseFolderDlg;
class QListWidget;
class TextCodec;

// "Choose Folder": the notebook's folder names, sorted, with "Move Note" (the default, also a
// double-click) and "Copy Note".
class ChooseFolderDialog : public QDialog
{
    Q_OBJECT

public:
    ChooseFolderDialog(CChooseFolderDlg& dlg, TextCodec& codec, QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* pWatched, QEvent* event) override;

private:
    CChooseFolderDlg& m_dlg;
    QListWidget* m_pList;
};
