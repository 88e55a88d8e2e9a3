#include "app/LockIndicators.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>

#include <algorithm>

namespace {

// Modifier bits of the core X11 and xkb state: Lock, and Mod2, which carries Num Lock.
constexpr quint32 kCapsLockBit = 0x02;
constexpr quint32 kNumLockBit = 0x10;

} // namespace

LockIndicators::LockIndicators(StateSource source, QWidget* parent)
    : QWidget(parent)
    , m_source(std::move(source))
    , m_pCap(MakePane(tr("CAP"), "capIndicator", this))
    , m_pNum(MakePane(tr("NUM"), "numIndicator", this))
    , m_pScroll(MakePane(tr("SCRL"), "scrollIndicator", this))
{
    auto* pLayout = new QHBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);
    for (QLabel* pPane : { m_pCap, m_pNum, m_pScroll })
        pLayout->addWidget(pPane);
    // A pane that shows nothing while its lock is off still says so to a screen reader.
    NameLock(m_pCap, tr("Caps Lock on"), tr("Caps Lock off"));
    NameLock(m_pNum, tr("Num Lock on"), tr("Num Lock off"));
    NameLock(m_pScroll, tr("Scroll Lock on"), tr("Scroll Lock off"));
    Refresh();
    // The locks may have changed while another program had the keyboard.
    connect(qApp, &QApplication::focusChanged, this, &LockIndicators::Refresh);
    connect(qApp, &QGuiApplication::applicationStateChanged, this, &LockIndicators::Refresh);
}

QLabel* LockIndicators::MakePane(const QString& text, const char* objectName, QWidget* parent)
{
    auto* pPane = new QLabel(parent);
    pPane->setObjectName(QString::fromLatin1(objectName));
    pPane->setProperty("paneText", text);
    pPane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pPane->setAlignment(Qt::AlignCenter);
    // Each pane as wide as the widest text, so a lock turning on moves nothing.
    int width = 0;
    for (const QString& shown : { tr("CAP"), tr("NUM"), tr("SCRL") })
        width = std::max(width, pPane->fontMetrics().horizontalAdvance(shown));
    pPane->setMinimumWidth(width + 12);
    return pPane;
}

void LockIndicators::NameLock(QLabel* pPane, const QString& on, const QString& off)
{
    pPane->setProperty("lockOnName", on);
    pPane->setProperty("lockOffName", off);
    pPane->setAccessibleName(off);
}

// A pane shows its text only while its lock is on.
void LockIndicators::ShowPane(QLabel* pPane, bool bOn)
{
    pPane->setText(bOn ? pPane->property("paneText").toString() : QString());
    pPane->setAccessibleName(pPane->property(bOn ? "lockOnName" : "lockOffName").toString());
}

void LockIndicators::Refresh()
{
    const std::optional<LockState> state = m_source ? m_source() : std::nullopt;
    m_bRealState = state.has_value();
    if (!state)
        return;
    ShowPane(m_pCap, state->bCaps);
    ShowPane(m_pNum, state->bNum);
    ShowPane(m_pScroll, state->bScroll);
}

void LockIndicators::OnKeyEvent(const QKeyEvent& event, bool bFocusTarget)
{
    if (m_bRealState) {
        // A press reports the modifiers from before it; after the release the locks are settled.
        if (event.type() == QEvent::KeyRelease && bFocusTarget)
            Refresh();
        return;
    }
    if (event.nativeModifiers() != 0 || event.nativeScanCode() != 0) {
        ShowPane(m_pCap, event.nativeModifiers() & kCapsLockBit);
        ShowPane(m_pNum, event.nativeModifiers() & kNumLockBit);
    }
    if (bFocusTarget && event.type() == QEvent::KeyPress && event.key() == Qt::Key_ScrollLock && !event.isAutoRepeat()) {
        m_bScrollLock = !m_bScrollLock;
        ShowPane(m_pScroll, m_bScrollLock);
    }
}
