// The module instance of the process, recorded by the program flow before any
// runtime component starts; windows and classes are created with it.
#pragma once

#include <windows.h>

extern HINSTANCE ProcessInstance;
