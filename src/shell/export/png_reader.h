// A fast reader for the plain PNG files the chart's pictures are: a cold export spends more
// time in Qt's image loader (its plugins, libpng, zlib) than in drawing the chart.
#pragma once

#include <QImage>
#include <QString>

#include <cstdint>
#include <optional>
#include <span>

namespace tanu::exporter {

// The picture of a PNG file of 8-bit RGB or RGBA, not interlaced, with no chunk that changes
// its colours, as QImage::load gives it (Format_RGB32 or Format_ARGB32). Nothing for any other
// or any damaged file: Qt decides on those.
std::optional<QImage> decodePlainPng(std::span<const std::uint8_t> file);

// The picture in a file: decodePlainPng where it can, Qt's loader otherwise. Null on failure.
QImage loadPicture(const QString& path);

} // namespace tanu::exporter
