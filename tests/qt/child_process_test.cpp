// The process a test starts ends with the test, even when the runner dies
// without unwinding (a fatal X error once left Xvfb and sifteron running).
#include <QFile>
#include <QTest>
#include <csignal>

#include "tests/qt/child_process.h"

namespace sif::test {
namespace {

// False once the process has gone or is a zombie nobody reaped yet.
bool Alive(qint64 pid) {
    QFile stat(QString("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    QByteArray fields = stat.readAll();
    qsizetype state = fields.lastIndexOf(')') + 2;
    return state < fields.size() && fields[state] != 'Z' && fields[state] != 'X';
}

}  // namespace

class ChildProcessTest : public QObject {
    Q_OBJECT

  private slots:
    void aChildEndsWithTheRunnerThatDies() {
        ChildProcess probe;
        probe.start(SIF_ORPHAN_PROBE_PATH, {});
        QVERIFY2(probe.waitForFinished(20000), "the probe runner did not die within 20 s");
        bool isNumber = false;
        qint64 orphan = probe.readAllStandardOutput().trimmed().toLongLong(&isNumber);
        QVERIFY2(isNumber && orphan > 0, probe.readAllStandardError().constData());
        bool ended = QTest::qWaitFor([&] { return !Alive(orphan); }, 10000);
        if (!ended)
            ::kill(static_cast<pid_t>(orphan), SIGKILL);
        QVERIFY2(ended, "the probe's child outlived the probe by 10 s");
    }
};

}  // namespace sif::test

QTEST_GUILESS_MAIN(sif::test::ChildProcessTest)
#include "child_process_test.moc"
