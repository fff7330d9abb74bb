qel_add_bench(bench_export ${CMAKE_CURRENT_SOURCE_DIR}/bench_export.cpp LIBS qel_exports qel_fileio qel_model)
