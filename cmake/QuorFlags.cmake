# Flags every quor target carries. Floating point is exact IEEE with every
# operation rounded separately: no contraction into fused multiply-adds and
# no fast-math, on any compiler.
set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
set(CMAKE_EXPORT_COMPILE_COMMANDS ON)

add_library(quor_flags INTERFACE)
target_compile_options(quor_flags INTERFACE
  -ffp-contract=off -fno-fast-math
  -Wall -Wextra -Wpedantic)
if(QUOR_SANITIZE)
  target_compile_options(quor_flags INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(quor_flags INTERFACE -fsanitize=address,undefined)
endif()

# libbacktrace ships with GCC (backtrace.h and libbacktrace.a in GCC's own
# include and library folders); Clang finds it through GCC's installation.
find_path(QUOR_BACKTRACE_INCLUDE backtrace.h
  PATHS /usr/lib/gcc/x86_64-linux-gnu/12/include /usr/lib/gcc/x86_64-linux-gnu/13/include
  NO_DEFAULT_PATH)
find_library(QUOR_BACKTRACE_LIB NAMES libbacktrace.a backtrace
  PATHS /usr/lib/gcc/x86_64-linux-gnu/12 /usr/lib/gcc/x86_64-linux-gnu/13)
if(NOT QUOR_BACKTRACE_INCLUDE OR NOT QUOR_BACKTRACE_LIB)
  message(FATAL_ERROR "libbacktrace not found; it ships with GCC 12: apt-get install gcc-12")
endif()
