# The table's rows: the fill against formatting the same values in one loop, and the search.
qel_add_bench(bench_table ${CMAKE_CURRENT_SOURCE_DIR}/bench_table.cpp LIBS qel_views qel_model)
