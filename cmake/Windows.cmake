# What the Windows build needs besides the toolchain file: Win32 in place of
# Qt and X11, googletest from source, the build machine's header-only
# libraries, and Wine to run the tests.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)

# Header-only libraries are the same for every target; only their own folder
# of the build machine's headers is let in, never /usr/include as a whole.
function(hh_host_headers target folder)
  set(dir ${CMAKE_BINARY_DIR}/host-include)
  file(MAKE_DIRECTORY ${dir})
  file(CREATE_LINK /usr/include/${folder} ${dir}/${folder} SYMBOLIC)
  add_library(${target} INTERFACE IMPORTED GLOBAL)
  target_include_directories(${target} SYSTEM INTERFACE ${dir})
endfunction()
hh_host_headers(CLI11::CLI11 CLI)

if(HH_TESTS)
  # Debian's libgtest is built for Linux only; its source package builds here.
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

  find_program(HH_WINE NAMES wine wine64)
  if(HH_WINE)
    set(HH_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
    configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh @ONLY
                   FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                    WORLD_READ WORLD_EXECUTE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)
  endif()
endif()
