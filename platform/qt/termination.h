// SIGTERM, SIGINT and SIGHUP as the main window's close command, so a session
// ending or a Ctrl+C closes the program the way its close box does.
#pragma once

namespace sif::qt {

// Before anything else: a signal that arrives early waits for the loop.
void InstallTerminationSignals();
// Once the application exists: delivers waiting and later signals.
void WatchTerminationSignals();

}  // namespace sif::qt
