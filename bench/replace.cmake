# Replace All over every object of the shipped sample, in the core and in the window on the
# offscreen platform (target bench_replace).
add_executable(bench_replace ${CMAKE_CURRENT_LIST_DIR}/bench_replace.cpp)
target_link_libraries(bench_replace PRIVATE vespario_bench_support vespario_ui benchmark::benchmark)
target_include_directories(bench_replace PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_definitions(bench_replace PRIVATE
                           VESPARIO_SAMPLE="${CMAKE_SOURCE_DIR}/data/sample.obs")
