// Replaces the global operator new and delete of the benchmarks: every allocation is
// counted, and while a peak is followed, the bytes in use too.
#include "Allocations.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> allocations{0};
std::atomic<bool> following{false};
std::atomic<long> inUse{0};
std::atomic<long> peak{0};

struct Header {
    std::size_t size;
    std::max_align_t align;
};

}  // namespace

std::size_t stipple::bench::allocationCount() {
    return allocations.load();
}

void stipple::bench::startHeapPeak() {
    inUse = 0;
    peak = 0;
    following = true;
}

long stipple::bench::stopHeapPeak() {
    following = false;
    return peak.load();
}

void* operator new(std::size_t size) {
    auto* block = static_cast<unsigned char*>(std::malloc(sizeof(Header) + size));
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    allocations.fetch_add(1, std::memory_order_relaxed);
    reinterpret_cast<Header*>(block)->size = size;
    if (following.load(std::memory_order_relaxed)) {
        const long now = inUse.fetch_add(static_cast<long>(size)) + static_cast<long>(size);
        long seen = peak.load();
        while (now > seen && !peak.compare_exchange_weak(seen, now)) {
        }
    }
    return block + sizeof(Header);
}

void operator delete(void* p) noexcept {
    if (p == nullptr) {
        return;
    }
    auto* block = static_cast<unsigned char*>(p) - sizeof(Header);
    if (following.load(std::memory_order_relaxed)) {
        inUse.fetch_sub(static_cast<long>(reinterpret_cast<Header*>(block)->size));
    }
    std::free(block);
}

void operator delete(void* p, std::size_t) noexcept {
    operator delete(p);
}
