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
        program.setWorkingDirectory(dir.path());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("QT_QPA_PLATFORM");
        env.remove("WAYLAND_DISPLAY");
        env.insert("DISPLAY", display_);
        // The X11 platform's D-Bus library keeps one buffer to the end.
        env.insert("LSAN_OPTIONS", "suppressions=" SIF_LSAN_SUPPRESSIONS);
        program.setProcessEnvironment(env);
        program.start(SIF_SIFTERON_PATH, {});
        QVERIFY(program.waitForStarted(10000));

        Window window = 0;
        QTRY_VERIFY_WITH_TIMEOUT((window = x_.FindWindow(d_, "Sifteron")) != 0, 20000);
        Window child = 0;
        int left = 0, top = 0;
        unsigned width = 0, height = 0, border = 0, depth = 0;
        Window root = 0;
        // Retried: the first input may arrive before the window is mapped.
        for (int attempt = 0; attempt < 10 && program.state() == QProcess::Running; ++attempt) {
            QTest::qWait(500);
            x_.GetGeometry(d_, window, &root, &left, &top, &width, &height, &border, &depth);
            x_.TranslateCoordinates(d_, window, root, 0, 0, &left, &top, &child);
            if (how == "escape") {
                x_.FakeMotionEvent(d_, -1, left + 20, top + 20, 0);  // focus follows the pointer
                unsigned char key = x_.KeysymToKeycode(d_, x_.StringToKeysym("Escape"));
                x_.FakeKeyEvent(d_, key, 1, 0);
                x_.FakeKeyEvent(d_, key, 0, 0);
            } else if (how == "cancel") {
                // Cancel sits at 230, 49 of 270 x 138 dialog units.
                int x = left + static_cast<int>(width) * 230 / 270 + 20;
                int y = top + static_cast<int>(height) * 49 / 138 + 15;
                x_.FakeMotionEvent(d_, -1, x, y, 0);
                x_.FakeButtonEvent(d_, 1, 1, 0);
                x_.FakeButtonEvent(d_, 1, 0, 0);
            } else if (how == "info+signal") {
                // "&Info" sits at 183, 33; the signal then closes box and window.
                int x = left + static_cast<int>(width) * 183 / 270 + 10;
                int y = top + static_cast<int>(height) * 33 / 138 + 8;
                x_.FakeMotionEvent(d_, -1, x, y, 0);
                x_.FakeButtonEvent(d_, 1, 1, 0);
                x_.FakeButtonEvent(d_, 1, 0, 0);
                x_.Flush(d_);
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
