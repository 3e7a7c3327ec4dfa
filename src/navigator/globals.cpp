#include "navigator/globals.h"

NavigatorGlobals Navigator;
