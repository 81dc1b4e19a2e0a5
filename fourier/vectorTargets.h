#pragma once
// TARNVIEW_WIDEST_VECTORS before a function definition builds it for the widest vectors
// the processor has, chosen at load time (x86-64 with GCC or Clang; elsewhere it expands
// to nothing). Put it only on loops whose results do not depend on the vector width:
// every operation the same IEEE operation at any width, nothing contracted.
#if defined(__x86_64__) && defined(__GNUC__)
#define TARNVIEW_WIDEST_VECTORS __attribute__((target_clones("avx512f", "avx2", "default")))
#else
#define TARNVIEW_WIDEST_VECTORS
#endif
