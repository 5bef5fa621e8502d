#include "values/OvProcessStart.h"

#include <csignal>

void OvStartProcess() {
    std::signal(SIGXFSZ, SIG_IGN);
}
