#include "base/runtime/process.h"

HINSTANCE ProcessInstance;
