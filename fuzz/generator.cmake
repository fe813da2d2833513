# SPDX-License-Identifier: GPL-3.0-or-later
# fuzz_parser: compiles random texts as formulas and evaluates them for a few values of t.
qvt_add_fuzzer(parser SOURCES parser_fuzzer.cpp LIBS qvt_generator)
