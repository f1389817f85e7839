# Writes a file's bytes as the read-only array EmbeddedPicture and its size.
# cmake -DINPUT=file -DOUTPUT=source.cpp -P embed.cmake
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
# Sixteen bytes a line (CMake's expressions have no repeat count).
string(REPEAT "0x..," 16 line)
string(REGEX REPLACE "(${line})" "\\1\n" bytes "${bytes}")
file(WRITE ${OUTPUT}.new "#include \"app/picture.h\"\n\nconst unsigned char EmbeddedPicture[] = {\n${bytes}\n};\n\nconst uint32_t EmbeddedPictureSize = ${size};\n")
file(RENAME ${OUTPUT}.new ${OUTPUT})
