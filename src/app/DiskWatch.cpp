#include "app/DiskWatch.h"
#include "qt/FilePaths.h"

#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

namespace {

QString Name(const QString& path)
{
    return QFileInfo(path).fileName();
}

} // namespace

ActivationWatch::ActivationWatch(QWidget* pWindow, std::function<void()> onActivate, QObject* pParent)
    : QObject(pParent)
    , m_onActivate(std::move(onActivate))
{
    pWindow->installEventFilter(this);
}

bool ActivationWatch::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        m_onActivate();
    return QObject::eventFilter(watched, event);
}

DiskWatch::DiskWatch(QWidget* pParent)
    : m_pParent(pParent)
{
}

void DiskWatch::OnFileRead(const QString& path, std::optional<uint64_t> hash)
{
    m_known = ReadFileIdentity(EncodePath(path), !hash);
    if (m_known && hash)
        m_known->hash = *hash;
    m_mentioned = m_known;
    m_bVanishMentioned = false;
    // A save replaces the file, whose own lock then belongs to the new one.
    if (path == m_strPath) {
        m_lock.Acquire(EncodePath(path));
        return;
    }
    m_strPath = path;
    const LockHolders holders = m_lock.Acquire(EncodePath(path));
    if (!holders.Any())
        return;
    QString text;
    if (holders.owners.empty()) {
        text = QStringLiteral("\"%1\" is open in another Quillbox as well, under another name.\n\n"
                              "Whichever saves last overwrites what the other saved.")
                   .arg(Name(path));
    } else {
        const LockOwner& owner = holders.owners.front();
        text = QStringLiteral("\"%1\" is open in another Quillbox as well (on %2, process %3, user %4).\n\n"
                              "Whichever saves last overwrites what the other saved.")
                   .arg(Name(path), QString::fromStdString(owner.host))
                   .arg(owner.pid)
                   .arg(QString::fromStdString(owner.user));
    }
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Quillbox"), text, QMessageBox::Ok, m_pParent);
    box.setObjectName(QStringLiteral("lockWarning"));
    box.exec();
}

void DiskWatch::Forget()
{
    m_known.reset();
    m_mentioned.reset();
    m_strPath.clear();
    m_lock.Release();
}

bool DiskWatch::HoldsFile(const QString& path) const
{
    if (m_strPath.isEmpty())
        return false;
    const std::optional<FileIdentity> mine = ReadFileIdentity(EncodePath(m_strPath), false);
    const std::optional<FileIdentity> other = ReadFileIdentity(EncodePath(path), false);
    if (mine && other)
        return mine->SameFile(*other);
    return path == m_strPath;
}

DiskWatch::SaveAnswer DiskWatch::AskBeforeSave(const QString& path)
{
    if (!m_known)
        return SaveAnswer::Save;
    const DiskChange change = CheckFile(EncodePath(path), *m_known);
    if (change == DiskChange::None)
        return SaveAnswer::Save;
    const QString text = change == DiskChange::Vanished
        ? QStringLiteral("\"%1\" was deleted or moved by another program since Quillbox opened or saved it.\n\n"
                         "Save the notebook there again, save it under another name, or cancel?")
        : QStringLiteral("\"%1\" was changed by another program since Quillbox opened or saved it.\n\n"
                         "Overwrite the other program's changes, save the notebook under another name, or cancel?");
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Quillbox"), text.arg(Name(path)), QMessageBox::NoButton, m_pParent);
    box.setObjectName(QStringLiteral("changedOnDiskQuestion"));
    QPushButton* pSave = box.addButton(change == DiskChange::Vanished ? QStringLiteral("&Save") : QStringLiteral("&Overwrite"),
                                       QMessageBox::DestructiveRole);
    pSave->setObjectName(QStringLiteral("overwriteButton"));
    QPushButton* pSaveAs = box.addButton(QStringLiteral("Save &As..."), QMessageBox::AcceptRole);
    pSaveAs->setObjectName(QStringLiteral("saveAsButton"));
    QPushButton* pCancel = box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(pSaveAs);
    box.setEscapeButton(pCancel);
    box.exec();
    if (box.clickedButton() == pSave)
        return SaveAnswer::Save;
    if (box.clickedButton() == pSaveAs)
        return SaveAnswer::SaveElsewhere;
    return SaveAnswer::Cancel;
}

bool DiskWatch::OfferReload(const QString& path, bool bModified)
{
    if (!m_known)
        return false;
    const std::string encoded = EncodePath(path);
    FileIdentity checked = m_mentioned ? *m_mentioned : *m_known;
    const DiskChange change = CheckFile(encoded, checked);
    if (change == DiskChange::Vanished) {
        if (m_bVanishMentioned)
            return false;
        m_bVanishMentioned = true;
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Quillbox"),
                        QStringLiteral("\"%1\" was deleted or moved by another program. Save writes the notebook there again.")
                            .arg(Name(path)),
                        QMessageBox::Ok, m_pParent);
        box.setObjectName(QStringLiteral("changedOnDiskWarning"));
        box.exec();
        return false;
    }
    m_bVanishMentioned = false;
    if (change == DiskChange::None) {
        m_mentioned = checked;
        return false;
    }
    m_mentioned = ReadFileIdentity(encoded);
    if (bModified) {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Quillbox"),
                        QStringLiteral("\"%1\" was changed by another program, and this notebook has unsaved changes.\n\n"
                                       "Save will ask before it overwrites the other program's changes.")
                            .arg(Name(path)),
                        QMessageBox::Ok, m_pParent);
        box.setObjectName(QStringLiteral("changedOnDiskWarning"));
        box.exec();
        return false;
    }
    QMessageBox box(QMessageBox::Question, QStringLiteral("Quillbox"),
                    QStringLiteral("\"%1\" was changed by another program. Read it again?").arg(Name(path)),
                    QMessageBox::Yes | QMessageBox::No, m_pParent);
    box.setObjectName(QStringLiteral("reloadQuestion"));
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}
