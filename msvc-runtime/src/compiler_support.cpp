// Symbols the compiler's code expects every module to define.
#include <isa_availability.h>

extern "C" {
// Marks that the module uses floating point; nothing reads it on x64.
int _fltused = 0x9875;

// The instruction set the standard library may assume without asking: SSE2 is part
// of every x64 processor. The library falls back to portable code for the rest.
int __isa_available = __ISA_AVAILABLE_SSE2;
}

// Probes each 4 KB page of a frame larger than one page, from the top, so that the
// stack's guard page is met in order. RAX holds the frame's size; every other register
// is kept.
__asm__(
    ".text\n"
    ".globl __chkstk\n"
    "__chkstk:\n"
    "  pushq %rcx\n"
    "  pushq %rax\n"
    "  cmpq $0x1000, %rax\n"
    "  leaq 24(%rsp), %rcx\n"
    "  jb 1f\n"
    "2:\n"
    "  subq $0x1000, %rcx\n"
    "  testq %rcx, (%rcx)\n"
    "  subq $0x1000, %rax\n"
    "  cmpq $0x1000, %rax\n"
    "  ja 2b\n"
    "1:\n"
    "  subq %rax, %rcx\n"
    "  testq %rcx, (%rcx)\n"
    "  popq %rax\n"
    "  popq %rcx\n"
    "  retq\n");
