#include "qt/QtFindInNotebookDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <optional>

#include "doc/CQuillboxDoc.h"
#include "doc/FolderPath.h"
#include "doc/NotebookSearch.h"
#include "qt/DialogParts.h"
#include "doc/TextEncoding.h"
#include "qt/TextCodec.h"

namespace {

enum Column
{
    kFolderColumn,
    kNoteColumn,
    kLineColumn,
};

// Item data: the hit's index, and the matches in the line's text as QPoint(start, length).
constexpr int kHitRole = Qt::UserRole;
constexpr int kSpansRole = Qt::UserRole + 1;

// How much of a line shows before its first match, and at most.
constexpr qsizetype kLead = 30;
constexpr qsizetype kShown = 300;

// Draws a line with its matches in bold.
class MatchDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QString text = opt.text;
        opt.text.clear();
        const QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);

        const QRect rect = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, opt.widget).adjusted(2, 0, -2, 0);
        painter->save();
        painter->setClipRect(rect);
        painter->setPen(opt.palette.color(opt.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
        QFont bold = opt.font;
        bold.setBold(true);
        int x = rect.left();
        qsizetype at = 0;
        const auto draw = [&](qsizetype from, qsizetype to, const QFont& font) {
            if (to <= from)
                return;
            const QString part = text.mid(from, to - from);
            painter->setFont(font);
            painter->drawText(QRect(x, rect.top(), rect.right() - x, rect.height()), Qt::AlignVCenter | Qt::AlignLeft, part);
            x += QFontMetrics(font).horizontalAdvance(part);
        };
        for (const QVariant& span : index.data(kSpansRole).toList()) {
            const QPoint match = span.toPoint();
            draw(at, match.x(), opt.font);
            draw(match.x(), match.x() + match.y(), bold);
            at = match.x() + match.y();
        }
        draw(at, text.size(), opt.font);
        painter->restore();
    }
};

} // namespace

QtFindInNotebookDialog::QtFindInNotebookDialog(CQuillboxDoc& doc, const TextCodec& codec, QWidget* parent)
    : QDialog(parent)
    , m_doc(doc)
    , m_codec(codec)
    , m_pText(new QLineEdit)
    , m_pMatchCase(new QCheckBox(tr("Match &case")))
    , m_pWholeWords(new QCheckBox(tr("&Whole words")))
    , m_pResults(new QTreeWidget)
    , m_pStatus(new QLabel)
    , m_pGoTo(NewButton("&Go To", "findInNotebookGoTo"))
{
    setObjectName(QStringLiteral("findInNotebookDialog"));
    setWindowTitle(tr("Find in Notebook"));
    m_pText->setObjectName(QStringLiteral("findInNotebookText"));
    m_pMatchCase->setObjectName(QStringLiteral("findInNotebookMatchCase"));
    m_pWholeWords->setObjectName(QStringLiteral("findInNotebookWholeWords"));
    m_pResults->setObjectName(QStringLiteral("findInNotebookResults"));
    m_pStatus->setObjectName(QStringLiteral("findInNotebookStatus"));
    m_pStatus->setTextFormat(Qt::PlainText);

    m_pResults->setColumnCount(3);
    m_pResults->setHeaderLabels({ tr("Folder"), tr("Note"), tr("Line") });
    m_pResults->setRootIsDecorated(false);
    m_pResults->setUniformRowHeights(true);
    m_pResults->setAllColumnsShowFocus(true);
    m_pResults->setItemDelegateForColumn(kLineColumn, new MatchDelegate(m_pResults));
    m_pResults->header()->setStretchLastSection(true);
    m_pResults->setColumnWidth(kFolderColumn, DialogUnits(this, 90, 0).width());
    m_pResults->setColumnWidth(kNoteColumn, DialogUnits(this, 110, 0).width());
    m_pResults->setMinimumSize(DialogUnits(this, 380, 140));

    auto* pLabel = new QLabel(tr("Fi&nd what:"));
    pLabel->setObjectName(QStringLiteral("findInNotebookLabel"));
    pLabel->setBuddy(m_pText);
    QPushButton* pClose = NewButton("Close", "findInNotebookClose");
    m_pGoTo->setEnabled(false);
    for (QPushButton* pButton : { m_pGoTo, pClose })
        pButton->setAutoDefault(false);

    auto* pLayout = new QGridLayout(this);
    pLayout->addWidget(pLabel, 0, 0);
    pLayout->addWidget(m_pText, 0, 1);
    auto* pOptions = new QHBoxLayout;
    pOptions->addWidget(m_pMatchCase);
    pOptions->addWidget(m_pWholeWords);
    pOptions->addStretch();
    pLayout->addLayout(pOptions, 1, 1);
    pLayout->addWidget(m_pResults, 2, 0, 1, 2);
    pLayout->addWidget(m_pStatus, 3, 0, 1, 2);
    auto* pButtons = new QVBoxLayout;
    pButtons->addWidget(m_pGoTo);
    pButtons->addWidget(pClose);
    pButtons->addStretch();
    pLayout->addLayout(pButtons, 0, 2, 4, 1);
    pLayout->setColumnStretch(1, 1);
    pLayout->setRowStretch(2, 1);

    // A search runs once typing pauses; Return runs it at once and moves to the hits.
    m_typing.setSingleShot(true);
    m_typing.setInterval(150);
    connect(&m_typing, &QTimer::timeout, this, &QtFindInNotebookDialog::Search);
    connect(m_pText, &QLineEdit::textChanged, this, [this] { m_typing.start(); });
    connect(m_pMatchCase, &QCheckBox::toggled, this, &QtFindInNotebookDialog::Search);
    connect(m_pWholeWords, &QCheckBox::toggled, this, &QtFindInNotebookDialog::Search);
    connect(m_pText, &QLineEdit::returnPressed, this, [this] {
        if (m_typing.isActive())
            Search();
        if (m_pResults->topLevelItemCount() > 0)
            m_pResults->setFocus();
    });
    connect(m_pResults, &QTreeWidget::itemActivated, this, &QtFindInNotebookDialog::Choose);
    connect(m_pResults, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* pItem) { m_pGoTo->setEnabled(pItem != nullptr); });
    connect(m_pGoTo, &QPushButton::clicked, this, [this] { Choose(m_pResults->currentItem()); });
    connect(pClose, &QPushButton::clicked, this, &QDialog::reject);
}

void QtFindInNotebookDialog::Search()
{
    m_typing.stop();
    m_pResults->clear();
    m_hits.clear();
    const QString pattern = m_pText->text();
    if (pattern.isEmpty()) {
        m_pStatus->clear();
        return;
    }
    // The pattern in the notebook's own bytes; a character the notebook cannot hold is in
    // none of its folders.
    std::optional<std::string> bytes;
    const std::u16string_view text(reinterpret_cast<const char16_t*>(pattern.utf16()), static_cast<size_t>(pattern.size()));
    if (m_codec.GetEncoding().CanHold(text))
        bytes = m_codec.GetEncoding().Encode(text);
    size_t count = 0;
    if (bytes) {
        const NotebookSearch search({ *bytes, m_pMatchCase->isChecked(), m_pWholeWords->isChecked(), false,
                                      m_doc.GetEncoding().GetKind() });
        const Folder* pPathOf = nullptr;
        std::string path;
        count = search.Run(m_doc, nullptr, [&](const SearchHit& hit) {
            if (hit.pFolder != pPathOf) {
                pPathOf = hit.pFolder;
                path = FolderPath(hit.pFolder);
            }
            const auto& [start, length] = hit.spans.front();
            m_hits.push_back({ hit.pFolder, hit.line, start, length });
            ShowHit(path, hit.bInName ? std::string_view() : hit.header, hit.text, hit.spans);
            return m_hits.size() < static_cast<size_t>(kMaxListed);
        });
    }
    if (m_pResults->topLevelItemCount() > 0)
        m_pResults->setCurrentItem(m_pResults->topLevelItem(0));
    if (count == 0)
        m_pStatus->setText(tr("Cannot find \"%1\".").arg(pattern));
    else if (count >= static_cast<size_t>(kMaxListed))
        m_pStatus->setText(tr("Showing the first %1 matches; a longer text finds fewer.").arg(kMaxListed));
    else
        m_pStatus->setText(count == 1 ? tr("1 match.") : tr("%1 matches.").arg(count));
}

void QtFindInNotebookDialog::ShowHit(const std::string& path, std::string_view header, std::string_view text,
                                     const std::vector<std::pair<size_t, size_t>>& spans)
{
    const auto decode = [this](std::string_view bytes) { return m_codec.Decode(bytes); };
    // Offsets in the line's bytes become offsets in its characters; a long line shows from a
    // little before its first match.
    const QString line = decode(text);
    const qsizetype first = decode(text.substr(0, spans.front().first)).size();
    const qsizetype from = first > kLead ? first - kLead : 0;
    QString shown = line.mid(from, kShown);
    QVariantList shownSpans;
    const qsizetype offset = from > 0 ? 1 : 0;
    for (const auto& [start, length] : spans) {
        const qsizetype begin = decode(text.substr(0, start)).size() - from;
        const qsizetype size = decode(text.substr(start, length)).size();
        if (begin >= 0 && begin + size <= shown.size())
            shownSpans.append(QPoint(static_cast<int>(begin + offset), static_cast<int>(size)));
    }
    if (from > 0)
        shown.prepend(QChar(0x2026));

    auto* pItem = new QTreeWidgetItem(m_pResults);
    pItem->setText(kFolderColumn, decode(path));
    pItem->setToolTip(kFolderColumn, decode(path));
    pItem->setText(kNoteColumn, header.empty() && m_hits.back().line < 0 ? tr("(folder name)") : decode(header));
    pItem->setText(kLineColumn, shown);
    pItem->setData(kLineColumn, kSpansRole, shownSpans);
    pItem->setData(kFolderColumn, kHitRole, static_cast<int>(m_hits.size() - 1));
}

void QtFindInNotebookDialog::showEvent(QShowEvent* event)
{
    m_pText->selectAll();
    m_pText->setFocus();
    QDialog::showEvent(event);
}

void QtFindInNotebookDialog::Choose(QTreeWidgetItem* pItem)
{
    if (!pItem)
        return;
    m_choice = m_hits.at(static_cast<size_t>(pItem->data(kFolderColumn, kHitRole).toInt()));
    accept();
}
