// A process that a test starts and always ends: killed by its id and waited
// for when the object goes, whichever way the test left, and killed by the
// kernel should the test runner itself die first.
#pragma once

#include <QProcess>

namespace sif::test {

class ChildProcess : public QProcess {
  public:
    ChildProcess();
    ~ChildProcess() override;

    // Kills the process if it still runs and waits until it has gone.
    void End();
};

}  // namespace sif::test
