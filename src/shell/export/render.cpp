#include "render.h"

#include "shell/qt/surface/qpainter_surface.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <libdeflate.h>

#include <cstdlib>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <vector>

namespace tanu::exporter {

namespace {

// One chart unit on paper is a hundredth of an inch, as when printing.
constexpr int PrintUnitsPerInch = 100;

// The PDF and SVG engines share font and glyph caches that are not made for several threads.
std::mutex& vectorOutputLock() {
    static std::mutex lock;
    return lock;
}

std::string bytesOf(const QByteArray& data) {
    return {data.constData(), static_cast<std::size_t>(data.size())};
}

void paintPrinted(QPainter& painter, const ChartContent& content, const ImageSet& images) {
    qt::QPainterSurface surface(painter);
    paintChart(surface, content, images, true);
}

// The printed chart on a vector device; what names the format in the error.
void paintPrinted(QPaintDevice& device, const char* what, const ChartContent& content,
                  const ImageSet& images) {
    QPainter painter;
    if (!painter.begin(&device)) {
        throw std::runtime_error(std::string("the ") + what + " could not be started");
    }
    paintPrinted(painter, content, images);
    painter.end();
}

} // namespace

QImage renderImage(const ChartContent& content, const ImageSet& images, int scale) {
    // The thread draws every chart into the same memory: a fresh picture would cost its pages
    // again each time.
    thread_local QImage canvas;
    const QSize size(ChartWidth * scale, ChartHeight * scale);
    if (canvas.size() != size) {
        canvas = QImage(size, QImage::Format_ARGB32_Premultiplied);
    }
    if (canvas.isNull()) {
        throw std::runtime_error("out of memory");
    }
    QImage& image = canvas;
    // The scale is the device's pixel ratio, not a world transform: the painter draws at full
    // resolution, and in print mode it still centres the chart in 912 by 699 units.
    image.setDevicePixelRatio(scale);
    QPainter painter(&image);
    paintPrinted(painter, content, images);
    painter.end();
    image.setDevicePixelRatio(1);
    return image;
}

std::string encodePng(const QImage& image) {
    // Chart pictures have wide flat areas: unfiltered rows compress smaller than filtered ones,
    // and libdeflate's level 2 deflates them smaller and faster than zlib at its fast levels.
    // One IDAT chunk: the compressed picture is written once, with no copy through a stream.
    const QImage source = image.format() == QImage::Format_ARGB32_Premultiplied ||
                                  image.format() == QImage::Format_RGB32
                              ? image
                              : image.convertToFormat(QImage::Format_RGB32);
    const auto width = static_cast<std::size_t>(source.width());
    const auto height = static_cast<std::size_t>(source.height());
    const std::size_t rowBytes = 1 + width * 3;
    const std::size_t rawBytes = rowBytes * height;
    // The rows as PNG stores them, converted here rather than by QImage, which hands large
    // conversions to its thread pool. The buffers stay with the thread for its next chart.
    thread_local std::vector<std::uint8_t> rows;
    thread_local std::vector<char> compressed;
    rows.resize(rawBytes);
    std::uint8_t* const raw = rows.data();
    std::uint8_t* out = raw;
    for (std::size_t y = 0; y < height; ++y) {
        *out++ = 0; // no filter
        // Opaque pixels: premultiplied or not, the colour channels are the same.
        const auto* row = reinterpret_cast<const QRgb*>(source.constScanLine(static_cast<int>(y)));
        for (std::size_t x = 0; x < width; ++x) {
            const QRgb pixel = row[x];
            out[0] = static_cast<std::uint8_t>(qRed(pixel));
            out[1] = static_cast<std::uint8_t>(qGreen(pixel));
            out[2] = static_cast<std::uint8_t>(qBlue(pixel));
            out += 3;
        }
    }

    // A compressor holds large tables: one per thread, made once.
    thread_local const std::unique_ptr<libdeflate_compressor, void (*)(libdeflate_compressor*)>
        compressor(libdeflate_alloc_compressor(2), libdeflate_free_compressor);
    if (!compressor) {
        throw std::runtime_error("out of memory");
    }
    const std::size_t bound = libdeflate_zlib_compress_bound(compressor.get(), rawBytes);

    static constexpr unsigned char Signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    std::string png;
    // Compressed into a buffer the thread keeps, then copied: sized to the bound, the file
    // itself would be zero-filled for every chart.
    compressed.resize(bound);
    char* const deflatedData = compressed.data();
    const std::size_t deflated =
        libdeflate_zlib_compress(compressor.get(), raw, rawBytes, deflatedData, bound);
    if (deflated == 0) {
        throw std::runtime_error("PNG encoding failed");
    }
    png.reserve(sizeof Signature + 25 + 12 + deflated + 12);
    png.append(reinterpret_cast<const char*>(Signature), sizeof Signature);
    const auto put32 = [&png](std::uint32_t value) {
        for (int shift = 24; shift >= 0; shift -= 8) {
            png.push_back(static_cast<char>((value >> shift) & 0xff));
        }
    };
    // Ends the chunk whose type starts at typeAt with its checksum.
    const auto finishChunk = [&png, &put32](std::size_t typeAt) {
        const auto* start = reinterpret_cast<const std::uint8_t*>(png.data()) + typeAt;
        put32(static_cast<std::uint32_t>(libdeflate_crc32(0, start, png.size() - typeAt)));
    };

    put32(13);
    std::size_t typeAt = png.size();
    png.append("IHDR");
    put32(static_cast<std::uint32_t>(width));
    put32(static_cast<std::uint32_t>(height));
    png.append({8, 2, 0, 0, 0}); // 8 bits a channel, RGB, deflate, no filter, not interlaced
    finishChunk(typeAt);

    put32(static_cast<std::uint32_t>(deflated));
    typeAt = png.size();
    png.append("IDAT");
    png.append(deflatedData, deflated);
    finishChunk(typeAt);

    put32(0);
    typeAt = png.size();
    png.append("IEND");
    finishChunk(typeAt);
    return png;
}

std::string renderPdf(const ChartContent& content, const ImageSet& images, Page page) {
    const std::lock_guard<std::mutex> hold(vectorOutputLock());
    QByteArray data;
    {
        QBuffer buffer(&data);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral("TANU"));
        writer.setTitle(QStringLiteral("TANU Print"));
        // No margins: the chart is centred on the whole page, which for the symmetric
        // margins of a printer is where Print puts it too.
        writer.setPageLayout(
            QPageLayout(QPageSize(page == Page::Letter ? QPageSize::Letter : QPageSize::A4),
                        QPageLayout::Landscape, QMarginsF(0, 0, 0, 0)));
        // Before the painter begins, so that point-sized fonts keep their size.
        writer.setResolution(PrintUnitsPerInch);
        paintPrinted(writer, "PDF", content, images);
    }
    return bytesOf(data);
}

std::string renderSvg(const ChartContent& content, const ImageSet& images) {
    const std::lock_guard<std::mutex> hold(vectorOutputLock());
    QByteArray data;
    {
        QBuffer buffer(&data);
        buffer.open(QIODevice::WriteOnly);
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setSize(QSize(ChartWidth, ChartHeight));
        generator.setViewBox(QRect(0, 0, ChartWidth, ChartHeight));
        generator.setTitle(QStringLiteral("TANU chart"));
        // The window's resolution: point-sized texts come out as large as on the screen, and a
        // chart unit is a CSS pixel.
        generator.setResolution(96);
        paintPrinted(generator, "SVG", content, images);
    }
    return bytesOf(data);
}

std::string renderChart(const ChartContent& content, const ImageSet& images,
                        const Options& options) {
    switch (options.format) {
    case Format::Pdf:
        return renderPdf(content, images, options.page);
    case Format::Svg:
        return renderSvg(content, images);
    case Format::Png:
        break;
    }
    return encodePng(renderImage(content, images, options.scale));
}

} // namespace tanu::exporter
