// The two process-wide values that the program flow sets up before any
// runtime component starts.
#pragma once

#include <windows.h>

extern HINSTANCE ProcessInstance; // module instance of the process
extern HANDLE GeneralHeap;        // the runtime's general heap
