qel_add_bench(bench_expand ${CMAKE_CURRENT_SOURCE_DIR}/bench_expand.cpp LIBS qel_algorithms qel_diagnosis qel_model qel_text)
