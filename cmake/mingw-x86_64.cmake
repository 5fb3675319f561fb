# Cross compilation for 64-bit Windows with Debian's mingw-w64 (posix
# threads, which Qt's std::thread and std::mutex use). Qt for Windows and
# googletest are found in the cache that packaging/build-qt-windows.sh fills
# (KM_WIN64_PREFIX, default ~/.cache/km207/win64).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(KM_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KM_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KM_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${KM_MINGW_PREFIX}-windres)
if(NOT KM_WIN64_PREFIX)
    if(DEFINED ENV{KM_WIN64_PREFIX})
        set(KM_WIN64_PREFIX $ENV{KM_WIN64_PREFIX})
    else()
        set(KM_WIN64_PREFIX $ENV{HOME}/.cache/km207/win64)
    endif()
endif()
set(CMAKE_FIND_ROOT_PATH /usr/${KM_MINGW_PREFIX} ${KM_WIN64_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
