// The real sifteron process on a real X server (Xvfb): Escape, the Cancel
// button, the window manager's close request and SIGTERM (also while the
// information box is open) each end it with exit code 0 and nothing written. Input arrives through
// the XTEST extension, loaded at run time so the build needs no X11 headers; without Xvfb or the
// libraries the suite skips.
#include <QDir>
#include <QFile>
#include <QLibrary>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <cstring>

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

// A window can go between listing it and asking for its name; Xlib's
// default handler would end the whole suite over that.
using ErrorHandler = int (*)(Display*, void*);
int IgnoreXError(Display*, void*) {
    return 0;
}

// The few Xlib and XTEST calls the suite needs.
struct X11 {
    QLibrary xlib{"X11", 6};
    QLibrary xtst{"Xtst", 6};
    Display* (*OpenDisplay)(const char*) = nullptr;
    int (*CloseDisplay)(Display*) = nullptr;
    Window (*DefaultRootWindow)(Display*) = nullptr;
    int (*QueryTree)(Display*, Window, Window*, Window*, Window**, unsigned*) = nullptr;
    int (*FetchName)(Display*, Window, char**) = nullptr;
    int (*Free)(void*) = nullptr;
    int (*GetGeometry)(Display*, Window, Window*, int*, int*, unsigned*, unsigned*, unsigned*,
                       unsigned*) = nullptr;
    int (*TranslateCoordinates)(Display*, Window, Window, int, int, int*, int*, Window*) = nullptr;
    Atom (*InternAtom)(Display*, const char*, int) = nullptr;
    int (*SendEvent)(Display*, Window, int, long, XEvent*) = nullptr;
    unsigned long (*StringToKeysym)(const char*) = nullptr;
    unsigned char (*KeysymToKeycode)(Display*, unsigned long) = nullptr;
    int (*Flush)(Display*) = nullptr;
    int (*FakeKeyEvent)(Display*, unsigned, int, unsigned long) = nullptr;
    int (*FakeButtonEvent)(Display*, unsigned, int, unsigned long) = nullptr;
    int (*FakeMotionEvent)(Display*, int, int, int, unsigned long) = nullptr;
    ErrorHandler (*SetErrorHandler)(ErrorHandler) = nullptr;

    template <class F>
    bool Get(QLibrary& lib, F& f, const char* name) {
        f = reinterpret_cast<F>(lib.resolve(name));
        return f != nullptr;
    }
    bool Load() {
        return xlib.load() && xtst.load() && Get(xlib, OpenDisplay, "XOpenDisplay") &&
               Get(xlib, CloseDisplay, "XCloseDisplay") &&
               Get(xlib, DefaultRootWindow, "XDefaultRootWindow") &&
               Get(xlib, QueryTree, "XQueryTree") && Get(xlib, FetchName, "XFetchName") &&
               Get(xlib, Free, "XFree") && Get(xlib, GetGeometry, "XGetGeometry") &&
               Get(xlib, TranslateCoordinates, "XTranslateCoordinates") &&
               Get(xlib, InternAtom, "XInternAtom") && Get(xlib, SendEvent, "XSendEvent") &&
               Get(xlib, StringToKeysym, "XStringToKeysym") &&
               Get(xlib, KeysymToKeycode, "XKeysymToKeycode") && Get(xlib, Flush, "XFlush") &&
               Get(xlib, SetErrorHandler, "XSetErrorHandler") &&
               Get(xtst, FakeKeyEvent, "XTestFakeKeyEvent") &&
               Get(xtst, FakeButtonEvent, "XTestFakeButtonEvent") &&
               Get(xtst, FakeMotionEvent, "XTestFakeMotionEvent");
    }

    // The top-level window titled `title`, or 0.
    Window FindWindow(Display* d, const char* title) {
        Window root = DefaultRootWindow(d), rootOut = 0, parent = 0, found = 0;
        Window* children = nullptr;
        unsigned count = 0;
        if (!QueryTree(d, root, &rootOut, &parent, &children, &count))
            return 0;
        for (unsigned i = 0; i < count && found == 0; ++i) {
            char* name = nullptr;
            if (FetchName(d, children[i], &name) && name != nullptr) {
                if (std::strcmp(name, title) == 0)
                    found = children[i];
                Free(name);
            }
        }
        if (children != nullptr)
            Free(children);
        return found;
    }
};

}  // namespace

class X11ProcessTest : public QObject {
    Q_OBJECT

  private:
    X11 x_;
    QProcess xvfb_;
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
    void Key(const char* keysym) {
        unsigned char key = x_.KeysymToKeycode(d_, x_.StringToKeysym(keysym));
        x_.FakeKeyEvent(d_, key, 1, 0);
        x_.FakeKeyEvent(d_, key, 0, 0);
        x_.Flush(d_);
    }
    void ClickAt(QPoint at) {
        x_.FakeMotionEvent(d_, -1, at.x(), at.y(), 0);
        x_.FakeButtonEvent(d_, 1, 1, 0);
        x_.FakeButtonEvent(d_, 1, 0, 0);
        x_.Flush(d_);
    }
    // Moves the pointer into `window`: without a window manager the keyboard
    // follows the pointer.
    void PointInto(Window window) {
        Window root = 0, child = 0;
        int left = 0, top = 0;
        unsigned width = 0, height = 0, border = 0, depth = 0;
        x_.GetGeometry(d_, window, &root, &left, &top, &width, &height, &border, &depth);
        x_.TranslateCoordinates(d_, window, root, 0, 0, &left, &top, &child);
        x_.FakeMotionEvent(d_, -1, left + 5, top + 5, 0);
        x_.Flush(d_);
    }
    // The screen point at dialog units (x, y) of the main window, which is
    // 270 x 138 units.
    QPoint At(Window window, int x, int y) {
        Window root = 0, child = 0;
        int left = 0, top = 0;
        unsigned width = 0, height = 0, border = 0, depth = 0;
        x_.GetGeometry(d_, window, &root, &left, &top, &width, &height, &border, &depth);
        x_.TranslateCoordinates(d_, window, root, 0, 0, &left, &top, &child);
        return QPoint(left + static_cast<int>(width) * x / 270,
                      top + static_cast<int>(height) * y / 138);
    }

  private slots:
    void initTestCase() {
        QString server = QStandardPaths::findExecutable("Xvfb");
        if (server.isEmpty() || !x_.Load())
            QSKIP("needs Xvfb, libX11 and libXtst");
        // A display number nobody holds: no lock file and no socket.
        for (int n = 90; n < 200 && display_.isEmpty(); ++n) {
            if (!QFile::exists(QString("/tmp/.X%1-lock").arg(n)) &&
                !QFile::exists(QString("/tmp/.X11-unix/X%1").arg(n))) {
                display_ = QString(":%1").arg(n);
            }
        }
        QVERIFY(!display_.isEmpty());
        x_.SetErrorHandler(IgnoreXError);
        xvfb_.start(server, {display_, "-nolisten", "tcp", "-screen", "0", "800x600x24"});
        QVERIFY(xvfb_.waitForStarted(10000));
        QByteArray name = display_.toLatin1();
        for (int waited = 0; d_ == nullptr && waited < 10000; waited += 100) {
            d_ = x_.OpenDisplay(name.constData());
            if (d_ == nullptr)
                QTest::qWait(100);
        }
        QVERIFY2(d_ != nullptr, xvfb_.readAllStandardError().constData());
    }
    void cleanupTestCase() {
        if (d_ != nullptr)
            x_.CloseDisplay(d_);
        if (xvfb_.state() != QProcess::NotRunning) {
            xvfb_.terminate();
            xvfb_.waitForFinished(5000);
        }
    }

    void okRunsTheEngineAndShowsRealBoxes() {
        QTemporaryDir dir;
        QFile source(dir.filePath("a.txt"));
        QVERIFY(source.open(QIODevice::WriteOnly));
        source.write("x \"abc\" y\r\n");
        source.close();
        QProcess program;
        Start(program, dir.path());
        QVERIFY(program.waitForStarted(10000));
        Window window = 0;
        QTRY_VERIFY_WITH_TIMEOUT((window = x_.FindWindow(d_, "Sifteron")) != 0, 20000);
        QTest::qWait(1000);

        const char* const sourceKeys[] = {"a", "period", "t", "x", "t"};
        const char* const targetKeys[] = {"b", "period", "t", "x", "t"};
        QPoint field = At(window, 28, 39);
        ClickAt(field);
        for (const char* key : sourceKeys)
            Key(key);
        field = At(window, 28, 70);
        ClickAt(field);
        for (const char* key : targetKeys)
            Key(key);
        QPoint ok = At(window, 240, 30);
        ClickAt(ok);

        // Two boxes: the target is created, then the run is complete. Each
        // takes the keyboard focus; Return answers it.
        QFile target(dir.filePath("b.txt"));
        int answered = 0;
        Window last = 0;
        for (int waited = 0; waited < 20000 && answered < 2; waited += 100) {
            QTest::qWait(100);
            Window box = x_.FindWindow(d_, "Meldung");
            if (box == 0 || box == last)
                continue;
            QTest::qWait(300);
            PointInto(box);
            Key("Return");
            QTRY_VERIFY_WITH_TIMEOUT(x_.FindWindow(d_, "Meldung") != box, 5000);
            last = box;
            ++answered;
        }
        QCOMPARE(answered, 2);
        QVERIFY(target.open(QIODevice::ReadOnly));
        QCOMPARE(target.readAll(), QByteArray("abc\r\n"));
        QVERIFY(program.state() == QProcess::Running);  // OK never closes the window

        PointInto(window);
        Key("Escape");
        QVERIFY(program.waitForFinished(10000));
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
        QProcess program;
        Start(program, dir.path());
        QVERIFY(program.waitForStarted(10000));

        Window window = 0;
        QTRY_VERIFY_WITH_TIMEOUT((window = x_.FindWindow(d_, "Sifteron")) != 0, 20000);
        // Retried: the first input may arrive before the window is mapped.
        for (int attempt = 0; attempt < 10 && program.state() == QProcess::Running; ++attempt) {
            QTest::qWait(500);
            if (how == "escape") {
                PointInto(window);
                Key("Escape");
            } else if (how == "cancel") {
                ClickAt(At(window, 240, 55));
            } else if (how == "info+signal") {
                // The signal closes the box first, then the window.
                ClickAt(At(window, 190, 38));
                Window box = 0;
                QTRY_VERIFY_WITH_TIMEOUT((box = x_.FindWindow(d_, "Sifteron Information")) != 0,
                                         5000);
                ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
            } else {
                XEvent event{};
                event.client.type = kClientMessage;
                event.client.window = window;
                event.client.messageType = x_.InternAtom(d_, "WM_PROTOCOLS", 0);
                event.client.format = 32;
                event.client.data[0] = static_cast<long>(x_.InternAtom(d_, "WM_DELETE_WINDOW", 0));
                x_.SendEvent(d_, window, 0, 0, &event);
            }
            x_.Flush(d_);
            program.waitForFinished(1500);
        }
        if (program.state() != QProcess::NotRunning)
            QVERIFY(program.waitForFinished(10000));
        QVERIFY2(program.exitStatus() == QProcess::NormalExit && program.exitCode() == 0,
                 program.readAllStandardError().constData());
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList());
    }
};

}  // namespace sif::test

QTEST_GUILESS_MAIN(sif::test::X11ProcessTest)
#include "x11_process_test.moc"
