# ORVELIdioma.dll: one export (Choose), dialog 101 and bitmap 201, and imports
# from KERNEL32.dll and USER32.dll only. It is linked without the C and C++
# runtimes: DllMain is the entry point, and the code is compiled so that it
# needs nothing from them (no exceptions, no RTTI, no helper calls).
enable_language(RC)
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(ORVEL_LOGO ${CMAKE_CURRENT_BINARY_DIR}/orvel_logo.bmp)
add_custom_command(
  OUTPUT ${ORVEL_LOGO}
  COMMAND Python3::Interpreter ${CMAKE_CURRENT_SOURCE_DIR}/win/make_logo.py ${ORVEL_LOGO}
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/win/make_logo.py
  COMMENT "Drawing the chooser's logo"
  VERBATIM
)
set_source_files_properties(win/ORVELIdioma.rc PROPERTIES OBJECT_DEPENDS ${ORVEL_LOGO})

add_library(ORVELIdioma SHARED
  choose.cpp
  dialog_proc.cpp
  library_entry.cpp
  win/choose_export.cpp
  win/dialog_manager_win.cpp
  win/dll_main.cpp
  win/kernel_strings_win.cpp
  win/ORVELIdioma.def
  win/ORVELIdioma.rc
)
target_include_directories(ORVELIdioma PRIVATE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_BINARY_DIR})
set_target_properties(ORVELIdioma PROPERTIES
  PREFIX ""
  OUTPUT_NAME ORVELIdioma
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin
)
# Without the runtimes: no exception tables or type information that would
# need them, no stack-protector calls, and no loops turned into memset or
# memcpy calls. Anything else the compiler wanted from libgcc would fail the
# link, which is where it should show.
set(ORVEL_NO_RUNTIME_FLAGS -fno-exceptions -fno-rtti -fno-stack-protector -fno-tree-loop-distribute-patterns)
target_compile_options(ORVELIdioma PRIVATE "$<$<COMPILE_LANGUAGE:CXX>:${ORVEL_NO_RUNTIME_FLAGS}>")
target_link_options(ORVELIdioma PRIVATE -nostdlib -nostartfiles -Wl,--entry=DllMain -Wl,--subsystem,windows -s)
target_link_libraries(ORVELIdioma PRIVATE kernel32 user32)
