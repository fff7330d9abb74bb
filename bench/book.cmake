qel_add_bench(bench_book ${CMAKE_CURRENT_SOURCE_DIR}/bench_book.cpp LIBS qel_app qel_text qel_fileio qel_operator)
