# Writes OUT, a C++ file holding the source files FILES (paths from ROOT,
# joined by ":") as the program's embedded sources: --step's view shows the
# code a program was built from, so it can never differ from it.
#   cmake -DOUT=... -DROOT=... -DFILES=programs/x/main.cpp:intlist/intlist.cpp -P embed_sources.cmake
string(REPLACE ":" ";" files "${FILES}")
set(body "// Made at build time from the sources named here; not edited by hand.\n")
string(APPEND body "#include \"code.h\"\n\nconst SourceFile programSources[] = {\n")
foreach(path IN LISTS files)
  file(READ "${ROOT}/${path}" text)
  string(APPEND body "    {\"${path}\", R\"listsource(${text})listsource\"},\n")
endforeach()
list(LENGTH files count)
string(APPEND body "};\nconst int programSourceCount = ${count};\n")
file(WRITE "${OUT}.new" "${body}")
file(COPY_FILE "${OUT}.new" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.new")
