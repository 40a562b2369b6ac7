#include "png_reader.h"

#include "large_memory.h"
#include "shell/files/safe_files.h"

#include <libdeflate.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

namespace tanu::exporter {

namespace {

// Larger pictures are not ours; Qt reads them.
constexpr std::uint32_t MaxSide = 8192;
constexpr std::size_t MaxFileBytes = 64 * 1024 * 1024;

std::uint32_t read32(const std::uint8_t* at) {
    return std::uint32_t{at[0]} << 24 | std::uint32_t{at[1]} << 16 | std::uint32_t{at[2]} << 8 |
           std::uint32_t{at[3]};
}

std::uint8_t paeth(std::uint8_t a, std::uint8_t b, std::uint8_t c) {
    const int p = int{a} + int{b} - int{c};
    const int pa = std::abs(p - int{a});
    const int pb = std::abs(p - int{b});
    const int pc = std::abs(p - int{c});
    if (pa <= pb && pa <= pc) {
        return a;
    }
    return pb <= pc ? b : c;
}

// Undoes the filter of one row in place; previous is null for the first row.
bool unfilter(std::uint8_t type, std::uint8_t* row, const std::uint8_t* previous, std::size_t bytes,
              std::size_t pixelBytes) {
    switch (type) {
    case 0:
        return true;
    case 1:
        for (std::size_t i = pixelBytes; i < bytes; ++i) {
            row[i] = static_cast<std::uint8_t>(row[i] + row[i - pixelBytes]);
        }
        return true;
    case 2:
        if (previous != nullptr) {
            for (std::size_t i = 0; i < bytes; ++i) {
                row[i] = static_cast<std::uint8_t>(row[i] + previous[i]);
            }
        }
        return true;
    case 3:
        for (std::size_t i = 0; i < bytes; ++i) {
            const unsigned left = i >= pixelBytes ? row[i - pixelBytes] : 0u;
            const unsigned up = previous != nullptr ? previous[i] : 0u;
            row[i] = static_cast<std::uint8_t>(row[i] + (left + up) / 2);
        }
        return true;
    case 4:
        for (std::size_t i = 0; i < bytes; ++i) {
            const std::uint8_t left = i >= pixelBytes ? row[i - pixelBytes] : 0;
            const std::uint8_t up = previous != nullptr ? previous[i] : 0;
            const std::uint8_t upLeft =
                previous != nullptr && i >= pixelBytes ? previous[i - pixelBytes] : 0;
            row[i] = static_cast<std::uint8_t>(row[i] + paeth(left, up, upLeft));
        }
        return true;
    default:
        return false;
    }
}

} // namespace

std::optional<QImage> decodePlainPng(std::span<const std::uint8_t> file) {
    static constexpr std::uint8_t Signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (file.size() < sizeof Signature ||
        std::memcmp(file.data(), Signature, sizeof Signature) != 0) {
        return std::nullopt;
    }
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::size_t pixelBytes = 0;
    int dotsPerMeterX = 0;
    int dotsPerMeterY = 0;
    std::vector<std::uint8_t> deflated;
    bool seenHeader = false;
    bool seenData = false;
    bool dataEnded = false;
    bool ended = false;
    std::size_t pos = sizeof Signature;
    while (!ended) {
        if (file.size() - pos < 12) {
            return std::nullopt;
        }
        const std::uint32_t length = read32(&file[pos]);
        if (length > file.size() - pos - 12) {
            return std::nullopt;
        }
        const std::uint8_t* type = &file[pos + 4];
        const std::uint8_t* data = type + 4;
        if (libdeflate_crc32(0, type, length + 4) != read32(data + length)) {
            return std::nullopt;
        }
        const std::string_view name(reinterpret_cast<const char*>(type), 4);
        if (!seenHeader && name != "IHDR") {
            return std::nullopt;
        }
        if (name == "IHDR") {
            if (seenHeader || length != 13) {
                return std::nullopt;
            }
            seenHeader = true;
            width = read32(data);
            height = read32(data + 4);
            // 8 bits a channel, RGB or RGBA, deflate, the standard filters, not interlaced.
            if (width == 0 || height == 0 || width > MaxSide || height > MaxSide || data[8] != 8 ||
                (data[9] != 2 && data[9] != 6) || data[10] != 0 || data[11] != 0 || data[12] != 0) {
                return std::nullopt;
            }
            pixelBytes = data[9] == 2 ? 3 : 4;
        } else if (name == "IDAT") {
            if (dataEnded) {
                return std::nullopt; // the picture's data must be one run of chunks
            }
            seenData = true;
            deflated.insert(deflated.end(), data, data + length);
        } else if (name == "IEND") {
            ended = true;
        } else if (name == "pHYs") {
            // Qt keeps the resolution of a picture whose unit is the metre.
            if (length == 9 && data[8] == 1) {
                dotsPerMeterX = static_cast<int>(read32(data));
                dotsPerMeterY = static_cast<int>(read32(data + 4));
            }
        } else if (name != "tEXt" && name != "zTXt" && name != "iTXt" && name != "tIME") {
            // Colour chunks (gAMA, sRGB, iCCP, tRNS, ...) and any other: Qt knows them.
            return std::nullopt;
        }
        dataEnded = seenData && name != "IDAT";
        pos += std::size_t{length} + 12;
    }
    if (!seenData) {
        return std::nullopt;
    }

    const std::size_t rowBytes = std::size_t{width} * pixelBytes;
    const std::size_t rawBytes = (rowBytes + 1) * height;
    thread_local LargeBuffer inflated; // kept for the thread's next picture
    std::uint8_t* const raw = inflated.reserve(rawBytes);
    thread_local const std::unique_ptr<libdeflate_decompressor, void (*)(libdeflate_decompressor*)>
        decompressor(libdeflate_alloc_decompressor(), libdeflate_free_decompressor);
    if (raw == nullptr || !decompressor ||
        libdeflate_zlib_decompress(decompressor.get(), deflated.data(), deflated.size(), raw,
                                   rawBytes, nullptr) != LIBDEFLATE_SUCCESS) {
        return std::nullopt;
    }

    const QImage::Format format = pixelBytes == 3 ? QImage::Format_RGB32 : QImage::Format_ARGB32;
    const auto w = static_cast<int>(width);
    const auto h = static_cast<int>(height);
    QImage image = largeImage(w, h, format);
    if (image.isNull()) {
        return std::nullopt;
    }
    const std::uint8_t* previous = nullptr;
    for (std::uint32_t y = 0; y < height; ++y) {
        std::uint8_t* row = raw + (rowBytes + 1) * y;
        if (!unfilter(row[0], row + 1, previous, rowBytes, pixelBytes)) {
            return std::nullopt;
        }
        previous = row + 1;
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(static_cast<int>(y)));
        const std::uint8_t* in = row + 1;
        for (std::uint32_t x = 0; x < width; ++x, in += pixelBytes) {
            out[x] = qRgba(in[0], in[1], in[2], pixelBytes == 3 ? 0xff : in[3]);
        }
    }
    if (dotsPerMeterX > 0 && dotsPerMeterY > 0) {
        image.setDotsPerMeterX(dotsPerMeterX);
        image.setDotsPerMeterY(dotsPerMeterY);
    }
    return image;
}

QImage loadPicture(const QString& path) {
    const ReadResult file =
        files::readRegularFile(files::pathFromUtf16(path.toStdU16String()), MaxFileBytes);
    if (file.ok) {
        if (std::optional<QImage> image = decodePlainPng(
                {reinterpret_cast<const std::uint8_t*>(file.bytes.data()), file.bytes.size()})) {
            return *std::move(image);
        }
    }
    return QImage(path);
}

} // namespace tanu::exporter
