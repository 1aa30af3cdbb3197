#include "support/ProcessStatus.h"

#include <cstdlib>
#include <fstream>
#include <string>

namespace TestSupport {

long StatusKilobytes(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(field) + ":";
    while (std::getline(status, line))
        if (line.compare(0, prefix.size(), prefix) == 0) return std::strtol(line.c_str() + prefix.size(), nullptr, 10);
    return -1;
}

}  // namespace TestSupport
