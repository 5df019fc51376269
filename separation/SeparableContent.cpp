#include "separation/SeparableContent.h"

#include "separation/CopyArea.h"
#include "separation/GroupOverlap.h"
#include "separation/MaskOverlap.h"
#include "outlines/HostStreams.h"
#include "outlines/MaskOutlines.h"
#include "outlines/OutlineLimits.h"

#include <cmath>
#include <string>

namespace {

constexpr char kVectorGroup[] = "ADBE Vector Group";
constexpr char kPathItem[] = "ADBE Vector Shape - Group";

bool isShapeLayer(AEGP_ObjectType type) { return type == AEGP_ObjectType_VECTOR; }

// A name as it is put between double quotes: its quotes and backslashes
// escaped by a backslash.
QString quotable(QString name)
{
    return name.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('"'), QLatin1String("\\\""));
}

bool severalTopLevelItems(const SeparableContent& content, AEGP_ObjectType type)
{
    return isShapeLayer(type) && content.topGroups + content.topPaths > 1;
}

// Notes in `content` the first item switched on that is not modelled (see
// isModelledItem): `item` itself, of that match name, or one in it when it is
// a group, at any depth through groups switched on; or that a group switched
// on lies kMaxGroupNesting groups deep, and is not looked into.
A_Err findUnmodelledItem(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_StreamRefH item,
                         const std::string& matchName, int nesting, SeparableContent& content)
{
    bool on = false;
    A_Err err = isSwitchedOn(suites, item, on);
    if (err || !on)
        return err;
    if (!isModelledItem(matchName, nesting > 0)) {
        std::string name;
        readStreamName(suites, item, name);
        content.unmodelledItem = QString::fromStdString(name.empty() ? matchName : name);
        return A_Err_NONE;
    }
    if (matchName != kVectorGroup)
        return A_Err_NONE;
    if (nesting >= kMaxGroupNesting) {
        content.nestedTooDeep = true;
        return A_Err_NONE;
    }
    ScopedStream contents(suites);
    err = childByMatchName(suites, pluginId, item, "ADBE Vectors Group", contents);
    A_long n = 0;
    if (!err && contents)
        err = suites.DynamicStreamSuite4()->AEGP_GetNumStreamsInGroup(contents.get(), &n);
    for (A_long i = 0; !err && content.unmodelledItem.isEmpty() && !content.nestedTooDeep && i < n; ++i) {
        ScopedStream child(suites);
        std::string childName;
        err = childByIndex(suites, pluginId, contents.get(), i, child);
        if (!err)
            err = matchNameOf(suites, child.get(), childName);
        if (!err)
            err = findUnmodelledItem(suites, pluginId, child.get(), childName, nesting + 1, content);
    }
    return err;
}

A_Err countTopLevelItems(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_StreamRefH root,
                         SeparableContent& content, std::vector<ContentItem>& items)
{
    ScopedStream contents(suites);
    A_Err err = childByMatchName(suites, pluginId, root, "ADBE Root Vectors Group", contents);
    A_long children = 0;
    if (!err && contents)
        err = suites.DynamicStreamSuite4()->AEGP_GetNumStreamsInGroup(contents.get(), &children);
    for (A_long i = 0; !err && i < children; ++i) {
        ScopedStream child(suites);
        std::string matchName;
        bool draws = false;
        err = childByIndex(suites, pluginId, contents.get(), i, child);
        if (!err)
            err = readContentItem(suites, pluginId, child.get(), matchName, draws);
        if (!err && content.unmodelledItem.isEmpty() && !content.nestedTooDeep)
            err = findUnmodelledItem(suites, pluginId, child.get(), matchName, 0, content);
        if (err)
            break;
        items.push_back(ContentItem{matchName, draws});
        if (!draws)
            continue;
        if (matchName == kVectorGroup)
            ++content.topGroups;
        if (matchName == kPathItem)
            ++content.topPaths;
        if (isDrawingItem(matchName))
            ++content.topDrawings;
    }
    return err;
}

// Whether the mask's shape, opacity, feather or expansion changes over time.
A_Err maskAnimated(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_StreamRefH mask, bool& animated)
{
    A_Err err = A_Err_NONE;
    for (const char* value : {"ADBE Mask Shape", "ADBE Mask Opacity", "ADBE Mask Feather", "ADBE Mask Offset"}) {
        ScopedStream stream(suites);
        err = childByMatchName(suites, pluginId, mask, value, stream);
        animated = !err && stream && variesOverTime(suites, pluginId, stream.get());
        if (err || animated)
            break;
    }
    return err;
}

// Counts the masks that are switched on, and notes whether one of them is
// inverted, not an Add mask, or animated.
A_Err readMasksSwitchedOn(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_LayerH layer,
                          AEGP_StreamRefH parade, A_long count, SeparableContent& content)
{
    A_Err err = A_Err_NONE;
    bool modes = false, animated = false;
    for (A_long i = 0; !err && i < count; ++i) {
        ScopedStream mask(suites);
        bool switchedOn = false;
        err = childByIndex(suites, pluginId, parade, i, mask);
        if (!err)
            err = isSwitchedOn(suites, mask.get(), switchedOn);
        if (err || !switchedOn)
            continue;
        ++content.masks;
        ScopedMask ref(suites);
        PF_MaskMode mode = PF_MaskMode_ADD;
        A_Boolean inverted = false;
        err = suites.MaskSuite5()->AEGP_GetLayerMaskByIndex(layer, i, ref.out());
        if (!err)
            err = suites.MaskSuite5()->AEGP_GetMaskMode(ref.get(), &mode);
        if (!err)
            err = suites.MaskSuite5()->AEGP_GetMaskInvert(ref.get(), &inverted);
        modes = modes || (!err && (mode != PF_MaskMode_ADD || inverted));
        if (!err && !animated)
            err = maskAnimated(suites, pluginId, mask.get(), animated);
    }
    if (modes)
        content.masksMeet = MasksMeet::Modes;
    else if (animated)
        content.masksMeet = MasksMeet::Animated;
    return err;
}

// How the layer is placed at time 0, and the pixel aspect ratio of its
// source that getMasks takes its x coordinates by (an audio-video layer's;
// 1 for others).
struct MaskPlacement {
    LayerPlacement layer;
    double aspect = 1.0;
};

MaskPlacement readMaskPlacement(const AEGP_SuiteHandler& suites, SPBasicSuite* basic, AEGP_PluginID pluginId,
                                AEGP_LayerH layer, AEGP_ObjectType type)
{
    MaskPlacement p;
    p.layer = readLayerPlacement(layerBuildOf(basic, int(pluginId), layer));
    AEGP_ItemH source = nullptr;
    A_Ratio ratio{1, 1};
    if (type == AEGP_ObjectType_AV && !suites.LayerSuite7()->AEGP_GetLayerSourceItem(layer, &source)
        && !suites.ItemSuite8()->AEGP_GetItemPixelAspectRatio(source, &ratio) && ratio.den)
        p.aspect = double(ratio.num) / double(ratio.den);
    return p;
}

// How close, in layer pixels, two masks' bodies touch: two skins, through
// the least the layer's placement (and an audio-video layer's pixel aspect
// ratio, as getMasks has it) stretches a length; anywhere when it flattens
// the layer.
double touchDistance(const MaskPlacement& at)
{
    const LayerPlacement& p = at.layer;
    const double sx = at.aspect * p.sx;
    const double least = std::fabs(sx * p.sy) / largestStretch(sx, p.shear, 0.0, p.sy);
    return least > 0.0 && std::isfinite(least) ? outline_limits::kTouchDistance * 100.0 / least : HUGE_VAL;
}

// Notes in `meet` when a copy of the layer holding one of its masks alone
// would get a body that keeps its place (makesMovingBody).
A_Err readMaskCopiesMove(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_StreamRefH parade,
                         const MaskPlacement& at, MasksMeet& meet)
{
    const LayerPlacement& p = at.layer;
    std::vector<std::vector<ShapeDef>> bodies;
    const A_Err err = readLoneMaskBodies(suites, pluginId, parade, at.aspect, p.anchor, p.sx, p.sy, p.shear,
                                         kOverlapPrecision, bodies);
    for (const std::vector<ShapeDef>& body : bodies)
        if (!err && !makesMovingBody({body}))
            meet = MasksMeet::NoMovingBody;
    return err;
}

// Why the comparison of keyed groups was given up: over its own bound, or
// over what the start had left; "stopped" once it had begun, "not begun"
// when nothing was spent.
QString givenUp(GroupsMeet meet)
{
    const bool own = meet == GroupsMeet::KeyedTooLong || meet == GroupsMeet::KeyedNotBegun;
    const bool begun = meet == GroupsMeet::KeyedTooLong || meet == GroupsMeet::StartTooLong;
    return QStringLiteral("the comparison of its keyed groups%1 was %2, as it would take %3; apart, they might come "
                          "to lie in one another's place.")
        .arg(own ? QStringLiteral(" at every frame their keys span") : QString(),
             begun ? QStringLiteral("stopped") : QStringLiteral("not begun"),
             own ? QStringLiteral("too long (too many pieces over too many frames)")
                 : QStringLiteral("longer than what was left of the time the start gives to comparing keyed groups "
                                  "(the layers that need least are compared first)"));
}

} // namespace

bool isModelledItem(const std::string& matchName, bool nested)
{
    return matchName == kVectorGroup || isDrawingItem(matchName) || matchName == "ADBE Vector Graphic - Fill"
        || matchName == "ADBE Vector Graphic - Stroke" || (nested && matchName == "ADBE Vector Filter - Merge");
}

A_Err groupDraws(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_StreamRefH group, bool& draws,
                 CallTrail* trail, int nesting)
{
    const auto noted = [trail](A_Err err, const char* call) { return trail ? trail->note(err, call) : err; };
    draws = false;
    bool on = false;
    A_Err err = noted(isSwitchedOn(suites, group, on), "AEGP_GetDynamicStreamFlags");
    if (err || !on)
        return err;
    if (nesting >= kMaxGroupNesting) {
        draws = true;
        return A_Err_NONE;
    }
    ScopedStream contents(suites);
    err = noted(childByMatchName(suites, pluginId, group, "ADBE Vectors Group", contents),
                "AEGP_GetNewStreamRefByMatchname");
    A_long n = 0;
    if (!err && contents)
        err = noted(suites.DynamicStreamSuite4()->AEGP_GetNumStreamsInGroup(contents.get(), &n),
                    "AEGP_GetNumStreamsInGroup");
    for (A_long i = 0; !err && !draws && i < n; ++i) {
        ScopedStream item(suites);
        std::string matchName;
        err = noted(childByIndex(suites, pluginId, contents.get(), i, item), "AEGP_GetNewStreamRefByIndex");
        if (!err)
            err = noted(matchNameOf(suites, item.get(), matchName), "AEGP_GetMatchName");
        if (!err && isDrawingItem(matchName))
            err = noted(isSwitchedOn(suites, item.get(), draws), "AEGP_GetDynamicStreamFlags");
        else if (!err && matchName == kVectorGroup)
            err = groupDraws(suites, pluginId, item.get(), draws, trail, nesting + 1);
    }
    if (err)
        draws = false;
    return err;
}

A_Err readContentItem(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_StreamRefH item,
                      std::string& matchName, bool& draws)
{
    draws = false;
    A_Err err = matchNameOf(suites, item, matchName);
    if (!err && matchName == kVectorGroup)
        err = groupDraws(suites, pluginId, item, draws);
    else if (!err && isDrawingItem(matchName))
        err = isSwitchedOn(suites, item, draws);
    return err;
}

bool hasSeveralOutlines(const SeparableContent& content, AEGP_ObjectType type)
{
    return separationKindOf(content, type) != SeparationKind::None;
}

SeparationKind separationKindOf(const SeparableContent& content, AEGP_ObjectType type)
{
    const bool byItems = severalTopLevelItems(content, type) && content.masks == 0;
    if (byItems && content.topGroups > 0)
        return content.groupsMeet != GroupsMeet::Apart || !content.unmodelledItem.isEmpty() || content.nestedTooDeep
            ? SeparationKind::None
            : SeparationKind::ShapeGroups;
    if (content.masks > 1 && content.masksMeet == MasksMeet::Apart)
        return SeparationKind::Masks;
    if (byItems)
        return SeparationKind::UngroupedShapes;
    return SeparationKind::None;
}

QString whyNotSeparable(const SeparableContent& content, AEGP_ObjectType type)
{
    if (separationKindOf(content, type) != SeparationKind::None)
        return QString();
    if (content.masks > 1) {
        switch (content.masksMeet) {
        case MasksMeet::Apart:
            break;
        case MasksMeet::Modes:
            return QStringLiteral("its masks are not all Add masks (one is inverted or of another mode): together "
                                  "they draw the layer as they combine; apart, each copy would draw its mask as a "
                                  "plain Add mask, and the picture would change.");
        case MasksMeet::Animated:
            return QStringLiteral("one of its masks is animated (its shape, opacity, feather or expansion is keyed "
                                  "or driven by an expression); apart, each copy would keep its mask as it is at "
                                  "time 0, and the picture would change.");
        case MasksMeet::Open:
            return QStringLiteral("one of its masks is an open path, which cuts nothing out of the layer; apart, the "
                                  "copy holding it would draw the whole layer.");
        case MasksMeet::Hole:
            return QStringLiteral("one of its masks lies inside another, as a hole in the one body they make; "
                                  "apart, the hole would become a body of its own.");
        case MasksMeet::Cross:
            return QStringLiteral("its masks overlap: together they make one body, as drawn; apart, each would be a "
                                  "body lying partly in another's place.");
        case MasksMeet::EdgesMeet:
            return QStringLiteral("its masks, grown by their expansion and feather, reach over one another: "
                                  "together the layer draws where they meet once, as drawn; apart, each copy would "
                                  "draw it over the other, and the picture would change.");
        case MasksMeet::NoMovingBody:
            return QStringLiteral("one of its masks is too small to make a body that moves (under a pixel across, "
                                  "or too small for its distance from the layer's anchor point): together the "
                                  "others carry it; apart, the copy holding it would keep its place and not move.");
        case MasksMeet::Touch:
            return QStringLiteral("its masks touch, or lie closer than the skins of two bodies (2 px at the "
                                  "collision tolerance a scene starts with): apart, their bodies would push one "
                                  "another as soon as they move.");
        }
    }
    if (content.masks == 0 && severalTopLevelItems(content, type) && !content.unmodelledItem.isEmpty())
        return QStringLiteral("it holds \"%1\", an item that separation by groups does not model (it knows "
                              "groups, paths, rectangles, ellipses, stars, fills and strokes): what the layers "
                              "split from it would draw cannot be told, and the picture might change.")
            .arg(quotable(content.unmodelledItem));
    if (content.masks == 0 && severalTopLevelItems(content, type) && content.nestedTooDeep)
        return QStringLiteral("its groups nest more than %1 deep, deeper than separation by groups looks into "
                              "them: what the layers split from it would draw cannot be told, and the picture might "
                              "change.")
            .arg(kMaxGroupNesting);
    if (content.masks == 0 && severalTopLevelItems(content, type)) {
        switch (content.groupsMeet) {
        case GroupsMeet::Apart:
            break;
        case GroupsMeet::Overlap:
            return QStringLiteral("its groups overlap or touch: together they make one body, as drawn; apart, each "
                                  "would be a body lying in or against another's place (and a fill they share would "
                                  "paint each alone).");
        case GroupsMeet::OverlapWhileMoving:
            return QStringLiteral("its groups come to overlap or touch while they move (at the start they do not); "
                                  "apart, each would be a body lying in or against another's place once they "
                                  "meet.");
        case GroupsMeet::StrokesMeet:
            return QStringLiteral("its groups' strokes may reach over what another group draws: together each "
                                  "paint lies at its own place in the layer, as drawn; apart, a copy's stroke "
                                  "would lie over or under the other copy as a whole, and the picture would "
                                  "change.");
        case GroupsMeet::WindingUnheld:
            return QStringLiteral("a non-zero fill of one of its groups paints a path that crosses itself, winding "
                                  "round some place twice (as a pentagram's centre) or round places both ways, "
                                  "which the comparison of what its groups draw does not hold; apart, the picture "
                                  "might change.");
        case GroupsMeet::NothingAtStart:
            return QStringLiteral("one of its groups, or its shapes outside groups, draws nothing at time 0, where "
                                  "the bodies are built (as a group that pops in, scaled up from 0 %): together the "
                                  "others make the layer's body; apart, the layer holding it would have no outline "
                                  "to make a body of, and would become a plain box at the composition's centre.");
        case GroupsMeet::NoMovingBody:
            return QStringLiteral("one of its groups, or its shapes outside groups, draws too little at time 0, "
                                  "where the bodies are built, to make a body that moves (under a pixel across, as "
                                  "a group that grows from 1 %): together the others carry it; apart, the layer "
                                  "holding it would keep its place and not move.");
        case GroupsMeet::Untold:
            return QStringLiteral("where its groups go over time cannot be told beforehand (an expression drives "
                                  "them, or their keys cannot be read); apart, they might come to lie in one "
                                  "another's place.");
        case GroupsMeet::KeyedTooLong:
        case GroupsMeet::KeyedNotBegun:
        case GroupsMeet::StartTooLong:
        case GroupsMeet::StartNotBegun:
            return givenUp(content.groupsMeet);
        }
    }
    if (content.masks > 0 && severalTopLevelItems(content, type))
        return QStringLiteral("its shapes are under a mask, and a layer with a mask becomes a body of the mask's "
                              "outline; each layer split from it would keep the mask, to look as before, and so "
                              "become that same body, all of them stacked in one place.");
    return QString();
}

A_Err readSeparableContent(const AEGP_SuiteHandler& suites, SPBasicSuite* basic, AEGP_PluginID pluginId,
                           AEGP_LayerH layer, AEGP_ObjectType type, SeparableContent& content, KeyedWork& keyed)
{
    content = SeparableContent{};
    ScopedStream root(suites);
    A_Err err = suites.DynamicStreamSuite4()->AEGP_GetNewStreamRefForLayer(pluginId, layer, root.out());
    ScopedStream masks(suites);
    if (!err)
        err = childByMatchName(suites, pluginId, root.get(), "ADBE Mask Parade", masks);
    A_long count = 0;
    if (!err && masks)
        err = suites.DynamicStreamSuite4()->AEGP_GetNumStreamsInGroup(masks.get(), &count);
    if (!err && count > 0)
        err = readMasksSwitchedOn(suites, pluginId, layer, masks.get(), count, content);
    const bool apart = !err && content.masks > 1 && content.masksMeet == MasksMeet::Apart;
    const MaskPlacement at = apart ? readMaskPlacement(suites, basic, pluginId, layer, type) : MaskPlacement();
    if (apart)
        err = readMaskOverlap(suites, pluginId, masks.get(), content.masksMeet, touchDistance(at));
    if (apart && !err && content.masksMeet == MasksMeet::Apart)
        err = readMaskCopiesMove(suites, pluginId, masks.get(), at, content.masksMeet);
    std::vector<ContentItem> items;
    if (!err && isShapeLayer(type))
        err = countTopLevelItems(suites, pluginId, root.get(), content, items);
    if (!err && separationKindOf(content, type) == SeparationKind::ShapeGroups)
        content.groupsMeet = separatedLayersMeet(basic, pluginId, layer, planGroupSplit(items), keyed);
    return err;
}
