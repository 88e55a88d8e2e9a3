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
#include <QProgressBar>
#include <QPromise>
#include <QPushButton>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QtConcurrent>

#include <algorithm>
#include <memory>
#include <vector>

#include "doc/CQuillboxDoc.h"
#include "model/FolderPath.h"
#include "search/NotebookSearch.h"
#include "words/SearchWords.h"
#include "qt/DialogParts.h"
#include "qt/PlainMessageBox.h"
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
// The steps of the progress bar.
constexpr int kProgressSteps = 1000;

using Found = QtFindInNotebookDialog::Found;

// The search thread's work: hands over each hit with its folder's path as it is found, and how
// much of the notebook was searched; stops at the hits the list shows, or when cancelled.
void FindHits(QPromise<Found>& promise, const NotebookSearch& search, const SearchSnapshot& folders)
{
    promise.setProgressRange(0, kProgressSteps);
    size_t pathOf = SIZE_MAX;
    std::string path;
    int listed = 0;
    search.Run(
        folders,
        [&](const SearchHit& hit) {
            if (hit.entry != pathOf) {
                pathOf = hit.entry;
                path = folders.PathOf(hit.entry);
            }
            const auto& [start, length] = hit.spans.front();
            promise.addResult(Found { { hit.pFolder, hit.line, start, length, path },
                                      std::string(hit.bInName ? std::string_view() : hit.header), std::string(hit.text),
                                      hit.spans });
            return ++listed < QtFindInNotebookDialog::kMaxListed && !promise.isCanceled();
        },
        [&](size_t done) {
            promise.setProgressValue(static_cast<int>(done * kProgressSteps / std::max<size_t>(folders.bytes, 1)));
            return !promise.isCanceled();
        });
}

// A line of a note as one line on screen, and where each of its characters went.
struct OneLine
{
    QString text;
    std::vector<qsizetype> at; // at[i]: where the line's character i begins in the text; at[size]: its end
};

// Shows each line and paragraph separator, other break and tab as one space, the bytes of one
// that stand in for it in the editor (a lone CR or LF, a U+2029 the notebook holds) too.
OneLine AsOneLine(QStringView line)
{
    constexpr char16_t kStandInHigh = 0xDBFF;
    constexpr char16_t kStandInLow = 0xDF00;
    const auto standIn = [&](qsizetype i) -> int {
        return i + 1 < line.size() && line[i] == kStandInHigh && line[i + 1] >= kStandInLow ? line[i + 1].unicode() - kStandInLow : -1;
    };
    OneLine one;
    one.at.reserve(static_cast<size_t>(line.size()) + 1);
    for (qsizetype i = 0; i < line.size();) {
        qsizetype length = 0;
        switch (line[i].unicode()) {
        case u'\t':
        case u'\n':
        case u'\v':
        case u'\f':
        case u'\r':
        case 0x85:
        case QChar::LineSeparator:
        case QChar::ParagraphSeparator:
            length = 1;
            break;
        default:
            if (const int byte = standIn(i); byte == '\r' || byte == '\n')
                length = 2;
            else if (byte == 0xE2 && standIn(i + 2) == 0x80 && standIn(i + 4) == 0xA9)
                length = 6;
            break;
        }
        if (length == 0) {
            one.at.push_back(one.text.size());
            one.text += line[i++];
            continue;
        }
        for (qsizetype k = 0; k < length; ++k)
            one.at.push_back(one.text.size());
        one.text += u' ';
        i += length;
    }
    one.at.push_back(one.text.size());
    return one;
}

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
    , m_pRegex(new QCheckBox(tr("Regular e&xpression")))
    , m_pResults(new QTreeWidget)
    , m_pStatus(new QLabel)
    , m_pProgress(new QProgressBar)
    , m_pGoTo(NewButton(tr("&Go To"), "findInNotebookGoTo"))
    , m_pStop(NewButton(tr("&Stop"), "findInNotebookStop"))
{
    setObjectName(QStringLiteral("findInNotebookDialog"));
    setWindowTitle(tr("Find in Notebook"));
    m_pText->setObjectName(QStringLiteral("findInNotebookText"));
    m_pMatchCase->setObjectName(QStringLiteral("findInNotebookMatchCase"));
    m_pWholeWords->setObjectName(QStringLiteral("findInNotebookWholeWords"));
    m_pRegex->setObjectName(QStringLiteral("findInNotebookRegex"));
    m_pRegex->setToolTip(tr("Take the text as a POSIX extended regular expression, as grep -E does"));
    m_pResults->setObjectName(QStringLiteral("findInNotebookResults"));
    m_pResults->setAccessibleName(tr("Lines found"));
    m_pStatus->setObjectName(QStringLiteral("findInNotebookStatus"));
    m_pStatus->setTextFormat(Qt::PlainText);
    // A long message wraps rather than widen the dialog past a small screen.
    m_pStatus->setWordWrap(true);
    m_pProgress->setObjectName(QStringLiteral("findInNotebookProgress"));
    m_pProgress->setAccessibleName(tr("Search progress"));
    m_pProgress->setRange(0, kProgressSteps);
    m_pProgress->setTextVisible(false);
    m_pProgress->setMaximumWidth(DialogUnits(this, 100, 0).width());
    // The bar keeps its place when hidden, so the list does not move as a search starts or ends.
    QSizePolicy barPolicy = m_pProgress->sizePolicy();
    barPolicy.setRetainSizeWhenHidden(true);
    m_pProgress->setSizePolicy(barPolicy);
    m_pProgress->hide();

    m_pResults->setColumnCount(3);
    m_pResults->setHeaderLabels({ tr("Folder"), tr("Note"), tr("Line") });
    m_pResults->setRootIsDecorated(false);
    m_pResults->setUniformRowHeights(true);
    m_pResults->setAllColumnsShowFocus(true);
    m_pResults->setItemDelegateForColumn(kLineColumn, new MatchDelegate(m_pResults));
    m_pResults->header()->setStretchLastSection(true);
    m_pResults->setColumnWidth(kFolderColumn, DialogUnits(this, 90, 0).width());
    m_pResults->setColumnWidth(kNoteColumn, DialogUnits(this, 110, 0).width());
    m_pResults->setMinimumSize(DialogUnits(this, 200, 60));

    auto* pLabel = new QLabel(tr("Fi&nd what:"));
    pLabel->setObjectName(QStringLiteral("findInNotebookLabel"));
    pLabel->setBuddy(m_pText);
    QPushButton* pClose = NewButton(tr("Close"), "findInNotebookClose");
    m_pGoTo->setEnabled(false);
    m_pStop->setEnabled(false);
    for (QPushButton* pButton : { m_pGoTo, m_pStop, pClose })
        pButton->setAutoDefault(false);

    auto* pLayout = new QGridLayout(this);
    pLayout->addWidget(pLabel, 0, 0);
    pLayout->addWidget(m_pText, 0, 1);
    // The options one under another, beside the buttons: in a row they would widen the dialog
    // past a small screen in a language of long words.
    auto* pOptions = new QVBoxLayout;
    for (QCheckBox* pOption : { m_pMatchCase, m_pWholeWords, m_pRegex })
        pOptions->addWidget(pOption, 0, Qt::AlignLeft);
    pLayout->addLayout(pOptions, 1, 1);
    pLayout->addWidget(m_pResults, 2, 0, 1, 2);
    auto* pStatusRow = new QHBoxLayout;
    pStatusRow->addWidget(m_pStatus, 1);
    pStatusRow->addWidget(m_pProgress);
    pLayout->addLayout(pStatusRow, 3, 0, 1, 2);
    auto* pButtons = new QVBoxLayout;
    pButtons->addWidget(m_pGoTo);
    pButtons->addWidget(m_pStop);
    pButtons->addWidget(pClose);
    pButtons->addStretch();
    pLayout->addLayout(pButtons, 0, 2, 4, 1);
    pLayout->setColumnStretch(1, 1);
    pLayout->setRowStretch(2, 1);
    // Roomy where the screen has room; the minimum fits a small screen at a large scale.
    if (const QScreen* pScreen = screen())
        resize(DialogUnits(this, 480, 220).boundedTo(pScreen->availableGeometry().size()));

    // A search runs once typing pauses; Return runs it at once and moves to the hits.
    m_typing.setSingleShot(true);
    m_typing.setInterval(150);
    connect(&m_typing, &QTimer::timeout, this, &QtFindInNotebookDialog::Search);
    m_slow.setSingleShot(true);
    m_slow.setInterval(200);
    connect(&m_slow, &QTimer::timeout, m_pProgress, &QWidget::show);
    connect(m_pText, &QLineEdit::textChanged, this, [this] { m_typing.start(); });
    for (QCheckBox* pOption : { m_pMatchCase, m_pWholeWords, m_pRegex })
        connect(pOption, &QCheckBox::toggled, this, &QtFindInNotebookDialog::Search);
    connect(m_pText, &QLineEdit::returnPressed, this, [this] {
        if (m_typing.isActive())
            Search();
        if (m_pResults->topLevelItemCount() > 0)
            m_pResults->setFocus();
        else
            m_bToResults = m_pStop->isEnabled();
    });
    connect(m_pResults, &QTreeWidget::itemActivated, this, &QtFindInNotebookDialog::Choose);
    connect(m_pResults, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* pItem) { m_pGoTo->setEnabled(pItem != nullptr); });
    connect(m_pGoTo, &QPushButton::clicked, this, [this] { Choose(m_pResults->currentItem()); });
    connect(m_pStop, &QPushButton::clicked, this, [this] {
        if (m_pWatcher)
            m_pWatcher->cancel();
    });
    connect(pClose, &QPushButton::clicked, this, &QDialog::reject);
}

QtFindInNotebookDialog::~QtFindInNotebookDialog()
{
    Stop();
}

void QtFindInNotebookDialog::Stop()
{
    m_slow.stop();
    m_pProgress->hide();
    m_pStop->setEnabled(false);
    if (!m_pWatcher)
        return;
    // The search thread holds what it searches; it ends at its next look at the cancellation.
    m_pWatcher->disconnect();
    m_pWatcher->cancel();
    m_pWatcher->deleteLater();
    m_pWatcher = nullptr;
}

void QtFindInNotebookDialog::done(int result)
{
    Stop();
    QDialog::done(result);
}

void QtFindInNotebookDialog::Search()
{
    m_typing.stop();
    Stop();
    m_bToResults = false;
    m_pResults->clear();
    m_hits.clear();
    const QString pattern = m_pText->text();
    if (pattern.isEmpty()) {
        m_pStatus->clear();
        return;
    }
    const std::optional<std::string> bytes = SearchPatternBytes(
        m_doc.GetEncoding(), std::u16string_view(reinterpret_cast<const char16_t*>(pattern.utf16()), static_cast<size_t>(pattern.size())));
    if (!bytes) {
        m_pStatus->setText(tr("Cannot find \"%1\".").arg(pattern));
        return;
    }
    auto pSearch = std::make_shared<const NotebookSearch>(SearchQuery { *bytes, m_pMatchCase->isChecked(), m_pWholeWords->isChecked(),
                                                                        m_pRegex->isChecked(), m_doc.GetEncoding().GetKind() });
    if (const SearchProblem& problem = pSearch->GetProblem()) {
        m_pStatus->setText(QString::fromStdString(DescribeSearchProblem(problem, pattern.toStdString())));
        return;
    }
    // The folders are taken here, the selected one's text from the editor; the thread searches
    // them as they were, whatever the window does meanwhile.
    auto pFolders = std::make_shared<const SearchSnapshot>(TakeSearchSnapshot(m_doc, nullptr));
    m_pWatcher = new QFutureWatcher<Found>(this);
    connect(m_pWatcher, &QFutureWatcher<Found>::resultsReadyAt, this, &QtFindInNotebookDialog::ShowFound);
    connect(m_pWatcher, &QFutureWatcher<Found>::progressValueChanged, m_pProgress, &QProgressBar::setValue);
    connect(m_pWatcher, &QFutureWatcher<Found>::finished, this, &QtFindInNotebookDialog::Finished);
    m_pWatcher->setFuture(QtConcurrent::run(
        [pSearch, pFolders](QPromise<Found>& promise) { FindHits(promise, *pSearch, *pFolders); }));
    m_pProgress->setValue(0);
    m_pStop->setEnabled(true);
    m_slow.start();
    m_pStatus->setText(tr("Searching..."));
}

void QtFindInNotebookDialog::ShowFound(int begin, int end)
{
    for (int i = begin; i < end; ++i) {
        const Found& found = m_pWatcher->resultAt(i);
        m_hits.push_back(found.hit);
        ShowHit(found);
    }
    if (!m_pResults->currentItem() && m_pResults->topLevelItemCount() > 0)
        m_pResults->setCurrentItem(m_pResults->topLevelItem(0));
    if (m_bToResults && m_pResults->topLevelItemCount() > 0) {
        m_bToResults = false;
        m_pResults->setFocus();
    }
}

void QtFindInNotebookDialog::Finished()
{
    const bool bStopped = m_pWatcher->isCanceled();
    m_slow.stop();
    m_pProgress->hide();
    m_pStop->setEnabled(false);
    m_bToResults = false;
    const auto count = static_cast<int>(m_hits.size());
    if (bStopped)
        m_pStatus->setText(tr("Stopped after %n matches.", nullptr, count));
    else if (count == 0)
        m_pStatus->setText(tr("Cannot find \"%1\".").arg(m_pText->text()));
    else if (count >= kMaxListed)
        m_pStatus->setText(tr("Showing the first %n matches; a longer text finds fewer.", nullptr, int(kMaxListed)));
    else
        m_pStatus->setText(tr("%n matches.", nullptr, count));
}

void QtFindInNotebookDialog::ShowHit(const Found& found)
{
    const std::string_view text = found.text;
    const auto& spans = found.spans;
    const auto decode = [this](std::string_view bytes) { return m_codec.Decode(bytes); };
    // Offsets in the line's bytes become offsets in its characters; a long line shows from a
    // little before its first match.
    const QString line = decode(text);
    const qsizetype first = decode(text.substr(0, spans.front().first)).size();
    const qsizetype from = first > kLead ? first - kLead : 0;
    const QString part = line.mid(from, kShown);
    const OneLine one = AsOneLine(part);
    // The white space the line starts with, up to the first match, would push the match out
    // of view (a note indented by tabs): it goes.
    qsizetype lead = 0;
    while (lead < one.at[static_cast<size_t>(first - from)] && one.text[lead].isSpace())
        ++lead;
    QString shown = one.text.mid(lead);
    QVariantList shownSpans;
    const qsizetype offset = (from > 0 ? 1 : 0) - lead;
    for (const auto& [start, length] : spans) {
        const qsizetype begin = decode(text.substr(0, start)).size() - from;
        const qsizetype end = begin + decode(text.substr(start, length)).size();
        if (begin < 0 || end > part.size())
            continue;
        const qsizetype shownBegin = one.at[static_cast<size_t>(begin)];
        const qsizetype shownEnd = one.at[static_cast<size_t>(end)];
        if (shownBegin >= lead)
            shownSpans.append(QPoint(static_cast<int>(shownBegin + offset), static_cast<int>(shownEnd - shownBegin)));
    }
    if (from > 0)
        shown.prepend(QChar(0x2026));

    const QString path = decode(found.hit.path);
    auto* pItem = new QTreeWidgetItem(m_pResults);
    pItem->setText(kFolderColumn, path);
    pItem->setToolTip(kFolderColumn, PlainToolTip(path));
    pItem->setText(kNoteColumn, found.header.empty() && found.hit.line < 0 ? tr("(folder name)") : AsOneLine(decode(found.header)).text);
    pItem->setText(kLineColumn, shown);
    pItem->setData(kLineColumn, kSpansRole, shownSpans);
    pItem->setData(kFolderColumn, kHitRole, static_cast<int>(m_hits.size() - 1));
}

void QtFindInNotebookDialog::showEvent(QShowEvent* event)
{
    KeepOnScreen(this);
    m_pText->selectAll();
    m_pText->setFocus();
    QDialog::showEvent(event);
}

void QtFindInNotebookDialog::Choose(QTreeWidgetItem* pItem)
{
    if (!pItem)
        return;
    const Hit& hit = m_hits.at(static_cast<size_t>(pItem->data(kFolderColumn, kHitRole).toInt()));
    // The notebook may have changed since the search took its folders: a folder read again
    // from disk, or deleted, is no longer there to go to.
    const std::vector<Folder*>& folders = m_doc.GetFolders();
    if (std::find(folders.begin(), folders.end(), hit.pFolder) == folders.end() || FolderPath(hit.pFolder) != hit.path) {
        m_pStatus->setText(tr("The folder of that match is gone; search again."));
        return;
    }
    m_choice = hit;
    accept();
}
