# The browser page: the same C++ compiled to WebAssembly with emscripten
# (cmake/emscripten-wasm32.cmake), as one self-contained HTML file (ui/web/),
# and its tests under Node and in Chromium. Everything in which the web
# build differs from the Linux one is here.

set(QUORVEL_FRONT_END web)
set(QUORVEL_WITH_QT OFF CACHE BOOL "" FORCE)
set(QUORVEL_BENCH OFF CACHE BOOL "" FORCE)

# The hardening flags are the native programs': WebAssembly keeps its code
# and its call stack out of the program's reach, and a module is never a
# position-independent executable.
set_property(DIRECTORY PROPERTY COMPILE_OPTIONS -Wall -Wextra -Wpedantic)
set_property(DIRECTORY PROPERTY LINK_OPTIONS "")
set(CMAKE_POSITION_INDEPENDENT_CODE OFF)
# The page carries its module: the smallest code, which compiles to the
# same arithmetic (-Oz against -Os: 265 KB to 249 KB).
string(REPLACE "-Os" "-Oz" CMAKE_CXX_FLAGS_MINSIZEREL "${CMAKE_CXX_FLAGS_MINSIZEREL}")
# A run-time error is a C++ exception, caught by the form.
add_compile_options(-fexceptions)
add_link_options(-fexceptions)
# emcc's JavaScript optimizer needs Debian's acorn, which Node finds only so.
set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)

# What runs under Node (the tests, the page generator): one .js file with the
# WebAssembly inside, since Node 20's fetch cannot read a file path.
set(QUORVEL_NODE_LINK_OPTIONS -sSINGLE_FILE=1 -sENVIRONMENT=node -sEXIT_RUNTIME=1
    -sALLOW_MEMORY_GROWTH=1)

# libc++ has no floating-point from_chars and to_chars here.
set(QUORVEL_TEXT_REFERENCE OFF CACHE BOOL "" FORCE)

if(QUORVEL_TESTS)
  # GoogleTest from Debian's source, built with emscripten; no threads there.
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()

set(QUORVEL_NATIVE_TEXT_DUMP "" CACHE FILEPATH
    "The Linux build's text_dump, whose output the WebAssembly build's must match")

# What needs the targets, once they all exist.
function(quorvel_web_targets)
  if(QUORVEL_TESTS)
    foreach(tests core_tests form_tests text_dump)
      target_link_options(${tests} PRIVATE ${QUORVEL_NODE_LINK_OPTIONS})
    endforeach()
    # The page in headless Chromium, with real input events.
    add_test(NAME web_page_test
             COMMAND python3 ${PROJECT_SOURCE_DIR}/tests/web_page_test.py
                     ${PROJECT_BINARY_DIR}/quorvel.html ${PROJECT_BINARY_DIR}/tests/page.png)
    set_tests_properties(web_page_test PROPERTIES TIMEOUT 600)
    # And in Firefox ESR and WebKitGTK, each a real window on an X server of
    # its own, with the X clipboard and the accessibility bus of a D-Bus
    # session of its own; Debian's Python, which has the AT-SPI client.
    foreach(engine firefox webkit)
      add_test(NAME web_engine_test_${engine}
               COMMAND /usr/bin/python3 ${PROJECT_SOURCE_DIR}/tests/web_engines_test.py ${engine}
                       ${PROJECT_BINARY_DIR}/quorvel.html)
      set_tests_properties(web_engine_test_${engine} PROPERTIES TIMEOUT 900)
    endforeach()
    # One file an engineer can carry on a USB stick: at most 512 KiB.
    add_test(NAME page_size_test COMMAND sh -c "size=$(stat -c %s \"$1\"); echo \"$1: $size bytes\";
             [ \"$size\" -le 524288 ]" - ${PROJECT_BINARY_DIR}/quorvel.html)
    # The start-up yardstick kept in bench/ is the page's window as it is now.
    add_test(NAME reference_page_test COMMAND sh -c "cmp -s \"$1\" \"$2\" ||
             { echo \"$2 is out of date: copy $1 over it\"; exit 1; }" -
             ${PROJECT_BINARY_DIR}/bench/reference_page.html ${PROJECT_SOURCE_DIR}/bench/reference_page.html)
    # The conversions give what the Linux build's give, text for text.
    if(QUORVEL_NATIVE_TEXT_DUMP)
      add_test(NAME text_differential_test
               COMMAND ${PROJECT_SOURCE_DIR}/tests/same_output.sh ${QUORVEL_NATIVE_TEXT_DUMP}
                       ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:text_dump>)
    endif()
  endif()
endfunction()
cmake_language(DEFER CALL quorvel_web_targets)
