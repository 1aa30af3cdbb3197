// The process's own memory figures from /proc/self/status, for the tests' cost probes and the
// benchmarks.
#pragma once

namespace TestSupport {

// A "Vm...:" figure of /proc/self/status ("VmRSS", "VmHWM", ...) in kilobytes; -1 when absent.
long StatusKilobytes(const char* field);

}  // namespace TestSupport
