// The real sifteron process on a real X server (Xvfb): its window's icon, a
// run typed and confirmed in the window, and Escape, the Cancel button, the window
// manager's close request and SIGTERM (also while the information box is
// open) each ending it with exit code 0 and nothing written. Input arrives
// through the XTEST extension, loaded at run time so the build needs no X11
// headers; without Xvfb or the libraries the suite skips.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLibrary>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <cstring>
#include <functional>
#include <optional>

#include "tests/qt/child_process.h"

namespace sif::test {
namespace {

using Display = void;
using Window = unsigned long;
using Atom = unsigned long;

// Xlib's client-message event, padded to the size of XEvent.
struct ClientMessage {
    int type;
    unsigned long serial;
    int sendEvent;
    Display* display;
    Window window;
    Atom messageType;
    int format;
    long data[5];
};
union XEvent {
    int type;
    ClientMessage client;
    long pad[24];
};
constexpr int kClientMessage = 33;

// Xlib's XWindowAttributes, of which only map_state is read.
struct WindowAttributes {
    int x, y, width, height, borderWidth, depth;
    void* visual;
    Window root;
    int windowClass, bitGravity, winGravity, backingStore;
    unsigned long backingPlanes, backingPixel;
    int saveUnder;
    unsigned long colormap;
    int mapInstalled;
    int mapState;
    long allEventMasks, yourEventMask, doNotPropagateMask;
    int overrideRedirect;
    void* screen;
};
constexpr int kIsViewable = 2;

// A window may vanish between the request that lists it and one that reads
// it. Xlib's default handler ends the whole runner on the BadWindow that
// follows; here the failing call just returns its failure.
int IgnoreXError(Display*, void*) {
    return 0;
}

// The few Xlib and XTEST calls the suite needs.
struct X11 {
    QLibrary xlib{"X11", 6};
    QLibrary xtst{"Xtst", 6};
    Display* (*OpenDisplay)(const char*) = nullptr;
    int (*CloseDisplay)(Display*) = nullptr;
    int (*(*SetErrorHandler)(int (*)(Display*, void*)))(Display*, void*) = nullptr;
    Window (*DefaultRootWindow)(Display*) = nullptr;
    int (*QueryTree)(Display*, Window, Window*, Window*, Window**, unsigned*) = nullptr;
    int (*FetchName)(Display*, Window, char**) = nullptr;
    int (*GetWindowAttributes)(Display*, Window, WindowAttributes*) = nullptr;
    int (*GetInputFocus)(Display*, Window*, int*) = nullptr;
    int (*Free)(void*) = nullptr;
    int (*GetGeometry)(Display*, Window, Window*, int*, int*, unsigned*, unsigned*, unsigned*,
                       unsigned*) = nullptr;
    int (*TranslateCoordinates)(Display*, Window, Window, int, int, int*, int*, Window*) = nullptr;
    Atom (*InternAtom)(Display*, const char*, int) = nullptr;
    int (*SendEvent)(Display*, Window, int, long, XEvent*) = nullptr;
    unsigned long (*StringToKeysym)(const char*) = nullptr;
    unsigned char (*KeysymToKeycode)(Display*, unsigned long) = nullptr;
    int (*Flush)(Display*) = nullptr;
    int (*GetWindowProperty)(Display*, Window, Atom, long, long, int, Atom, Atom*, int*,
                             unsigned long*, unsigned long*, unsigned char**) = nullptr;
    int (*FakeKeyEvent)(Display*, unsigned, int, unsigned long) = nullptr;
    int (*FakeButtonEvent)(Display*, unsigned, int, unsigned long) = nullptr;
    int (*FakeMotionEvent)(Display*, int, int, int, unsigned long) = nullptr;

    template <class F>
    bool Get(QLibrary& lib, F& f, const char* name) {
        f = reinterpret_cast<F>(lib.resolve(name));
        return f != nullptr;
    }
    bool Load() {
        return xlib.load() && xtst.load() && Get(xlib, OpenDisplay, "XOpenDisplay") &&
               Get(xlib, CloseDisplay, "XCloseDisplay") &&
               Get(xlib, SetErrorHandler, "XSetErrorHandler") &&
               Get(xlib, DefaultRootWindow, "XDefaultRootWindow") &&
               Get(xlib, QueryTree, "XQueryTree") && Get(xlib, FetchName, "XFetchName") &&
               Get(xlib, GetWindowAttributes, "XGetWindowAttributes") &&
               Get(xlib, GetInputFocus, "XGetInputFocus") && Get(xlib, Free, "XFree") &&
               Get(xlib, GetGeometry, "XGetGeometry") &&
               Get(xlib, TranslateCoordinates, "XTranslateCoordinates") &&
               Get(xlib, InternAtom, "XInternAtom") && Get(xlib, SendEvent, "XSendEvent") &&
               Get(xlib, StringToKeysym, "XStringToKeysym") &&
               Get(xlib, KeysymToKeycode, "XKeysymToKeycode") && Get(xlib, Flush, "XFlush") &&
               Get(xlib, GetWindowProperty, "XGetWindowProperty") &&
               Get(xtst, FakeKeyEvent, "XTestFakeKeyEvent") &&
               Get(xtst, FakeButtonEvent, "XTestFakeButtonEvent") &&
               Get(xtst, FakeMotionEvent, "XTestFakeMotionEvent");
    }

    // The title of a window that is shown; nothing for a hidden or vanished one.
    std::optional<QByteArray> ShownTitle(Display* d, Window window) {
        WindowAttributes attributes{};
        if (!GetWindowAttributes(d, window, &attributes) || attributes.mapState != kIsViewable)
            return std::nullopt;
        char* name = nullptr;
        if (!FetchName(d, window, &name) || name == nullptr)
            return QByteArray();
        QByteArray title(name);
        Free(name);
        return title;
    }

    // A property of 32-bit items; empty when the window lacks it.
    QList<quint32> Cardinals(Display* d, Window window, const char* property) {
        constexpr int kAnyPropertyType = 0;
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, left = 0;
        unsigned char* data = nullptr;
        QList<quint32> items;
        if (GetWindowProperty(d, window, InternAtom(d, property, 0), 0, 1 << 20, 0,
                              kAnyPropertyType, &type, &format, &count, &left, &data) == 0 &&
            format == 32 && data != nullptr) {
            // Xlib hands each item over in a long, sign-extended.
            const auto* values = reinterpret_cast<const unsigned long*>(data);
            for (unsigned long i = 0; i < count; ++i)
                items << static_cast<quint32>(values[i]);
        }
        if (data != nullptr)
            Free(data);
        return items;
    }

    // The titles of the shown top-level windows, for failure messages.
    QByteArrayList ShownTitles(Display* d) {
        Window rootOut = 0, parent = 0;
        Window* children = nullptr;
        unsigned count = 0;
        QByteArrayList titles;
        if (!QueryTree(d, DefaultRootWindow(d), &rootOut, &parent, &children, &count))
            return titles;
        for (unsigned i = 0; i < count; ++i) {
            if (std::optional<QByteArray> title = ShownTitle(d, children[i]))
                titles << "\"" + *title + "\"";
        }
        if (children != nullptr)
            Free(children);
        return titles;
    }

    // The shown top-level window titled `title`, or 0.
    Window FindWindow(Display* d, const char* title) {
        Window root = DefaultRootWindow(d), rootOut = 0, parent = 0, found = 0;
        Window* children = nullptr;
        unsigned count = 0;
        if (!QueryTree(d, root, &rootOut, &parent, &children, &count))
            return 0;
        for (unsigned i = 0; i < count && found == 0; ++i) {
            if (ShownTitle(d, children[i]) == QByteArray(title))
                found = children[i];
        }
        if (children != nullptr)
            Free(children);
        return found;
    }

    // The window with the keyboard focus when it is shown and titled `title`,
    // or 0. A program's window takes the focus once the program has seen it
    // mapped and activated it: from then on input reaches it.
    Window FocusedWindow(Display* d, const char* title) {
        Window focus = 0;
        int revertTo = 0;
        GetInputFocus(d, &focus, &revertTo);
        return focus > 1 && ShownTitle(d, focus) == QByteArray(title) ? focus : 0;
    }
};

bool WaitFor(const std::function<bool()>& condition, int timeoutMs) {
    return QTest::qWaitFor(condition, timeoutMs);
}

}  // namespace

class X11ProcessTest : public QObject {
    Q_OBJECT

  private:
    X11 x_;
    ChildProcess xvfb_;
    QString display_;
    Display* d_ = nullptr;

    // Starts sifteron in `dir` on the test's X server.
    void Start(QProcess& program, const QString& dir) {
        program.setWorkingDirectory(dir);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("QT_QPA_PLATFORM");
        env.remove("WAYLAND_DISPLAY");
        env.insert("DISPLAY", display_);
        // The X11 platform's D-Bus library keeps one buffer to the end.
        env.insert("LSAN_OPTIONS", "suppressions=" SIF_LSAN_SUPPRESSIONS);
        program.setProcessEnvironment(env);
        program.start(SIF_SIFTERON_PATH, {});
    }
    // What the failure of a wait on the screen should say.
    QByteArray Shown(const char* what) {
        return QByteArray(what) + "; shown: " + x_.ShownTitles(d_).join(", ");
    }
    void Key(const char* keysym) {
        unsigned char key = x_.KeysymToKeycode(d_, x_.StringToKeysym(keysym));
        x_.FakeKeyEvent(d_, key, 1, 0);
        x_.FakeKeyEvent(d_, key, 0, 0);
        x_.Flush(d_);
    }
    // Moves the pointer to dialog units (x, y) of the main window, which is
    // 270 x 138 units; false when the window has gone.
    bool PointAt(Window window, int x, int y) {
        Window root = 0, child = 0;
        int left = 0, top = 0;
        unsigned width = 0, height = 0, border = 0, depth = 0;
        if (!x_.GetGeometry(d_, window, &root, &left, &top, &width, &height, &border, &depth) ||
            !x_.TranslateCoordinates(d_, window, root, 0, 0, &left, &top, &child)) {
            return false;
        }
        x_.FakeMotionEvent(d_, -1, left + static_cast<int>(width) * x / 270,
                           top + static_cast<int>(height) * y / 138, 0);
        x_.Flush(d_);
        return true;
    }
    bool ClickAt(Window window, int x, int y) {
        if (!PointAt(window, x, y))
            return false;
        x_.FakeButtonEvent(d_, 1, 1, 0);
        x_.FakeButtonEvent(d_, 1, 0, 0);
        x_.Flush(d_);
        return true;
    }
    // Waits until the window titled `title`, other than `previous`, has the
    // keyboard focus; 0 when none has within the time.
    Window WaitForFocus(const char* title, int timeoutMs, Window previous = 0) {
        Window window = 0;
        WaitFor(
            [&] {
                window = x_.FocusedWindow(d_, title);
                return window != 0 && window != previous;
            },
            timeoutMs);
        return window != previous ? window : 0;
    }

  private slots:
    void initTestCase() {
        QString server = QStandardPaths::findExecutable("Xvfb");
        if (server.isEmpty() || !x_.Load())
            QSKIP("needs Xvfb, libX11 and libXtst");
        x_.SetErrorHandler(IgnoreXError);
        // The server picks a free display itself and writes its number to
        // stdout once it accepts connections.
        xvfb_.start(server, {"-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "800x600x24"});
        QVERIFY2(xvfb_.waitForStarted(10000), qPrintable(xvfb_.errorString()));
        bool reported = WaitFor(
            [&] { return xvfb_.canReadLine() || xvfb_.state() == QProcess::NotRunning; }, 20000);
        QVERIFY2(reported && xvfb_.canReadLine(),
                 "Xvfb reported no display within 20 s: " + xvfb_.readAllStandardError());
        bool isNumber = false;
        int number = xvfb_.readLine().trimmed().toInt(&isNumber);
        QVERIFY(isNumber);
        display_ = QString(":%1").arg(number);
        d_ = x_.OpenDisplay(qPrintable(display_));
        QVERIFY2(d_ != nullptr, qPrintable("cannot open display " + display_));
    }
    void cleanupTestCase() {
        if (d_ != nullptr)
            x_.CloseDisplay(d_);
        d_ = nullptr;
        xvfb_.End();
    }

    void theWindowShowsTheProgramIcon() {
        QTemporaryDir dir;
        ChildProcess program;
        Start(program, dir.path());
        QVERIFY2(program.waitForStarted(10000), qPrintable(program.errorString()));
        Window window = WaitForFocus("Sifteron", 20000);
        QVERIFY2(window != 0, Shown("the main window did not open and take the focus in 20 s"));

        // Width, height, then the pixels as ARGB, row by row.
        QList<quint32> icon = x_.Cardinals(d_, window, "_NET_WM_ICON");
        QVERIFY2(icon.size() > 2, "the window has no _NET_WM_ICON");
        QImage expected = QImage(SIF_PROGRAM_ICON, "ICO").convertToFormat(QImage::Format_ARGB32);
        QVERIFY2(!expected.isNull(), "cannot read " SIF_PROGRAM_ICON);
        QCOMPARE(icon[0], static_cast<quint32>(expected.width()));
        QCOMPARE(icon[1], static_cast<quint32>(expected.height()));
        QCOMPARE(icon.size(), qsizetype(2 + expected.width() * expected.height()));
        for (int y = 0; y < expected.height(); ++y) {
            for (int x = 0; x < expected.width(); ++x) {
                quint32 shown = icon[2 + y * expected.width() + x];
                QVERIFY2(shown == expected.pixel(x, y),
                         qPrintable(QString("pixel (%1, %2) is %3, the icon's %4")
                                        .arg(x)
                                        .arg(y)
                                        .arg(shown, 8, 16, QChar('0'))
                                        .arg(expected.pixel(x, y), 8, 16, QChar('0'))));
            }
        }
        Key("Escape");
        QVERIFY2(program.waitForFinished(20000), "Escape did not end the program in 20 s");
    }

    void okRunsTheEngineAndShowsRealBoxes() {
        QTemporaryDir dir;
        QFile source(dir.filePath("a.txt"));
        QVERIFY(source.open(QIODevice::WriteOnly));
        source.write("x \"abc\" y\r\n");
        source.close();
        ChildProcess program;
        Start(program, dir.path());
        QVERIFY2(program.waitForStarted(10000), qPrintable(program.errorString()));
        Window window = WaitForFocus("Sifteron", 20000);
        QVERIFY2(window != 0, Shown("the main window did not open and take the focus in 20 s"));

        const char* const sourceKeys[] = {"a", "period", "t", "x", "t"};
        const char* const targetKeys[] = {"b", "period", "t", "x", "t"};
        QVERIFY(ClickAt(window, 28, 39));
        for (const char* key : sourceKeys)
            Key(key);
        QVERIFY(ClickAt(window, 28, 70));
        for (const char* key : targetKeys)
            Key(key);
        QVERIFY(ClickAt(window, 240, 30));

        // Two boxes: the target is created, then the run is complete. Each
        // takes the keyboard focus; Return answers it.
        Window box = 0;
        for (int n = 1; n <= 2; ++n) {
            box = WaitForFocus("Meldung", 20000, box);
            QVERIFY2(box != 0,
                     Shown(n == 1 ? "no first notice in 20 s" : "no second notice in 20 s"));
            Key("Return");
            QVERIFY2(WaitFor([&] { return x_.FindWindow(d_, "Meldung") != box; }, 10000),
                     "a notice stayed open after Return");
        }
        QFile target(dir.filePath("b.txt"));
        QVERIFY(target.open(QIODevice::ReadOnly));
        QCOMPARE(target.readAll(), QByteArray("abc\r\n"));
        QVERIFY(program.state() == QProcess::Running);  // OK never closes the window

        // No window manager gives the focus back: it stays with the root
        // window, and keys go to the window under the pointer.
        QVERIFY(PointAt(window, 5, 5));
        Key("Escape");
        QVERIFY2(program.waitForFinished(20000), "Escape did not end the program in 20 s");
        QCOMPARE(program.exitCode(), 0);
    }

    void closingEndsWithExitCodeZero_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Escape") << "escape";
        QTest::newRow("Cancel button") << "cancel";
        QTest::newRow("close request") << "close";
        QTest::newRow("SIGTERM with the information box open") << "info+signal";
    }
    void closingEndsWithExitCodeZero() {
        QFETCH(QString, how);
        QTemporaryDir dir;
        ChildProcess program;
        Start(program, dir.path());
        QVERIFY2(program.waitForStarted(10000), qPrintable(program.errorString()));
        Window window = WaitForFocus("Sifteron", 20000);
        QVERIFY2(window != 0, Shown("the main window did not open and take the focus in 20 s"));

        if (how == "escape") {
            Key("Escape");
        } else if (how == "cancel") {
            QVERIFY(ClickAt(window, 240, 55));
        } else if (how == "info+signal") {
            // The signal closes the box first, then the window.
            QVERIFY(ClickAt(window, 190, 38));
            QVERIFY2(WaitForFocus("Sifteron Information", 20000) != 0,
                     Shown("the information box did not open in 20 s"));
            ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
        } else {
            XEvent event{};
            event.client.type = kClientMessage;
            event.client.window = window;
            event.client.messageType = x_.InternAtom(d_, "WM_PROTOCOLS", 0);
            event.client.format = 32;
            event.client.data[0] = static_cast<long>(x_.InternAtom(d_, "WM_DELETE_WINDOW", 0));
            x_.SendEvent(d_, window, 0, 0, &event);
            x_.Flush(d_);
        }
        QVERIFY2(program.waitForFinished(20000), Shown("still running 20 s later"));
        QVERIFY2(program.exitStatus() == QProcess::NormalExit && program.exitCode() == 0,
                 program.readAllStandardError().constData());
        // Its window goes with it: asking about it now is an X error, which
        // must read as "no such window" and not end the runner.
        QVERIFY2(WaitFor([&] { return !x_.ShownTitle(d_, window); }, 10000),
                 "the main window outlived its program");
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList());
    }
};

}  // namespace sif::test

QTEST_GUILESS_MAIN(sif::test::X11ProcessTest)
#include "x11_process_test.moc"
