# Writes a C++ source that holds the given files as byte arrays.
# Called as: cmake -DOUTPUT=... -DINPUTS=a,b -P embed_files.cmake
string(REPLACE "," ";" INPUTS "${INPUTS}")
set(code "// Generated from the built-in skin pictures.\n#include <cstddef>\n\n")
foreach(input ${INPUTS})
    get_filename_component(name ${input} NAME_WE)
    file(READ ${input} hex HEX)
    string(LENGTH "${hex}" hexLength)
    math(EXPR size "${hexLength} / 2")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(APPEND code "extern const unsigned char embedded_${name}[] = {${bytes}};\n")
    string(APPEND code "extern const std::size_t embedded_${name}_size = ${size};\n")
endforeach()
file(WRITE ${OUTPUT} "${code}")
