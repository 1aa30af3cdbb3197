// Framework diagnostics: the framework sits below the engine's log, so it reports through a
// handler that the application installs (the engine routes it into applog.htm).
// Without a handler, messages go to standard error.
#pragma once

#include <functional>
#include <string>

namespace Orvane {

using DiagnosticHandler = std::function<void(const std::string& message)>;

void SetDiagnosticHandler(DiagnosticHandler handler);
// One line of diagnostics; contains "FAILED" or "WARNING" when it reports a problem.
void Diagnose(const std::string& message);

}  // namespace Orvane
