// Reading and validating project files.
#include "project/Project.h"

#include "project/LayerJson.h"
#include "project/Time.h"
#include "project/ValueJson.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>

#include <cmath>
#include <map>
#include <exception>
#include <new>

namespace standin {

namespace {

constexpr qint64 kMaxId = 0x7FFFFFFF;
constexpr double kMaxFrameRate = 1000.0;
constexpr double kMinPixelAspect = 0.01;
constexpr double kMaxPixelAspect = 100.0;
constexpr qint64 kMaxPixels = 30000;
constexpr qint64 kMaxFileBytes = 512LL * 1024 * 1024;

struct ItemEntry {
    QJsonObject object;
    JsonPath path;
    QString kind; // "folders", "footage" or "compositions": the array it is in
    quint32 id = 0;
    std::shared_ptr<Item> item;
};

qint64 optionalInteger(const QJsonObject& o, const char* key, const JsonPath& path, qint64 min, qint64 max,
                       qint64 fallback)
{
    return o.contains(QLatin1String(key)) ? integerAt(o.value(QLatin1String(key)), path / key, min, max) : fallback;
}

class ProjectReader
{
public:
    explicit ProjectReader(Project* project) : project_(project) {}

    void read(const QJsonObject& top);

private:
    void readHeader(const QJsonObject& top);
    void collectEntries(const QJsonObject& top, const char* key);
    void assignItemIds();
    void createItem(ItemEntry& entry);
    void readCompositionSettings(Composition* comp, const QJsonObject& o, const JsonPath& path);
    void resolveFolders();
    void readLayers(Composition* comp, const QJsonObject& o, const JsonPath& path);
    // Refuses compositions that contain each other, however deep.
    void refuseNestingCycles();
    Item* resolveItem(const QJsonValue& v, const JsonPath& path) const;

    Project* project_;
    std::vector<ItemEntry> entries_;
};

void ProjectReader::read(const QJsonObject& top)
{
    const JsonPath root;
    checkMembers(top, root, {"format", "version", "name", "path", "activeItem", "folders", "footage", "compositions"});
    readHeader(top);
    for (const char* key : {"folders", "footage", "compositions"})
        collectEntries(top, key);
    assignItemIds();
    for (ItemEntry& e : entries_)
        createItem(e);
    resolveFolders();
    for (ItemEntry& e : entries_)
        if (Composition* comp = e.item->asComposition())
            readLayers(comp, e.object, e.path);
    refuseNestingCycles();

    if (top.contains(QLatin1String("activeItem")) && !top.value(QLatin1String("activeItem")).isNull()) {
        const QJsonValue v = top.value(QLatin1String("activeItem"));
        Item* item = nullptr;
        if (v.isString())
            item = project_->compositionByName(v.toString());
        if (!item)
            item = resolveItem(v, root / "activeItem");
        project_->setActiveItem(item);
    }
}

void ProjectReader::refuseNestingCycles()
{
    // Depth-first through the composition layers; a composition met again
    // while it is still being visited closes a cycle. Iterative, so that a
    // deep nesting cannot exhaust the stack.
    enum class Mark { New, Open, Done };
    std::map<const Composition*, Mark> marks;
    for (const ItemEntry& e : entries_) {
        const Composition* start = e.item->asComposition();
        if (!start || marks[start] != Mark::New)
            continue;
        std::vector<std::pair<const Composition*, int>> stack{{start, 0}};
        marks[start] = Mark::Open;
        while (!stack.empty()) {
            auto& [comp, next] = stack.back();
            if (next >= comp->layerCount()) {
                marks[comp] = Mark::Done;
                stack.pop_back();
                continue;
            }
            const Layer* layer = comp->layer(next++);
            const Composition* inner = layer && layer->source() ? layer->source()->asComposition() : nullptr;
            if (!inner)
                continue;
            if (marks[inner] == Mark::Open)
                failAt(e.path, QStringLiteral("compositions contain each other in a cycle (through \"%1\")")
                                   .arg(inner->name()));
            if (marks[inner] == Mark::New) {
                marks[inner] = Mark::Open;
                stack.emplace_back(inner, 0);
            }
        }
    }
}

void ProjectReader::readHeader(const QJsonObject& top)
{
    const JsonPath root;
    if (top.contains(QLatin1String("format"))
        && stringAt(top.value(QLatin1String("format")), root / "format") != QLatin1String(kProjectFormatName))
        failAt(root / "format", QStringLiteral("this is not a project file (the format must be \"%1\")")
                                    .arg(QLatin1String(kProjectFormatName)));
    if (top.contains(QLatin1String("version")))
        integerAt(top.value(QLatin1String("version")), root / "version", 1, 1);
    if (top.contains(QLatin1String("name"))) {
        project_->setName(stringAt(top.value(QLatin1String("name")), root / "name"));
        project_->setExplicitName(true);
    }
    if (top.contains(QLatin1String("path"))) {
        project_->setPath(stringAt(top.value(QLatin1String("path")), root / "path"));
        project_->setExplicitPath(true);
    }
}

void ProjectReader::collectEntries(const QJsonObject& top, const char* key)
{
    if (!top.contains(QLatin1String(key)))
        return;
    const JsonPath path = JsonPath() / key;
    const QJsonArray list = arrayAt(top.value(QLatin1String(key)), path);
    for (int i = 0; i < list.size(); ++i) {
        entries_.push_back(ItemEntry{objectAt(list[i], path / i), path / i, QLatin1String(key), 0, nullptr});
    }
}

void ProjectReader::assignItemIds()
{
    std::map<quint32, JsonPath> used;
    for (ItemEntry& e : entries_) {
        if (!e.object.contains(QLatin1String("id")))
            continue;
        e.id = quint32(integerAt(e.object.value(QLatin1String("id")), e.path / "id", 1, kMaxId));
        if (auto it = used.find(e.id); it != used.end())
            failAt(e.path / "id",
                   QStringLiteral("duplicate item ID %1 (also used by %2)").arg(e.id).arg(it->second.toString()));
        used.emplace(e.id, e.path);
    }
    quint32 next = used.empty() ? 1 : used.rbegin()->first + 1;
    for (ItemEntry& e : entries_)
        if (e.id == 0) {
            if (next > kMaxId)
                failAt(e.path, QStringLiteral("no item ID left to give"));
            e.id = next++;
        }
}

FootageKind readFootageKind(const QJsonObject& o, const JsonPath& path)
{
    const QString kind = stringAt(required(o, "kind", path), path / "kind");
    if (kind == QLatin1String("solid"))
        return FootageKind::Solid;
    if (kind == QLatin1String("file"))
        return FootageKind::File;
    if (kind == QLatin1String("missing"))
        return FootageKind::Missing;
    failAt(path / "kind", QStringLiteral("unknown footage kind \"%1\" (expected solid, file or missing)").arg(kind));
}

A_Ratio readPixelAspect(const QJsonValue& v, const JsonPath& path)
{
    const QJsonArray a = arrayAt(v, path);
    if (a.size() != 2)
        failAt(path, QStringLiteral("a pixel aspect ratio is [numerator, denominator]"));
    const A_Ratio r{A_long(integerAt(a[0], path / 0, 1, kMaxId)), A_u_long(integerAt(a[1], path / 1, 1, kMaxId))};
    const double ratio = double(r.num) / double(r.den);
    if (ratio < kMinPixelAspect || ratio > kMaxPixelAspect)
        failAt(path, QStringLiteral("a pixel aspect ratio must lie in [%1, %2], found %3/%4")
                         .arg(kMinPixelAspect).arg(kMaxPixelAspect).arg(r.num).arg(r.den));
    return r;
}

void ProjectReader::createItem(ItemEntry& e)
{
    const QJsonObject& o = e.object;
    const JsonPath& path = e.path;
    if (e.kind == QLatin1String("folders")) {
        checkMembers(o, path, {"id", "name", "folder"});
        e.item = std::make_shared<Folder>();
    } else if (e.kind == QLatin1String("footage")) {
        checkMembers(o, path, {"id", "name", "kind", "width", "height", "pixelAspect", "duration", "color", "file",
                               "folder"});
        auto footage = std::make_shared<Footage>(readFootageKind(o, path));
        footage->setSize(int(optionalInteger(o, "width", path, 0, kMaxPixels, 0)),
                         int(optionalInteger(o, "height", path, 0, kMaxPixels, 0)));
        if (o.contains(QLatin1String("pixelAspect")))
            footage->setPixelAspect(readPixelAspect(o.value(QLatin1String("pixelAspect")), path / "pixelAspect"));
        if (o.contains(QLatin1String("duration"))) {
            const A_Time d = readTime(o.value(QLatin1String("duration")), path / "duration", 1000);
            if (d.value < 0)
                failAt(path / "duration", QStringLiteral("a duration cannot be negative"));
            footage->setDuration(d);
        }
        if (o.contains(QLatin1String("color"))) {
            if (footage->kind() != FootageKind::Solid)
                failAt(path / "color", QStringLiteral("only solids have a colour"));
            footage->setColor(readColor(o.value(QLatin1String("color")), path / "color"));
        }
        if (o.contains(QLatin1String("file")))
            footage->setFilePath(stringAt(o.value(QLatin1String("file")), path / "file"));
        e.item = footage;
    } else {
        checkMembers(o, path, {"id", "name", "width", "height", "pixelAspect", "frameRate", "frameDuration", "duration",
                               "workArea", "background", "selection", "folder", "layers"});
        auto comp = std::make_shared<Composition>();
        readCompositionSettings(comp.get(), o, path);
        e.item = comp;
    }
    e.item->setId(e.id);
    e.item->setName(stringAt(required(o, "name", path), path / "name"));
    project_->addItem(e.item);
}

A_Time frameDurationFromRate(double fps)
{
    const double whole = std::round(fps);
    if (whole >= 1 && std::fabs(fps - whole) < 1e-9)
        return A_Time{1, A_u_long(whole)};
    // 29.97, 23.976, 59.94 ...: the 1000/1001 rates
    const double ntsc = std::round(fps * 1.001);
    if (ntsc >= 1 && std::fabs(fps * 1.001 - ntsc) < 1e-3)
        return A_Time{1001, A_u_long(ntsc * 1000)};
    // Microseconds; a rate whose frame lasts longer than kMaxId of them has
    // no frame duration that can be stored.
    const double micro = std::round(1e6 / fps);
    if (!(micro >= 1) || micro > double(kMaxId))
        return A_Time{0, 1};
    return A_Time{A_long(micro), 1000000};
}

void ProjectReader::readCompositionSettings(Composition* comp, const QJsonObject& o, const JsonPath& path)
{
    comp->setSize(int(integerAt(required(o, "width", path), path / "width", 1, kMaxPixels)),
                  int(integerAt(required(o, "height", path), path / "height", 1, kMaxPixels)));
    if (o.contains(QLatin1String("pixelAspect")))
        comp->setPixelAspect(readPixelAspect(o.value(QLatin1String("pixelAspect")), path / "pixelAspect"));

    const bool hasRate = o.contains(QLatin1String("frameRate"));
    const bool hasDuration = o.contains(QLatin1String("frameDuration"));
    if (!hasRate && !hasDuration)
        failAt(path, QStringLiteral("missing member \"frameRate\" (or \"frameDuration\")"));
    A_Time fd{0, 1};
    if (hasDuration) {
        const JsonPath fp = path / "frameDuration";
        const QJsonArray a = arrayAt(o.value(QLatin1String("frameDuration")), fp);
        if (a.size() != 2)
            failAt(fp, QStringLiteral("a frame duration is [value, scale]"));
        fd = A_Time{A_long(integerAt(a[0], fp / 0, 1, kMaxId)), A_u_long(integerAt(a[1], fp / 1, 1, 0xFFFFFFFFLL))};
        if (double(fd.scale) / double(fd.value) > kMaxFrameRate)
            failAt(fp, QStringLiteral("a frame duration of %1/%2 s is more than %3 frames per second")
                           .arg(fd.value).arg(fd.scale).arg(kMaxFrameRate));
    }
    if (hasRate) {
        const JsonPath rp = path / "frameRate";
        const double fps = numberAt(o.value(QLatin1String("frameRate")), rp);
        if (fps <= 0 || fps > kMaxFrameRate)
            failAt(rp, QStringLiteral("a frame rate must lie in (0, 1000], found %1").arg(fps));
        if (!hasDuration) {
            fd = frameDurationFromRate(fps);
            if (fd.value <= 0)
                failAt(rp, QStringLiteral("a frame rate of %1 has no frame duration that can be stored").arg(fps));
        }
        else if (std::fabs(double(fd.scale) / fd.value - fps) > 1e-4 * fps)
            failAt(rp, QStringLiteral("frame rate %1 does not match the frame duration %2/%3 (%4 frames per second)")
                           .arg(fps).arg(fd.value).arg(fd.scale).arg(double(fd.scale) / fd.value));
    }
    comp->setFrameDuration(fd);
    const A_u_long scale = fd.scale;

    const A_Time duration = readTime(required(o, "duration", path), path / "duration", scale);
    if (duration.value <= 0)
        failAt(path / "duration", QStringLiteral("a composition's duration must be greater than 0"));
    comp->setDuration(duration);

    A_Time start{0, scale};
    A_Time length = duration;
    if (o.contains(QLatin1String("workArea"))) {
        const JsonPath wp = path / "workArea";
        const QJsonObject w = objectAt(o.value(QLatin1String("workArea")), wp);
        checkMembers(w, wp, {"start", "duration"});
        if (w.contains(QLatin1String("start")))
            start = readTime(w.value(QLatin1String("start")), wp / "start", scale);
        if (w.contains(QLatin1String("duration")))
            length = readTime(w.value(QLatin1String("duration")), wp / "duration", scale);
        if (start.value < 0)
            failAt(wp / "start", QStringLiteral("the work area cannot start before 0"));
        if (length.value <= 0)
            failAt(wp / "duration", QStringLiteral("the work area's duration must be greater than 0"));
        // start + length <= duration, compared exactly on the rational times.
        using Wide = __int128;
        const Wide end = Wide(start.value) * length.scale + Wide(length.value) * start.scale;  // / (s.s l.s)
        if (end * duration.scale > Wide(duration.value) * start.scale * length.scale)
            failAt(wp, QStringLiteral("the work area ends after the composition"));
    }
    comp->setWorkAreaUnchecked(start, length);
    comp->setBackgroundColor(o.contains(QLatin1String("background"))
                                 ? readColor(o.value(QLatin1String("background")), path / "background")
                                 : AEGP_ColorVal{1.0, 0.0, 0.0, 0.0});
}

void ProjectReader::resolveFolders()
{
    for (ItemEntry& e : entries_) {
        if (!e.object.contains(QLatin1String("folder")) || e.object.value(QLatin1String("folder")).isNull())
            continue;
        const JsonPath fp = e.path / "folder";
        Item* target = resolveItem(e.object.value(QLatin1String("folder")), fp);
        if (target->type() != ItemType::Folder)
            failAt(fp, QStringLiteral("\"%1\" is not a folder").arg(target->name()));
        e.item->setFolder(static_cast<Folder*>(target));
    }
    for (const ItemEntry& e : entries_) {
        size_t steps = 0;
        for (const Folder* f = e.item->folder(); f; f = f->folder())
            if (f == e.item.get() || ++steps > entries_.size())
                failAt(e.path / "folder", QStringLiteral("folders contain each other in a cycle"));
    }
}

Item* ProjectReader::resolveItem(const QJsonValue& v, const JsonPath& path) const
{
    if (v.isString()) {
        Item* found = nullptr;
        int count = 0;
        for (const auto& item : project_->items())
            if (item->name() == v.toString()) {
                found = item.get();
                ++count;
            }
        if (count == 0)
            failAt(path, QStringLiteral("no item is named \"%1\"").arg(v.toString()));
        if (count > 1)
            failAt(path, QStringLiteral("%1 items are named \"%2\"; use the item's ID").arg(count).arg(v.toString()));
        return found;
    }
    if (!v.isDouble())
        failAt(path, QStringLiteral("expected an item ID or name, found %1").arg(jsonTypeName(v)));
    const quint32 id = quint32(integerAt(v, path, 1, kMaxId));
    Item* item = project_->itemById(id);
    if (!item)
        failAt(path, QStringLiteral("no item has ID %1").arg(id));
    return item;
}

void ProjectReader::readLayers(Composition* comp, const QJsonObject& o, const JsonPath& path)
{
    const JsonPath lp = path / "layers";
    const QJsonArray list = o.contains(QLatin1String("layers")) ? arrayAt(o.value(QLatin1String("layers")), lp)
                                                                : QJsonArray();
    LayerReadContext ctx;
    ctx.comp = comp;
    ctx.resolveItem = [this](const QJsonValue& v, const JsonPath& p) { return resolveItem(v, p); };
    ctx.makeNullSolid = [this] { return project_->addNullSolid(); };

    std::vector<quint32> parentIds;
    std::map<quint32, int> byId;
    for (int i = 0; i < list.size(); ++i) {
        quint32 parentId = 0;
        std::shared_ptr<Layer> layer = readLayer(list[i], lp / i, ctx, &parentId);
        if (layer->id() != 0) {
            if (auto it = byId.find(layer->id()); it != byId.end())
                failAt(lp / i / "id", QStringLiteral("duplicate layer ID %1 (also used by %2)")
                                          .arg(layer->id())
                                          .arg((lp / it->second).toString()));
            byId.emplace(layer->id(), i);
        }
        parentIds.push_back(parentId);
        comp->insertLayer(std::move(layer));
    }
    quint32 next = byId.empty() ? 1 : byId.rbegin()->first + 1;
    for (int i = 0; i < comp->layerCount(); ++i)
        if (comp->layer(i)->id() == 0) {
            if (next > kMaxId)
                failAt(lp / i, QStringLiteral("no layer ID left to give"));
            comp->layer(i)->setId(next++);
        }

    for (int i = 0; i < comp->layerCount(); ++i) {
        if (parentIds[size_t(i)] == 0)
            continue;
        Layer* parent = comp->layerById(parentIds[size_t(i)]);
        if (!parent)
            failAt(lp / i / "parent", QStringLiteral("no layer of this composition has ID %1").arg(parentIds[size_t(i)]));
        if (parent == comp->layer(i))
            failAt(lp / i / "parent", QStringLiteral("a layer cannot be its own parent"));
        comp->layer(i)->setParentUnchecked(parent);
    }
    for (int i = 0; i < comp->layerCount(); ++i) {
        int steps = 0;
        for (const Layer* p = comp->layer(i)->parent(); p; p = p->parent())
            if (p == comp->layer(i) || ++steps > comp->layerCount())
                failAt(lp / i / "parent", QStringLiteral("the parents of layer ID %1 form a cycle").arg(comp->layer(i)->id()));
    }

    if (o.contains(QLatin1String("selection"))) {
        const JsonPath sp = path / "selection";
        const QJsonArray ids = arrayAt(o.value(QLatin1String("selection")), sp);
        std::vector<Layer*> selected;
        for (int i = 0; i < ids.size(); ++i) {
            const quint32 id = quint32(integerAt(ids[i], sp / i, 1, kMaxId));
            Layer* layer = comp->layerById(id);
            if (!layer)
                failAt(sp / i, QStringLiteral("no layer of this composition has ID %1").arg(id));
            selected.push_back(layer);
        }
        comp->setSelection(selected);
    }
}

} // namespace

std::unique_ptr<Project> Project::fromJson(const QByteArray& json, const QString& fileNameForMessages, LoadError* error)
{
    LoadError dummy;
    LoadError& err = error ? *error : dummy;
    err = LoadError{fileNameForMessages, 0, 0, QString()};

    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        lineAndColumn(json, parseError.offset, &err.line, &err.column);
        err.reason = QStringLiteral("JSON syntax error: %1").arg(parseError.errorString());
        return nullptr;
    }
    if (!doc.isObject()) {
        err.line = 1;
        err.reason = QStringLiteral("a project file holds one JSON object");
        return nullptr;
    }

    auto project = std::make_unique<Project>();
    const QFileInfo info(fileNameForMessages);
    project->setPath(info.absoluteFilePath());
    project->setName(info.fileName());
    try {
        ProjectReader(project.get()).read(doc.object());
    } catch (const ReadFailure& failure) {
        err.line = lineOfJsonPath(json, failure.path);
        err.reason = failure.path.isEmpty() ? failure.reason : failure.path.toString() + QStringLiteral(": ") + failure.reason;
        return nullptr;
    } catch (const std::bad_alloc&) {
        err.reason = QStringLiteral("out of memory");
        return nullptr;
    } catch (const std::exception& e) {
        err.reason = QStringLiteral("cannot read the project: %1").arg(QString::fromLocal8Bit(e.what()));
        return nullptr;
    }
    project->clearModified();
    return project;
}

std::unique_ptr<Project> Project::load(const QString& path, LoadError* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = LoadError{path, 0, 0, QStringLiteral("cannot open the file: %1").arg(file.errorString())};
        return nullptr;
    }
    if (file.size() > kMaxFileBytes) {
        if (error)
            *error = LoadError{path, 0, 0, QStringLiteral("the file is too large (%1 bytes)").arg(file.size())};
        return nullptr;
    }
    const QByteArray data = file.readAll();
    return fromJson(data, path, error);
}

} // namespace standin
