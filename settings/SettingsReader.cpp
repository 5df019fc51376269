// Reading a settings file into checked records. Nothing here touches the
// scene: the view applies the records once the whole file has been read.
//
// Elements are found by name (the first of a name counts), attributes the
// reader does not know are ignored. A value that is not finite, or an
// enumeration outside its codes, counts as absent; reals are kept within the
// range their edit boxes accept, positions and anchors within +-1e6 world
// units, so nothing unusable reaches the records (or Box2D through them).
#include "settings/SettingsDocument.h"

#include "settings/SettingsKeys.h"
#include "settings/SettingsNumbers.h"

#include <tinyxml2.h>

#include <algorithm>
#include <vector>
#include <string_view>
#include <unordered_map>
#include <climits>
#include <cmath>

using tinyxml2::XMLDocument;
using tinyxml2::XMLElement;

namespace {

using SettingsKeys::FlagRule;
using SettingsKeys::IntFit;
using SettingsKeys::Range;

// Collects the names a description holds.
class NameCollector
{
public:
    std::vector<const char*> names;

    template <typename F>
    bool integer(const char* name, F&, IntFit)
    {
        return add({name});
    }
    template <typename F>
    bool real(const char* name, F&, Range)
    {
        return add({name});
    }
    template <typename F>
    bool flag(const char* name, F&, FlagRule)
    {
        return add({name});
    }
    template <typename F>
    bool text(const char* name, F&)
    {
        return add({name});
    }
    template <typename F>
    bool pair(const char* x, const char* y, F&, Range)
    {
        return add({x, y});
    }
    template <typename F>
    bool olderPair(const char* x, const char* y, F&, Range)
    {
        return add({x, y});
    }
    template <typename F>
    bool color(const char* r, const char* g, const char* b, F&)
    {
        return add({r, g, b});
    }
    template <typename F>
    bool zoom(const char* name, F&)
    {
        return add({name});
    }
    template <typename F>
    bool background(const char* r, const char* g, const char* b, F&)
    {
        return add({r, g, b});
    }

private:
    bool add(std::initializer_list<const char*> list)
    {
        names.insert(names.end(), list);
        return true;
    }
};

// Every name of every description: the names the reader knows.
const std::unordered_map<std::string_view, int>& knownNames()
{
    static const std::unordered_map<std::string_view, int> map = [] {
        NameCollector all;
        int version = 0;
        SettingsKeys::rootKeys(all, version, version);
        SettingsBlock block;
        block.takeValueFrom = 1;
        SettingsKeys::previewKeys(all, block);
        SettingsKeys::solverKeys(all, block);
        SettingsKeys::gravityKeys(all, block);
        MyBody body;
        SettingsKeys::BodyFound found;
        SettingsKeys::bodyKeys(all, body, found);
        MyJoint joint;
        int id = 0;
        SettingsKeys::jointIdentityKeys(all, joint, id, id);
        for (int type = JointType::Distance; type <= JointType::Spring; ++type) {
            joint.type = type;
            SettingsKeys::jointTypeKeys(all, joint);
        }
        std::unordered_map<std::string_view, int> m;
        for (const char* name : all.names)
            m.emplace(name, int(m.size()));
        return m;
    }();
    return map;
}

// The attributes of one element, looked up by name through one pass over
// them (an element's own lookup walks its list for every name). The first
// of a name counts; names the reader does not know are ignored.
class Attributes
{
public:
    explicit Attributes(const XMLElement* e)
        : values(knownNames().size(), nullptr)
    {
        const auto& ids = knownNames();
        for (const tinyxml2::XMLAttribute* a = e->FirstAttribute(); a; a = a->Next()) {
            const auto it = ids.find(std::string_view(a->Name()));
            if (it != ids.end() && !values[size_t(it->second)])
                values[size_t(it->second)] = a->Value();
        }
    }
    const char* get(const char* name) const
    {
        const auto& ids = knownNames();
        const auto it = ids.find(std::string_view(name));
        return it == ids.end() ? nullptr : values[size_t(it->second)];
    }

private:
    std::vector<const char*> values;
};

std::optional<int> intAttr(const Attributes& e, const char* name)
{
    const char* text = e.get(name);
    if (!text)
        return std::nullopt;
    return SettingsNumbers::readInt(text);
}

std::optional<double> realAttr(const Attributes& e, const char* name)
{
    const char* text = e.get(name);
    if (!text)
        return std::nullopt;
    const double v = SettingsNumbers::readReal(text);
    if (!std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<float> realIn(const Attributes& e, const char* name, Range range)
{
    const std::optional<double> v = realAttr(e, name);
    if (!v)
        return std::nullopt;
    return static_cast<float>(std::clamp(*v, range.low, range.high));
}

int toComponent(double value)
{
    return static_cast<int>(std::lround(255.0 * std::clamp(value, 0.0, 1.0)));
}

// Takes each key of a description from the element's attributes into its
// field: a record's field keeps its value when the key is absent or
// unusable, a scene value (std::optional) stays empty. Each member returns
// whether it took a value; `complete` stays true while every key did.
class KeyTaker
{
public:
    explicit KeyTaker(const Attributes& e)
        : e(e)
    {
    }
    bool complete = true;

    template <typename F>
    bool integer(const char* name, F& field, IntFit fit)
    {
        std::optional<int> v = intAttr(e, name);
        if (v)
            v = fit(*v);
        return store(field, v);
    }
    template <typename F>
    bool real(const char* name, F& field, Range range)
    {
        return store(field, realIn(e, name, range));
    }
    bool flag(const char* name, bool& field, FlagRule rule)
    {
        const std::optional<int> v = intAttr(e, name);
        if (v)
            field = rule == FlagRule::NonZero ? *v != 0 : *v > 0;
        return note(v.has_value());
    }
    bool text(const char* name, QString& field)
    {
        const char* value = e.get(name);
        if (value)
            field = QString::fromUtf8(value);
        return note(value != nullptr);
    }
    bool pair(const char* x, const char* y, b2Vec2& field, Range range)
    {
        const std::optional<float> a = realIn(e, x, range);
        const std::optional<float> b = realIn(e, y, range);
        if (a && b)
            field = b2Vec2(*a, *b);
        return note(a && b);
    }
    bool olderPair(const char* x, const char* y, b2Vec2& field, Range range)
    {
        const bool wasComplete = complete;
        const bool taken = pair(x, y, field, range);
        complete = wasComplete;
        return taken;
    }
    bool color(const char* r, const char* g, const char* b, AEGP_ColorVal& field)
    {
        const std::optional<float> red = realIn(e, r, {0.0, 1.0});
        const std::optional<float> green = realIn(e, g, {0.0, 1.0});
        const std::optional<float> blue = realIn(e, b, {0.0, 1.0});
        if (red && green && blue)
            field = AEGP_ColorVal{1.0, double(*red), double(*green), double(*blue)};
        return note(red && green && blue);
    }
    bool zoom(const char* name, std::optional<int>& field)
    {
        const std::optional<double> v = realAttr(e, name);
        if (v)
            field = static_cast<int>(std::clamp(*v, 1.0, 2000.0));
        return note(v.has_value());
    }
    bool background(const char* r, const char* g, const char* b, std::optional<QColor>& field)
    {
        const std::optional<double> red = realAttr(e, r);
        const std::optional<double> green = realAttr(e, g);
        const std::optional<double> blue = realAttr(e, b);
        if (red && green && blue)
            field = QColor(toComponent(*red), toComponent(*green), toComponent(*blue), 255);
        return note(red && green && blue);
    }

private:
    template <typename F, typename U>
    bool store(F& field, const std::optional<U>& value)
    {
        if (value)
            field = static_cast<F>(*value);
        return note(value.has_value());
    }
    template <typename F, typename U>
    bool store(std::optional<F>& field, const std::optional<U>& value)
    {
        field.reset();
        if (value)
            field = static_cast<F>(*value);
        return note(value.has_value());
    }
    bool note(bool taken)
    {
        complete = complete && taken;
        return taken;
    }

    const Attributes& e;
};

template <typename T, typename U>
void take(T& field, const std::optional<U>& value)
{
    if (value)
        field = static_cast<T>(*value);
}

SavedBody readBody(const XMLElement* element)
{
    const Attributes e(element);
    SavedBody saved;
    MyBody& b = saved.record;
    b.init();
    KeyTaker keys(e);
    SettingsKeys::BodyFound found;
    SettingsKeys::bodyKeys(keys, b, found);
    saved.hasLayerID = found.layerID;
    saved.hasPosition = found.position;
    saved.hasAngle = found.angle;
    saved.hasColor = found.color;
    b.committedVelocityMagnitude = b.linearVelocityMagnitude;
    b.committedVelocityDirection = b.linearVelocityDirection;
    if (saved.hasPosition)
        b.committedPosition = b.position;
    b.committedAematicAnchor = b.aematicAnchor;
    return saved;
}

SavedJoint readJoint(const XMLElement* element)
{
    const Attributes e(element);
    SavedJoint saved;
    MyJoint& j = saved.record;
    j.bodyALayerID = j.bodyBLayerID = -1;
    j.bodyALayerIndex = j.bodyBLayerIndex = -1;
    KeyTaker identity(e);
    SettingsKeys::jointIdentityKeys(identity, j, saved.fileBodyAId, saved.fileBodyBId);
    saved.hasType = e.get("type") != nullptr;
    if (saved.hasType) {
        // Every attribute of its type, for a type this program knows.
        KeyTaker keys(e);
        SettingsKeys::jointTypeKeys(keys, j);
        saved.complete = j.type >= JointType::Distance && j.type <= JointType::Spring && keys.complete;
        j.committedAnchorA = j.anchorA;
        j.committedAnchorB = j.anchorB;
        j.committedAnchor = j.anchor;
        j.committedAxis = j.axis;
    }
    return saved;
}

} // namespace

bool SettingsDocument::otherVersion() const
{
    return majorVersion && minorVersion && (*majorVersion != 1 || *minorVersion != 2);
}

void loadGlobalSettings(const XMLElement* parent, SettingsBlock& block)
{
    if (const XMLElement* preview = parent->FirstChildElement("preview")) {
        block.hasPreview = true;
        const Attributes e(preview);
        KeyTaker keys(e);
        SettingsKeys::previewKeys(keys, block);
    }
    if (const XMLElement* solver = parent->FirstChildElement("solver")) {
        block.hasSolver = true;
        const Attributes e(solver);
        KeyTaker keys(e);
        SettingsKeys::solverKeys(keys, block);
    }
    if (const XMLElement* gravity = parent->FirstChildElement("gravity")) {
        block.hasGravity = true;
        const Attributes e(gravity);
        KeyTaker keys(e);
        SettingsKeys::gravityKeys(keys, block);
    }
}

void loadBodiesSettings(const XMLElement* parent, SettingsBlock& block, const SettingsLimits& limits)
{
    const XMLElement* bodies = parent->FirstChildElement("bodies");
    const XMLElement* body = bodies ? bodies->FirstChildElement("body") : nullptr;
    block.hasBodies = body != nullptr;
    std::vector<bool> taken;
    for (; body; body = body->NextSiblingElement("body")) {
        SavedBody saved = readBody(body);
        if (limits.bodyRow) {
            const int row = limits.bodyRow(saved);
            if (row < 0)
                continue;
            if (size_t(row) >= taken.size())
                taken.resize(size_t(row) + 1, false);
            if (taken[size_t(row)])
                continue;
            taken[size_t(row)] = true;
        }
        block.bodies.push_back(std::move(saved));
    }
}

void loadJointsSettings(const XMLElement* parent, SettingsBlock& block, const SettingsLimits& limits)
{
    const XMLElement* joints = parent->FirstChildElement("joints");
    if (!joints)
        return;
    for (const XMLElement* joint = joints->FirstChildElement("joint"); joint;
         joint = joint->NextSiblingElement("joint")) {
        SavedJoint saved = readJoint(joint);
        if (!limits.jointWanted || limits.jointWanted(saved))
            block.joints.push_back(std::move(saved));
    }
}

size_t loadPresetsSettings(const XMLElement* root, std::vector<SettingsBlock>& presets, const SettingsLimits& limits)
{
    const XMLElement* list = root->FirstChildElement("presets");
    if (!list)
        return 0;
    size_t leftOut = 0;
    for (const XMLElement* preset = list->FirstChildElement("preset"); preset;
         preset = preset->NextSiblingElement("preset")) {
        if (presets.size() >= limits.presets) {
            ++leftOut;
            continue;
        }
        SettingsBlock block;
        loadGlobalSettings(preset, block);
        loadBodiesSettings(preset, block, limits);
        loadJointsSettings(preset, block, limits);
        presets.push_back(std::move(block));
    }
    return leftOut;
}

QuickPreset presetGlobals(const SettingsBlock& block)
{
    QuickPreset p;
    take(p.zoom, block.zoom);
    take(p.panX, block.panX);
    take(p.panY, block.panY);
    if (block.background)
        p.backgroundColor = *block.background;
    take(p.timeDivider, block.timeDivider);
    take(p.tolerance, block.tolerance);
    take(p.substeps, block.substeps);
    take(p.gravityMagnitude, block.gravityMagnitude);
    take(p.gravityDirection, block.gravityDirection);
    if (block.takeValueFrom)
        p.gravityFromLayer = *block.takeValueFrom > 0;
    if (p.gravityFromLayer)
        take(p.gravityLayer, block.gravityLayer);
    return p;
}

QString settingsLoadRefusal(const QByteArray& bytes)
{
    auto mebibytes = [](qint64 size) { return QString::number((size + 1024 * 1024 - 1) / (1024 * 1024)); };
    if (bytes.size() > kMaxSettingsFileSize)
        return QStringLiteral("the settings would take %1 MiB, more than the %2 MiB a load reads")
            .arg(mebibytes(bytes.size()), mebibytes(kMaxSettingsFileSize));
    QString markup = checkSettingsMarkup(bytes.constData(), size_t(bytes.size()));
    if (markup.isEmpty())
        return markup;
    markup.chop(1);
    markup.replace(QStringLiteral("The file holds"), QStringLiteral("the settings would hold"));
    return markup + QStringLiteral(", more than a load reads");
}

SettingsReadStatus readSettingsDocument(const char* bytes, size_t size, SettingsDocument& document,
                                        QString& problem, const SettingsLimits& limits)
{
    if (size > size_t(kMaxSettingsFileSize)) {
        problem = QStringLiteral("The file is larger than %1 MiB.").arg(kMaxSettingsFileSize / (1024 * 1024));
        return SettingsReadStatus::NotReadable;
    }
    problem = checkSettingsMarkup(bytes, size);
    if (!problem.isEmpty())
        return SettingsReadStatus::NotReadable;
    XMLDocument xml;
    if (xml.Parse(bytes ? bytes : "", size) != tinyxml2::XML_SUCCESS) {
        const char* text = xml.ErrorStr();
        problem = QStringLiteral("%1 (line %2).")
                      .arg(QString::fromUtf8(text ? text : "The file is not XML"))
                      .arg(xml.ErrorLineNum());
        return SettingsReadStatus::NotReadable;
    }
    const XMLElement* root = xml.FirstChildElement("ZolvarSettings");
    if (!root) {
        problem = QStringLiteral("The file has no \"ZolvarSettings\" element.");
        return SettingsReadStatus::NoRoot;
    }
    document = SettingsDocument();
    const Attributes version(root);
    KeyTaker keys(version);
    SettingsKeys::rootKeys(keys, document.majorVersion, document.minorVersion);
    loadBodiesSettings(root, document.scene, limits);
    loadGlobalSettings(root, document.scene);
    loadJointsSettings(root, document.scene, limits);
    document.presetsLeftOut = loadPresetsSettings(root, document.presets, limits);
    return SettingsReadStatus::Ok;
}
