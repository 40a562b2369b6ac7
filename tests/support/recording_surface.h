// A drawing surface that draws nothing and logs every call with its arguments, the world
// transform in force at the time, and the numbers passed, for tests of what the chart paints.
#pragma once

#include "model/text.h"

#include "chart/chart_artwork.h"
#include "chart/drawing_surface.h"

#include <cmath>
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tanu::testing {

// A picture that appears in the log by its name.
class NamedBitmap final : public Bitmap {
public:
    explicit NamedBitmap(std::string pictureName) : name(std::move(pictureName)) {}
    std::string name;
};

inline std::unique_ptr<Bitmap> namedImage(std::string name) {
    return std::make_unique<NamedBitmap>(std::move(name));
}

// Every picture present, named after its member: "background", "oneYearLegend", "badge10", ...
inline ImageSet namedImageSet() {
    ImageSet images;
    images.background = namedImage("background");
    images.wedge = namedImage("wedge");
    images.oneYearLegend = namedImage("oneYearLegend");
    images.twoYearsLegend = namedImage("twoYearsLegend");
    for (std::size_t k = 0; k < BadgeCount; ++k) {
        images.badges[k] = namedImage("badge" + std::to_string(k + 2));
    }
    return images;
}

inline std::string toUtf8(std::u16string_view text) {
    return utf8FromUtf16(text);
}

// Where the transform takes a point: x' = m11 x + m21 y + dx, y' = m12 x + m22 y + dy.
inline std::pair<double, double> applyTransform(const WorldTransform& t, double x, double y) {
    return {t.m11 * x + t.m21 * y + t.dx, t.m12 * x + t.m22 * y + t.dy};
}

struct RecordedCall {
    std::string op;              // the operation, e.g. "fillPie"
    std::string text;            // op and arguments, e.g. "fillPie FF5CFF88 405 298 102 102 270 36"
    std::vector<double> numbers; // the numeric arguments in order, exactly as passed
    WorldTransform transform;    // in force when the call was made
    std::string utf8;            // drawString only: the text
};

class RecordingSurface final : public DrawingSurface {
public:
    explicit RecordingSurface(IntRect visible = {0, 0, 912, 699}) : bounds(visible) {}

    // What visibleBounds reports.
    IntRect bounds;
    std::vector<RecordedCall> calls;

    // The texts of the calls, in order.
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const RecordedCall& call : calls) {
            out.push_back(call.text);
        }
        return out;
    }
    // The texts of the calls of one operation, in order.
    std::vector<std::string> texts(std::string_view op) const {
        std::vector<std::string> out;
        for (const RecordedCall& call : calls) {
            if (call.op == op) {
                out.push_back(call.text);
            }
        }
        return out;
    }
    std::vector<const RecordedCall*> named(std::string_view op) const {
        std::vector<const RecordedCall*> out;
        for (const RecordedCall& call : calls) {
            if (call.op == op) {
                out.push_back(&call);
            }
        }
        return out;
    }

    void clear(Argb colour) override { record("clear", {}, hex(colour)); }
    IntRect visibleBounds() override {
        record("visibleBounds", {});
        return bounds;
    }
    WorldTransform worldTransform() override {
        record("worldTransform", {});
        return transform_;
    }
    void setWorldTransform(const WorldTransform& t) override {
        record("setWorldTransform", numbers(t.m11, t.m12, t.m21, t.m22, t.dx, t.dy));
        transform_ = t;
    }
    void translateWorld(float dx, float dy) override {
        record("translateWorld", numbers(dx, dy));
        // Prepended: the translation applies before the transform in force.
        transform_.dx += dx * transform_.m11 + dy * transform_.m21;
        transform_.dy += dx * transform_.m12 + dy * transform_.m22;
    }
    void rotateWorld(float degrees) override {
        record("rotateWorld", numbers(degrees));
        // Prepended, clockwise on a y-down surface: the x axis turns towards the y axis.
        const double a = degrees * 3.14159265358979323846 / 180.0;
        const auto c = static_cast<float>(std::cos(a));
        const auto s = static_cast<float>(std::sin(a));
        const WorldTransform m = transform_;
        transform_.m11 = c * m.m11 + s * m.m21;
        transform_.m12 = c * m.m12 + s * m.m22;
        transform_.m21 = -s * m.m11 + c * m.m21;
        transform_.m22 = -s * m.m12 + c * m.m22;
    }
    void setAntiAlias(bool on) override { record("setAntiAlias", {}, on ? "on" : "off"); }
    void setCompositing(CompositingMode mode) override {
        record("setCompositing", {},
               mode == CompositingMode::SourceCopy ? "SourceCopy" : "SourceOver");
    }
    void drawImage(const Bitmap* bitmap, IntRect target) override {
        std::string name = "null";
        if (const auto* named = dynamic_cast<const NamedBitmap*>(bitmap)) {
            name = named->name;
        } else if (bitmap != nullptr) {
            name = "unnamed";
        }
        record("drawImage", numbers(target.x, target.y, target.width, target.height), name);
    }
    void fillPie(Argb colour, IntRect b, float startDegrees, float sweepDegrees) override {
        record("fillPie", numbers(b.x, b.y, b.width, b.height, startDegrees, sweepDegrees),
               hex(colour));
    }
    void drawEllipse(Argb colour, float penWidth, IntRect b) override {
        record("drawEllipse", numbers(penWidth, b.x, b.y, b.width, b.height), hex(colour));
    }
    void drawLine(Argb colour, float penWidth, int x1, int y1, int x2, int y2) override {
        record("drawLine", numbers(penWidth, x1, y1, x2, y2), hex(colour));
    }
    void drawString(std::u16string_view text, const ChartFont& font, RectF box,
                    TextAlignment alignment, Argb colour) override {
        const std::string utf8 = toUtf8(text);
        std::ostringstream prefix;
        prefix << '"' << utf8 << "\" " << toUtf8(font.family) << ' ' << font.sizePoints
               << (font.bold ? " bold" : " regular") << ' '
               << (alignment == TextAlignment::Center ? "Center" : "Near") << ' ' << hex(colour);
        record("drawString", numbers(box.x, box.y, box.width, box.height), prefix.str());
        calls.back().utf8 = utf8;
    }

private:
    template <typename... T> static std::vector<double> numbers(T... values) {
        return {static_cast<double>(values)...};
    }

    static std::string hex(Argb colour) {
        char buffer[9];
        std::snprintf(buffer, sizeof buffer, "%08X", static_cast<unsigned>(colour));
        return buffer;
    }

    void record(std::string op, std::vector<double> numbers, const std::string& words = {}) {
        std::ostringstream text;
        text << op;
        if (!words.empty()) {
            text << ' ' << words;
        }
        for (const double n : numbers) {
            text << ' ' << n;
        }
        calls.push_back({std::move(op), text.str(), std::move(numbers), transform_, {}});
    }

    WorldTransform transform_;
};

} // namespace tanu::testing
