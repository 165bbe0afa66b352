#pragma once
// The move-only owner of a Win32 handle, shared by the program and the
// plug-ins, with the owners of kernel objects and files.
#include <windows.h>

#include <atomic>
#include <utility>

namespace handle_detail {
template <typename H> constexpr H NullHandle() {
    return H{};
}
inline HANDLE InvalidFileHandle() {
    return INVALID_HANDLE_VALUE;
}

// Test builds count the handles the owners below hold, per type and in all,
// so a long run can show that it gives back everything it took.
#ifdef TAPESTRA_LIVE_HANDLES
inline std::atomic<long> liveTotal{0};
template <typename H, auto Close> inline std::atomic<long> live{0};
#endif
} // namespace handle_detail

// Live handles of all owner types; 0 outside test builds.
inline long LiveHandleCount() {
#ifdef TAPESTRA_LIVE_HANDLES
    return handle_detail::liveTotal;
#else
    return 0;
#endif
}

// Nothing() gives the value that holds no handle: null for most handles,
// INVALID_HANDLE_VALUE for files.
template <typename H, auto Close, auto Nothing = handle_detail::NullHandle<H>> class UniqueHandle {
  public:
    UniqueHandle() = default;
    explicit UniqueHandle(H h) : h_(h) { Track(h, 1); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& o) noexcept : h_(std::exchange(o.h_, Nothing())) {}
    UniqueHandle& operator=(UniqueHandle&& o) noexcept {
        if (this != &o) reset(o.release());
        return *this;
    }
    ~UniqueHandle() { reset(); }

    H get() const { return h_; }
    explicit operator bool() const { return h_ != Nothing(); }
    H release() {
        Track(h_, -1);
        return std::exchange(h_, Nothing());
    }
    void reset(H h = Nothing()) {
        if (h_ != Nothing()) Close(h_);
        Track(h_, -1);
        h_ = h;
        Track(h, 1);
    }
    // For out-parameters of API calls: frees what is held first; what the
    // call stores is owned from the end of the call's expression on.
    class Out {
      public:
        explicit Out(UniqueHandle& owner) : owner_(owner) {}
        Out(const Out&) = delete;
        Out& operator=(const Out&) = delete;
        ~Out() { Track(owner_.h_, 1); }
        operator H*() const { return &owner_.h_; }

      private:
        UniqueHandle& owner_;
    };
    Out put() {
        reset();
        return Out(*this);
    }

    // Live handles of this owner type; 0 outside test builds.
    static long Live() {
#ifdef TAPESTRA_LIVE_HANDLES
        return handle_detail::live<H, Close>;
#else
        return 0;
#endif
    }

  private:
    static void Track([[maybe_unused]] H h, [[maybe_unused]] long delta) {
#ifdef TAPESTRA_LIVE_HANDLES
        if (h == Nothing()) return;
        handle_detail::live<H, Close> += delta;
        handle_detail::liveTotal += delta;
#endif
    }

    H h_ = Nothing();
};

namespace handle_detail {
inline void CloseKernel(HANDLE h) {
    CloseHandle(h);
}
} // namespace handle_detail

using UniqueKernelHandle = UniqueHandle<HANDLE, handle_detail::CloseKernel>;
// What CreateFileW returns: INVALID_HANDLE_VALUE, not null, when it fails.
using UniqueFile = UniqueHandle<HANDLE, handle_detail::CloseKernel, handle_detail::InvalidFileHandle>;
