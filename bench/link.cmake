qel_add_bench(bench_link ${CMAKE_CURRENT_SOURCE_DIR}/bench_link.cpp LIBS qel_virtual qel_tester qel_model)
