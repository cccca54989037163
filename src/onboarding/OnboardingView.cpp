#include "onboarding/OnboardingView.h"

#include "model/TimerViewModel.h"
#include "model/Whitespace.h"
#include "platform/Platform.h"
#include "platform/SettingsStore.h"
#include "screensaver/ScreensaverController.h"
#include "ui/Look.h"
#include "ui/RoundedBox.h"
#include "ui/Stepper.h"
#include "ui/Switch.h"
#include "ui/SymbolIcon.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QFrame>
#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QShortcut>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace {

constexpr int fadeMilliseconds = 200;

// Five dots; only the current step's is in the accent colour.
class StepDots : public QWidget
{
public:
    explicit StepDots(QWidget *parent)
        : QWidget(parent)
    {
        setFixedSize(OnboardingView::stepCount * 7 + (OnboardingView::stepCount - 1) * 6, 7);
    }
    void setCurrent(int current)
    {
        m_current = current;
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        for (int i = 0; i < OnboardingView::stepCount; ++i) {
            painter.setBrush(
                i == m_current ? Look::accent(palette()) : Look::quaternaryFill(palette()));
            painter.drawEllipse(QRectF(i * 13, 0, 7, 7));
        }
    }

private:
    int m_current = 0;
};

QLabel *wrappingLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

QLabel *symbolLabel(const QString &name, int size, const QColor &color, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setPixmap(SymbolIcon::pixmap(name, color, size, parent->devicePixelRatioF()));
    return label;
}

} // namespace

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
    setWindowTitle(tr("Welcome to Daystride"));
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
    m_dots = new StepDots(this);
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
    for (int key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto *shortcut = new QShortcut(QKeySequence(key), this);
        connect(shortcut, &QShortcut::activated, this, [this] {
            if (m_primary->isEnabled())
                m_primary->click();
        });
    }

    // The model announces before it changes: redraw once the burst is over.
    m_refresh.setSingleShot(true);
    m_refresh.setInterval(0);
    connect(&m_refresh, &QTimer::timeout, this, &OnboardingView::refresh);
    connect(&viewModel, &TimerViewModel::objectWillChange, &m_refresh, qOverload<>(&QTimer::start));

    showStep(Step::welcome);
}

bool OnboardingView::canContinue() const
{
    switch (m_step) {
    case Step::event:
        return !isBlank(m_viewModel.eventName());
    case Step::date:
        return m_viewModel.timerDate() > m_viewModel.platform().now();
    default:
        return true;
    }
}

void OnboardingView::advance(qint64 offset)
{
    const std::optional<Step> target = stepFromRaw(qint64(m_step) + offset);
    if (!target)
        return;
    showStep(*target);
    if (*target == Step::event && m_nameField)
        m_nameField->setFocus(Qt::OtherFocusReason);
}

void OnboardingView::finish()
{
    m_viewModel.setEventName(trimmedWhitespace(m_viewModel.eventName()));
    m_viewModel.setHasCompletedOnboarding(true);
    m_viewModel.platform().settings().setBool(QStringLiteral("onboarded"), true);
    m_viewModel.save();
    close();
}

bool OnboardingView::nameFocused() const
{
    return m_nameField && m_nameField->hasFocus();
}

void OnboardingView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_activatedOnce) {
        m_activatedOnce = true;
        m_viewModel.platform().activate(this);
    }
}

void OnboardingView::showStep(Step step)
{
    const bool first = m_page == nullptr;
    m_step = step;
    QPixmap outgoing;
    if (!first) {
        outgoing = m_page->grab();
        m_refreshPage = nullptr;
        m_nameField = nullptr;
        m_nameBox = nullptr;
        m_pencil = nullptr;
        m_loginSwitch = nullptr;
        m_delayRow = nullptr;
        m_preview = nullptr;
        m_previewCapsule = nullptr;
        m_warning = nullptr;
        m_warningRow = nullptr;
        delete m_page;
    }
    m_page = buildPage(step);
    m_pageArea->layout()->addWidget(m_page);
    // At once, not at the next turn of the event loop: focus and fades need it.
    if (m_pageArea->isVisible())
        m_page->show();

    static_cast<StepDots *>(m_dots)->setCurrent(int(step));
    m_back->setVisible(step != Step::welcome);
    m_primary->setText(step == Step::welcome ? tr("Get Started")
            : step == Step::tour             ? tr("Start Using Daystride")
                                             : tr("Continue"));
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
    QWidget *page = m_page;
    // The effect costs a redraw of the whole page: drop it once faded in.
    connect(
        fadeIn, &QPropertyAnimation::finished, page, [page] { page->setGraphicsEffect(nullptr); });
    fadeIn->start();
}

void OnboardingView::refresh()
{
    if (m_refreshPage)
        m_refreshPage();
    m_primary->setEnabled(canContinue());
}

QWidget *OnboardingView::buildPage(Step step)
{
    switch (step) {
    case Step::welcome:
        return welcomePage();
    case Step::event:
        return eventPage();
    case Step::date:
        return datePage();
    case Step::screensaver:
        return screensaverPage();
    case Step::tour:
        return tourPage();
    }
    return welcomePage();
}

QWidget *OnboardingView::pageHeader(
    const QString &symbol, const QString &title, const QString &explanation, QWidget *parent) const
{
    auto *header = new QWidget(parent);
    auto *layout = new QVBoxLayout(header);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    layout->addWidget(symbolLabel(symbol, 28, Look::accent(palette()), header));
    auto *heading = new QLabel(title, header);
    heading->setFont(Look::font(Look::TextStyle::title, QFont::DemiBold));
    layout->addWidget(heading);
    layout->addWidget(wrappingLabel(explanation, header));
    return header;
}

QWidget *OnboardingView::optionRow(
    const QString &symbol, const QString &text, QWidget *control, QWidget *parent) const
{
    auto *row = new QWidget(parent);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(12, 10, 12, 10);
    layout->setSpacing(10);
    auto *icon = symbolLabel(symbol, 16, Look::accent(palette()), row);
    icon->setFixedWidth(20);
    icon->setAlignment(Qt::AlignCenter);
    layout->addWidget(icon);
    auto *label = new QLabel(text, row);
    label->setBuddy(control);
    layout->addWidget(label);
    layout->addStretch();
    control->setParent(row);
    if (control->accessibleName().isEmpty())
        control->setAccessibleName(text);
    layout->addWidget(control);
    return row;
}

QWidget *OnboardingView::welcomePage()
{
    auto *page = new QWidget(m_pageArea);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(16);
    layout->addStretch();
    QIcon icon(QStringLiteral(":/daystride/daystride.svg"));
    if (icon.isNull())
        icon = QApplication::windowIcon();
    auto *image = new QLabel(page);
    image->setObjectName(QStringLiteral("appIcon"));
    image->setFixedSize(96, 96);
    image->setPixmap(icon.pixmap(QSize(96, 96), devicePixelRatioF()));
    layout->addWidget(image, 0, Qt::AlignHCenter);
    auto *title = new QLabel(tr("Welcome to Daystride"), page);
    title->setFont(Look::font(Look::TextStyle::largeTitle, QFont::DemiBold));
    layout->addWidget(title, 0, Qt::AlignHCenter);
    auto *text = wrappingLabel(tr("Keep a countdown to your next big day in the menu bar, and fill "
                                  "your screens with it when you step away."),
        page);
    text->setFont(Look::font(Look::TextStyle::title3));
    text->setAlignment(Qt::AlignHCenter);
    layout->addWidget(text);
    layout->addStretch();
    return page;
}

QWidget *OnboardingView::eventPage()
{
    auto *page = new QWidget(m_pageArea);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(20);
    layout->addWidget(
        pageHeader(QStringLiteral("flag.checkered"), tr("What are you counting down to?"),
            tr("The event name appears on the full-screen countdown."), page));

    m_nameBox = new RoundedBox(page);
    m_nameBox->setBorder(true);
    auto *row = new QHBoxLayout(m_nameBox);
    row->setContentsMargins(12, 10, 12, 10);
    row->setSpacing(8);
    m_nameField = new QLineEdit(m_nameBox);
    m_nameField->setAccessibleName(tr("Event name"));
    m_nameField->setPlaceholderText(tr("e.g. Product Launch"));
    Look::makePlain(m_nameField);
    m_nameField->setFont(Look::font(Look::TextStyle::title2, QFont::DemiBold));
    m_nameField->setText(m_viewModel.eventName());
    m_nameField->installEventFilter(this);
    row->addWidget(m_nameField);
    m_pencil = new QLabel(m_nameBox);
    row->addWidget(m_pencil);
    layout->addWidget(m_nameBox);
    connect(m_nameField, &QLineEdit::textEdited, &m_viewModel, &TimerViewModel::setEventName);

    auto *secondary = new QVBoxLayout;
    secondary->setSpacing(6);
    secondary->addWidget(wrappingLabel(tr("Secondary text (optional)"), page));
    auto *subtitle = new QLineEdit(m_viewModel.subtitle(), page);
    subtitle->setAccessibleName(tr("Secondary text"));
    subtitle->setPlaceholderText(tr("Shown under the event name"));
    secondary->addWidget(subtitle);
    layout->addLayout(secondary);
    layout->addStretch();
    connect(subtitle, &QLineEdit::textEdited, &m_viewModel, &TimerViewModel::setSubtitle);

    m_refreshPage = [this, subtitle] {
        Look::setTextKeepingCursor(m_nameField, m_viewModel.eventName());
        Look::setTextKeepingCursor(subtitle, m_viewModel.subtitle());
        const bool focused = m_nameField->hasFocus();
        m_nameBox->setFocusBorder(focused);
        m_pencil->setPixmap(SymbolIcon::pixmap(QStringLiteral("pencil"),
            focused ? Look::accent(palette()) : Look::secondary(palette()), 16,
            devicePixelRatioF()));
    };
    return page;
}

QWidget *OnboardingView::datePage()
{
    auto *page = new QWidget(m_pageArea);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(20);
    layout->addWidget(pageHeader(QStringLiteral("calendar"), tr("When is it?"),
        tr("The menu bar shows the days, hours and minutes left."), page));

    auto *row = new QHBoxLayout;
    row->setSpacing(24);
    auto *calendar = new QCalendarWidget(page);
    calendar->setAccessibleName(tr("Date"));
    calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    calendar->setMaximumWidth(250);
    row->addWidget(calendar, 0, Qt::AlignTop);

    auto *side = new QVBoxLayout;
    side->setSpacing(16);
    auto *timeSection = new QVBoxLayout;
    timeSection->setSpacing(6);
    timeSection->addWidget(wrappingLabel(tr("Time"), page));
    auto *time = new QTimeEdit(page);
    time->setAccessibleName(tr("Time"));
    time->setDisplayFormat(QStringLiteral("HH:mm"));
    timeSection->addWidget(time, 0, Qt::AlignLeft);
    side->addLayout(timeSection);
    auto *barSection = new QVBoxLayout;
    barSection->setSpacing(6);
    barSection->addWidget(wrappingLabel(tr("In your menu bar"), page));
    // The panel item as it will look: the symbol and the text on a capsule.
    m_previewCapsule = new QFrame(page);
    m_previewCapsule->setObjectName(QStringLiteral("menuBarPreview"));
    m_previewCapsule->setStyleSheet(
        QStringLiteral("QFrame#menuBarPreview { background: %1; border-radius: 11px; }")
            .arg(Look::quaternaryFill(palette()).name(QColor::HexArgb)));
    auto *capsule = new QHBoxLayout(m_previewCapsule);
    capsule->setContentsMargins(10, 4, 10, 4);
    capsule->setSpacing(5);
    capsule->addWidget(symbolLabel(
        QStringLiteral("clock.fill"), 13, palette().color(QPalette::WindowText), m_previewCapsule));
    m_preview = new QLabel(m_previewCapsule);
    QFont previewFont = font();
    previewFont.setPixelSize(13);
    previewFont.setWeight(QFont::Medium);
    m_preview->setFont(previewFont);
    capsule->addWidget(m_preview);
    barSection->addWidget(m_previewCapsule, 0, Qt::AlignLeft);

    const QColor orange(0xff, 0x95, 0x00);
    m_warningRow = new QWidget(page);
    auto *warning = new QHBoxLayout(m_warningRow);
    warning->setContentsMargins(0, 0, 0, 0);
    warning->setSpacing(5);
    warning->addWidget(
        symbolLabel(QStringLiteral("exclamationmark.triangle"), 14, orange, m_warningRow));
    m_warning = new QLabel(tr("Pick a time in the future"), m_warningRow);
    QPalette warningColours = m_warning->palette();
    warningColours.setColor(QPalette::WindowText, orange);
    m_warning->setPalette(warningColours);
    warning->addWidget(m_warning);
    barSection->addWidget(m_warningRow, 0, Qt::AlignLeft);
    side->addLayout(barSection);
    side->addStretch();
    row->addLayout(side, 1);
    layout->addLayout(row);
    layout->addStretch();

    connect(calendar, &QCalendarWidget::clicked, this, [this](QDate day) {
        // The day changes; the hour and minute stay.
        m_viewModel.setTimerDate(QDateTime(day, m_viewModel.timerDate().time()));
    });
    connect(calendar, &QCalendarWidget::activated, calendar, &QCalendarWidget::clicked);
    connect(time, &QTimeEdit::timeChanged, this, [this](QTime value) {
        const QDateTime date = m_viewModel.timerDate();
        const QDateTime next(date.date(),
            QTime(value.hour(), value.minute(), date.time().second(), date.time().msec()));
        if (next != date)
            m_viewModel.setTimerDate(next);
    });

    m_refreshPage = [this, calendar, time] {
        const QDateTime date = m_viewModel.timerDate();
        const QDateTime now = m_viewModel.platform().now();
        {
            const QSignalBlocker block(calendar);
            calendar->setMinimumDate(now.date());
            calendar->setSelectedDate(date.date());
        }
        {
            const QSignalBlocker block(time);
            time->setTime(date.time());
        }
        const bool future = date > now;
        m_previewCapsule->setVisible(future);
        m_warningRow->setVisible(!future);
        m_preview->setText(m_viewModel.menuBarText());
    };
    return page;
}

QWidget *OnboardingView::screensaverPage()
{
    auto *page = new QWidget(m_pageArea);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(20);
    layout->addWidget(pageHeader(QStringLiteral("play.display"), tr("Full-screen countdown"),
        tr("When you're away, Daystride can show the countdown, your tasks and a quote on every "
           "screen. Any key or mouse move closes it."),
        page));

    auto *idleCard = new RoundedBox(page);
    auto *idleRows = new QVBoxLayout(idleCard);
    idleRows->setContentsMargins(0, 0, 0, 0);
    idleRows->setSpacing(0);
    auto *idle = new Switch;
    idleRows->addWidget(
        optionRow(QStringLiteral("moon.zzz"), tr("Show when idle"), idle, idleCard));
    idleRows->addWidget(Look::divider(idleCard, 40));
    auto *delay = new Stepper(1, 120, tr("%lld min"));
    m_delayRow = optionRow(QStringLiteral("timer"), tr("Delay"), delay, idleCard);
    idleRows->addWidget(m_delayRow);
    idleRows->addWidget(Look::divider(idleCard, 40));
    auto *preview = new QPushButton(tr("Preview"));
    idleRows->addWidget(
        optionRow(QStringLiteral("eye"), tr("See what it looks like"), preview, idleCard));
    layout->addWidget(idleCard);

    auto *loginCard = new RoundedBox(page);
    auto *loginRows = new QVBoxLayout(loginCard);
    loginRows->setContentsMargins(0, 0, 0, 0);
    m_loginSwitch = new Switch;
    m_loginSwitch->setChecked(m_launchAtLogin);
    loginRows->addWidget(optionRow(
        QStringLiteral("power"), tr("Launch Daystride at login"), m_loginSwitch, loginCard));
    layout->addWidget(loginCard);
    layout->addStretch();

    connect(idle, &Switch::toggled, &m_viewModel, &TimerViewModel::setIdleEnabled);
    connect(delay, &Stepper::valueChanged, &m_viewModel, &TimerViewModel::setIdleMinutes);
    // Over the guide, which stays on this page underneath.
    connect(preview, &QPushButton::clicked, this, [this] { m_viewModel.screensaver()->show(); });
    connect(m_loginSwitch, &Switch::clicked, this, &OnboardingView::userChangedLaunchAtLogin);

    m_refreshPage = [this, idle, delay] {
        {
            const QSignalBlocker block(idle);
            idle->setChecked(m_viewModel.idleEnabled());
        }
        delay->setValue(m_viewModel.idleMinutes());
        m_delayRow->setEnabled(m_viewModel.idleEnabled());
    };
    return page;
}

QWidget *OnboardingView::tourPage()
{
    auto *page = new QWidget(m_pageArea);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(20);
    layout->addWidget(pageHeader(QStringLiteral("checkmark.circle"), tr("You're all set"),
        tr("Here's where everything lives."), page));
    auto *rows = new QVBoxLayout;
    rows->setSpacing(16);
    const struct
    {
        const char *symbol;
        const char *title;
        const char *explanation;
    } entries[] = {
        {"clock.fill", QT_TR_NOOP("Click the countdown in the menu bar"),
            QT_TR_NOOP("Change the event name, date and time from the popover.")},
        {"moon.zzz", QT_TR_NOOP("Screensaver tab"),
            QT_TR_NOOP("Edit the tasks and idle options shown on the full-screen countdown.")},
        {"play.display", QT_TR_NOOP("Show Countdown"),
            QT_TR_NOOP("Opens the full-screen countdown right away.")},
        {"gearshape", QT_TR_NOOP("Settings"),
            QT_TR_NOOP("Edit quotes, turn launch at login on or off, or open this guide again.")},
    };
    for (const auto &entry : entries) {
        auto *row = new QHBoxLayout;
        row->setSpacing(12);
        auto *icon
            = symbolLabel(QString::fromLatin1(entry.symbol), 20, Look::accent(palette()), page);
        icon->setFixedWidth(28);
        icon->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        row->addWidget(icon, 0, Qt::AlignTop);
        auto *texts = new QVBoxLayout;
        texts->setSpacing(2);
        auto *title = new QLabel(tr(entry.title), page);
        QFont bold = title->font();
        bold.setWeight(QFont::DemiBold);
        title->setFont(bold);
        texts->addWidget(title);
        texts->addWidget(wrappingLabel(tr(entry.explanation), page));
        row->addLayout(texts, 1);
        rows->addLayout(row);
    }
    layout->addLayout(rows);
    layout->addStretch();
    return page;
}

void OnboardingView::userChangedLaunchAtLogin(bool enabled)
{
    m_launchAtLogin = m_viewModel.platform().changeLaunchAtLogin(enabled);
    m_loginSwitch->setChecked(m_launchAtLogin);
}

bool OnboardingView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_nameField
        && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut))
        m_refresh.start();
    return QWidget::eventFilter(watched, event);
}
