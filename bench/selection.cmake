# A selection pass over 100,000 and 200,000 generated records (target bench_selection).
add_executable(bench_selection ${CMAKE_CURRENT_LIST_DIR}/bench_selection.cpp)
target_link_libraries(bench_selection PRIVATE vespario_bench_support vespario_select
                                              benchmark::benchmark)
