# Writes OUTPUT, a header defining the character array NAME with the bytes of INPUT and a
# terminator, so a registry script is compiled into the module as it stands in its file.
file(READ "${INPUT}" bytes HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${bytes}")
file(WRITE "${OUTPUT}.tmp"
    "// Generated from ${INPUT}; do not edit.\n#pragma once\n\n"
    "inline constexpr char ${NAME}[] = {${bytes}'\\0'};\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
