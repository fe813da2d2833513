# SPDX-License-Identifier: GPL-3.0-or-later
# Writes the catalogue QM (a .qm file) into OUT as the bytes kEnglishCatalogue of
# english_texts.cpp, so that the module carries the English texts wherever it is installed.
# Usage: cmake -DQM=<file.qm> -DOUT=<file.cpp> -P embed_catalogue.cmake
file(READ ${QM} hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
# Lines of 24 bytes, for the compiler's and a reader's sake.
string(REPEAT "0x[0-9a-f][0-9a-f]," 24 line)
string(REGEX REPLACE "(${line})" "\\1\n" bytes "${bytes}")
file(WRITE ${OUT}.tmp "// Generated from ${QM} by embed_catalogue.cmake.
#include <cstddef>

namespace qvt::python {
extern const unsigned char kEnglishCatalogue[];
extern const std::size_t kEnglishCatalogueSize;
alignas(4) const unsigned char kEnglishCatalogue[] = {
${bytes}
0};
const std::size_t kEnglishCatalogueSize = ${size};
} // namespace qvt::python
")
file(COPY_FILE ${OUT}.tmp ${OUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUT}.tmp)
