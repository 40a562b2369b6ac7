// The printed picture of one profile as the bytes of a PNG, PDF or SVG file.
#pragma once

#include "chart/chart_artwork.h"
#include "chart/chart_painter.h"
#include "options.h"

#include <QImage>

#include <string>

namespace tanu::exporter {

// The chart as printed (field texts in place of the fields), scale times the window's size.
QImage renderImage(const ChartContent& content, const ImageSet& images, int scale);

// A PNG of the image; the same image always gives the same bytes.
std::string encodePng(const QImage& image);

// One landscape page with the chart centred, one chart unit a hundredth of an inch.
std::string renderPdf(const ChartContent& content, const ImageSet& images, Page page);

// The chart as vector drawing, 912 by 699 units.
std::string renderSvg(const ChartContent& content, const ImageSet& images);

std::string renderChart(const ChartContent& content, const ImageSet& images,
                        const Options& options);

} // namespace tanu::exporter
