#include "GlyphOutliner.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include <fontconfig/fontconfig.h>

#include <QList>

#include <cmath>

namespace standin {

namespace {

struct Point {
    double x = 0, y = 0;
};

// A contour under construction: absolute tangent points, FreeType's y-up
// coordinates in pixels.
struct BuildVertex {
    Point p, in, out;
};

struct Builder {
    std::vector<std::vector<BuildVertex>> contours;

    static Point point(const FT_Vector* v) { return {v->x / 64.0, v->y / 64.0}; }
    std::vector<BuildVertex>& current() { return contours.back(); }

    void moveTo(Point p) { contours.push_back({{p, p, p}}); }
    void cubicTo(Point c1, Point c2, Point p)
    {
        if (contours.empty())
            moveTo({0, 0});
        current().back().out = c1;
        current().push_back({p, c2, p});
    }
    void lineTo(Point p)
    {
        if (contours.empty())
            moveTo({0, 0});
        const Point last = current().back().p;
        cubicTo(last, p, p);
    }
    void conicTo(Point c, Point p)
    {
        if (contours.empty())
            moveTo({0, 0});
        const Point p0 = current().back().p;
        cubicTo({p0.x + 2.0 / 3.0 * (c.x - p0.x), p0.y + 2.0 / 3.0 * (c.y - p0.y)},
                {p.x + 2.0 / 3.0 * (c.x - p.x), p.y + 2.0 / 3.0 * (c.y - p.y)}, p);
    }
};

int onMove(const FT_Vector* to, void* user)
{
    static_cast<Builder*>(user)->moveTo(Builder::point(to));
    return 0;
}
int onLine(const FT_Vector* to, void* user)
{
    static_cast<Builder*>(user)->lineTo(Builder::point(to));
    return 0;
}
int onConic(const FT_Vector* control, const FT_Vector* to, void* user)
{
    static_cast<Builder*>(user)->conicTo(Builder::point(control), Builder::point(to));
    return 0;
}
int onCubic(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user)
{
    static_cast<Builder*>(user)->cubicTo(Builder::point(c1), Builder::point(c2), Builder::point(to));
    return 0;
}

bool samePoint(Point a, Point b)
{
    return std::abs(a.x - b.x) < 1e-9 && std::abs(a.y - b.y) < 1e-9;
}

// Closes a contour (FreeType ends each one with a segment back to its start)
// and turns it into a mask-style outline at the pen position, y down.
bool finishContour(std::vector<BuildVertex> c, double penX, double penY, MaskOutline* out)
{
    // Zero-length straight segments add nothing.
    std::vector<BuildVertex> kept;
    for (const BuildVertex& v : c) {
        if (!kept.empty() && samePoint(kept.back().p, v.p) && samePoint(kept.back().out, v.p)
            && samePoint(v.in, v.p)) {
            kept.back().out = v.out;
            continue;
        }
        kept.push_back(v);
    }
    if (kept.size() > 1 && samePoint(kept.front().p, kept.back().p)) {
        kept.front().in = kept.back().in;
        kept.pop_back();
    }
    if (kept.size() < 2)
        return false;
    out->open = false;
    out->vertices.clear();
    for (const BuildVertex& v : kept) {
        MaskVertex m;
        m.x = penX + v.p.x;
        m.y = penY - v.p.y;
        m.inX = v.in.x - v.p.x;
        m.inY = -(v.in.y - v.p.y);
        m.outX = v.out.x - v.p.x;
        m.outY = -(v.out.y - v.p.y);
        out->vertices.push_back(m);
    }
    return true;
}

} // namespace

struct GlyphOutliner::Impl {
    FT_Library library = nullptr;
    std::map<std::pair<std::string, int>, FT_Face> faces;

    ~Impl()
    {
        for (auto& [key, face] : faces)
            FT_Done_Face(face);
        if (library)
            FT_Done_FreeType(library);
    }

    FT_Face face(const std::string& file, int index, std::string* error)
    {
        auto it = faces.find({file, index});
        if (it != faces.end())
            return it->second;
        FT_Face f = nullptr;
        if (FT_New_Face(library, file.c_str(), index, &f) != 0) {
            if (error)
                *error = "cannot read font file " + file;
            return nullptr;
        }
        faces.emplace(std::make_pair(file, index), f);
        return f;
    }
};

GlyphOutliner::GlyphOutliner() : impl_(std::make_unique<Impl>())
{
    if (FT_Init_FreeType(&impl_->library) != 0)
        impl_->library = nullptr;
}

GlyphOutliner::~GlyphOutliner() = default;

std::string GlyphOutliner::fontFileFor(const QString& family, int* faceIndex)
{
    if (!FcInit())
        return std::string();
    const QByteArray name = (family.isEmpty() ? QString::fromLatin1(kDefaultFamily) : family).toUtf8();
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.constData()));
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    std::string file;
    if (match) {
        FcChar8* path = nullptr;
        if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path)
            file = reinterpret_cast<const char*>(path);
        int index = 0;
        if (FcPatternGetInteger(match, FC_INDEX, 0, &index) != FcResultMatch)
            index = 0;
        if (faceIndex)
            *faceIndex = index;
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return file;
}

bool GlyphOutliner::outlines(const QString& text, const QString& family, double sizePx,
                             std::vector<MaskOutline>* out, std::string* error)
{
    out->clear();
    if (!(sizePx > 0) || !std::isfinite(sizePx) || sizePx > 100000) {
        if (error)
            *error = "font size must be a positive number of pixels";
        return false;
    }
    if (text.isEmpty())
        return true;
    const auto key = std::make_tuple(text, family, sizePx);
    if (auto it = cache_.find(key); it != cache_.end()) {
        *out = it->second;
        return true;
    }
    if (!impl_->library) {
        if (error)
            *error = "FreeType could not be initialised";
        return false;
    }
    int index = 0;
    const std::string file = fontFileFor(family, &index);
    if (file.empty()) {
        if (error)
            *error = "no font found for family \"" + family.toStdString() + "\"";
        return false;
    }
    FT_Face face = impl_->face(file, index, error);
    if (!face)
        return false;
    if (FT_Set_Char_Size(face, 0, FT_F26Dot6(std::lround(sizePx * 64.0)), 72, 72) != 0) {
        if (error)
            *error = "cannot scale font " + file;
        return false;
    }

    FT_Outline_Funcs funcs{};
    funcs.move_to = onMove;
    funcs.line_to = onLine;
    funcs.conic_to = onConic;
    funcs.cubic_to = onCubic;

    const double lineHeight = face->size->metrics.height / 64.0;
    double penX = 0, penY = 0;
    FT_UInt previous = 0;
    const QList<uint> codes = text.toUcs4();
    for (qsizetype i = 0; i < codes.size(); ++i) {
        const uint code = codes[i];
        if (code == '\n' || code == '\r') {
            if (code == '\r' && i + 1 < codes.size() && codes[i + 1] == '\n')
                ++i;
            penX = 0;
            penY += lineHeight;
            previous = 0;
            continue;
        }
        const FT_UInt glyph = FT_Get_Char_Index(face, code);
        if (previous && glyph && FT_HAS_KERNING(face)) {
            FT_Vector delta{};
            if (FT_Get_Kerning(face, previous, glyph, FT_KERNING_UNSCALED, &delta) == 0)
                penX += delta.x * sizePx / face->units_per_EM;
        }
        if (FT_Load_Glyph(face, glyph, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0)
            continue;
        FT_GlyphSlot slot = face->glyph;
        if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
            Builder builder;
            FT_Outline_Decompose(&slot->outline, &funcs, &builder);
            for (auto& contour : builder.contours) {
                MaskOutline outline;
                if (finishContour(std::move(contour), penX, penY, &outline))
                    out->push_back(std::move(outline));
            }
        }
        penX += slot->linearHoriAdvance / 65536.0;
        previous = glyph;
    }
    cache_.emplace(key, *out);
    return true;
}

} // namespace standin
