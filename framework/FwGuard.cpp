// How the guard works without __try/__except (g++ has neither).
//
// On x64 Windows a function takes part in exception dispatch through the unwind
// data the linker puts in .pdata/.xdata: the system walks the stack frame by frame,
// and a function whose unwind data names a handler is asked whether it wants the
// exception. That is all __except is. So the guard is one small function written in
// assembly, FwGuardTrampoline, whose unwind data names FwGuardHandler as its
// exception handler, and which calls the guarded function:
//
//  - Dispatch goes from the faulting frame outwards, so the foreign code's own
//    handlers (and any inner guard) see the exception first, and a fault outside a
//    guard never meets our handler at all. No process-wide state is involved (no
//    vectored handler, no filter), so guards on several threads cannot interfere.
//  - The trampoline saves in its own frame every register the x64 calling
//    convention makes a callee preserve (rbx, rbp, rdi, rsi, r12-r15, xmm6-xmm15),
//    plus MXCSR and the x87 control word. For a processor exception the handler
//    points the faulting context at FwGuardLanding with the trampoline's own stack
//    pointer (the establisher frame: its rsp after the prologue) and the exception
//    code in rax, and asks the system to continue there. The landing reloads what
//    the trampoline saved and returns the code to our caller, which thus sees an
//    ordinary return. Nothing between the fault and the trampoline is needed for
//    that: not their unwind data, and little stack, which is what makes a stack
//    overflow recoverable.
//  - Anything else (a C++ exception, whose code is not a processor exception, or an
//    exception being unwound) is answered "continue search", and the frame is
//    registered for dispatch only, not for unwinding: the C++ runtime unwinds
//    through the trampoline like through any other frame, using the .seh_*
//    description of its prologue.
#include "framework/FwGuard.h"
#include <malloc.h>

extern "C" EXCEPTION_DISPOSITION FwGuardHandler(EXCEPTION_RECORD* record, void* establisherFrame,
                                                CONTEXT* context, void* dispatcherContext);
extern "C" DWORD FwGuardTrampoline(void (*fn)(void*), void* arg);
extern "C" char FwGuardLanding[];

asm(R"(
    .text
    .p2align 4
    .globl FwGuardTrampoline
    .def FwGuardTrampoline; .scl 2; .type 32; .endef
    .seh_proc FwGuardTrampoline
FwGuardTrampoline:
    pushq %rbp
    .seh_pushreg %rbp
    pushq %rbx
    .seh_pushreg %rbx
    pushq %rdi
    .seh_pushreg %rdi
    pushq %rsi
    .seh_pushreg %rsi
    pushq %r12
    .seh_pushreg %r12
    pushq %r13
    .seh_pushreg %r13
    pushq %r14
    .seh_pushreg %r14
    pushq %r15
    .seh_pushreg %r15
    subq $200, %rsp
    .seh_stackalloc 200
    movaps %xmm6, 32(%rsp)
    .seh_savexmm %xmm6, 32
    movaps %xmm7, 48(%rsp)
    .seh_savexmm %xmm7, 48
    movaps %xmm8, 64(%rsp)
    .seh_savexmm %xmm8, 64
    movaps %xmm9, 80(%rsp)
    .seh_savexmm %xmm9, 80
    movaps %xmm10, 96(%rsp)
    .seh_savexmm %xmm10, 96
    movaps %xmm11, 112(%rsp)
    .seh_savexmm %xmm11, 112
    movaps %xmm12, 128(%rsp)
    .seh_savexmm %xmm12, 128
    movaps %xmm13, 144(%rsp)
    .seh_savexmm %xmm13, 144
    movaps %xmm14, 160(%rsp)
    .seh_savexmm %xmm14, 160
    movaps %xmm15, 176(%rsp)
    .seh_savexmm %xmm15, 176
    .seh_endprologue
    .seh_handler FwGuardHandler, @except
    stmxcsr 192(%rsp)
    fnstcw 196(%rsp)
    movq %rcx, %rax
    movq %rdx, %rcx
    callq *%rax
    xorl %eax, %eax
    jmp 1f
    .globl FwGuardLanding
FwGuardLanding:
    fnclex
    fldcw 196(%rsp)
    ldmxcsr 192(%rsp)
1:
    movaps 32(%rsp), %xmm6
    movaps 48(%rsp), %xmm7
    movaps 64(%rsp), %xmm8
    movaps 80(%rsp), %xmm9
    movaps 96(%rsp), %xmm10
    movaps 112(%rsp), %xmm11
    movaps 128(%rsp), %xmm12
    movaps 144(%rsp), %xmm13
    movaps 160(%rsp), %xmm14
    movaps 176(%rsp), %xmm15
    addq $200, %rsp
    popq %r15
    popq %r14
    popq %r13
    popq %r12
    popq %rsi
    popq %rdi
    popq %rbx
    popq %rbp
    ret
    .seh_endproc
)");

bool FwIsGuardedException(DWORD code)
{
    switch (code)
    {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_IN_PAGE_ERROR:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_PRIV_INSTRUCTION:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_INT_OVERFLOW:
    case EXCEPTION_FLT_DENORMAL_OPERAND:
    case EXCEPTION_FLT_DIVIDE_BY_ZERO:
    case EXCEPTION_FLT_INEXACT_RESULT:
    case EXCEPTION_FLT_INVALID_OPERATION:
    case EXCEPTION_FLT_OVERFLOW:
    case EXCEPTION_FLT_STACK_CHECK:
    case EXCEPTION_FLT_UNDERFLOW:
    case 0xC00002B4: // STATUS_FLOAT_MULTIPLE_FAULTS (SSE)
    case 0xC00002B5: // STATUS_FLOAT_MULTIPLE_TRAPS (SSE)
    case EXCEPTION_DATATYPE_MISALIGNMENT:
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
    case EXCEPTION_BREAKPOINT:
    case EXCEPTION_STACK_OVERFLOW:
        return true;
    default:
        return false;
    }
}

extern "C" EXCEPTION_DISPOSITION FwGuardHandler(EXCEPTION_RECORD* record, void* establisherFrame,
                                                CONTEXT* context, void* dispatcherContext)
{
    if (record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND))
        return ExceptionContinueSearch;
    if (!FwIsGuardedException(record->ExceptionCode))
        return ExceptionContinueSearch;
    auto returnValue = static_cast<DWORD64>(record->ExceptionCode);
    if (record->ExceptionFlags & EXCEPTION_NONCONTINUABLE)
    {
        // Raised by software as non-continuable: the system would refuse to resume
        // it, so leave through a proper unwind to the same landing (does not return).
        auto* dc = static_cast<DISPATCHER_CONTEXT*>(dispatcherContext);
        RtlUnwindEx(establisherFrame, FwGuardLanding, record, reinterpret_cast<void*>(returnValue),
                    dc->ContextRecord, dc->HistoryTable);
    }
    // Resume in the trampoline's frame (its stack pointer after the prologue is the
    // establisher frame) at the landing, which restores what the trampoline saved.
    context->Rip = reinterpret_cast<DWORD64>(FwGuardLanding);
    context->Rsp = reinterpret_cast<DWORD64>(establisherFrame);
    context->Rax = returnValue;
    return ExceptionContinueExecution;
}

namespace
{
// Room the system keeps for reporting a stack overflow: the dispatch of the
// exception, the handlers it asks and our landing all run on what is left of the
// overflowing stack, and the system's default of two pages is not always enough.
const ULONG kStackOverflowRoom = 64 * 1024;

// Makes an overflow of this thread's stack reportable. Wine commits a thread's whole
// stack at once and keeps its only guard page at the very bottom, so an overflow
// there leaves no room to dispatch anything and ends the thread. Arming a guard page
// at the current stack position (what _resetstkoflw does) gives a guard that follows
// the stack down page by page and raises the overflow while the guaranteed room is
// still free. On Windows the stack already works that way and this changes nothing.
void PrepareStackForOverflow()
{
    static thread_local bool prepared = false;
    if (prepared)
        return;
    prepared = true;
    ULONG room = kStackOverflowRoom;
    SetThreadStackGuarantee(&room);
    _resetstkoflw();
}
} // namespace

DWORD FwRunGuarded(void (*fn)(void*), void* arg)
{
    PrepareStackForOverflow();
    DWORD code = FwGuardTrampoline(fn, arg);
    // The overflow used up the guard page; without a new one the next overflow on
    // this thread could not be reported at all.
    if (code == EXCEPTION_STACK_OVERFLOW)
        _resetstkoflw();
    return code;
}
