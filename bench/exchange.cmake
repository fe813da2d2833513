# SPDX-License-Identifier: GPL-3.0-or-later
# bench_measure_file: saving and opening a measurement file of 4 x 16,385 samples against one
# fwrite and one fread of the same bytes.
add_executable(bench_measure_file ${CMAKE_CURRENT_LIST_DIR}/measure_file_bench.cpp)
target_link_libraries(bench_measure_file PRIVATE qvt_measure_file benchmark::benchmark)
