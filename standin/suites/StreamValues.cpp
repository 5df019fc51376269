#include "StreamValues.h"

#include "SuiteGuard.h"
#include "SuiteContext.h"

#include <cstring>

namespace standin {

namespace {

// The outline handle in a value's union, when the union holds one.
AEGP_MaskOutlineValH outlineIn(const AEGP_StreamVal2& val)
{
    AEGP_MaskOutlineValH handle = nullptr;
    std::memcpy(&handle, &val, sizeof handle);
    return decodeHandle(handle) ? handle : nullptr;
}

} // namespace

bool hidesZ(const PropertyNode* node)
{
    if (!node || node->valueType() != ValueType::ThreeD)
        return false;
    const Layer* layer = node->layer();
    return layer && !layer->is3D();
}

void handOutValue(PropertyNode* node, AEGP_StreamRefH handle, const Value& value, AEGP_StreamValue2* out)
{
    out->streamH = handle;
    if (value.type == ValueType::Shape) {
        std::memset(&out->val, 0, sizeof out->val);
        out->val.mask = ctx().outlines.add(value.shape);
    } else {
        toStreamVal(value, &out->val);
        if (hidesZ(node))
            out->val.three_d.z = 0;
    }
    ++ctx().liveValues;
}

A_Err takeValue(const PropertyNode* node, const AEGP_StreamValue2& in, const Value& current, Value& out)
{
    const ValueType type = node->valueType();
    // A value read from another stream says what it is.
    if (PropertyNode* source = nullptr; in.streamH && ctx().findStream(in.streamH, source) == A_Err_NONE
        && source->valueType() != type) {
        noteCall("value comes from a stream of another type");
        return A_Err_PARAMETER;
    }
    const AEGP_MaskOutlineValH outline = outlineIn(in.val);
    if (type == ValueType::Shape) {
        MaskOutline* shape = outline ? ctx().outlines.find(outline) : nullptr;
        if (!shape) {
            noteCall("no live outline in the value");
            return A_Err_PARAMETER;
        }
        out = Value::outline(*shape);
    } else {
        if (outline || !fromStreamVal(type, in.val, &out)) {
            noteCall("value does not fit the stream");
            return A_Err_PARAMETER;
        }
        if (hidesZ(node))
            out.v[2] = current.type == ValueType::ThreeD ? current.v[2] : 0.0;
    }
    if (!out.isFinite()) {
        noteCall("value is not finite");
        return A_Err_PARAMETER;
    }
    return A_Err_NONE;
}

A_Err disposeValue(AEGP_StreamValue2* value)
{
    if (const AEGP_MaskOutlineValH outline = outlineIn(value->val)) {
        if (!ctx().outlines.remove(outline))
            return A_Err_PARAMETER;
        value->val.mask = nullptr;
    }
    if (ctx().liveValues > 0)
        --ctx().liveValues;
    return A_Err_NONE;
}

void handOutTangent(const Value& tangent, AEGP_StreamRefH handle, AEGP_StreamValue2* out)
{
    out->streamH = handle;
    toStreamVal(tangent, &out->val);
    ++ctx().liveValues;
}

A_Err takeTangent(const PropertyNode* node, const AEGP_StreamValue2& in, Value& out)
{
    if (outlineIn(in.val) || !fromStreamVal(node->tangentType(), in.val, &out) || !out.isFinite())
        return A_Err_PARAMETER;
    return A_Err_NONE;
}

std::string describeValue(const Value& value)
{
    switch (value.type) {
    case ValueType::None: return "none";
    case ValueType::OneD: return formatDouble(value.v[0]);
    case ValueType::TwoD: return "(" + formatDouble(value.v[0]) + ", " + formatDouble(value.v[1]) + ")";
    case ValueType::ThreeD:
        return "(" + formatDouble(value.v[0]) + ", " + formatDouble(value.v[1]) + ", " + formatDouble(value.v[2])
            + ")";
    case ValueType::Color:
        return "argb(" + formatDouble(value.v[0]) + ", " + formatDouble(value.v[1]) + ", "
            + formatDouble(value.v[2]) + ", " + formatDouble(value.v[3]) + ")";
    case ValueType::Shape:
        return "outline " + std::to_string(value.shape.vertexCount()) + " vertices "
            + (value.shape.open ? "open" : "closed");
    }
    return "?";
}

} // namespace standin
