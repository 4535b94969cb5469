# Turns a binary file into a C++ source holding its bytes.
file(READ ${INPUT} HEX HEX)
string(LENGTH "${HEX}" HEXLEN)
math(EXPR COUNT "${HEXLEN} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," BYTES "${HEX}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" BYTES "${BYTES}")
file(WRITE ${OUTPUT} "// Generated from ${INPUT}.\n#include <cstddef>\n#include <cstdint>\nnamespace forms {\nextern const uint8_t ${SYMBOL}[] = {\n${BYTES}\n};\nextern const size_t ${SYMBOL}Size = ${COUNT};\n}  // namespace forms\n")
