#pragma once

namespace velmora {

// Libraries built for wide vector instructions (Qt's drawing and event code among them) may
// return with the upper halves of the vector registers in use. Code built for the plain
// x86-64 instruction set, as the workbench's loops are, then pays for every vector
// instruction until the halves are cleared. The Qt side of the workbench calls this after
// handing work to Qt, so the loops that follow run at full speed.
inline void ClearUpperVectorState() {
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
  static const bool hasAvx = __builtin_cpu_supports("avx");
  if (hasAvx) __asm__ volatile("vzeroupper" ::: "memory");
#endif
}

}  // namespace velmora
