#include "Host/StopSignal.h"

#include <csignal>

namespace GAME {

namespace {
volatile std::sig_atomic_t gStopSignal = 0;

void OnStopSignal(int signal) {
    gStopSignal = signal;
}
}  // namespace

void InstallStopSignals() {
    std::signal(SIGINT, OnStopSignal);
    std::signal(SIGTERM, OnStopSignal);
}

int StopSignalReceived() {
    return gStopSignal;
}

}  // namespace GAME
