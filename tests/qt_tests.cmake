# Widget tests on the offscreen platform, at 100 %, 150 % and 200 % scale.
add_executable(window_tests window_test.cpp)
target_link_libraries(window_tests PRIVATE quorvel_ui Qt6::Test)
foreach(scale 1 1.5 2)
  add_test(NAME window_tests_scale_${scale} COMMAND window_tests)
  set_tests_properties(window_tests_scale_${scale} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_SCALE_FACTOR=${scale};LC_ALL=C.UTF-8")
endforeach()
