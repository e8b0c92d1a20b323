// Start-up failures: a message box, then the process ends with the status.
#pragma once

[[noreturn]] void fatalError(const char* message, int exitStatus);
