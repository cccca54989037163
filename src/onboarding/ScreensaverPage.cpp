#include "onboarding/ScreensaverPage.h"

#include "model/TimerViewModel.h"
#include "platform/Platform.h"
#include "screensaver/ScreensaverController.h"
#include "ui/IdleNotice.h"
#include "ui/Look.h"
#include "ui/RoundedBox.h"
#include "ui/Stepper.h"
#include "ui/Switch.h"
#include "ui/Units.h"

#include <QPushButton>
#include <QVBoxLayout>

ScreensaverPage::ScreensaverPage(TimerViewModel &viewModel, bool launchAtLogin, QWidget *parent)
    : GuidePage(viewModel, parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(20);
    layout->addWidget(header(QStringLiteral("play.display"), tr("Full-screen countdown"),
        tr("When you're away, Daystride can show the countdown, your tasks and a quote on every "
           "screen. Any key or mouse move closes it.")));

    auto *idleCard = new RoundedBox(this);
    auto *idleRows = new QVBoxLayout(idleCard);
    idleRows->setContentsMargins(0, 0, 0, 0);
    idleRows->setSpacing(0);
    m_idle = new Switch;
    idleRows->addWidget(
        optionRow(QStringLiteral("moon.zzz"), tr("Show when idle"), m_idle, idleCard));
    idleRows->addWidget(Look::divider(idleCard, 40));
    m_delay = new Stepper(1, 120, tr("%lld min"));
    m_delay->setSpokenText([](qint64 count) { return Units::spoken(Units::minutes, count); });
    m_delayRow = optionRow(QStringLiteral("timer"), tr("Delay"), m_delay, idleCard);
    idleRows->addWidget(m_delayRow);
    idleRows->addWidget(Look::divider(idleCard, 40));
    auto *preview = new QPushButton(tr("Preview"));
    idleRows->addWidget(
        optionRow(QStringLiteral("eye"), tr("See what it looks like"), preview, idleCard));
    layout->addWidget(idleCard);
    layout->addWidget(new IdleNotice(m_viewModel.platform(), this));

    auto *loginCard = new RoundedBox(this);
    auto *loginRows = new QVBoxLayout(loginCard);
    loginRows->setContentsMargins(0, 0, 0, 0);
    m_loginSwitch = new Switch;
    m_loginSwitch->setChecked(launchAtLogin);
    loginRows->addWidget(optionRow(
        QStringLiteral("power"), tr("Launch Daystride at login"), m_loginSwitch, loginCard));
    layout->addWidget(loginCard);
    layout->addStretch();

    connect(m_idle, &Switch::toggled, &m_viewModel, &TimerViewModel::setIdleEnabled);
    connect(m_delay, &Stepper::valueChanged, &m_viewModel, &TimerViewModel::setIdleMinutes);
    // Over the guide, which stays on this page underneath.
    connect(preview, &QPushButton::clicked, this, [this] { m_viewModel.screensaver()->show(); });
    connect(m_loginSwitch, &Switch::clicked, this, &ScreensaverPage::userChangedLaunchAtLogin);
}

void ScreensaverPage::refresh()
{
    {
        const QSignalBlocker block(m_idle);
        m_idle->setChecked(m_viewModel.idleEnabled());
    }
    m_delay->setValue(m_viewModel.idleMinutes());
    m_delayRow->setEnabled(m_viewModel.idleEnabled());
}

void ScreensaverPage::userChangedLaunchAtLogin(bool enabled)
{
    const bool holds = m_viewModel.platform().changeLaunchAtLogin(enabled);
    m_loginSwitch->setChecked(holds);
    emit launchAtLoginChanged(holds);
}
