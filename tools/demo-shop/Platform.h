#pragma once

// The few calls that differ between systems (POSIX here).
namespace Platform {

// Makes SIGINT and SIGTERM wait for waitForStopSignal; call before any thread starts, so
// that every thread inherits the blocked mask.
void blockStopSignals();
// Returns when SIGINT or SIGTERM arrives.
void waitForStopSignal();
// Wakes waitForStopSignal from within the program.
void raiseStopSignal();
// Closes, without a byte of answer, the server's connection on localPort to the peer's port.
void closeConnection(int localPort, int peerPort);

} // namespace Platform
