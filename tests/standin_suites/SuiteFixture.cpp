#include "SuiteFixture.h"

using namespace standin;

void SuiteFixture::SetUp()
{
    ASSERT_TRUE(prefsDir_.isValid());
    project_ = std::make_unique<Project>();
    auto comp = std::make_shared<Composition>();
    comp->setName(QStringLiteral("Main"));
    comp->setSize(640, 360);
    comp->setFrameDuration(A_Time{1, 25});
    comp->setDuration(A_Time{250, 25});
    comp->setWorkAreaUnchecked(A_Time{0, 25}, A_Time{250, 25});
    comp_ = static_cast<Composition*>(project_->addItem(comp));
    project_->setActiveItem(comp_);
    session_ = std::make_unique<HostSession>(*project_, kPluginId, prefsPath());
    // The tests read the calls in order.
    session_->log().setKeep(CallLog::Keep::Everything);
    suites_ = std::make_unique<AEGP_SuiteHandler>(session_->basicSuite());
}

void SuiteFixture::TearDown()
{
    suites_.reset();
    session_.reset();
    project_.reset();
}

Layer* SuiteFixture::addLayer(LayerKind kind, const QString& name)
{
    std::shared_ptr<Layer> layer = Layer::create(kind);
    layer->setId(comp_->nextLayerId());
    layer->setName(name);
    layer->setDuration(comp_->duration());
    if (kindHasSource(kind)) {
        const QString solidName = QStringLiteral("Solid %1").arg(layer->id());
        layer->setSource(project_->addSolid(solidName, 200, 100, AEGP_ColorVal{1, 0.5, 0.25, 0}));
    }
    Layer* raw = layer.get();
    comp_->insertLayer(std::move(layer));
    return raw;
}

AEGP_LayerH SuiteFixture::handle(Layer* layer) { return session_->context().layerHandle(layer); }
AEGP_CompH SuiteFixture::compHandle() { return session_->context().compHandle(comp_); }

AEGP_StreamRefH SuiteFixture::layerStream(Layer* layer, AEGP_LayerStream which)
{
    AEGP_StreamRefH stream = nullptr;
    EXPECT_EQ(suites_->StreamSuite4()->AEGP_GetNewLayerStream(kPluginId, handle(layer), which, &stream), A_Err_NONE);
    return stream;
}

AEGP_StreamRefH SuiteFixture::root(Layer* layer)
{
    AEGP_StreamRefH stream = nullptr;
    EXPECT_EQ(suites_->DynamicStreamSuite4()->AEGP_GetNewStreamRefForLayer(kPluginId, handle(layer), &stream),
              A_Err_NONE);
    return stream;
}

AEGP_StreamRefH SuiteFixture::child(AEGP_StreamRefH parent, const char* name)
{
    AEGP_StreamRefH stream = nullptr;
    EXPECT_EQ(suites_->DynamicStreamSuite4()->AEGP_GetNewStreamRefByMatchname(kPluginId, parent, name, &stream),
              A_Err_NONE);
    EXPECT_NE(stream, nullptr) << name;
    return stream;
}

AEGP_StreamValue2 SuiteFixture::value(AEGP_StreamRefH stream, const A_Time& t, bool preExpression)
{
    AEGP_StreamValue2 v{};
    EXPECT_EQ(suites_->StreamSuite4()->AEGP_GetNewStreamValue(kPluginId, stream, AEGP_LTimeMode_CompTime, &t,
                                                              preExpression, &v),
              A_Err_NONE);
    return v;
}

std::string SuiteFixture::matchName(AEGP_StreamRefH stream)
{
    char name[AEGP_MAX_STREAM_MATCH_NAME_SIZE] = {};
    EXPECT_EQ(suites_->DynamicStreamSuite4()->AEGP_GetMatchName(stream, name), A_Err_NONE);
    return name;
}

MaskOutline polygon(std::initializer_list<std::pair<double, double>> points, bool open)
{
    MaskOutline outline;
    outline.open = open;
    for (const auto& [x, y] : points) {
        MaskVertex v;
        v.x = x;
        v.y = y;
        outline.vertices.push_back(v);
    }
    return outline;
}
