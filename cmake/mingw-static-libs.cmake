# Included after project() in the MinGW cross build: find static archives only.
set(CMAKE_FIND_LIBRARY_SUFFIXES .a)
