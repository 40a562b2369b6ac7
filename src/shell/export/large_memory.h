// Memory for picture-sized buffers, in huge pages where the system gives them. A fresh 4 KiB
// page costs a fault on first touch, and on a virtual machine a costly one: a cold export of
// one chart would otherwise spend more time in those faults than in drawing.
#pragma once

#include <QImage>

#include <cstddef>
#include <cstdint>

namespace tanu::exporter {

// At least bytes of memory, not cleared, aligned to 64 bytes; null when there is none.
void* allocateLarge(std::size_t bytes);
// Gives back memory from allocateLarge; null is ignored.
void releaseLarge(void* memory);

// A buffer that keeps its memory for the next use of the same or a smaller size.
class LargeBuffer {
public:
    LargeBuffer() = default;
    LargeBuffer(const LargeBuffer&) = delete;
    LargeBuffer& operator=(const LargeBuffer&) = delete;
    ~LargeBuffer() { releaseLarge(data_); }

    // At least bytes of memory, not cleared; null when there is none.
    std::uint8_t* reserve(std::size_t bytes);

private:
    std::uint8_t* data_ = nullptr;
    std::size_t capacity_ = 0;
};

// A 32-bit image whose pixels live in large memory when it is large, released with the last
// copy of the image; not cleared. A null image when there is no memory.
QImage largeImage(int width, int height, QImage::Format format);

} // namespace tanu::exporter
