#include "PeakMemory.h"

#include <fstream>
#include <sstream>
#include <string>

PeakMemory::PeakMemory() {
    // Writing 5 to clear_refs resets the peak resident size to the current one.
    std::ofstream("/proc/self/clear_refs") << "5";
    startKb = statusKb("VmRSS:");
}

long PeakMemory::growthKb() const {
    return statusKb("VmHWM:") - startKb;
}

bool PeakMemory::isMeaningful() {
#ifdef __SANITIZE_ADDRESS__
    return false;
#else
    return true;
#endif
}

long PeakMemory::statusKb(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0) {
            long kb = 0;
            std::istringstream(line.substr(std::string(field).size())) >> kb;
            return kb;
        }
    }
    return -1;
}
