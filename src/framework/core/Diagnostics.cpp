#include "framework/core/Diagnostics.h"

#include <cstdio>
#include <mutex>

namespace Orvane {

namespace {
std::mutex gMutex;
DiagnosticHandler& Handler() {
    static DiagnosticHandler handler;
    return handler;
}
}  // namespace

void SetDiagnosticHandler(DiagnosticHandler handler) {
    std::lock_guard<std::mutex> lock(gMutex);
    Handler() = std::move(handler);
}

void Diagnose(const std::string& message) {
    DiagnosticHandler handler;
    {
        std::lock_guard<std::mutex> lock(gMutex);
        handler = Handler();
    }
    if (handler) {
        handler(message);
    } else {
        std::fprintf(stderr, "%s\n", message.c_str());
    }
}

}  // namespace Orvane
