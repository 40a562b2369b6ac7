#include "large_memory.h"

#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace tanu::exporter {

namespace {

constexpr std::size_t HugePage = std::size_t{2} << 20;
// In front of the memory handed out: the size of the whole block.
constexpr std::size_t Header = 64;
// Smaller blocks come from the ordinary heap: a huge page for them would be mostly waste.
constexpr std::size_t SmallBytes = 256 * 1024;

} // namespace

void* allocateLarge(std::size_t bytes) {
    if (bytes > SIZE_MAX - Header - HugePage) {
        return nullptr;
    }
#if defined(__linux__)
    if (bytes >= SmallBytes) {
        const std::size_t block = (bytes + Header + HugePage - 1) / HugePage * HugePage;
        void* memory =
            mmap(nullptr, block, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (memory == MAP_FAILED) {
            return nullptr;
        }
        // Only advice: where huge pages are off, the memory is ordinary pages.
        (void)madvise(memory, block, MADV_HUGEPAGE);
        *static_cast<std::size_t*>(memory) = block;
        return static_cast<std::uint8_t*>(memory) + Header;
    }
#endif
    void* memory = std::malloc(bytes + Header);
    if (memory == nullptr) {
        return nullptr;
    }
    *static_cast<std::size_t*>(memory) = 0; // from the heap
    return static_cast<std::uint8_t*>(memory) + Header;
}

void releaseLarge(void* memory) {
    if (memory == nullptr) {
        return;
    }
    void* block = static_cast<std::uint8_t*>(memory) - Header;
    const std::size_t size = *static_cast<std::size_t*>(block);
    if (size == 0) {
        std::free(block);
        return;
    }
#if defined(__linux__)
    munmap(block, size);
#endif
}

std::uint8_t* LargeBuffer::reserve(std::size_t bytes) {
    if (bytes > capacity_ || data_ == nullptr) {
        releaseLarge(data_);
        data_ = static_cast<std::uint8_t*>(allocateLarge(bytes));
        capacity_ = data_ != nullptr ? bytes : 0;
    }
    return data_;
}

QImage largeImage(int width, int height, QImage::Format format) {
    if (width <= 0 || height <= 0) {
        return {};
    }
    const qsizetype bytesPerLine = qsizetype{width} * 4;
    const auto bytes = static_cast<std::size_t>(bytesPerLine) * static_cast<std::size_t>(height);
    if (bytes < SmallBytes) {
        return QImage(width, height, format);
    }
    void* data = allocateLarge(bytes);
    if (data == nullptr) {
        return {};
    }
    return QImage(static_cast<uchar*>(data), width, height, bytesPerLine, format, releaseLarge,
                  data);
}

} // namespace tanu::exporter
