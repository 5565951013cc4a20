# A round trip of the conversation layer (connect, execute, disconnect) beside a bare socket
# round trip (target bench_link). Included from bench/CMakeLists.txt.
add_executable(bench_link ${CMAKE_CURRENT_LIST_DIR}/bench_link.cpp)
target_link_libraries(bench_link PRIVATE vespario_link benchmark::benchmark)
