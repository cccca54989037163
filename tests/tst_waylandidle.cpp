#include "platform/ExtIdleNotifySource.h"
#include "platform/IdleTime.h"
#include "platform/KdeIdleSource.h"
#include "platform/WaylandIdleConnection.h"

#include <QTest>

#include <csignal>
#include <wayland-client.h>

// The generated tables give their visibility after the header's declarations, which
// C++ compilers note and ignore.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wattributes"
extern "C" {
#include "fake-input-client-protocol.h"
#include "fake-input-protocol.c"
}
#pragma GCC diagnostic pop

using Kind = IdleSource::Kind;

namespace {
// Pointer motion through KWin's fake-input protocol: input on the compositor's seat,
// as a device would give it.
bool movePointer()
{
    wl_display *display = wl_display_connect(nullptr);
    if (!display)
        return false;
    wl_registry *registry = wl_display_get_registry(display);
    org_kde_kwin_fake_input *input = nullptr;
    static const wl_registry_listener listener = {
        [](void *data, wl_registry *registry, uint32_t name, const char *interface, uint32_t) {
            if (qstrcmp(interface, org_kde_kwin_fake_input_interface.name) == 0)
                *static_cast<org_kde_kwin_fake_input **>(data)
                    = static_cast<org_kde_kwin_fake_input *>(
                        wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, 1));
        },
        [](void *, wl_registry *, uint32_t) {},
    };
    wl_registry_add_listener(registry, &listener, &input);
    wl_display_roundtrip(display);
    if (input) {
        org_kde_kwin_fake_input_authenticate(input, "tst_waylandidle", "test input");
        org_kde_kwin_fake_input_pointer_motion(input, wl_fixed_from_int(5), wl_fixed_from_int(0));
        wl_display_roundtrip(display);
    }
    wl_display_disconnect(display);
    return input != nullptr;
}
} // namespace

// The compositor's idle protocols against KWin on its virtual backend, started by
// tests/shells/with-kwin: both protocols, real input through the compositor's seat.
class TestWaylandIdle : public QObject
{
    Q_OBJECT

    const int m_kwin = qEnvironmentVariableIntValue("DAYSTRIDE_KWIN_PID");

private slots:
    void initTestCase() { QVERIFY2(m_kwin > 0, "run inside tests/shells/with-kwin"); }

    void idleTimeFollowsTheCompositor_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::newRow("ext-idle-notify-v1") << Kind::ExtIdleNotify;
        QTest::newRow("org_kde_kwin_idle") << Kind::KdeIdle;
    }

    void idleTimeFollowsTheCompositor()
    {
        QFETCH(Kind, kind);
        const auto connection = std::make_shared<WaylandIdleConnection>();
        std::unique_ptr<IdleSource> source;
        if (kind == Kind::ExtIdleNotify)
            source = std::make_unique<ExtIdleNotifySource>(connection);
        else
            source = std::make_unique<KdeIdleSource>(connection);
        auto idle = [&] {
            return source->idleSeconds(IdleQuery::Cheap).value_or(-1);
        };

        QVERIFY(movePointer());
        QCOMPARE(idle(), 0.0);
        // No input: from the notification's timeout on, the time since the last input.
        const double timeout
            = std::chrono::duration<double>(WaylandIdleSource::notifyAfter).count();
        QTRY_VERIFY_WITH_TIMEOUT(idle() >= timeout, 15000);
        QTest::qWait(1000);
        QVERIFY2(idle() >= timeout + 0.9, qPrintable(QString::number(idle())));

        QVERIFY(movePointer());
        QTRY_COMPARE(idle(), 0.0);
    }

    // What a Wayland session asks first; the D-Bus services are not there.
    void sessionChoosesTheNewerProtocol()
    {
        IdleTime idle(IdleTime::Session::Wayland, QDBusConnection(QString()));
        QCOMPARE(idle.idleSeconds(), 0.0);
        QVERIFY(idle.source() == Kind::ExtIdleNotify);

        // The compositor gone: no source answers any more.
        QCOMPARE(::kill(m_kwin, SIGTERM), 0);
        QTRY_VERIFY(std::isnan(idle.idleSeconds()));
    }
};

QTEST_MAIN(TestWaylandIdle)
#include "tst_waylandidle.moc"
