# SPDX-License-Identifier: GPL-3.0-or-later
# Unit texts (parsed, then written back at several exponents and with values) and typed numbers.
qvt_add_fuzzer(unit_text SOURCES fuzz_unit_text.cpp LIBS qvt_units)
qvt_add_fuzzer(parse_value SOURCES fuzz_parse_value.cpp LIBS qvt_units)
