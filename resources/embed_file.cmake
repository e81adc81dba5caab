# Turns one file into a C++ source holding its bytes:
#   cmake -DINPUT=<file> -DOUTPUT=<file.cpp> -DSYMBOL=<name> -P embed_file.cmake
# defines `const unsigned char SYMBOL[]` and `const std::size_t SYMBOL_size`.
foreach(var INPUT OUTPUT SYMBOL)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "embed_file.cmake needs -D${var}=...")
    endif()
endforeach()

file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
if(digits EQUAL 0)
    message(FATAL_ERROR "${INPUT} is empty")
endif()
math(EXPR size "${digits} / 2")
# 32 bytes to a line keeps the file readable and the compiler quick.
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REPEAT "0x..," 32 line)
string(REGEX REPLACE "(${line})" "\\1\n" bytes "${bytes}")

file(WRITE "${OUTPUT}.tmp"
    "// Made by embed_file.cmake from ${INPUT}; changes here are lost on the next build.\n"
    "#include <cstddef>\n\n"
    "extern const unsigned char ${SYMBOL}[];\n"
    "extern const std::size_t ${SYMBOL}_size;\n\n"
    "const unsigned char ${SYMBOL}[] = {\n${bytes}\n};\n"
    "const std::size_t ${SYMBOL}_size = ${size};\n")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
