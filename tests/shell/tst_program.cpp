// The built program under a real X server: it opens a layout named on the
// command line (an unquoted path with a blank), shows a window that is not
// blank, and ends when the window manager's close request arrives.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace {

struct XcbFree
{
    void operator()(void *p) const { std::free(p); }
};
template<typename T>
using Reply = std::unique_ptr<T, XcbFree>;

xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    Reply<xcb_intern_atom_reply_t> r(xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(strlen(name)), name), nullptr));
    return r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
}

QString windowName(xcb_connection_t *c, xcb_window_t w, xcb_atom_t utf8Name, xcb_atom_t utf8)
{
    Reply<xcb_get_property_reply_t> r(
        xcb_get_property_reply(c, xcb_get_property(c, 0, w, utf8Name, utf8, 0, 1024), nullptr));
    if (!r || xcb_get_property_value_length(r.get()) == 0)
        return QString();
    return QString::fromUtf8(static_cast<const char *>(xcb_get_property_value(r.get())),
                             xcb_get_property_value_length(r.get()));
}

// The mapped top-level window whose title contains text.
xcb_window_t findWindow(xcb_connection_t *c, xcb_window_t root, const QString &text)
{
    const xcb_atom_t netName = atom(c, "_NET_WM_NAME");
    const xcb_atom_t utf8 = atom(c, "UTF8_STRING");
    Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr));
    if (!tree)
        return XCB_WINDOW_NONE;
    const xcb_window_t *children = xcb_query_tree_children(tree.get());
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
        Reply<xcb_get_window_attributes_reply_t> attrs(
            xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, children[i]), nullptr));
        if (attrs && attrs->map_state == XCB_MAP_STATE_VIEWABLE
            && windowName(c, children[i], netName, utf8).contains(text))
            return children[i];
    }
    return XCB_WINDOW_NONE;
}

} // namespace

class TestProgram : public QObject
{
    Q_OBJECT

    QProcess m_xvfb;
    QString m_display;
    QTemporaryDir m_dir;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // A display number nobody uses.
        for (int n = 90; n < 190 && m_display.isEmpty(); ++n) {
            if (!QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(n))
                && !QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)))
                m_display = QStringLiteral(":%1").arg(n);
        }
        QVERIFY(!m_display.isEmpty());
        m_xvfb.start(QStringLiteral("Xvfb"), {m_display, QStringLiteral("-screen"), QStringLiteral("0"),
                                              QStringLiteral("1280x900x24"), QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        QVERIFY2(m_xvfb.waitForStarted(5000), "Xvfb (package xvfb) could not be started");
        const QString socket = QStringLiteral("/tmp/.X11-unix/X") + m_display.mid(1);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(socket), 10000);
    }

    void cleanupTestCase()
    {
        m_xvfb.terminate();
        m_xvfb.waitForFinished(5000);
    }

    void opensShowsAndClosesOnRequest()
    {
        // The layout in a folder with a blank, passed unquoted.
        QDir(m_dir.path()).mkpath(QStringLiteral("my reports"));
        const QString layout = m_dir.filePath(QStringLiteral("my reports/invoice copy.rpx"));
        QVERIFY(QFile::copy(QStringLiteral(ORV_SOURCE_DIR "/examples/invoices.rpx"), layout));
        const QString asTyped = layout;
        const int blank = asTyped.lastIndexOf(QLatin1Char(' '));

        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), m_display);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("ORVREPORT_CONFIG_DIR"), m_dir.filePath(QStringLiteral("config")));
        // X and font libraries keep some memory to the end on purpose.
        env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
        program.setProcessEnvironment(env);
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start(QStringLiteral(ORVREPORT_PATH), {asTyped.left(blank), asTyped.mid(blank + 1)});
        QVERIFY(program.waitForStarted(10000));

        int screen = 0;
        xcb_connection_t *c = xcb_connect(qPrintable(m_display), &screen);
        QVERIFY(c && !xcb_connection_has_error(c));
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
        xcb_window_t window = XCB_WINDOW_NONE;
        QTRY_VERIFY_WITH_TIMEOUT((window = findWindow(c, root, QStringLiteral("invoice copy.rpx - OrvReport"))) != XCB_WINDOW_NONE,
                                 60000);

        // The window as drawn: many colours, not one blank fill.
        QTest::qWait(1500);
        Reply<xcb_get_geometry_reply_t> geometry(xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr));
        QVERIFY(geometry && geometry->width > 400 && geometry->height > 300);
        Reply<xcb_get_image_reply_t> image(xcb_get_image_reply(
            c, xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0, geometry->width, geometry->height, ~0u), nullptr));
        QVERIFY(image);
        const auto *pixels = reinterpret_cast<const quint32 *>(xcb_get_image_data(image.get()));
        const int count = xcb_get_image_data_length(image.get()) / 4;
        QSet<quint32> colours;
        for (int i = 0; i < count && colours.size() < 64; i += 7)
            colours.insert(pixels[i] & 0xFFFFFF);
        QVERIFY2(colours.size() >= 16, qPrintable(QStringLiteral("%1 colours").arg(colours.size())));

        // The close request a window manager sends; nothing is unsaved, so
        // the program ends without asking.
        xcb_client_message_event_t close{};
        close.response_type = XCB_CLIENT_MESSAGE;
        close.format = 32;
        close.window = window;
        close.type = atom(c, "WM_PROTOCOLS");
        close.data.data32[0] = atom(c, "WM_DELETE_WINDOW");
        close.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(c, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char *>(&close));
        xcb_flush(c);
        const bool ended = program.waitForFinished(20000);
        xcb_disconnect(c);
        if (!ended)
            program.kill();
        QVERIFY(ended);
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        // The recent list was written on the way out.
        QVERIFY(QFile::exists(m_dir.filePath(QStringLiteral("config/Orv/OrvReport.ini"))));
    }
};

QTEST_GUILESS_MAIN(TestProgram)
#include "tst_program.moc"
