# Widget tests on the offscreen platform, at 100 %, 150 % and 200 % scale.
add_executable(window_tests window_test.cpp)
target_link_libraries(window_tests PRIVATE quorvel_qt_ui Qt6::Test)
foreach(scale 1 1.5 2)
  add_test(NAME window_tests_scale_${scale} COMMAND window_tests)
  set_tests_properties(window_tests_scale_${scale} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_SCALE_FACTOR=${scale};LC_ALL=C.UTF-8" TIMEOUT 300)
endforeach()

# The built program in a real window under an X server the test starts
# itself; with QUORVEL_WINDOWS_EXE, the Windows program too, under Wine at
# 96, 144 and 192 DPI (through tests/wine_run.sh, on the test's X server).
add_executable(x11_window_test x11_window_test.cpp)
target_link_libraries(x11_window_test PRIVATE Qt6::Gui Qt6::Test)
target_include_directories(x11_window_test PRIVATE ${PROJECT_SOURCE_DIR})
target_compile_definitions(x11_window_test PRIVATE QUORVEL_SHOT_DIR="${CMAKE_CURRENT_BINARY_DIR}"
  QUORVEL_WINE_RUN="${CMAKE_CURRENT_SOURCE_DIR}/wine_run.sh")
add_dependencies(x11_window_test quorvel)
add_test(NAME x11_window_test COMMAND x11_window_test)
set_tests_properties(x11_window_test PROPERTIES TIMEOUT 600
  ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QUORVEL_APP=$<TARGET_FILE:quorvel>")
if(QUORVEL_WINDOWS_EXE)
  foreach(dpi 96 144 192)
    add_test(NAME wine_window_test_dpi_${dpi} COMMAND x11_window_test)
    set_tests_properties(wine_window_test_dpi_${dpi} PROPERTIES TIMEOUT 900
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QUORVEL_APP=${QUORVEL_WINDOWS_EXE};QUORVEL_WINE_DPI=${dpi}")
    quorvel_wine_test(wine_window_test_dpi_${dpi} ${dpi})
  endforeach()
endif()

# What a screen reader hears, read through the AT-SPI bus of a private D-Bus
# session, with Debian's Python and its pyatspi.
add_test(NAME accessibility_test
         COMMAND dbus-run-session -- /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/accessibility_test.py
                 $<TARGET_FILE:quorvel>)
set_tests_properties(accessibility_test PROPERTIES TIMEOUT 600)

# What ships: a hardened binary, and a .deb with its files and runtime dependencies.
add_test(NAME hardening_test COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/hardening_test.sh
         $<TARGET_FILE:quorvel> ${PROJECT_BINARY_DIR}/compile_commands.json)
add_test(NAME package_test COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/package_test.sh ${PROJECT_BINARY_DIR})
set_tests_properties(package_test PROPERTIES TIMEOUT 300)
