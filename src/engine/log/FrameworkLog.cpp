#include "engine/log/FrameworkLog.h"

#include "engine/log/Log.h"
#include "framework/core/Diagnostics.h"

void InstallFrameworkLogRouting() {
    Orvane::SetDiagnosticHandler([](const std::string& message) { LogWrite(message, 0); });
}

void RemoveFrameworkLogRouting() { Orvane::SetDiagnosticHandler(nullptr); }
