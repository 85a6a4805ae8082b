# Game functions as MSVC compiles them for Windows x64, written by hand from
# Microsoft's "x64 calling convention" (Parameter passing, Return values), for
# the member access tests. Each records every argument register, where the stack
# pointer stood on entry and the sixteen stack slots above the return address
# into probe_seen, then returns the way its shape of signature does, with what
# the test put in probe_answer. The test reads the record and judges it.
#
# Only RAX, RCX, RDX, R8-R11 and XMM0-XMM5 are changed: those the convention
# makes volatile. No callee touches RSP, so none needs unwind data.

        .intel_syntax noprefix

# probe_seen (tests/member_access_windows_test.cpp declares the same layout)
        .set SEEN_RCX, 0
        .set SEEN_RDX, 8
        .set SEEN_R8, 16
        .set SEEN_R9, 24
        .set SEEN_XMM, 32         # XMM0-XMM3, their low 8 bytes
        .set SEEN_RSP, 64         # RSP on entry: the return address's slot
        .set SEEN_STACK, 72       # [RSP+8] onwards: four home slots, then argument 5, 6...
        .set SEEN_COPIES, 200     # the 24 bytes RDX points at, then the 24 R8 points at
# probe_answer
        .set ANSWER_RAX, 0
        .set ANSWER_XMM0, 8
        .set ANSWER_WORDS, 16     # a class result, written through the result pointer
        .set ANSWER_WORD_COUNT, 48

        .macro RECORD_ARGUMENTS
        lea r10, [rip + probe_seen]
        mov [r10 + SEEN_RCX], rcx
        mov [r10 + SEEN_RDX], rdx
        mov [r10 + SEEN_R8], r8
        mov [r10 + SEEN_R9], r9
        movq QWORD PTR [r10 + SEEN_XMM], xmm0
        movq QWORD PTR [r10 + SEEN_XMM + 8], xmm1
        movq QWORD PTR [r10 + SEEN_XMM + 16], xmm2
        movq QWORD PTR [r10 + SEEN_XMM + 24], xmm3
        mov [r10 + SEEN_RSP], rsp
        .irp slot, 0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15
        mov r11, [rsp + 8 + 8 * \slot]
        mov [r10 + SEEN_STACK + 8 * \slot], r11
        .endr
        .endm

# Writes the answer's words where RAX points.
        .macro WRITE_ANSWER_THROUGH_RAX
        lea r10, [rip + probe_answer]
        mov r11, [r10 + ANSWER_WORD_COUNT]
1:      test r11, r11
        jz 2f
        dec r11
        mov rcx, [r10 + ANSWER_WORDS + 8 * r11]
        mov [rax + 8 * r11], rcx
        jmp 1b
2:
        .endm

# An integer, pointer or bool result in RAX, a float or double in XMM0. The test
# gives the two different values, so a result read from the wrong one shows.
        .macro RETURN_IN_REGISTERS
        lea r10, [rip + probe_answer]
        mov rax, [r10 + ANSWER_RAX]
        movq xmm0, QWORD PTR [r10 + ANSWER_XMM0]
        ret
        .endm

        .text

# A member function returning a class: `this` in RCX, the result's storage in
# RDX, the arguments from R8 on; the storage comes back in RAX.
        .globl probe_result_after_this
        .p2align 4
probe_result_after_this:
        RECORD_ARGUMENTS
        mov rax, rdx
        WRITE_ANSWER_THROUGH_RAX
        ret

# A static function returning a class that Microsoft's test keeps out of RAX:
# the result's storage in RCX, the arguments from RDX on; the storage comes back
# in RAX.
        .globl probe_result_first
        .p2align 4
probe_result_first:
        RECORD_ARGUMENTS
        mov rax, rcx
        WRITE_ANSWER_THROUGH_RAX
        ret

# Every other function: arguments from RCX on, the result in a register.
        .globl probe_result_in_registers
        .p2align 4
probe_result_in_registers:
        RECORD_ARGUMENTS
        RETURN_IN_REGISTERS

# A member function whose first two arguments are 24-byte structs: RDX and R8
# point at the caller's copies, which live only for the call, so their bytes are
# recorded here.
        .globl probe_copies_in_rdx_r8
        .p2align 4
probe_copies_in_rdx_r8:
        RECORD_ARGUMENTS
        .irp offset, 0,8,16
        mov r11, [rdx + \offset]
        mov [r10 + SEEN_COPIES + \offset], r11
        mov r11, [r8 + \offset]
        mov [r10 + SEEN_COPIES + 24 + \offset], r11
        .endr
        RETURN_IN_REGISTERS
