#pragma once

#include <QDialog>
#include <vector>

#include "dialogs/Prompts.h"

class QTreeWidget;

// The recovery question: the work Quillboxes that ended before saving it kept, newest first,
// each with the notebook it belongs to, when it was kept and when the notebook was last saved;
// Recover the chosen work, Discard it (asked once more), or Decide Later, which keeps it all.
class RecoveryDialog : public QDialog
{
    Q_OBJECT

public:
    RecoveryDialog(const std::vector<KeptWork>& work, QWidget* parent = nullptr);

    RecoveryAnswer GetAnswer() const { return m_answer; }

    // "2026-12-08 14:51:07" for a time in milliseconds since 1970.
    static QString TimeText(int64_t ms);
    // The notebook's file name, or "Untitled notebook".
    static QString NotebookName(const KeptWork& work);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Answer(RecoveryAnswer::Action action);

    QTreeWidget* m_pList;
    RecoveryAnswer m_answer;
};
