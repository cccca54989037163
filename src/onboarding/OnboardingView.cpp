#include "onboarding/OnboardingView.h"

#include "model/TimerViewModel.h"
#include "model/Whitespace.h"
#include "onboarding/DatePage.h"
#include "onboarding/EventPage.h"
#include "onboarding/ScreensaverPage.h"
#include "onboarding/StepDots.h"
#include "onboarding/TourPage.h"
#include "onboarding/WelcomePage.h"
#include "platform/Platform.h"
#include "platform/SettingsStore.h"
#include "ui/Accessibility.h"
#include "ui/Look.h"
#include "ui/ReturnKey.h"
#include "ui/SymbolIcon.h"

#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace {
constexpr int fadeMilliseconds = 200;
}

std::optional<OnboardingView::Step> OnboardingView::stepFromRaw(qint64 raw)
{
    if (raw < 0 || raw >= stepCount)
        return std::nullopt;
    return Step(raw);
}

OnboardingView::OnboardingView(TimerViewModel &viewModel, QWidget *parent)
    : QWidget(parent)
    , m_viewModel(viewModel)
    , m_launchAtLogin(viewModel.platform().launchAtLogin())
{
    // An ordinary window: the window manager's title bar keeps close and move.
    // Translated like every text; scripts and window rules find it by its class.
    setWindowTitle(tr("Welcome to Daystride"));
    Accessibility::setRole(this, QAccessible::Window);
    setFixedSize(contentWidth, contentHeight);
    SymbolIcon::ensureResources();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_pageArea = new QWidget(this);
    auto *pageLayout = new QVBoxLayout(m_pageArea);
    pageLayout->setContentsMargins(40, 40, 40, 0);
    layout->addWidget(m_pageArea, 1);
    layout->addWidget(Look::divider(this));

    auto *bar = new QHBoxLayout;
    bar->setContentsMargins(16, 16, 16, 16);
    // The style's spacing between buttons: the page stack above has none, and a
    // nested layout would take that.
    const int spacing = style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing);
    bar->setSpacing(spacing >= 0 ? spacing : 6);
    m_dots = new StepDots(stepCount, this);
    bar->addWidget(m_dots);
    bar->addStretch();
    m_back = new QPushButton(tr("Back"), this);
    m_back->setMinimumHeight(30);
    bar->addWidget(m_back);
    m_primary = new QPushButton(this);
    Look::makeProminent(m_primary);
    m_primary->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    m_primary->setMinimumWidth(80);
    bar->addWidget(m_primary);
    layout->addLayout(bar);

    connect(m_back, &QPushButton::clicked, this, [this] { advance(-1); });
    connect(m_primary, &QPushButton::clicked, this, [this] {
        if (m_step == Step::tour)
            finish();
        else
            advance(1);
    });
    // Return presses the focused button, else the primary one.
    ReturnKey::install(this, [this] {
        if (m_primary->isEnabled())
            m_primary->click();
    });

    // The model announces before it changes: redraw once the burst is over.
    m_refresh.setSingleShot(true);
    m_refresh.setInterval(0);
    connect(&m_refresh, &QTimer::timeout, this, &OnboardingView::refresh);
    connect(&viewModel, &TimerViewModel::objectWillChange, &m_refresh, qOverload<>(&QTimer::start));

    showStep(Step::welcome);
}

bool OnboardingView::canContinue() const
{
    return m_page->canContinue();
}

void OnboardingView::advance(qint64 offset)
{
    const std::optional<Step> target = stepFromRaw(qint64(m_step) + offset);
    if (!target)
        return;
    showStep(*target);
    // Return goes on from the new page, whatever was clicked to get there: a click
    // on Back left the focus on Back, and Return would go back again. While the page
    // does not let the user go on, the page holds the focus and Return does nothing.
    if (QLineEdit *name = nameField())
        name->setFocus(Qt::OtherFocusReason);
    else if (m_primary->isEnabled())
        m_primary->setFocus(Qt::OtherFocusReason);
    else
        m_page->setFocus(Qt::OtherFocusReason);
}

void OnboardingView::finish()
{
    m_viewModel.setEventName(trimmedWhitespace(m_viewModel.eventName()));
    m_viewModel.finishOnboarding();
    close();
}

bool OnboardingView::nameFocused() const
{
    const QLineEdit *name = nameField();
    return name && name->hasFocus();
}

EventPage *OnboardingView::eventPage() const
{
    return qobject_cast<EventPage *>(m_page);
}

DatePage *OnboardingView::datePage() const
{
    return qobject_cast<DatePage *>(m_page);
}

ScreensaverPage *OnboardingView::screensaverPage() const
{
    return qobject_cast<ScreensaverPage *>(m_page);
}

QLineEdit *OnboardingView::nameField() const
{
    return eventPage() ? eventPage()->nameField() : nullptr;
}

RoundedBox *OnboardingView::nameBox() const
{
    return eventPage() ? eventPage()->nameBox() : nullptr;
}

Switch *OnboardingView::loginSwitch() const
{
    return screensaverPage() ? screensaverPage()->loginSwitch() : nullptr;
}

QWidget *OnboardingView::delayRow() const
{
    return screensaverPage() ? screensaverPage()->delayRow() : nullptr;
}

QLabel *OnboardingView::menuBarPreview() const
{
    return datePage() ? datePage()->menuBarPreview() : nullptr;
}

QWidget *OnboardingView::menuBarPreviewCapsule() const
{
    return datePage() ? datePage()->menuBarPreviewCapsule() : nullptr;
}

QWidget *OnboardingView::pastWarning() const
{
    return datePage() ? datePage()->pastWarning() : nullptr;
}

void OnboardingView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_activatedOnce) {
        m_activatedOnce = true;
        m_viewModel.platform().activate(this);
    }
}

GuidePage *OnboardingView::buildPage(Step step)
{
    switch (step) {
    case Step::welcome:
        break;
    case Step::event:
        return new EventPage(m_viewModel, m_pageArea);
    case Step::date:
        return new DatePage(m_viewModel, m_pageArea);
    case Step::screensaver: {
        auto *page = new ScreensaverPage(m_viewModel, m_launchAtLogin, m_pageArea);
        connect(page, &ScreensaverPage::launchAtLoginChanged, this,
            [this](bool enabled) { m_launchAtLogin = enabled; });
        return page;
    }
    case Step::tour:
        return new TourPage(m_viewModel, m_pageArea);
    }
    return new WelcomePage(m_viewModel, m_pageArea);
}

void OnboardingView::showStep(Step step)
{
    const bool first = m_page == nullptr;
    m_step = step;
    QPixmap outgoing;
    if (!first) {
        outgoing = m_page->grab();
        delete m_page;
    }
    m_page = buildPage(step);
    m_pageArea->layout()->addWidget(m_page);
    // At once, not at the next turn of the event loop: focus and fades need it.
    if (m_pageArea->isVisible())
        m_page->show();

    m_dots->setCurrent(int(step));
    m_back->setVisible(step != Step::welcome);
    m_primary->setText(step == Step::welcome ? tr("Get Started")
            : step == Step::tour             ? tr("Start Using Daystride")
                                             : tr("Continue"));
    // The button keeps the focus from page to page: its description changes with the
    // page, and a screen reader reads out the new one.
    m_primary->setAccessibleDescription(
        m_page->accessibleName() + QStringLiteral(", ") + m_dots->accessibleName());
    refresh();
    if (first || !isVisible())
        return;

    // A cross-fade: the old page's picture fades out over the new page fading in.
    auto *old = new QLabel(m_pageArea);
    old->setPixmap(outgoing);
    old->setGeometry(m_page->geometry().isValid()
            ? m_page->geometry()
            : QRect(QPoint(40, 40), outgoing.deviceIndependentSize().toSize()));
    old->show();
    auto *oldOpacity = new QGraphicsOpacityEffect(old);
    old->setGraphicsEffect(oldOpacity);
    auto *fadeOut = new QPropertyAnimation(oldOpacity, "opacity", old);
    fadeOut->setDuration(fadeMilliseconds);
    fadeOut->setStartValue(1.0);
    fadeOut->setEndValue(0.0);
    fadeOut->setEasingCurve(QEasingCurve::InOutQuad);
    connect(fadeOut, &QPropertyAnimation::finished, old, &QObject::deleteLater);
    fadeOut->start();

    auto *newOpacity = new QGraphicsOpacityEffect(m_page);
    m_page->setGraphicsEffect(newOpacity);
    auto *fadeIn = new QPropertyAnimation(newOpacity, "opacity", m_page);
    fadeIn->setDuration(fadeMilliseconds);
    fadeIn->setStartValue(0.0);
    fadeIn->setEndValue(1.0);
    fadeIn->setEasingCurve(QEasingCurve::InOutQuad);
    GuidePage *page = m_page;
    // The effect costs a redraw of the whole page: drop it once faded in.
    connect(
        fadeIn, &QPropertyAnimation::finished, page, [page] { page->setGraphicsEffect(nullptr); });
    fadeIn->start();
}

void OnboardingView::fitPage()
{
    // The usual size, or larger where the page needs it (a large system font, a long
    // translation): as wide as its widest row, and tall enough for its wrapped texts.
    layout()->activate();
    const int width = std::max(contentWidth, layout()->totalMinimumSize().width());
    const int height = layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(width)
                                                     : layout()->totalMinimumSize().height();
    setFixedSize(width, std::max(contentHeight, height));
}

void OnboardingView::refresh()
{
    m_page->refresh();
    m_primary->setEnabled(canContinue());
    fitPage();
}
