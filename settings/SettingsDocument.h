// A settings file as plain records: what the reader found, already checked,
// before anything of the scene changes. Values that were absent, not finite
// or out of their range are absent here; numbers are within the ranges their
// controls accept.
#pragma once

#include "model/MyBody.h"
#include "model/MyJoint.h"
#include "model/QuickPreset.h"

#include <QColor>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace tinyxml2 {
class XMLElement;
}

// One `body` element. The record starts as a fresh one (MyBody::init) and
// takes every attribute present; the groups without a default (identity,
// placement, colour) say whether the file had them.
struct SavedBody
{
    MyBody record;
    bool hasLayerID = false;
    bool hasPosition = false;
    bool hasAngle = false;
    bool hasColor = false;
};

// One `joint` element. The record holds the identifiers (layer IDs and
// indexes -1, names empty when absent) and, when `complete`, every attribute
// of its type.
struct SavedJoint
{
    MyJoint record;
    int fileBodyAId = -1;      // bodyAId and bodyBId as written (-1 when absent)
    int fileBodyBId = -1;
    bool hasType = false;
    // A known type (0 to 3) with every attribute of that type present.
    bool complete = false;
};

// One scene block: preview, solver, gravity, bodies and joints.
struct SettingsBlock
{
    bool hasPreview = false;
    bool hasSolver = false;
    bool hasGravity = false;
    // `bodies` is present and holds at least one `body`.
    bool hasBodies = false;

    std::optional<int> zoom;                // integer part of the real
    std::optional<float> panX;
    std::optional<float> panY;
    std::optional<QColor> background;       // components rounded from 255 x value
    std::optional<float> timeDivider;
    std::optional<float> tolerance;
    std::optional<int> substeps;
    std::optional<float> gravityMagnitude;
    std::optional<float> gravityDirection;
    std::optional<int> takeValueFrom;       // as written; a flag when not 0
    std::optional<int> gravityLayer;        // read only when takeValueFrom > 0

    std::vector<SavedBody> bodies;
    std::vector<SavedJoint> joints;
};

struct SettingsDocument
{
    std::optional<int> majorVersion;
    std::optional<int> minorVersion;
    SettingsBlock scene;
    std::vector<SettingsBlock> presets;     // one per `preset`, in file order
    size_t presetsLeftOut = 0;              // `preset` elements past the limit, not read

    // Both version attributes are present and the pair is not (1, 2).
    bool otherVersion() const;
};

// What stops a reading before any record is made.
enum class SettingsReadStatus {
    Ok,
    NotReadable,   // not XML (empty, binary, truncated, too deep, too large)
    NoRoot,        // no `ZolvarSettings` element
};

// Files larger than this are not read.
constexpr qint64 kMaxSettingsFileSize = 64LL * 1024 * 1024;
// Nor files with more markup than any file this program writes (a body is
// 33 attributes, and a file of the largest size holds fewer than 400,000
// elements and 3 million attributes): the parser's time and memory stay
// within seconds and a few hundred MiB.
constexpr int kMaxSettingsAttributesPerElement = 128;
constexpr qint64 kMaxSettingsMarkup = 500000;        // elements, comments and the like
constexpr qint64 kMaxSettingsAttributes = 4000000;

// Empty when the markup of `bytes` stays within the limits above; otherwise
// what it exceeds. One linear pass, before any parsing.
QString checkSettingsMarkup(const char* bytes, size_t size);

// Empty when a load reads a file of `bytes` (its size and its markup within
// the limits above); otherwise why it would not, for a writer's message
// ("the settings would take ...").
QString settingsLoadRefusal(const QByteArray& bytes);

// What a reading keeps. A file may come from a larger composition: the
// records are matched against the scene's layers as they are read, so only
// those the scene can use are kept, wherever they stand in the file.
struct SettingsLimits
{
    // The scene row a saved body matches, or -1. When set, only the first
    // body of each row is kept in a block (the one a load applies).
    std::function<int(const SavedBody&)> bodyRow;
    // Whether a saved joint can join two of the scene's bodies. When set,
    // the others are not kept.
    std::function<bool(const SavedJoint&)> jointWanted;
    size_t presets = SIZE_MAX;    // `preset` elements read; the rest are counted
};

// A file loaded into a scene brings at most this many snapshots, and no
// more than their records (each a copy of the scene's bodies, and its
// joints) fit in this much memory.
constexpr size_t kMaxLoadedSnapshots = 10000;
constexpr size_t kMaxLoadedSnapshotBytes = 128u * 1024 * 1024;

// Reads and checks a whole document. On NotReadable, `problem` names the
// parser's complaint and its line, or the limit the markup exceeds.
SettingsReadStatus readSettingsDocument(const char* bytes, size_t size, SettingsDocument& document,
                                        QString& problem, const SettingsLimits& limits = SettingsLimits());

// The readers of the document's parts, each on the element that holds them
// (the root, or a `preset`).
void loadGlobalSettings(const tinyxml2::XMLElement* parent, SettingsBlock& block);
void loadBodiesSettings(const tinyxml2::XMLElement* parent, SettingsBlock& block,
                        const SettingsLimits& limits = SettingsLimits());
void loadJointsSettings(const tinyxml2::XMLElement* parent, SettingsBlock& block,
                        const SettingsLimits& limits = SettingsLimits());
// Returns the number of `preset` elements past `limits.presets`.
size_t loadPresetsSettings(const tinyxml2::XMLElement* root, std::vector<SettingsBlock>& presets,
                           const SettingsLimits& limits = SettingsLimits());

// A snapshot from a block read in a `preset`: values the block lacks take
// the snapshot defaults (QuickPreset). Bodies and joints are left empty: they
// are matched against the scene by the view.
QuickPreset presetGlobals(const SettingsBlock& block);
