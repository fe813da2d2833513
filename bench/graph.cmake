# SPDX-License-Identifier: GPL-3.0-or-later
# bench_graph: painting the oscilloscope graph with and without its traces, and the drawing of
# newly arrived samples, on Qt's offscreen platform.
add_executable(bench_graph ${CMAKE_CURRENT_LIST_DIR}/graph_bench.cpp)
target_link_libraries(bench_graph PRIVATE qvt_graph benchmark::benchmark)
