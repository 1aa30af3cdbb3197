// The framework reports through Orvane::Diagnose; the application routes those lines into
// applog.htm once the log has been started.
#pragma once

void InstallFrameworkLogRouting();
// Back to standard error (for shut-down after the log is closed, and for tests).
void RemoveFrameworkLogRouting();
