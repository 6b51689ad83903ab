# Puts the page together: the template (ui/web/page.html.in) with the style
# and the controls that the generator (page_html, run by Node) writes from
# the control table, and, unless NO_SCRIPT, the scripts, held as text:
# emscripten's JavaScript for the module with the glue (ui/web/glue.js),
# and the module's WebAssembly, both gzipped as base64; the inflater that
# unpacks them (pako, Debian's node-pako); and the script that the body's
# load handler runs (ui/web/after_paint.js), which runs the glue once the
# window is painted: no script runs while the page is read. The whole page
# is then written in ASCII (page_html ascii).
#   cmake -DNODE=... -DGENERATOR=... -DTEMPLATE=... -DOUT=...
#         [-DNO_SCRIPT=ON | -DJS=... -DWASM=... -DGLUE=... -DINFLATE=... -DSTART=...]
#         -P assemble.cmake
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
  file(READ ${JS} js)
  file(READ ${GLUE} glue)
  file(READ ${INFLATE} inflate)
  file(READ ${START} start)
  string(REPLACE "@NAMES@" "${names}" glue "${glue}")
  string(REPLACE "@COMMANDS@" "${commands}" glue "${glue}")
  # Gzipped, the code and the module are a third of their size.
  file(WRITE ${OUT}.code "${js}\n${glue}")
  execute_process(COMMAND gzip -9 -n -c ${OUT}.code COMMAND base64 -w0
                  OUTPUT_VARIABLE code_text COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND gzip -9 -n -c ${WASM} COMMAND base64 -w0
                  OUTPUT_VARIABLE wasm_text COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE ${OUT}.code)
  held(page-code "application/gzip;base64" "${code_text}" page_code)
  held(wasm "application/gzip;base64" "${wasm_text}" wasm)
  held(inflate-code "text/plain" "${inflate}" inflate_code)
  string(LENGTH "${start}" length)
  if(length GREATER 32768)
    message(FATAL_ERROR "the starter must fit the one element that the body's load handler reads")
  endif()
  held(start "text/plain" "${start}" start_code)
  string(CONCAT script "${page_code}${wasm}${inflate_code}${start_code}")
  # Until the glue has wired the window, the body keeps each click, change,
  # key and paste for it, through handlers that the browser compiles only
  # when one comes; a paste keeps its text, which its event gives only
  # while it is handled.
  set(keep "(window.QuorvelEarly=window.QuorvelEarly||[]).push(event)")
  set(body " onclick=\"${keep}\" onchange=\"${keep}\" onkeydown=\"${keep}\"")
  string(APPEND body " onpaste=\"event.quorvelText=event.clipboardData?"
         "event.clipboardData.getData('text/plain'):'';${keep}\"")
  string(APPEND body " onload=\"var start=document.createElement('script');"
         "start.text=document.querySelector('script[data-of=start]').textContent;"
         "document.head.appendChild(start)\"")
endif()
string(REPLACE "@BODY@" "${body}" page "${page}")
string(REPLACE "@SCRIPT@" "${script}" page "${page}")
file(WRITE ${OUT}.utf8 "${page}")
execute_process(COMMAND ${NODE} ${GENERATOR} ascii ${OUT}.utf8 OUTPUT_FILE ${OUT}
                COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE ${OUT}.utf8)
