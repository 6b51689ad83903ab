# The Windows program: cross-built with MinGW-w64 (cmake/mingw-w64-x86_64.cmake)
# against the static Qt of scripts/windows-qt.sh, and tested under Wine.
# Everything in which the Windows build differs from the Linux one is here.

# Self-contained executables: libgcc, libstdc++, winpthread and libssp (the
# stack protector's runtime) are linked in, so the .exe needs no DLL beside
# it; the stack protector's flag at link time brings in libssp. ASLR with
# high-entropy addresses and NX (binutils' defaults, stated).
add_link_options(-static -fstack-protector-strong
                 LINKER:--dynamicbase,--nxcompat,--high-entropy-va)

# Google Benchmark has no MinGW build: the micro-benchmarks stay on Linux.
set(QUORVEL_BENCH OFF CACHE BOOL "" FORCE)

# The tests run under Wine, each in a Wine prefix and on an X server of its own.
set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/tests/wine_run.sh)

if(QUORVEL_TESTS)
  # GoogleTest from Debian's source, built with the cross compiler.
  add_subdirectory(/usr/src/googletest ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()

# The executable's icon and version resource.
configure_file(${PROJECT_SOURCE_DIR}/app/windows/quorvel.rc.in ${PROJECT_BINARY_DIR}/quorvel.rc @ONLY)

# What needs the targets, once they all exist.
function(quorvel_windows_targets)
  # A GUI program: no console window opens beside it.
  set_target_properties(quorvel PROPERTIES WIN32_EXECUTABLE ON)
  target_sources(quorvel PRIVATE ${PROJECT_BINARY_DIR}/quorvel.rc)
  # A static Qt links its platform plugins in: Windows for the program, and
  # offscreen for the window tests.
  qt_import_plugins(quorvel INCLUDE Qt6::QWindowsIntegrationPlugin Qt6::QWindowsVistaStylePlugin)
  qt_add_resources(quorvel qt_conf PREFIX /qt/etc BASE ${PROJECT_SOURCE_DIR}/app/windows
                   FILES ${PROJECT_SOURCE_DIR}/app/windows/qt.conf)
  if(TARGET window_tests)
    qt_import_plugins(window_tests INCLUDE Qt6::QOffscreenIntegrationPlugin
                      Qt6::QWindowsIntegrationPlugin)
  endif()

  # dist/quorvel-<version>-win64.zip: the stripped program and its README.
  set(zip ${PROJECT_SOURCE_DIR}/dist/quorvel-${PROJECT_VERSION}-win64.zip)
  set(stage ${PROJECT_BINARY_DIR}/zip)
  configure_file(${PROJECT_SOURCE_DIR}/app/windows/README-windows.txt.in ${stage}/README.txt @ONLY
                 NEWLINE_STYLE CRLF)
  add_custom_command(
    OUTPUT ${zip}
    COMMAND ${CMAKE_STRIP} -o ${stage}/quorvel.exe $<TARGET_FILE:quorvel>
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_SOURCE_DIR}/dist
    COMMAND ${CMAKE_COMMAND} -E chdir ${stage}
            ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip quorvel.exe README.txt
    DEPENDS quorvel ${stage}/README.txt
    COMMENT "Packing ${zip}")
  add_custom_target(windows_zip DEPENDS ${zip})
endfunction()
cmake_language(DEFER CALL quorvel_windows_targets)
