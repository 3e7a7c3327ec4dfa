#include "base/runtime/process.h"

HINSTANCE ProcessInstance;

void StopOnFailedStart() { ExitProcess(START_FAILED_EXIT_CODE); }
