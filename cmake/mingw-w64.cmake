# Cross build for 64-bit Windows with Debian's mingw-w64 (posix thread model),
# with Wine as the emulator so that CTest runs the Windows test programs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ORVEL_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ORVEL_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ORVEL_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${ORVEL_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${ORVEL_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# scripts/wine-run picks the project's prefix and a quiet Wine.
get_filename_component(ORVEL_SOURCE_ROOT "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${ORVEL_SOURCE_ROOT}/scripts/wine-run)
