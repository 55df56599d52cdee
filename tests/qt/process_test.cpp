// The real sifteron process: closed from outside the way a session closes
// its windows, it ends with exit code 0 and writes nothing.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

#include "tests/qt/child_process.h"

namespace sif::test {
namespace {

// True once the process has its close handler for `sig` in place (Linux).
bool Catches(qint64 pid, int sig) {
    QFile status(QString("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("SigCgt:")) {
            bool ok = false;
            qulonglong mask = line.mid(7).trimmed().toULongLong(&ok, 16);
            return ok && (mask & (1ull << (sig - 1)));
        }
    }
    return false;
}

}  // namespace

class ProcessTest : public QObject {
    Q_OBJECT

  private slots:
    void closeCommandEndsWithExitCodeZero_data() {
        QTest::addColumn<int>("sig");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
        QTest::newRow("SIGHUP") << int(SIGHUP);
    }
    void closeCommandEndsWithExitCodeZero() {
        QFETCH(int, sig);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        ChildProcess process;
        process.setWorkingDirectory(dir.path());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        process.setProcessEnvironment(env);
        process.start(SIF_SIFTERON_PATH, {});
        QVERIFY2(process.waitForStarted(10000), qPrintable(process.errorString()));
        // From here on a signal is kept until the message loop takes it, so
        // it may come at once: before the window is even shown.
        QTRY_VERIFY2_WITH_TIMEOUT(Catches(process.processId(), sig),
                                  "no close handler in place after 20 s", 20000);
        QVERIFY(process.state() == QProcess::Running);
        ::kill(static_cast<pid_t>(process.processId()), sig);
        QVERIFY2(process.waitForFinished(20000), "still running 20 s after the signal");
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList());
    }

    void withoutADisplayItSaysSo() {
        ChildProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            env.remove(name);
        process.setProcessEnvironment(env);
        process.start(SIF_SIFTERON_PATH, {});
        QVERIFY2(process.waitForFinished(20000), "still running after 20 s");
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 1);
        QVERIFY(process.readAllStandardError().contains("no display"));
    }
};

}  // namespace sif::test

QTEST_GUILESS_MAIN(sif::test::ProcessTest)
#include "process_test.moc"
