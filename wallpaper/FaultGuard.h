#pragma once
// Calls into code the program does not control (an image plug-in) so that a
// hardware fault inside the call (an access violation, an illegal
// instruction, a division by zero, a stack overflow and the like) ends that
// call instead of the program. Software exceptions (C++ exceptions and any
// other code raised on purpose) pass through untouched.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <type_traits>

// Runs call(data) on this thread. True when it returned (its value in
// result); false when it faulted (the exception code in faultCode). Whatever
// the call left unfinished (its stack frames, the memory and locks it held)
// is abandoned, so call must own nothing that needs cleaning up: it should do
// no more than pass its arguments to the foreign function.
bool RunGuarded(int32_t (*call)(void*), void* data, int32_t& result, DWORD& faultCode);

// The same for a lambda: RunGuarded([&] { return proc(a, b); }, result, faultCode).
template <typename Call> bool RunGuarded(Call&& call, int32_t& result, DWORD& faultCode) {
    using Callable = std::remove_reference_t<Call>;
    void* data = const_cast<void*>(static_cast<const void*>(std::addressof(call)));
    return RunGuarded([](void* p) -> int32_t { return (*static_cast<Callable*>(p))(); }, data, result,
                      faultCode);
}

// True for the exception codes of hardware faults, the only ones caught.
bool IsHardwareFault(DWORD exceptionCode);
