# The constellation and seven atlas chart look-ups over the OpenNGC catalogue (target
# bench_atlas). Included from bench/CMakeLists.txt.
add_executable(bench_atlas ${CMAKE_CURRENT_LIST_DIR}/bench_atlas.cpp)
target_link_libraries(bench_atlas PRIVATE vespario_astro benchmark::benchmark)
