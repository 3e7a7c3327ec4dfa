#include "base/runtime/process.h"

HINSTANCE ProcessInstance;
HANDLE GeneralHeap;
