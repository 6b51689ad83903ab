# Compiles for the browser: WebAssembly with Debian's emscripten, whose own
# platform file does the work; tests run under Node.
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/emscripten-wasm32.cmake ...
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)
