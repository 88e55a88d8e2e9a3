#pragma once

#include <QDialog>

#include <functional>
#include <vector>

#include "merge/NotebookMerge.h"
#include "words/MergeWords.h"

class QLabel;
class QPushButton;
class QTreeWidget;
class TextCodec;

// What a merge of another program's change into the window's notebook needed a choice about:
// one line a folder or note (its path, the note's header and what happened), conflicts first
// said so. It stays open beside the notebook: Go To, Return or a double-click shows the chosen
// line's folder and note in the window, and the list is there for the next.
class QtMergeEventsDialog : public QDialog
{
    Q_OBJECT

public:
    // `intro` says what was merged, `labels` name its sides; `goTo` shows an event in the
    // window, false when its folder is gone.
    QtMergeEventsDialog(const std::vector<MergeEvent>& events, const MergeLabels& labels, const QString& intro,
                        const TextCodec& codec, std::function<bool(const MergeEvent&)> goTo, QWidget* parent);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void GoTo();

    std::vector<MergeEvent> m_events;
    std::function<bool(const MergeEvent&)> m_goTo;
    QTreeWidget* m_pList;
    QLabel* m_pStatus;
    QPushButton* m_pGoTo;
};
