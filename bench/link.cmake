# SPDX-License-Identifier: GPL-3.0-or-later
# bench_link: the CPU cost of fetching one sample packet through the exports.
add_executable(bench_link ${CMAKE_CURRENT_LIST_DIR}/bench_link.cpp)
target_link_libraries(bench_link PRIVATE qvtlink benchmark::benchmark)
