# SPDX-License-Identifier: GPL-3.0-or-later
# Fuzz target of the virtual interface's option parser (the text of QVTLINK_SIM).
qvt_add_fuzzer(sim_options SOURCES fuzz_sim_options.cpp LIBS qvt_sim)
