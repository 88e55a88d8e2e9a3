#pragma once

#include <QDir>
#include <QHBoxLayout>
#include <QTest>
#include <QTreeWidgetItem>
#include <QWidget>

#include <memory>
#include <string>

#include "support/ScriptedPrompts.h"
#include "doc/CQuillboxDoc.h"
#include "notes/CQuillboxEditView.h"
#include "platform/Clock.h"
#include "platform/KeysText.h"
#include "qt/QtEditControl.h"
#include "qt/QtTreeControl.h"
#include "qt/TextCodec.h"
#include "tree/CQuillboxTreeView.h"

// Types text as key presses; unlike QTest::keyClicks it takes any character.
inline void TypeText(QWidget* pWidget, const QString& text)
{
    for (const QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, pWidget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

// Saves a picture of a window under the build directory, to look at.
inline void Grab(QWidget* pWindow)
{
    QDir(QStringLiteral(QUILLBOX_BUILD_DIR)).mkpath(QStringLiteral("dialogs"));
    pWindow->grab().save(QStringLiteral(QUILLBOX_BUILD_DIR "/dialogs/") + pWindow->objectName() + QStringLiteral(".png"));
}

// Scripted prompts fail the running test with what went wrong.
inline const bool kScriptedPromptsFailTests = [] {
    ScriptedPrompts::SetReporter([](const std::string& what) { QTest::qFail(("prompts: " + what).c_str(), __FILE__, __LINE__); });
    return true;
}();

// A notebook in a window: the document with both views over the real Qt controls, scripted
// prompts and a clock fixed at 6 December 1997, 3:53 in the afternoon.
struct QtNotebook
{
    ScriptedPrompts prompts;
    FixedClock clock { 1997, 12, 6, 15, 53 };
    KeysTextHolder keys;
    CQuillboxDoc doc { Services { &prompts, &clock, &keys, nullptr } };
    TextCodec codec { &doc };
    QWidget window;
    QtEditControl* edit = new QtEditControl(codec, &window);
    QtTreeControl* tree = new QtTreeControl(codec, &window);
    CQuillboxEditView editView { &doc, *edit };
    CQuillboxTreeView treeView { &doc, *tree };

    QtNotebook()
    {
        auto* pLayout = new QHBoxLayout(&window);
        pLayout->addWidget(edit, 7);
        pLayout->addWidget(tree, 3);
        edit->SetView(&editView);
        tree->SetView(&treeView);
        tree->SetCommandRunner([this](const std::function<void()>& handler) { InBatch(*edit, handler); });
        editView.OnCreate();
        doc.BindViews(&editView, &treeView);
        window.resize(640, 400);
    }

    ~QtNotebook()
    {
        // The controls call back into the views; they go first.
        delete edit;
        delete tree;
    }

    // A new notebook, on screen and active, as File New makes it.
    static std::unique_ptr<QtNotebook> New()
    {
        auto nb = std::make_unique<QtNotebook>();
        InBatch(*nb->edit, [&] {
            nb->doc.OnNewDocument();
        });
        nb->window.show();
        nb->window.activateWindow();
        if (!QTest::qWaitForWindowActive(&nb->window))
            qWarning("the notebook window did not become active");
        return nb;
    }

    QTreeWidgetItem* ItemOf(const std::string& name) const
    {
        const Folder* pFolder = doc.FindFolderByName(name);
        return pFolder ? tree->ItemOf(pFolder->m_hItem) : nullptr;
    }

    // The centre of a folder's name on screen, in the tree's viewport.
    QPoint PointOf(const std::string& name) const
    {
        return tree->visualItemRect(ItemOf(name)).center();
    }

    // The tree as the user sees it, e.g. "Main*[Alpha,beta],Trash"; '*' marks the current item.
    std::string Dump() const { return Dump(tree->invisibleRootItem()); }

    std::string Dump(const QTreeWidgetItem* pParent) const
    {
        std::string out;
        for (int i = 0; i < pParent->childCount(); ++i) {
            const QTreeWidgetItem* pItem = pParent->child(i);
            out += (i ? "," : "") + pItem->text(0).toStdString() + (pItem == tree->currentItem() ? "*" : "");
            if (pItem->childCount())
                out += "[" + Dump(pItem) + "]";
        }
        return out;
    }

};
