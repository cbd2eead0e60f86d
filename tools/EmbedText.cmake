# cmake -DSRC=file -DDST=source.cpp -DNAME=function -DHEADER=header -P EmbedText.cmake
# Writes a C++ source whose function NAME returns the bytes of SRC, so that
# the program carries the file itself instead of a hand-kept copy of it.
file(READ "${SRC}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
# Sixteen bytes a line keeps the generated file readable.
string(REPEAT "0x[0-9a-f][0-9a-f]," 16 line)
string(REGEX REPLACE "(${line})" "\\1\n    " bytes "${bytes}")
file(WRITE "${DST}.new"
"// Generated from ${SRC} at build time; edit that file instead.
#include \"${HEADER}\"

namespace {
const unsigned char kBytes[${size} + 1] = {
    ${bytes}0};
}  // namespace

std::string_view ${NAME}() { return std::string_view(reinterpret_cast<const char*>(kBytes), ${size}); }
")
# Rewritten only when it changed, so that an unchanged file rebuilds nothing.
file(COPY_FILE "${DST}.new" "${DST}" ONLY_IF_DIFFERENT)
file(REMOVE "${DST}.new")
