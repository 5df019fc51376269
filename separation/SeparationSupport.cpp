#include "separation/SeparationSupport.h"

#include "host/HostMemory.h"
#include "host/LayerQueries.h"

#include <QApplication>
#include <QMessageBox>
#include <QStringList>

A_Err CallTrail::note(A_Err err, const char* call)
{
    if (err && !err_) {
        err_ = err;
        call_ = call;
    }
    return err;
}

void activeLayerOf(const AEGP_SuiteHandler& suites, int layerIndex, AEGP_LayerH& layer, CallTrail& trail)
{
    AEGP_ItemH item = nullptr;
    AEGP_CompH comp = nullptr;
    if (trail.ok())
        trail.note(suites.ItemSuite8()->AEGP_GetActiveItem(&item), "AEGP_GetActiveItem");
    if (trail.ok())
        trail.note(suites.CompSuite7()->AEGP_GetCompFromItem(item, &comp), "AEGP_GetCompFromItem");
    if (trail.ok())
        trail.note(suites.LayerSuite7()->AEGP_GetCompLayerByIndex(comp, layerIndex, &layer),
                   "AEGP_GetCompLayerByIndex");
}

void layerGroupOf(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_LayerH layer, const char* matchName,
                  ScopedStream& group, CallTrail& trail)
{
    ScopedStream root(suites);
    if (trail.ok())
        trail.note(suites.DynamicStreamSuite4()->AEGP_GetNewStreamRefForLayer(pluginId, layer, root.out()),
                   "AEGP_GetNewStreamRefForLayer");
    if (trail.ok())
        trail.note(childByMatchName(suites, pluginId, root.get(), matchName, group),
                   "AEGP_GetNewStreamRefByMatchname");
}

AEGP_MaskRefH* ScopedMask::out()
{
    reset();
    return &mask_;
}

void ScopedMask::reset()
{
    if (mask_)
        suites_.MaskSuite5()->AEGP_DisposeMask(mask_);
    mask_ = nullptr;
}

std::string wholeUtf8Characters(const char* text, size_t size)
{
    size_t length = 0;
    while (length < size && text[length] != '\0')
        ++length;
    // Walk back over a last character whose bytes are not all there.
    size_t start = length;
    while (start > 0 && (static_cast<unsigned char>(text[start - 1]) & 0xC0) == 0x80)
        --start;
    if (start > 0) {
        const auto lead = static_cast<unsigned char>(text[start - 1]);
        const size_t need = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        if (lead >= 0x80 && length - (start - 1) < need)
            length = start - 1;
    }
    return std::string(text, length);
}

A_Err readStreamName(const AEGP_SuiteHandler& suites, AEGP_StreamRefH stream, std::string& name)
{
    A_char buffer[AEGP_MAX_STREAM_NAME_SIZE] = {};
    const A_Err err = suites.StreamSuite3()->AEGP_GetStreamName(stream, false, buffer);
    name = err ? std::string() : wholeUtf8Characters(buffer, sizeof buffer);
    return err;
}

int deleteLayers(const AEGP_SuiteHandler& suites, const std::vector<AEGP_LayerH>& layers)
{
    int left = 0;
    for (auto it = layers.rbegin(); it != layers.rend(); ++it)
        if (suites.LayerSuite7()->AEGP_DeleteLayer(*it))
            ++left;
    return left;
}

QString layerDisplayName(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, int layerIndex)
{
    AEGP_ItemH item = nullptr;
    AEGP_LayerH layer = nullptr;
    AEGP_MemHandle own = nullptr, source = nullptr;
    if (GetActiveLayer(suites, layerIndex, item, layer)
        || suites.LayerSuite7()->AEGP_GetLayerName(pluginId, layer, &own, &source))
        return QString();
    QString ownName, sourceName;
    TakeUtf16String(suites, own, ownName);
    TakeUtf16String(suites, source, sourceName);
    return ownName.isEmpty() ? sourceName : ownName;
}

QString separationFailureDetail(int layerIndex, const QString& layerName, const std::string& failedCall,
                                A_Err err, int layersLeft, int groupsMoved)
{
    QString detail = QStringLiteral("Layer %1 (%2): the host call %3 failed (error %4), ")
                         .arg(QString::number(layerIndex + 1), layerName, QString::fromStdString(failedCall),
                              QString::number(err));
    if (groupsMoved > 0)
        detail += QStringLiteral("so it was separated only in part: %1 of its groups went to new layers and the "
                                 "rest stayed on it.")
                      .arg(groupsMoved);
    else
        detail += QStringLiteral("so the layer was left as it was.");
    if (layersLeft > 0)
        detail += QStringLiteral(" %1 new layer(s) made for it could not be removed; undoing \"Zolvar - Shapes "
                                 "Separation\" removes them.")
                      .arg(layersLeft);
    return detail;
}

namespace {

void showBox(const QString& text, const QString& detail)
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    QMessageBox box(QMessageBox::Information, QStringLiteral("Zolvar"), text, QMessageBox::Ok);
    if (!detail.isEmpty())
        box.setInformativeText(detail);
    box.exec();
}

SeparationMessageHandler g_handler = nullptr;
SeparationMessageBatch* g_batch = nullptr;

void deliver(const QString& text, const QString& detail)
{
    if (g_handler)
        g_handler(text, detail);
    else
        showBox(text, detail);
}

} // namespace

SeparationMessageBatch::SeparationMessageBatch() : outer_(g_batch) { g_batch = this; }

SeparationMessageBatch::~SeparationMessageBatch()
{
    flush();
    g_batch = outer_;
}

void SeparationMessageBatch::flush()
{
    if (messages_.empty())
        return;
    std::vector<std::pair<QString, QString>> messages;
    messages.swap(messages_);
    if (messages.size() == 1) {
        if (outer_)
            outer_->messages_.push_back(messages.front());
        else
            deliver(messages.front().first, messages.front().second);
        return;
    }
    QStringList texts, details;
    int moreDetails = 0;
    for (const auto& [text, detail] : messages) {
        if (!texts.contains(text))
            texts.append(text);
        if (detail.isEmpty())
            continue;
        if (details.size() < kMaxDetails)
            details.append(detail);
        else
            ++moreDetails;
    }
    QString detail = details.join(QStringLiteral("\n\n"));
    if (moreDetails > 0)
        detail += QStringLiteral("\n\n... and %1 more.").arg(moreDetails);
    if (outer_)
        outer_->messages_.emplace_back(texts.join(QLatin1Char('\n')), detail);
    else
        deliver(texts.join(QLatin1Char('\n')), detail);
}

SeparationMessageHandler setSeparationMessageHandler(SeparationMessageHandler handler)
{
    SeparationMessageHandler previous = g_handler;
    g_handler = handler;
    return previous;
}

void showSeparationMessage(const QString& text, const QString& detail)
{
    if (g_batch)
        g_batch->messages_.emplace_back(text, detail);
    else
        deliver(text, detail);
}
