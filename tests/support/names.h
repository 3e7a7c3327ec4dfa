// Names of virtual keys and window messages for test output.
#pragma once

#include <string>

std::string VirtualKeyName(unsigned key);
std::string MessageName(unsigned message);
