// Guarded calls into foreign code: image and archive plug-ins and shell extensions
// are third-party DLLs, and a broken one must cost us one failed call, not the program.
//
//     int result = 0;
//     DWORD code = 0;
//     if (!GuardedCall([&] { result = pfnGetPicture(...); }, &code))
//         ... the plug-in faulted with exception code 'code' (e.g. 0xC0000005) ...
//
// What is caught: processor exceptions (access violation, in-page error, illegal or
// privileged instruction, integer divide by zero and overflow, floating-point traps,
// misalignment, array bounds, breakpoint, stack overflow) raised anywhere below the
// GuardedCall on the calling thread and not handled on the way by the foreign code's
// own exception handlers, which keep their first say as with a compiler's
// __try/__except.
//
// What passes through untouched: C++ exceptions (ours propagate out of GuardedCall
// as if it were not there), software exceptions of other codes, faults on other
// threads, and faults outside a guarded region (they stay fatal, as they must).
//
// After a caught fault execution resumes in the guard as if the call had returned:
// the registers the caller relies on, the floating-point control state and, after a
// stack overflow, the stack's guard page are put back, so the thread can go on and a
// later fault is caught again. Guards nest (the innermost catches) and run on any
// number of threads at once; they keep no shared state.
//
// Limits: the frames between the fault and the guard are abandoned, not unwound:
// neither the foreign code's cleanup handlers nor C++ destructors of our own frames
// inside f run (g++'s runtime does not take part in unwinding exceptions it did not
// raise). So f should only call into the foreign code and store plain results;
// create owning objects outside it. State the foreign code left half-changed (locks
// it held, heap blocks it was writing) stays as it was: after a fault the caller
// should stop using that DLL. A fail-fast exit (__fastfail, abort) or a fault that
// corrupts our own stack still ends the process.
#pragma once
#include "framework/FwCore.h"
#include <memory>
#include <type_traits>

// Runs fn(arg) under a guard; returns 0 when it returned normally, or the code of
// the processor exception that ended it. The building block of GuardedCall.
DWORD FwRunGuarded(void (*fn)(void*), void* arg);

// True when the code is one of the processor exceptions a guard catches.
bool FwIsGuardedException(DWORD code);

// Calls f() under a guard. Returns true when f returned normally; false when a
// processor exception ended it, with its code in *pExceptionCode when given.
template <class F> bool GuardedCall(F&& f, DWORD* pExceptionCode = nullptr)
{
    using Fn = std::remove_reference_t<F>;
    void* target = const_cast<void*>(static_cast<const void*>(std::addressof(f)));
    DWORD code = FwRunGuarded([](void* p) { (*static_cast<Fn*>(p))(); }, target);
    if (pExceptionCode)
        *pExceptionCode = code;
    return code == 0;
}
