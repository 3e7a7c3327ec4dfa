# Cross toolchain: Debian's clang for the MinGW-w64 x86-64 target, on the
# Win32 headers, import libraries and C runtime of Debian's MinGW-w64 and the
# libstdc++ of its GCC (posix threading flavour), linked by lld. The second
# compiler of the Windows code: each catches what the other lets through.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_triple x86_64-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES clang clang-14 REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES clang++ clang++-14 REQUIRED)
set(CMAKE_C_COMPILER_TARGET ${_triple})
set(CMAKE_CXX_COMPILER_TARGET ${_triple})
# The version resource: binutils' windres, which preprocesses with MinGW's gcc.
find_program(CMAKE_RC_COMPILER NAMES ${_triple}-windres windres REQUIRED)

# The Win32 headers, import libraries and C runtime start files. Without a
# sysroot clang also searches the host's /usr/include.
set(CMAKE_SYSROOT /usr/${_triple})
set(CMAKE_FIND_ROOT_PATH /usr/${_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# clang's MinGW driver finds Debian's libstdc++ neither by its headers nor its
# archives: the posix flavour installs them beside its GCC, in a folder named
# after the GCC version and the flavour ("12-posix"), which clang does not
# look for. Name both, the headers as system headers of C++ alone.
file(GLOB _gcc_folders LIST_DIRECTORIES true /usr/lib/gcc/${_triple}/*-posix)
list(SORT _gcc_folders COMPARE NATURAL ORDER DESCENDING)
list(GET _gcc_folders 0 _gcc)
if(NOT EXISTS "${_gcc}/include/c++/${_triple}")
  message(FATAL_ERROR "no libstdc++ of MinGW-w64 GCC (posix) under /usr/lib/gcc/${_triple}")
endif()
set(CMAKE_CXX_STANDARD_INCLUDE_DIRECTORIES
    ${_gcc}/include/c++ ${_gcc}/include/c++/${_triple} ${_gcc}/include/c++/backward)

# lld links for the MinGW target; GCC's folder gives libstdc++, libgcc and
# libgcc_eh. GCC's posix driver adds winpthread itself (libstdc++'s threads
# stand on it); clang's does not. lld, like the Windows linker, resolves from
# an archive wherever it stands on the line, so the flag may come first.
foreach(_kind EXE SHARED MODULE)
  set(CMAKE_${_kind}_LINKER_FLAGS_INIT "-fuse-ld=lld -L${_gcc} -lpthread")
endforeach()

# ctest runs the Windows test programs under Wine.
find_program(_wine NAMES wine wine64)
if(_wine)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${_wine})
endif()
