# SPDX-License-Identifier: GPL-3.0-or-later
# bench_analysis: all measurements of four 16,385-sample channels against one summing pass,
# and a windowed 16,384-point spectrum against FFTW's plan execution alone.
find_package(PkgConfig REQUIRED)
pkg_check_modules(FFTW3 REQUIRED IMPORTED_TARGET fftw3)
add_executable(bench_analysis ${CMAKE_CURRENT_LIST_DIR}/analysis_bench.cpp)
target_include_directories(bench_analysis PRIVATE ${PROJECT_SOURCE_DIR}/tests/analysis)
target_link_libraries(bench_analysis PRIVATE qvt_analysis PkgConfig::FFTW3 benchmark::benchmark)

# bench_fit: a damped sine of 16,385 samples fitted as the built-in model and as a formula,
# against one pass of the model.
add_executable(bench_fit ${CMAKE_CURRENT_LIST_DIR}/fit_bench.cpp)
target_link_libraries(bench_fit PRIVATE qvt_analysis benchmark::benchmark)
# bench_computed: eight computed quantities over 16,385 samples against one formula's pass.
add_executable(bench_computed ${CMAKE_CURRENT_LIST_DIR}/computed_bench.cpp)
target_include_directories(bench_computed PRIVATE ${PROJECT_SOURCE_DIR}/tests/analysis)
target_link_libraries(bench_computed PRIVATE qvt_analysis qvt_evaluator benchmark::benchmark)
