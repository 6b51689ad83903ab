# Puts the page together: the template (ui/web/page.html.in) with the style
# and the controls that the generator (page_html, run by Node) writes from
# the control table, and, unless NO_SCRIPT, the two modules' WebAssembly as
# base64: the window's with emscripten's JavaScript and the glue
# (ui/web/glue.js), which run as the page is read, and the commands' with
# its JavaScript held as text until the glue starts it.
#   cmake -DNODE=... -DGENERATOR=... -DTEMPLATE=... -DOUT=...
#         [-DNO_SCRIPT=ON | -DJS=... -DWASM=... -DCOMMANDS_JS=... -DCOMMANDS_WASM=...
#          -DGLUE=...] -P assemble.cmake
foreach(part style controls names commands)
  execute_process(COMMAND ${NODE} ${GENERATOR} ${part} OUTPUT_VARIABLE ${part}
                  COMMAND_ERROR_IS_FATAL ANY)
endforeach()
file(READ ${TEMPLATE} page)
string(REPLACE "@STYLE@" "${style}" page "${page}")
string(REPLACE "@CONTROLS@" "${controls}" page "${page}")
set(script "")
set(body "")
if(NOT NO_SCRIPT)
  foreach(wasm_file WASM COMMANDS_WASM)
    execute_process(COMMAND base64 -w0 ${${wasm_file}} OUTPUT_VARIABLE ${wasm_file}_TEXT
                    COMMAND_ERROR_IS_FATAL ANY)
  endforeach()
  file(READ ${JS} js)
  file(READ ${COMMANDS_JS} commands_js)
  file(READ ${GLUE} glue)
  string(REPLACE "@NAMES@" "${names}" glue "${glue}")
  string(REPLACE "@COMMANDS@" "${commands}" glue "${glue}")
  string(FIND "${js}${glue}${commands_js}" "</script" closing)
  if(NOT closing EQUAL -1)
    message(FATAL_ERROR "the page's script holds </script, which would end it early")
  endif()
  set(script "<script type=\"application/wasm;base64\" id=\"wasm\">${WASM_TEXT}</script>\n<script>\n${js}\n${glue}</script>\n<script type=\"application/wasm;base64\" id=\"commands-wasm\">${COMMANDS_WASM_TEXT}</script>\n<script type=\"text/plain\" id=\"commands-code\">\n${commands_js}</script>")
  # Until the glue has wired the window, the body keeps each click, change
  # and key for it, through handlers that the browser compiles only when
  # one comes.
  set(keep "(window.QuorvelEarly=window.QuorvelEarly||[]).push(event)")
  set(body " onclick=\"${keep}\" onchange=\"${keep}\" onkeydown=\"${keep}\"")
endif()
string(REPLACE "@BODY@" "${body}" page "${page}")
string(REPLACE "@SCRIPT@" "${script}" page "${page}")
file(WRITE ${OUT} "${page}")
