#include "render.h"

#include "shell/qt/surface/qpainter_surface.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <spng.h>

#include <cstdlib>
#include <memory>
#include <mutex>
#include <stdexcept>

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
    QPainterSurface surface(painter);
    paintChart(surface, content, images, true);
}

} // namespace

QImage renderImage(const ChartContent& content, const ImageSet& images, int scale) {
    QImage image(ChartWidth * scale, ChartHeight * scale, QImage::Format_ARGB32_Premultiplied);
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
    // Chart pictures have wide flat areas: unfiltered rows at zlib level 2 came out both
    // smaller and four times faster to write than Qt's encoder.
    std::unique_ptr<spng_ctx, void (*)(spng_ctx*)> ctx(spng_ctx_new(SPNG_CTX_ENCODER),
                                                       spng_ctx_free);
    if (!ctx) {
        throw std::runtime_error("out of memory");
    }
    spng_set_option(ctx.get(), SPNG_ENCODE_TO_BUFFER, 1);
    spng_set_option(ctx.get(), SPNG_IMG_COMPRESSION_LEVEL, 2);
    spng_set_option(ctx.get(), SPNG_FILTER_CHOICE, SPNG_FILTER_CHOICE_NONE);
    spng_ihdr header{};
    header.width = static_cast<std::uint32_t>(image.width());
    header.height = static_cast<std::uint32_t>(image.height());
    header.bit_depth = 8;
    header.color_type = SPNG_COLOR_TYPE_TRUECOLOR;
    spng_set_ihdr(ctx.get(), &header);

    // Packed RGB rows, converted here rather than by QImage, which hands large conversions to
    // its thread pool.
    const auto width = static_cast<std::size_t>(image.width());
    const auto height = static_cast<std::size_t>(image.height());
    const std::size_t rgbBytes = width * height * 3;
    const auto rgb = std::make_unique_for_overwrite<std::uint8_t[]>(rgbBytes);
    const QImage source = image.format() == QImage::Format_ARGB32_Premultiplied ||
                                  image.format() == QImage::Format_RGB32
                              ? image
                              : image.convertToFormat(QImage::Format_RGB32);
    std::uint8_t* out = rgb.get();
    for (std::size_t y = 0; y < height; ++y) {
        // Opaque pixels: premultiplied or not, the colour channels are the same.
        const auto* row = reinterpret_cast<const QRgb*>(source.constScanLine(static_cast<int>(y)));
        for (std::size_t x = 0; x < width; ++x) {
            const QRgb pixel = row[x];
            *out++ = static_cast<std::uint8_t>(qRed(pixel));
            *out++ = static_cast<std::uint8_t>(qGreen(pixel));
            *out++ = static_cast<std::uint8_t>(qBlue(pixel));
        }
    }
    int status =
        spng_encode_image(ctx.get(), rgb.get(), rgbBytes, SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE);
    std::size_t length = 0;
    std::unique_ptr<void, void (*)(void*)> png(
        status == 0 ? spng_get_png_buffer(ctx.get(), &length, &status) : nullptr, std::free);
    if (status != 0 || !png) {
        throw std::runtime_error(std::string("PNG encoding failed: ") + spng_strerror(status));
    }
    return {static_cast<const char*>(png.get()), length};
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
        QPainter painter;
        if (!painter.begin(&writer)) {
            throw std::runtime_error("the PDF could not be started");
        }
        paintPrinted(painter, content, images);
        painter.end();
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
        QPainter painter;
        if (!painter.begin(&generator)) {
            throw std::runtime_error("the SVG could not be started");
        }
        paintPrinted(painter, content, images);
        painter.end();
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
