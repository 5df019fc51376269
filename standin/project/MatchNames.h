// Match names of the layer property tree.
//
// Names the host invents for nodes the plug-in never looks up by name (layer
// roots, mask atoms, the transform group and its leaves) never begin with
// "ADBE Vector", so that a whole-tree search for a vector name cannot hit them.
#pragma once

namespace standin::match {

// Layer roots (depth 0).
inline constexpr char kAvLayer[] = "ADBE AV Layer";
inline constexpr char kTextLayer[] = "ADBE Text Layer";
inline constexpr char kVectorLayer[] = "ADBE Vector Layer";
inline constexpr char kCameraLayer[] = "ADBE Camera Layer";
inline constexpr char kLightLayer[] = "ADBE Light Layer";

// Masks: parade (indexed) -> atoms (named) -> four leaves.
inline constexpr char kMaskParade[] = "ADBE Mask Parade";
inline constexpr char kMaskAtom[] = "ADBE Mask Atom";
inline constexpr char kMaskShape[] = "ADBE Mask Shape";
inline constexpr char kMaskFeather[] = "ADBE Mask Feather";
inline constexpr char kMaskOpacity[] = "ADBE Mask Opacity";
inline constexpr char kMaskOffset[] = "ADBE Mask Offset";

// Layer transform.
inline constexpr char kTransformGroup[] = "ADBE Transform Group";
inline constexpr char kAnchorPoint[] = "ADBE Anchor Point";
inline constexpr char kPosition[] = "ADBE Position";
inline constexpr char kPositionX[] = "ADBE Position_0";
inline constexpr char kPositionY[] = "ADBE Position_1";
inline constexpr char kScale[] = "ADBE Scale";
inline constexpr char kRotation[] = "ADBE Rotate Z";
inline constexpr char kOpacity[] = "ADBE Opacity";

// Shape layers.
inline constexpr char kRootVectorsGroup[] = "ADBE Root Vectors Group";
inline constexpr char kVectorsGroup[] = "ADBE Vectors Group";
inline constexpr char kVectorGroup[] = "ADBE Vector Group";
inline constexpr char kVectorTransformGroup[] = "ADBE Vector Transform Group";
inline constexpr char kVectorAnchor[] = "ADBE Vector Anchor";
inline constexpr char kVectorPosition[] = "ADBE Vector Position";
inline constexpr char kVectorScale[] = "ADBE Vector Scale";
inline constexpr char kVectorRotation[] = "ADBE Vector Rotation";
inline constexpr char kVectorGroupOpacity[] = "ADBE Vector Group Opacity";
inline constexpr char kRect[] = "ADBE Vector Shape - Rect";
inline constexpr char kRectSize[] = "ADBE Vector Rect Size";
inline constexpr char kRectPosition[] = "ADBE Vector Rect Position";
inline constexpr char kRectRoundness[] = "ADBE Vector Rect Roundness";
inline constexpr char kEllipse[] = "ADBE Vector Shape - Ellipse";
inline constexpr char kEllipseSize[] = "ADBE Vector Ellipse Size";
inline constexpr char kEllipsePosition[] = "ADBE Vector Ellipse Position";
inline constexpr char kStar[] = "ADBE Vector Shape - Star";
inline constexpr char kStarType[] = "ADBE Vector Star Type";
inline constexpr char kStarPoints[] = "ADBE Vector Star Points";
inline constexpr char kStarPosition[] = "ADBE Vector Star Position";
inline constexpr char kStarRotation[] = "ADBE Vector Star Rotation";
inline constexpr char kStarInnerRadius[] = "ADBE Vector Star Inner Radius";
inline constexpr char kStarOuterRadius[] = "ADBE Vector Star Outer Radius";
inline constexpr char kStarInnerRoundness[] = "ADBE Vector Star Inner Roundess"; // sic
inline constexpr char kStarOuterRoundness[] = "ADBE Vector Star Outer Roundess"; // sic
inline constexpr char kPathItem[] = "ADBE Vector Shape - Group";
inline constexpr char kPathShape[] = "ADBE Vector Shape";
inline constexpr char kMerge[] = "ADBE Vector Filter - Merge";
inline constexpr char kMergeType[] = "ADBE Vector Merge Type";
inline constexpr char kStroke[] = "ADBE Vector Graphic - Stroke";
inline constexpr char kFill[] = "ADBE Vector Graphic - Fill";
inline constexpr char kCompositeOrder[] = "ADBE Vector Composite Order";
inline constexpr char kStrokeColor[] = "ADBE Vector Stroke Color";
inline constexpr char kStrokeOpacity[] = "ADBE Vector Stroke Opacity";
inline constexpr char kStrokeWidth[] = "ADBE Vector Stroke Width";
inline constexpr char kStrokeLineCap[] = "ADBE Vector Stroke Line Cap";
inline constexpr char kStrokeLineJoin[] = "ADBE Vector Stroke Line Join";
inline constexpr char kStrokeMiterLimit[] = "ADBE Vector Stroke Miter Limit";
inline constexpr char kFillRule[] = "ADBE Vector Fill Rule";
inline constexpr char kFillColor[] = "ADBE Vector Fill Color";
inline constexpr char kFillOpacity[] = "ADBE Vector Fill Opacity";

} // namespace standin::match
