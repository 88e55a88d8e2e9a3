#include <QApplication>
#include <QTest>

#include "QtNotebook.h"
#include "platform/CommandIds.h"

namespace {

const std::string kHeader = "------ New Note 12/06/97 ------\r\n";

} // namespace

// The folder tree's control driven by keys and clicks, with the real folder logic behind it.
class QtTreeControlTest : public QObject
{
    Q_OBJECT

private slots:
    void foldersShowClosedAndTheSelectedOneOpen()
    {
        auto nb = QtNotebook::New();
        QCOMPARE(nb->Dump(), std::string("Main*,Trash"));
        const QIcon icon = nb->ItemOf("Main")->icon(0);
        const QImage closed = icon.pixmap(16, QIcon::Normal).toImage();
        const QImage open = icon.pixmap(16, QIcon::Selected).toImage();
        QVERIFY(!closed.isNull());
        QVERIFY(!open.isNull());
        QVERIFY(closed != open);
    }

    void namesSortWithoutRegardToCase()
    {
        auto nb = QtNotebook::New();
        InBatch(*nb->edit, [&] {
            const TreeItem hMain = nb->doc.FindFolderByName("Main")->m_hItem;
            for (const char* name : { "beta", "Alpha", "gamma", "ALPHA" }) {
                nb->tree->SelectItem(hMain);
                nb->doc.AddFolder(false, name, {}, true, {}, {});
            }
        });
        QCOMPARE(nb->Dump(), std::string("Main[ALPHA*,Alpha,beta,gamma],Trash"));

        // Renaming sorts one level again; the selection and the expansion stay.
        const TreeItem hBeta = nb->doc.FindFolderByName("beta")->m_hItem;
        nb->tree->SetItemText(hBeta, "aardvark");
        nb->tree->SortChildren(nb->tree->GetParentItem(hBeta));
        QCOMPARE(nb->Dump(), std::string("Main[aardvark,ALPHA*,Alpha,gamma],Trash"));
        QVERIFY(nb->ItemOf("Main")->isExpanded());
        QCOMPARE(nb->tree->GetItemText(hBeta), std::string("aardvark"));
    }

    void aBatchInsertGivesTheTreeThatInsertingOneByOneGives()
    {
        // Nesting, names equal or equal but for case, and a name equal to a sibling already there.
        const std::vector<TreeInsert> batch = {
            { "beta", kNoItem, -1 }, { "Alpha", kNoItem, 0 }, { "beta", kNoItem, -1 }, { "alpha", kNoItem, 0 },
            { "Alpha", kNoItem, 0 }, { "inner", kNoItem, 4 }, { "Main", kNoItem, -1 },
        };
        auto oneByOne = QtNotebook::New();
        auto atOnce = QtNotebook::New();
        // Each item's name with its handle, which both trees hand out in the same order.
        auto dump = [](const QtTreeControl& tree) {
            std::string out;
            std::vector<const QTreeWidgetItem*> pending;
            for (int i = tree.topLevelItemCount() - 1; i >= 0; --i)
                pending.push_back(tree.topLevelItem(i));
            while (!pending.empty()) {
                const QTreeWidgetItem* pItem = pending.back();
                pending.pop_back();
                out += tree.GetItemText(tree.HandleOf(pItem)) + "#" + std::to_string(tree.HandleOf(pItem)) + " ";
                for (int i = pItem->childCount() - 1; i >= 0; --i)
                    pending.push_back(pItem->child(i));
            }
            return out;
        };
        const TreeItem hMain = oneByOne->doc.FindFolderByName("Main")->m_hItem;
        for (auto* pNotebook : { oneByOne.get(), atOnce.get() })
            pNotebook->tree->InsertItem("beta", hMain, true);
        std::vector<TreeItem> handles;
        for (const TreeInsert& insert : batch) {
            const TreeItem parent = insert.batchParent >= 0 ? handles[static_cast<size_t>(insert.batchParent)] : hMain;
            handles.push_back(oneByOne->tree->InsertItem(std::string(insert.text), parent, true));
        }
        std::vector<TreeInsert> underMain = batch;
        for (TreeInsert& insert : underMain)
            insert.parent = insert.batchParent < 0 ? hMain : kNoItem;
        QCOMPARE(atOnce->tree->InsertSorted(underMain), handles);
        QCOMPARE(QString::fromStdString(dump(*atOnce->tree)), QString::fromStdString(dump(*oneByOne->tree)));
        QCOMPARE(atOnce->Dump(), std::string("Main*[beta,beta[Alpha,Alpha[inner],alpha],beta,Main],Trash"));
    }

    void clickMovesTheTextBeforeTheNewSelectionShows()
    {
        auto nb = QtNotebook::New();
        nb->edit->moveCursor(QTextCursor::End);
        QTest::keyClicks(nb->edit, "Hello");
        const TreeItem hMain = nb->doc.FindFolderByName("Main")->m_hItem;
        TreeItem selectedDuringChange = kNoItem;
        nb->tree->SetSelectionHandler([&nb, &selectedDuringChange](TreeItem hNew) {
            selectedDuringChange = nb->tree->GetSelectedItem();
            nb->treeView.OnSelChanging(hNew);
        });
        nb->tree->setFocus();
        QTest::mouseClick(nb->tree->viewport(), Qt::LeftButton, {}, nb->PointOf("Trash"));
        QCOMPARE(selectedDuringChange, hMain);
        QCOMPARE(nb->doc.GetSelFolder()->m_name, std::string("Trash"));
        QCOMPARE(nb->doc.FindFolderByName("Main")->m_text, kHeader + "Hello");
        QCOMPARE(nb->edit->GetText(), std::string());
        QCOMPARE(nb->Dump(), std::string("Main,Trash*"));
    }

    void arrowKeysMoveTheSelectionThroughTheView()
    {
        auto nb = QtNotebook::New();
        nb->tree->setFocus();
        QTest::keyClick(nb->tree, Qt::Key_Down);
        QCOMPARE(nb->doc.GetSelFolder()->m_name, std::string("Trash"));
        QCOMPARE(nb->doc.FindFolderByName("Main")->m_text, kHeader);
        QTest::keyClick(nb->tree, Qt::Key_Up);
        QCOMPARE(nb->doc.GetSelFolder()->m_name, std::string("Main"));
        QCOMPARE(nb->edit->GetText(), kHeader);
        QCOMPARE(nb->doc.FindFolderByName("Main")->m_text, std::string());
    }

    void returnHandsTheFocusToTheEditorAtTheEnd()
    {
        auto nb = QtNotebook::New();
        nb->edit->SetSel(0, 0);
        nb->tree->setFocus();
        QTRY_VERIFY(nb->tree->hasFocus());
        QTest::keyClick(nb->tree, Qt::Key_Return);
        QTRY_VERIFY(nb->edit->hasFocus());
        QCOMPARE(nb->edit->GetText(), kHeader);
        QCOMPARE(nb->edit->textCursor().position(), static_cast<int>(kHeader.size()) - 1);
        QCOMPARE(nb->Dump(), std::string("Main*,Trash"));
    }

    void shiftReturnStartsANoteAtTheEndOfTheFolder()
    {
        auto nb = QtNotebook::New();
        nb->edit->SetText(kHeader + "last line");
        nb->edit->SetSel(0, 0);
        nb->tree->setFocus();
        QTRY_VERIFY(nb->tree->hasFocus());
        QTest::keyClick(nb->tree, Qt::Key_Return, Qt::ShiftModifier);
        QCOMPARE(nb->edit->GetText(), kHeader + "last line\r\n" + kHeader);
    }

    void clicksThatKeepTheFocusInTheTree()
    {
        auto nb = QtNotebook::New();
        nb->tree->setFocus();
        QTRY_VERIFY(nb->tree->hasFocus());
        QTest::mouseClick(nb->tree->viewport(), Qt::LeftButton, Qt::ShiftModifier, nb->PointOf("Trash"));
        QCOMPARE(nb->doc.GetSelFolder()->m_name, std::string("Trash"));
        QVERIFY(nb->tree->hasFocus());
        // A click beside the items, or with Ctrl on the selected one, leaves the folder
        // selected and showing it: Delete acts on the folder the user sees highlighted.
        const QPoint below(5, nb->tree->viewport()->height() - 5);
        QTest::mouseClick(nb->tree->viewport(), Qt::LeftButton, {}, below);
        QVERIFY(nb->tree->hasFocus());
        QVERIFY(nb->ItemOf("Trash")->isSelected());
        QTest::mouseClick(nb->tree->viewport(), Qt::LeftButton, Qt::ControlModifier, nb->PointOf("Trash"));
        QCOMPARE(nb->doc.GetSelFolder()->m_name, std::string("Trash"));
        QCOMPARE(nb->tree->selectedItems(), QList<QTreeWidgetItem*>({ nb->ItemOf("Trash") }));
    }

    void rightClickLeavesTheSelection()
    {
        auto nb = QtNotebook::New();
        nb->prompts.ExpectPopupMenu(cmd::FolderContextMenu, 0);
        QTest::mouseClick(nb->tree->viewport(), Qt::RightButton, {}, nb->PointOf("Trash"));
        QCOMPARE(nb->Dump(), std::string("Main*,Trash"));
        QCOMPARE(nb->doc.GetSelFolder()->m_name, std::string("Main"));
        nb->prompts.ReportUnfinished();
    }

    void deletingTheSelectedFolderSelectsItsNeighbourFirst()
    {
        auto nb = QtNotebook::New();
        InBatch(*nb->edit, [&] {
            nb->doc.AddFolder(false, "Alpha", "alpha text", true, {}, {});
            nb->tree->SelectItem(nb->doc.FindFolderByName("Main")->m_hItem);
            nb->doc.AddFolder(false, "Beta", {}, true, {}, {});
        });
        const TreeItem hBeta = nb->doc.FindFolderByName("Beta")->m_hItem;
        bool bBetaStillThere = false;
        nb->tree->SetSelectionHandler([&nb, &bBetaStillThere, hBeta](TreeItem hNew) {
            bBetaStillThere = nb->tree->ItemOf(hBeta) != nullptr;
            nb->treeView.OnSelChanging(hNew);
        });
        nb->doc.SetDeleteFolderPrefs(0);
        nb->tree->setFocus();
        QTest::keyClick(nb->tree, Qt::Key_Delete);
        QVERIFY(bBetaStillThere);
        QCOMPARE(nb->Dump(), std::string("Main[Alpha*],Trash"));
        QCOMPARE(nb->doc.GetSelFolder()->m_name, std::string("Alpha"));
        QCOMPARE(nb->edit->GetText(), std::string("alpha text"));
        QVERIFY(nb->doc.IsModified());
    }
};

QTEST_MAIN(QtTreeControlTest)
#include "QtTreeControlTest.moc"
