# Puts the page together: the template (ui/web/page.html.in) with the style
# and the controls that the generator (page_html, run by Node) writes from
# the control table, and, unless NO_SCRIPT, the WebAssembly as base64,
# emscripten's JavaScript and the glue (ui/web/glue.js), held as text until
# the starter (ui/web/start.html) runs them after the first paint.
#   cmake -DNODE=... -DGENERATOR=... -DTEMPLATE=... -DOUT=...
#         [-DNO_SCRIPT=ON | -DJS=... -DWASM=... -DGLUE=... -DSTARTER=...] -P assemble.cmake
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
  execute_process(COMMAND base64 -w0 ${WASM} OUTPUT_VARIABLE wasm COMMAND_ERROR_IS_FATAL ANY)
  file(READ ${JS} js)
  file(READ ${GLUE} glue)
  string(REPLACE "@NAMES@" "${names}" glue "${glue}")
  string(REPLACE "@COMMANDS@" "${commands}" glue "${glue}")
  file(READ ${STARTER} starter)
  string(FIND "${js}${glue}" "</script" closing)
  if(NOT closing EQUAL -1)
    message(FATAL_ERROR "the page's script holds </script, which would end it early")
  endif()
  set(script "<script type=\"application/wasm;base64\" id=\"wasm\">${wasm}</script>\n<script type=\"text/plain\" id=\"code\">\n${js}\n${glue}</script>\n${starter}")
  # Until the glue runs, the body keeps each click, change and key for it,
  # through handlers that the browser compiles only when one comes.
  set(keep "(window.QuorvelEarly=window.QuorvelEarly||[]).push(event)")
  set(body " onclick=\"${keep}\" onchange=\"${keep}\" onkeydown=\"${keep}\"")
endif()
string(REPLACE "@BODY@" "${body}" page "${page}")
string(REPLACE "@SCRIPT@" "${script}" page "${page}")
file(WRITE ${OUT} "${page}")
