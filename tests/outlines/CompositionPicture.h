// What a composition of the stand-in's model draws at a time, written out as
// text, for comparing a composition before and after an edit that must not
// change the picture.
#pragma once

#include "project/Composition.h"

#include <QPainterPath>

#include <string>
#include <vector>

namespace separation_test {

// One line per thing drawn, from the top layer down and, inside a shape
// layer, in the order of its contents. A layer draws when its video is on and
// the time is within its span; its line part holds its opacity, flags (video
// and the switches), label, the masks that are switched on (mode, inversion,
// outline, feather, opacity, expansion) and its matrix to the composition.
// A shape layer draws each path, rectangle, ellipse and star that is switched
// on inside groups that are switched on, with its values, its place in the
// composition (through the groups' transforms), the groups' opacity and every
// switched-on fill, stroke or other item after it in its group or after one
// of its groups (what paints it); another layer draws itself. Layer names
// and ids are left out. Numbers are rounded to 1e-6.
std::vector<std::string> drawingAt(const standin::Composition& comp, const A_Time& t);

// The area a layer paints at a time, in its own pixels, as the host paints
// it; its full matrix (layerToWorld, every parent included) takes it into
// the composition. With closed masks switched on that clip (not in None
// mode; an open mask path clips nothing, whatever its mode): the
// masks in order, each adding to, taking from (Subtract) or keeping only its
// part of (Intersect) what the ones before it left, an inverted mask counting
// its outside. Otherwise a solid's, footage's or
// nested composition's box (its source's width and height), a text layer's
// glyph outlines, filled non-zero together, or what a shape layer's fills
// paint: each fill that is switched on paints every switched-on path,
// rectangle, ellipse and star before it in its group, those of the groups
// before it included (through their transforms, whatever fills they hold),
// together by its fill rule (1 non-zero, 2 even-odd), an open path closed
// by a straight line back to its start. Strokes are left out of the area,
// not of the colour.
class DrawnArea
{
public:
    DrawnArea(const standin::Layer& layer, const A_Time& t);

    bool contains(double x, double y) const;
    // The box around every outline that takes part, strokes included.
    QRectF bounds() const;

    // A colour premultiplied by its alpha.
    struct Colour {
        double r = 0, g = 0, b = 0, a = 0;
        Colour over(const Colour& under) const;
    };
    // What the layer puts at (x, y), at its opacity. A shape layer without
    // masks paints each fill and stroke over those listed after it (a group
    // where it is listed), at its opacity times its groups': a stroke the
    // band of its width about what a fill in its place would paint, with its
    // join (bevelled past the miter limit), miter limit and cap, stretched as
    // its groups stretch it. Another layer is white where it draws.
    Colour colourAt(double x, double y) const;

    // One fill or stroke: where it paints, and its colour there.
    struct Paint {
        QPainterPath area;
        Colour colour;
        bool fill = true;
    };

private:
    struct Step {
        int mode;  // PF_MaskMode_SUBTRACT, _INTERSECT, or another that adds
        bool inverted;
        QPainterPath path;
    };
    std::vector<Step> steps_;
    std::vector<Paint> paints_;  // the top one first
    double opacity_ = 1.0;
};

} // namespace separation_test
