// The DLLs a program imports, read from its PE file (import and delay-import
// directories), without loading it.
#pragma once

#include <string>
#include <vector>

struct ImportList {
    bool valid = false;
    std::vector<std::string> dlls;        // as named in the file, in file order
    std::vector<std::string> delayLoaded; // from the delay-import directory
};

ImportList ReadImports(const std::wstring& path);

// True when a DLL of that name lies in the system folder: a DLL that comes
// with the system rather than with the program.
bool ShipsWithSystem(const std::string& dll);
