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
        {
            EditBatch batch(*nb->edit);
            const TreeItem hMain = nb->doc.FindFolderByName("Main")->GetItem();
            for (const char* name : { "beta", "Alpha", "gamma", "ALPHA" }) {
                nb->tree->SelectItem(hMain);
                nb->doc.AddFolder(false, name, {}, true, {}, {});
            }
        }
        QCOMPARE(nb->Dump(), std::string("Main[ALPHA*,Alpha,beta,gamma],Trash"));

        // Renaming sorts one level again; the selection and the expansion stay.
        const TreeItem hBeta = nb->doc.FindFolderByName("beta")->GetItem();
        nb->tree->SetItemText(hBeta, "aardvark");
        nb->tree->SortChildren(nb->tree->GetParentItem(hBeta));
        QCOMPARE(nb->Dump(), std::string("Main[aardvark,ALPHA*,Alpha,gamma],Trash"));
        QVERIFY(nb->ItemOf("Main")->isExpanded());
        QCOMPARE(nb->tree->GetItemText(hBeta), std::string("aardvark"));
    }

    void clickMovesTheTextBeforeTheNewSelectionShows()
    {
        auto nb = QtNotebook::New();
        nb->edit->moveCursor(QTextCursor::End);
        QTest::keyClicks(nb->edit, "Hello");
        const TreeItem hMain = nb->doc.FindFolderByName("Main")->GetItem();
        TreeItem selectedDuringChange = kNoItem;
        nb->tree->SetSelectionHandler([&nb, &selectedDuringChange](TreeItem hNew) {
            selectedDuringChange = nb->tree->GetSelectedItem();
            nb->treeView.OnSelChanging(hNew);
        });
        nb->tree->setFocus();
        QTest::mouseClick(nb->tree->viewport(), Qt::LeftButton, {}, nb->PointOf("Trash"));
        QCOMPARE(selectedDuringChange, hMain);
        QCOMPARE(nb->doc.m_pSelFolder->m_name, std::string("Trash"));
        QCOMPARE(nb->doc.FindFolderByName("Main")->m_text, kHeader + "Hello");
        QCOMPARE(nb->edit->GetText(), std::string());
        QCOMPARE(nb->Dump(), std::string("Main,Trash*"));
    }

    void arrowKeysMoveTheSelectionThroughTheView()
    {
        auto nb = QtNotebook::New();
        nb->tree->setFocus();
        QTest::keyClick(nb->tree, Qt::Key_Down);
        QCOMPARE(nb->doc.m_pSelFolder->m_name, std::string("Trash"));
        QCOMPARE(nb->doc.FindFolderByName("Main")->m_text, kHeader);
        QTest::keyClick(nb->tree, Qt::Key_Up);
        QCOMPARE(nb->doc.m_pSelFolder->m_name, std::string("Main"));
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
        QCOMPARE(nb->doc.m_pSelFolder->m_name, std::string("Trash"));
        QVERIFY(nb->tree->hasFocus());
        // A click beside the items, or with Ctrl on the selected one, leaves the folder
        // selected and showing it: Delete acts on the folder the user sees highlighted.
        const QPoint below(5, nb->tree->viewport()->height() - 5);
        QTest::mouseClick(nb->tree->viewport(), Qt::LeftButton, {}, below);
        QVERIFY(nb->tree->hasFocus());
        QVERIFY(nb->ItemOf("Trash")->isSelected());
        QTest::mouseClick(nb->tree->viewport(), Qt::LeftButton, Qt::ControlModifier, nb->PointOf("Trash"));
        QCOMPARE(nb->doc.m_pSelFolder->m_name, std::string("Trash"));
        QCOMPARE(nb->tree->selectedItems(), QList<QTreeWidgetItem*>({ nb->ItemOf("Trash") }));
    }

    void rightClickLeavesTheSelection()
    {
        auto nb = QtNotebook::New();
        nb->prompts.ExpectPopupMenu(cmd::FolderContextMenu, 0);
        QTest::mouseClick(nb->tree->viewport(), Qt::RightButton, {}, nb->PointOf("Trash"));
        QCOMPARE(nb->Dump(), std::string("Main*,Trash"));
        QCOMPARE(nb->doc.m_pSelFolder->m_name, std::string("Main"));
        QVERIFY(nb->PromptsDone());
    }

    void deletingTheSelectedFolderSelectsItsNeighbourFirst()
    {
        auto nb = QtNotebook::New();
        {
            EditBatch batch(*nb->edit);
            nb->doc.AddFolder(false, "Alpha", "alpha text", true, {}, {});
            nb->tree->SelectItem(nb->doc.FindFolderByName("Main")->GetItem());
            nb->doc.AddFolder(false, "Beta", {}, true, {}, {});
        }
        const TreeItem hBeta = nb->doc.FindFolderByName("Beta")->GetItem();
        bool bBetaStillThere = false;
        nb->tree->SetSelectionHandler([&nb, &bBetaStillThere, hBeta](TreeItem hNew) {
            bBetaStillThere = nb->tree->ItemOf(hBeta) != nullptr;
            nb->treeView.OnSelChanging(hNew);
        });
        nb->doc.m_bPromptDelete = 0;
        nb->tree->setFocus();
        QTest::keyClick(nb->tree, Qt::Key_Delete);
        QVERIFY(bBetaStillThere);
        QCOMPARE(nb->Dump(), std::string("Main[Alpha*],Trash"));
        QCOMPARE(nb->doc.m_pSelFolder->m_name, std::string("Alpha"));
        QCOMPARE(nb->edit->GetText(), std::string("alpha text"));
        QVERIFY(nb->doc.IsModified());
    }
};

QTEST_MAIN(QtTreeControlTest)
#include "QtTreeControlTest.moc"
