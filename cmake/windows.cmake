# The Windows program: cross-built with MinGW-w64 (cmake/mingw-w64-x86_64.cmake)
# as a native Win32 program (ui/win32/), and tested under Wine. Everything in
# which the Windows build differs from the Linux one is here.

set(QUORVEL_FRONT_END win32)
set(QUORVEL_WITH_QT OFF CACHE BOOL "" FORCE)
# Google Benchmark has no MinGW build: the micro-benchmarks stay on Linux.
set(QUORVEL_BENCH OFF CACHE BOOL "" FORCE)

# Windows 7 SP1 and later: a function newer than that does not compile
# unless it is loaded at run time. Wide-character Windows functions.
add_compile_definitions(_WIN32_WINNT=0x0601 WINVER=0x0601 UNICODE _UNICODE)
# MinGW's library sqrt goes through the x87 unit and rounds twice, one unit
# in the last place off for some inputs. Without errno to set, GCC computes
# sqrt with the SSE2 instruction, which rounds once, as on Linux (in
# optimised builds; a -O0 build still calls the library).
add_compile_options(-fno-math-errno)

# Self-contained executables: libgcc, libstdc++, winpthread and libssp (the
# stack protector's runtime) are linked in, so the .exe needs no DLL beside
# it; the stack protector's flag at link time brings in libssp. ASLR with
# high-entropy addresses and NX (binutils' defaults, stated); no time stamp, so that
# the same sources give the same program.
add_link_options(-static -fstack-protector-strong
                 LINKER:--dynamicbase,--nxcompat,--high-entropy-va,--no-insert-timestamp)
# Each function and datum in a section of its own, and the sections nothing
# uses left out, so that the program carries only the code it calls.
add_compile_options(-ffunction-sections -fdata-sections)
add_link_options(LINKER:--gc-sections)

# The tests run under Wine, each in a copy of a Wine prefix made for the test
# run and on an X server of its own.
set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/tests/wine_run.sh)

if(QUORVEL_TESTS)
  # GoogleTest from Debian's source, built with the cross compiler.
  add_subdirectory(/usr/src/googletest ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()

# What needs the targets, once they all exist.
function(quorvel_windows_targets)
  if(QUORVEL_TESTS)
    # What only Windows shows: the faces chosen, the scaling by DPI, and an
    # executable that Windows 7 can load.
    # With the program's manifest: DPI-aware, and common controls 6.
    add_executable(win32_tests ${PROJECT_SOURCE_DIR}/tests/win32_test.cpp
                   ${PROJECT_BINARY_DIR}/ui/win32/quorvel.rc)
    target_link_libraries(win32_tests PRIVATE quorvel_win32 GTest::gtest_main oleaut32 ole32)
    add_test(NAME win32_tests COMMAND win32_tests)
    quorvel_wine_test(win32_tests 96)
    add_test(NAME windows7_imports_test
             COMMAND ${PROJECT_SOURCE_DIR}/tests/windows7_imports_test.sh
                     ${PROJECT_BINARY_DIR}/zip/quorvel.exe ${CMAKE_CXX_COMPILER})
  endif()

  # The yardstick for the start-up measurement (scripts/bench).
  add_executable(reference_window WIN32 ${PROJECT_SOURCE_DIR}/bench/reference_window_win32.cpp
                 ${PROJECT_BINARY_DIR}/ui/win32/quorvel.rc)
  target_link_libraries(reference_window PRIVATE quorvel_runtime)

  # What ships, stripped by the linker (strip itself would stamp the time
  # in); the tests run this copy. Then dist/quorvel-<version>-win64.zip: it
  # and its README.
  target_link_options(quorvel PRIVATE -s)
  set(stage ${PROJECT_BINARY_DIR}/zip)
  add_custom_command(OUTPUT ${stage}/quorvel.exe
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:quorvel> ${stage}/quorvel.exe
    DEPENDS quorvel)
  add_custom_target(quorvel_stripped ALL DEPENDS ${stage}/quorvel.exe)
  set(zip ${PROJECT_SOURCE_DIR}/dist/quorvel-${PROJECT_VERSION}-win64.zip)
  configure_file(${PROJECT_SOURCE_DIR}/ui/win32/README.txt.in ${stage}/README.txt @ONLY
                 NEWLINE_STYLE CRLF)
  add_custom_command(
    OUTPUT ${zip}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_SOURCE_DIR}/dist
    COMMAND ${CMAKE_COMMAND} -E chdir ${stage}
            ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip quorvel.exe README.txt
    DEPENDS ${stage}/quorvel.exe ${stage}/README.txt
    COMMENT "Packing ${zip}")
  add_custom_target(windows_zip DEPENDS ${zip})
endfunction()
cmake_language(DEFER CALL quorvel_windows_targets)
