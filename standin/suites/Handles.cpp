#include "Handles.h"

#include <cstdio>

namespace standin {

const char* handleKindName(HandleKind kind)
{
    switch (kind) {
    case HandleKind::None: return "None";
    case HandleKind::Project: return "Project";
    case HandleKind::Item: return "Item";
    case HandleKind::Comp: return "Comp";
    case HandleKind::Layer: return "Layer";
    case HandleKind::StreamRef: return "Stream";
    case HandleKind::MaskRef: return "Mask";
    case HandleKind::MaskOutline: return "Outline";
    case HandleKind::Footage: return "Footage";
    case HandleKind::Memory: return "Mem";
    case HandleKind::Blob: return "Blob";
    case HandleKind::Collection: return "Collection";
    case HandleKind::KeyBatch: return "KeyBatch";
    case HandleKind::TextOutlines: return "TextOutlines";
    case HandleKind::PathOutline: return "Path";
    case HandleKind::Prog: return "Prog";
    }
    return "?";
}

std::string describeHandle(const void* handle)
{
    if (!handle)
        return "NULL";
    const uint64_t bits = uint64_t(reinterpret_cast<uintptr_t>(handle));
    if ((bits & handle_bits::kTagMask) == handle_bits::kTag) {
        const auto kind = HandleKind((bits >> 48) & 0xFF);
        return std::string(handleKindName(kind)) + "#" + std::to_string(bits & handle_bits::kSerialMask);
    }
    char text[32];
    std::snprintf(text, sizeof text, "%p", handle);
    return text;
}

} // namespace standin
