# Puts the page together: the template (ui/web/page.html.in) with the style
# and the controls that the generator (page_html, run by Node) writes from
# the control table, and, unless NO_SCRIPT, the scripts: emscripten's
# JavaScript for the window's module with the glue (ui/web/glue.js), which
# run as the page is read, then, held as text for the glue, the two
# modules' WebAssembly gzipped as base64, the commands' JavaScript, and
# the inflater that unpacks the WebAssembly (pako, Debian's node-pako).
# The whole page is then written in ASCII (page_html ascii).
#   cmake -DNODE=... -DGENERATOR=... -DTEMPLATE=... -DOUT=...
#         [-DNO_SCRIPT=ON | -DJS=... -DWASM=... -DCOMMANDS_JS=... -DCOMMANDS_WASM=...
#          -DGLUE=... -DINFLATE=...] -P assemble.cmake
foreach(part style controls names commands)
  execute_process(COMMAND ${NODE} ${GENERATOR} ${part} OUTPUT_VARIABLE ${part}
                  COMMAND_ERROR_IS_FATAL ANY)
endforeach()
file(READ ${TEMPLATE} page)
string(REPLACE "@STYLE@" "${style}" page "${page}")
string(REPLACE "@CONTROLS@" "${controls}" page "${page}")

# `text` as the page holds it for the glue: in <script> elements of `type`
# named `name` (data-of), at most 32 KiB each, which the glue joins. A
# browser reads many short texts much quicker than one long one.
function(held name type text out)
  string(FIND "${text}" "</script" closing)
  string(FIND "${text}" "<!--" opening)
  if(NOT closing EQUAL -1 OR NOT opening EQUAL -1)
    message(FATAL_ERROR "${name} holds </script or <!--, which would end its element early or late")
  endif()
  string(LENGTH "${text}" length)
  set(html "")
  set(at 0)
  while(at LESS length)
    string(SUBSTRING "${text}" ${at} 32768 part)
    string(APPEND html "<script type=\"${type}\" data-of=\"${name}\">${part}</script>\n")
    math(EXPR at "${at} + 32768")
  endwhile()
  set(${out} "${html}" PARENT_SCOPE)
endfunction()

set(script "")
set(body "")
if(NOT NO_SCRIPT)
  foreach(wasm_file WASM COMMANDS_WASM)
    execute_process(COMMAND gzip -9 -n -c ${${wasm_file}} COMMAND base64 -w0
                    OUTPUT_VARIABLE ${wasm_file}_TEXT COMMAND_ERROR_IS_FATAL ANY)
  endforeach()
  file(READ ${JS} js)
  file(READ ${COMMANDS_JS} commands_js)
  file(READ ${GLUE} glue)
  file(READ ${INFLATE} inflate)
  string(REPLACE "@NAMES@" "${names}" glue "${glue}")
  string(REPLACE "@COMMANDS@" "${commands}" glue "${glue}")
  held(window "text/plain" "${js}\n${glue}" ignored) # only checked: it runs as it is
  held(wasm "application/gzip;base64" "${WASM_TEXT}" wasm)
  held(commands-wasm "application/gzip;base64" "${COMMANDS_WASM_TEXT}" commands_wasm)
  held(commands-code "text/plain" "${commands_js}" commands_code)
  held(inflate-code "text/plain" "${inflate}" inflate_code)
  string(CONCAT script "<script>\n${js}\n${glue}</script>\n"
         "${wasm}${inflate_code}${commands_wasm}${commands_code}")
  # Until the glue has wired the window, the body keeps each click, change,
  # key and paste for it, through handlers that the browser compiles only
  # when one comes; a paste keeps its text, which its event gives only
  # while it is handled.
  set(keep "(window.QuorvelEarly=window.QuorvelEarly||[]).push(event)")
  set(body " onclick=\"${keep}\" onchange=\"${keep}\" onkeydown=\"${keep}\"")
  string(APPEND body " onpaste=\"event.quorvelText=event.clipboardData?"
         "event.clipboardData.getData('text/plain'):'';${keep}\"")
endif()
string(REPLACE "@BODY@" "${body}" page "${page}")
string(REPLACE "@SCRIPT@" "${script}" page "${page}")
file(WRITE ${OUT}.utf8 "${page}")
execute_process(COMMAND ${NODE} ${GENERATOR} ascii ${OUT}.utf8 OUTPUT_FILE ${OUT}
                COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE ${OUT}.utf8)
