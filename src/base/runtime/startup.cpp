#include "base/runtime/startup.h"

// The components arrive one by one; each takes its fixed place here.
void StartRuntime() {}
void EndRuntime() {}
