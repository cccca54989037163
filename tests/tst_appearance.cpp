#include "FakePlatform.h"
#include "TestBus.h"
#include "TestEnvironment.h"
#include "menubar/Popover.h"
#include "menubar/TimerView.h"
#include "model/TimerViewModel.h"
#include "onboarding/OnboardingView.h"
#include "platform/ColorSchemePortal.h"
#include "settings/SettingsView.h"
#include "ui/Appearance.h"
#include "ui/Look.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDBusMessage>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>

namespace {
// The colours of a window's symbols (each its most opaque pixel), labels and buttons
// alike, in order; those of disabled widgets marked with a leading "-".
// `named`: only the symbols of widgets whose accessible name starts so.
QStringList symbolColours(const QWidget *window, const QString &named = {})
{
    QStringList colours;
    for (const QWidget *widget : window->findChildren<QWidget *>()) {
        if (!named.isEmpty() && !widget->accessibleName().startsWith(named))
            continue;
        QPixmap pixmap;
        if (const auto *label = qobject_cast<const QLabel *>(widget))
            pixmap = label->pixmap();
        else if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
            pixmap = button->icon().pixmap(16);
        // Symbols only: not the application icon, nor the guide's cross-fade.
        if (pixmap.isNull() || pixmap.deviceIndependentSize().width() > 32)
            continue;
        const QImage image = pixmap.toImage();
        QColor best(Qt::transparent);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y).alpha() > best.alpha())
                    best = image.pixelColor(x, y);
        best.setAlpha(255);
        colours << (widget->isEnabled() ? QString() : QStringLiteral("-")) + best.name();
    }
    return colours;
}

// A dark platform theme that does everything wrong: placeholders and disabled texts
// as bright as the text, a dark blue highlight.
QPalette careless()
{
    QPalette palette(QColor(0x35, 0x35, 0x35), QColor(0x35, 0x35, 0x35));
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        for (auto role :
            {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::PlaceholderText})
            palette.setColor(group, role, QColor(0xee, 0xee, 0xee));
        palette.setColor(group, QPalette::Highlight, QColor(0x15, 0x39, 0x6e));
    }
    return palette;
}

} // namespace

// The desktop's light or dark preference from a stand-in portal on a private bus,
// switched while the popover, Settings and the guide are open; and the colours
// derived from whatever palette the theme gives.
class TestAppearance : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;

private slots:
    void initTestCase() { m_env = std::make_unique<TestEnvironment>(); }

    void derivedColoursStayDimmed_data()
    {
        QTest::addColumn<QPalette>("platform");
        QTest::addColumn<int>("scheme");
        QTest::addColumn<bool>("dark");
        const QPalette light = QApplication::style()->standardPalette();
        QTest::newRow("light theme") << light << int(Appearance::Scheme::none) << false;
        QTest::newRow("light theme, dark preferred")
            << light << int(Appearance::Scheme::dark) << true;
        QTest::newRow("careless dark theme") << careless() << int(Appearance::Scheme::none) << true;
        QTest::newRow("careless dark theme, light preferred")
            << careless() << int(Appearance::Scheme::light) << false;
    }

    void derivedColoursStayDimmed()
    {
        QFETCH(QPalette, platform);
        QFETCH(int, scheme);
        QFETCH(bool, dark);
        const QPalette palette = Appearance::palette(platform, Appearance::Scheme(scheme));
        QCOMPARE(Appearance::isDark(palette), dark);
        const QColor window = palette.color(QPalette::Window);
        const qreal text = Look::contrast(palette.color(QPalette::WindowText), window);
        for (auto dimmed : {palette.color(QPalette::PlaceholderText), Look::secondary(palette),
                 palette.color(QPalette::Disabled, QPalette::WindowText),
                 palette.color(QPalette::Disabled, QPalette::ButtonText),
                 palette.color(QPalette::Disabled, QPalette::Text)}) {
            const qreal c = Look::contrast(dimmed, window);
            QVERIFY2(c < text * 0.6 && c > 1.5, qPrintable(dimmed.name()));
        }
        QVERIFY(Look::contrast(Look::accent(palette), window) >= 3);
    }

    void followsThePortalWhileWindowsAreOpen_data()
    {
        QTest::addColumn<bool>("portal");
        QTest::addColumn<uint>("first");
        QTest::newRow("no portal") << false << 0u;
        QTest::newRow("no preference") << true << 0u;
        QTest::newRow("dark from the start") << true << 1u;
        QTest::newRow("light from the start") << true << 2u;
    }

    void followsThePortalWhileWindowsAreOpen()
    {
        QFETCH(bool, portal);
        QFETCH(uint, first);
        const QPalette before = QApplication::palette();
        TestBus bus;
        QVERIFY(bus.isRunning());
        // The stand-in Settings portal (tests/services).
        const TestBus::Service service = portal ? bus.serve(QStringLiteral(DAYSTRIDE_TEST_SERVICE),
                                             {QStringLiteral("portal=%1").arg(first)})
                                                : nullptr;
        QVERIFY(!portal || service);
        FakePlatform platform;
        platform.setNow(QDateTime(QDate(2026, 3, 6), QTime(12, 0)));
        TimerViewModel model(platform);
        Popover popover(model);
        popover.showAt(QPoint(900, 10));
        SettingsView settings(model, [] {});
        settings.show();
        OnboardingView guide(model);
        guide.show();
        guide.advance(3);
        QVERIFY(QTest::qWaitForWindowExposed(&guide));

        Appearance appearance;
        ColorSchemePortal reader(bus.connection());
        connect(&reader, &ColorSchemePortal::schemeChanged, &appearance, &Appearance::setScheme);
        reader.start();
        // The first answer is there before any window would be drawn.
        QCOMPARE(Appearance::isDark(QApplication::palette()), first == 1);

        for (uint scheme : portal ? QList<uint> {1, 2, 1, 0} : QList<uint>()) {
            QSignalSpy changed(&reader, &ColorSchemePortal::schemeChanged);
            bus.connection().call(
                QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.portal.Desktop"),
                    QStringLiteral("/org/freedesktop/portal/desktop"),
                    QStringLiteral("org.daystride.Test"), QStringLiteral("SetColorScheme"))
                << scheme);
            if (ColorSchemePortal::schemeFromValue(scheme) != reader.scheme())
                QVERIFY(changed.wait(5000));
            QCoreApplication::processEvents();
            // A window open during the switch looks like one opened after it.
            Popover freshPopover(model);
            SettingsView freshSettings(model, [] {});
            OnboardingView freshGuide(model);
            freshGuide.advance(3);
            for (auto [open, fresh] : {std::pair<QWidget *, QWidget *> {&popover, &freshPopover},
                     {&settings, &freshSettings}, {&guide, &freshGuide}}) {
                QCOMPARE(Appearance::isDark(open->palette()), scheme == 1);
                QCOMPARE(symbolColours(open), symbolColours(fresh));
            }
            // Symbols drawn in the secondary colour take the palette's one, on borderless
            // buttons too.
            const QStringList deleteQuote
                = symbolColours(&settings, QStringLiteral("Delete quote "));
            QVERIFY(!deleteQuote.isEmpty());
            for (const QString &colour : deleteQuote)
                QCOMPARE(colour, settings.palette().color(QPalette::PlaceholderText).name());
            for (const QString &colour :
                symbolColours(&guide) + symbolColours(&popover) + symbolColours(&settings)) {
                const QColor window = guide.palette().color(QPalette::Window);
                QVERIFY2(colour.startsWith(u'-') // dimmed on purpose
                        || Look::contrast(QColor(colour), window) >= 2.5,
                    qPrintable(colour));
            }
            // The disabled commit button looks disabled.
            QPushButton *commit = popover.timerView()->commitButton();
            QVERIFY(!commit->isEnabled());
            const QImage shot = commit->grab().toImage();
            const QColor fill = shot.pixelColor(shot.width() / 2, 3);
            QVERIFY2(
                Look::contrast(fill, Look::accent(commit->palette())) > 1.2 || fill.alpha() < 200,
                qPrintable(fill.name()));
        }
        if (!portal)
            QCOMPARE(Appearance::isDark(QApplication::palette()), Appearance::isDark(before));
        QApplication::setPalette(before);
    }
};

QTEST_MAIN(TestAppearance)
#include "tst_appearance.moc"
