#include "wallpaper/FaultGuard.h"

#include <float.h>
#include <malloc.h>

#include <atomic>

// How a fault is caught: a vectored handler sees every exception of the
// process first. It acts only on a hardware fault of a thread that is inside
// a guarded call (the thread's slot names the call's frame) and makes the
// thread go on where the guard saved its state at entry, as __builtin_longjmp
// would, instead of where it faulted. Both architectures share this path;
// only the names of the three registers differ.

namespace {

using HandlerChain = void*;

// The innermost guarded call of a thread, named by the thread's slot while
// the call runs.
struct GuardFrame {
    // Filled by __builtin_setjmp: the frame pointer, the resume address and
    // the stack pointer, in that order, as GCC lays out its buffer on x86 and
    // x64 (and reads it back in __builtin_longjmp).
    void* resume[5] = {};
    GuardFrame* outer = nullptr;
    // The head of the thread's chain of frame handlers at entry. On x86 the
    // chain runs through stack frames, and a fault can leave it pointing into
    // frames of the call that the resume abandons. On x64 the field is unused
    // and restoring it changes nothing.
    HandlerChain handlerChain = nullptr;
    volatile DWORD faultCode = 0;
};

constexpr DWORD kDirectionFlag = 0x400;
constexpr DWORD kFloatMultipleFaults = 0xC00002B4;
constexpr DWORD kFloatMultipleTraps = 0xC00002B5;

// The slot of the handler below; TLS_OUT_OF_INDEXES while there is none.
constinit std::atomic<DWORD> guardSlot{TLS_OUT_OF_INDEXES};

// The head of this thread's chain of frame handlers: the first word of its
// thread block (NT_TIB::ExceptionList).
HandlerChain CurrentHandlerChain() {
    HandlerChain head;
#if defined(__x86_64__)
    asm volatile("movq %%gs:0, %0" : "=r"(head));
#else
    asm volatile("movl %%fs:0, %0" : "=r"(head));
#endif
    return head;
}

void SetHandlerChain(HandlerChain head) {
#if defined(__x86_64__)
    asm volatile("movq %0, %%gs:0" : : "r"(head) : "memory");
#else
    asm volatile("movl %0, %%fs:0" : : "r"(head) : "memory");
#endif
}

// What __builtin_longjmp does, done to the faulted thread's registers.
void ResumeAt(CONTEXT& context, void* const resume[]) {
#if defined(__x86_64__)
    context.Rbp = reinterpret_cast<DWORD64>(resume[0]);
    context.Rip = reinterpret_cast<DWORD64>(resume[1]);
    context.Rsp = reinterpret_cast<DWORD64>(resume[2]);
#elif defined(__i386__)
    context.Ebp = reinterpret_cast<DWORD>(resume[0]);
    context.Eip = reinterpret_cast<DWORD>(resume[1]);
    context.Esp = reinterpret_cast<DWORD>(resume[2]);
#else
#error "resuming after a fault is written for x86 and x64"
#endif
    // Compiled code expects the direction flag clear; the fault may have
    // come in the middle of a backwards copy.
    context.EFlags &= ~kDirectionFlag;
}

LONG CALLBACK CatchFault(EXCEPTION_POINTERS* exception) {
    const DWORD slot = guardSlot.load(std::memory_order_acquire);
    const DWORD code = exception->ExceptionRecord->ExceptionCode;
    if (slot == TLS_OUT_OF_INDEXES || !IsHardwareFault(code)) return EXCEPTION_CONTINUE_SEARCH;
    // TlsGetValue clears the last error, which the thread's own handlers
    // may still read.
    const DWORD lastError = GetLastError();
    auto* frame = static_cast<GuardFrame*>(TlsGetValue(slot));
    SetLastError(lastError);
    if (!frame) return EXCEPTION_CONTINUE_SEARCH;
    frame->faultCode = code;
    ResumeAt(*exception->ContextRecord, frame->resume);
    return EXCEPTION_CONTINUE_EXECUTION;
}

// The process's one handler and its thread slot, made at the first guarded
// call. Without them calls run unguarded, as they would anyway.
class FaultCatcher {
  public:
    static DWORD Slot() {
        static FaultCatcher catcher;
        return catcher.handler_ ? catcher.slot_ : TLS_OUT_OF_INDEXES;
    }
    FaultCatcher(const FaultCatcher&) = delete;
    FaultCatcher& operator=(const FaultCatcher&) = delete;

  private:
    FaultCatcher() : slot_(TlsAlloc()) {
        if (slot_ == TLS_OUT_OF_INDEXES) return;
        guardSlot.store(slot_, std::memory_order_release);
        handler_ = AddVectoredExceptionHandler(1, CatchFault);
    }
    ~FaultCatcher() {
        if (handler_) RemoveVectoredExceptionHandler(handler_);
        guardSlot.store(TLS_OUT_OF_INDEXES, std::memory_order_release);
        if (slot_ != TLS_OUT_OF_INDEXES) TlsFree(slot_);
    }

    DWORD slot_;
    PVOID handler_ = nullptr;
};

// Names the frame in the thread's slot for as long as the call runs, and
// the enclosing one again afterwards, however the call ends: a slot left
// naming a frame that is gone would send a later fault there.
class InnermostGuard {
  public:
    InnermostGuard(DWORD slot, GuardFrame& frame) : slot_(slot), frame_(frame) {
        frame.outer = static_cast<GuardFrame*>(TlsGetValue(slot));
        TlsSetValue(slot, &frame);
    }
    InnermostGuard(const InnermostGuard&) = delete;
    InnermostGuard& operator=(const InnermostGuard&) = delete;
    ~InnermostGuard() { TlsSetValue(slot_, frame_.outer); }

  private:
    DWORD slot_;
    GuardFrame& frame_;
};

// A fault resumes inside this function, which then returns false at once.
// It is never inlined, so the resume lands in a frame of its own: a function
// that calls __builtin_setjmp saves every callee-saved register in its
// prologue and restores them in its epilogue, so the caller finds its
// registers as it left them.
__attribute__((noinline)) bool CallUntilFault(GuardFrame& frame, int32_t (*call)(void*), void* data,
                                              int32_t& result) {
    if (__builtin_setjmp(frame.resume) != 0) return false;
    result = call(data);
    return true;
}

// What a fault leaves behind on this thread that the program would trip over.
void RecoverFrom(DWORD code) {
    // The call may have left the floating-point unit in any mode and state.
    _fpreset();
    // The overflow used up the guard page at the end of the stack; without a
    // new one the next overflow would end the process at once.
    if (code == EXCEPTION_STACK_OVERFLOW) _resetstkoflw();
}

} // namespace

bool IsHardwareFault(DWORD code) {
    switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_IN_PAGE_ERROR:
    case EXCEPTION_DATATYPE_MISALIGNMENT:
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_PRIV_INSTRUCTION:
    case EXCEPTION_BREAKPOINT:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_INT_OVERFLOW:
    case EXCEPTION_FLT_DENORMAL_OPERAND:
    case EXCEPTION_FLT_DIVIDE_BY_ZERO:
    case EXCEPTION_FLT_INEXACT_RESULT:
    case EXCEPTION_FLT_INVALID_OPERATION:
    case EXCEPTION_FLT_OVERFLOW:
    case EXCEPTION_FLT_STACK_CHECK:
    case EXCEPTION_FLT_UNDERFLOW:
    case kFloatMultipleFaults:
    case kFloatMultipleTraps:
    case EXCEPTION_STACK_OVERFLOW:
        return true;
    default:
        return false;
    }
}

bool RunGuarded(int32_t (*call)(void*), void* data, int32_t& result, DWORD& faultCode) {
    const DWORD slot = FaultCatcher::Slot();
    if (slot == TLS_OUT_OF_INDEXES) {
        result = call(data);
        return true;
    }
    GuardFrame frame;
    frame.handlerChain = CurrentHandlerChain();
    bool returned = false;
    {
        InnermostGuard inside(slot, frame);
        returned = CallUntilFault(frame, call, data, result);
        // First of all, before anything could raise an exception.
        if (!returned) SetHandlerChain(frame.handlerChain);
    }
    if (returned) return true;
    faultCode = frame.faultCode;
    RecoverFrom(faultCode);
    return false;
}
