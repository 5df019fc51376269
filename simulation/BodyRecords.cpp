// The body records, one per eligible layer of the active composition.
#include "simulation/SimulationCore.h"

#include "host/AEGP_SuiteHandler.h"
#include "host/HostMemory.h"
#include "host/LayerQueries.h"
#include "model/LabelColor.h"
#include "model/UserData.h"
#include "outlines/BodyFromLayer.h"
#include "outlines/OutlineMessages.h"
#include "simulation/Box2DGuard.h"
#include "simulation/LayerEligibility.h"

#include <cmath>

namespace {

// The layer's own name, or its source's name when it has none.
A_Err readLayerName(const AEGP_SuiteHandler& suites, int pluginId, AEGP_LayerH layer, QString& name)
{
    AEGP_MemHandle layerName = nullptr;
    AEGP_MemHandle sourceName = nullptr;
    A_Err err = suites.LayerSuite7()->AEGP_GetLayerName(pluginId, layer, &layerName, &sourceName);
    QString own;
    QString source;
    const A_Err err1 = TakeUtf16String(suites, layerName, own);
    const A_Err err2 = TakeUtf16String(suites, sourceName, source);
    if (!err)
        err = err1 ? err1 : err2;
    name = own.isEmpty() ? source : own;
    return err;
}

// The active composition and its number of layers.
A_Err activeCompLayers(const AEGP_SuiteHandler& suites, AEGP_CompH& comp, A_long& layerCount)
{
    AEGP_ItemH item = nullptr;
    A_Err err = GetActiveItemComp(suites, item, comp);
    if (!err)
        err = suites.LayerSuite7()->AEGP_GetCompNumLayers(comp, &layerCount);
    return err;
}

b2Color labelColourOf(int label, const std::vector<AEGP_ColorVal>& labelColors)
{
    if (const AEGP_ColorVal* c = LabelColorOf(label, labelColors))
        return b2Color(float(c->red), float(c->green), float(c->blue));
    return b2Color(0.5f, 0.5f, 0.5f);
}

} // namespace

std::vector<SimulationCore::ListedLayer> SimulationCore::listBodyLayers()
{
    std::vector<ListedLayer> listed;
    AEGP_SuiteHandler suites(basicSuite);
    AEGP_CompH activeComp = nullptr;
    A_long layerCount = 0;
    A_Err err = activeCompLayers(suites, activeComp, layerCount);
    for (A_long i = 0; !err && i < layerCount; ++i) {
        AEGP_LayerH layer = nullptr;
        LayerKind kind;
        QString name;
        err = suites.LayerSuite7()->AEGP_GetCompLayerByIndex(activeComp, i, &layer);
        if (!err)
            err = readLayerName(suites, pluginId, layer, name);
        if (!err)
            err = ReadLayerKind(suites, layer, kind);
        if (!err && kind.eligible) {
            QColor tableColor(255, 255, 255);
            if (kind.objectType == AEGP_ObjectType_AV) {
                const AEGP_ColorVal white{1.0, 1.0, 1.0, 1.0};
                const AEGP_ColorVal c = layerSolidColor(suites, layer, white);
                tableColor = QColor(int(255.0 * c.red), int(255.0 * c.green), int(255.0 * c.blue));
            }
            listed.push_back({int(i), name, kind.label, tableColor});
            layerLabels.push_back(static_cast<char>(kind.label));
        }
    }
    bodyCount = static_cast<int>(listed.size());
    return listed;
}

void SimulationCore::initMyBodies()
{
    bodies.clear();
    bodyLayerIndices.clear();
    defaultBodyColors.clear();
    buildRecords(bodies, true);

    const QString report = crossingOutlinesText(bodies);
    if (!report.isEmpty() && showWarnings)
        reportTriangulationFailures(report);
    const QString unrepresentable = unrepresentableText(bodies);
    if (!unrepresentable.isEmpty() && showWarnings)
        reportSetupProblems(unrepresentable);
}

std::vector<MyBody> SimulationCore::buildDefaultBodies(A_Err* error)
{
    std::vector<MyBody> fresh;
    const A_Err err = buildRecords(fresh, false);
    if (error)
        *error = err;
    return fresh;
}

void SimulationCore::recomputeShape(int bodyIndex)
{
    ::recomputeShape(parentWindow, bodies, bodyIndex, bodyLayerIndices, pluginId, basicSuite, layerLabels,
                     labelColors);
}

namespace {

bool representable(b2Vec2 v)
{
    return Box2DGuard::isFinite(v) && std::fabs(v.x) <= Box2DGuard::kMaxMagnitude
           && std::fabs(v.y) <= Box2DGuard::kMaxMagnitude;
}

bool representable(float v)
{
    return std::isfinite(v) && std::fabs(v) <= Box2DGuard::kMaxMagnitude;
}

// Values beyond single precision arrive as infinities; the guard would
// replace them, and what it simulates from is not the user's layer.
void checkRepresentable(MyBody& record)
{
    for (const std::vector<ShapeDef>& outline : record.outlines)
        for (const ShapeDef& shape : outline) {
            bool ok = !shape.isCircle || representable(shape.radius);
            for (const b2Vec2& p : shape.points)
                ok = ok && Box2DGuard::isFinite(p);
            if (!ok)
                record.outlineUnrepresentable = true;
        }
    record.placementMended = record.placementMended || !representable(record.position) || !representable(record.angle)
                             || !representable(record.initialPosition) || !representable(record.initialRotation)
                             || !representable(record.aematicAnchor);
}

} // namespace

A_Err SimulationCore::buildRecords(std::vector<MyBody>& records, bool initial)
{
    // The layers without geometry are named in one message, once the build is over.
    LayerGeometryReport geometryErrors(parentWindow);
    for (int b = 0; b < bodyCount; ++b) {
        MyBody record;
        record.init();
        records.push_back(record);
    }

    AEGP_SuiteHandler suites(basicSuite);
    AEGP_CompH activeComp = nullptr;
    A_long layerCount = 0;
    A_Err err = activeCompLayers(suites, activeComp, layerCount);
    bool groupOpen = false;
    if (!err && initial) {
        err = suites.UtilitySuite5()->AEGP_StartUndoGroup("Zolvar Initialization");
        groupOpen = !err;
    }

    int b = 0;
    for (A_long i = 0; !err && i < layerCount; ++i) {
        AEGP_LayerH layer = nullptr;
        LayerKind kind;
        QString name;
        err = suites.LayerSuite7()->AEGP_GetCompLayerByIndex(activeComp, i, &layer);
        if (!err)
            err = readLayerName(suites, pluginId, layer, name);
        if (!err && initial)
            layerListed(int(i), QString::number(i + 1) + QStringLiteral(". ") + name);
        if (!err)
            err = ReadLayerKind(suites, layer, kind);
        if (err || !kind.eligible)
            continue;
        if (size_t(b) >= records.size())
            break;  // more eligible layers than the bodies table listed

        AEGP_ColorVal colour{1.0, 1.0, 1.0, 1.0};
        A_Err bodyErr = A_Err_NONE;
        getBodyFromLayer(parentWindow, records, b, int(i), int(kind.objectType), colour, pluginId, basicSuite,
                         layerLabels, labelColors, name, records[b].meshPrecision + 2, records[b].useConvexHull,
                         &bodyErr);
        // A rebuild of the whole scene stops at a body the host could not
        // give: its caller keeps the scene as it was. The first build keeps
        // what it could read, as it always has.
        if (bodyErr && !initial) {
            err = bodyErr;
            break;
        }
        if (!initial)
            records[b].staticHighlight = false;
        checkRepresentable(records[b]);

        const int label = size_t(b) < layerLabels.size() ? int(layerLabels[b]) : 0;
        auto data = std::make_unique<UserData>();
        data->color = b2Color(float(colour.red), float(colour.green), float(colour.blue));
        data->labelColor = labelColourOf(label, labelColors);
        data->selected = false;
        data->staticHighlight = records[b].staticHighlight;
        data->notAlive = records[b].startFrame > 0;
        data->pickable = true;
        data->isMagnet = false;
        data->isRepulsion = false;
        data->magnetDistance = 100.0f;
        data->bodyIndex = b;
        records[b].userData = data.get();
        ownedUserData.push_back(std::move(data));

        if (initial) {
            const QColor bodyColour(static_cast<int>(255 * colour.red), static_cast<int>(255 * colour.green),
                                    static_cast<int>(255 * colour.blue), 255);
            defaultBodyColors.push_back(bodyColour);
            bodyLayerIndices.push_back(int(i));
            bodyBuilt(b, bodyColour);
        }
        ++b;
    }

    if (groupOpen) {
        const A_Err endErr = suites.UtilitySuite5()->AEGP_EndUndoGroup();
        if (!err)
            err = endErr;
    }
    return err;
}
