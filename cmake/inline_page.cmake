# Writes OUT, the one-file page: web/index.html with its style, its script
# and the seven programs inlined, so that it opens from a file:// address,
# from any static server or in an iframe, and makes no request.
#   cmake -DOUT=... -DWEB=web/ -DPROGRAMS=a.js:b.js -P inline_page.cmake
# The page's modules are put together in order, each import line dropped
# and each "export " taken off: they share one module.
file(READ "${WEB}/index.html" page)
file(READ "${WEB}/page.css" style)
set(script "")
foreach(module draw.js page.js)
  file(READ "${WEB}/${module}" code)
  string(PREPEND code "\n")
  string(REGEX REPLACE "\nimport [^\n]*" "" code "${code}")
  string(REGEX REPLACE "\nexport " "\n" code "${code}")
  string(APPEND script "${code}")
endforeach()
set(programs "")
string(REPLACE ":" ";" files "${PROGRAMS}")
foreach(path IN LISTS files)
  file(READ "${path}" code)
  string(REPLACE "</script" "<\\/script" code "${code}")
  string(APPEND programs "<script>\n${code}\n</script>\n")
endforeach()
string(REPLACE "/*page.css*/" "${style}" page "${page}")
string(REPLACE "<!--programs-->" "${programs}" page "${page}")
string(REPLACE "/*page.js*/" "${script}" page "${page}")
file(WRITE "${OUT}" "${page}")
file(SIZE "${OUT}" size)
if(size GREATER 2097152)
  message(FATAL_ERROR "${OUT} is ${size} bytes: more than 2 MB")
endif()
