# SPDX-License-Identifier: GPL-3.0-or-later
# Random sample blocks, sample periods and range limits through every measurement, the texts
# and the spectrum.
qvt_add_fuzzer(analysis SOURCES fuzz_analysis.cpp LIBS qvt_analysis)
# Random points, built-in models and formulas, starting and fixed values through the fit.
qvt_add_fuzzer(fit SOURCES fuzz_fit.cpp LIBS qvt_analysis)
# Lines of computed-quantity definitions read, written back, defined and computed.
qvt_add_fuzzer(computed_text SOURCES fuzz_computed_text.cpp LIBS qvt_analysis)
