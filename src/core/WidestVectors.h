#pragma once

// Loops over many samples are compiled again for the wider vectors of newer processors, and
// the widest the processor has is taken when the program starts. Files with such loops are
// built without floating-point traps, so that comparisons and clamps vectorize too.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define VELMORA_WIDEST_VECTORS __attribute__((target_clones("avx512f", "avx2", "default")))
#else
#define VELMORA_WIDEST_VECTORS
#endif
