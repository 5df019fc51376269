// Glyph outlines of a line of text, for text layers: FreeType reads the font
// that fontconfig finds for the family, and every contour becomes a closed
// cubic Bezier path in layer pixels (conic segments are raised to cubics).
//
// Layout: the first line's baseline is y = 0 and starts at x = 0, y grows
// downwards, lines ("\n" or "\r") advance by the font's line height, glyphs
// by their advance plus kerning. One outline per contour, in text order.
// Tangents are relative to their vertex, as in mask outlines.
#pragma once

#include "project/Value.h"

#include <QString>

#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace standin {

class GlyphOutliner
{
public:
    GlyphOutliner();
    ~GlyphOutliner();
    GlyphOutliner(const GlyphOutliner&) = delete;
    GlyphOutliner& operator=(const GlyphOutliner&) = delete;

    static constexpr const char* kDefaultFamily = "DejaVu Sans";

    // False with a message when the font cannot be found or read, or the size
    // is not a positive finite number. Empty text gives no outlines.
    bool outlines(const QString& text, const QString& family, double sizePx,
                  std::vector<MaskOutline>* out, std::string* error = nullptr);

    // The font file fontconfig picks for a family (empty when none).
    static std::string fontFileFor(const QString& family, int* faceIndex = nullptr);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    std::map<std::tuple<QString, QString, double>, std::vector<MaskOutline>> cache_;
};

} // namespace standin
