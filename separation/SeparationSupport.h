// What mask and shape-group separation share: the trail of host calls that
// names the first one that failed, mask references that give themselves back,
// names read into the host's 32-byte buffer, the undoing of a half-separated
// layer, and the messages about it, gathered into one per run.
#pragma once

#include "host/AEGP_SuiteHandler.h"
#include "outlines/HostStreams.h"

#include <QString>

#include <string>
#include <utility>
#include <vector>

// Keeps the first failing host call of a run. A call is made only while
// ok(), and its result is noted with the call's name:
//     if (trail.ok()) trail.note(layers->AEGP_DuplicateLayer(source, &copy), "AEGP_DuplicateLayer");
class CallTrail
{
public:
    bool ok() const { return err_ == A_Err_NONE; }
    A_Err error() const { return err_; }
    const std::string& failedCall() const { return call_; }
    // Returns err; keeps it and `call` when it is the first failure.
    A_Err note(A_Err err, const char* call);

private:
    A_Err err_ = A_Err_NONE;
    std::string call_;
};

// The active composition's layer at `layerIndex`, each of the three host
// calls that find it noted on the trail.
void activeLayerOf(const AEGP_SuiteHandler& suites, int layerIndex, AEGP_LayerH& layer, CallTrail& trail);

// The top-level group of that match name of a layer ("ADBE Mask Parade",
// "ADBE Root Vectors Group"), noted on the trail; no stream when the layer
// has none.
void layerGroupOf(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_LayerH layer, const char* matchName,
                  ScopedStream& group, CallTrail& trail);

class ScopedMask
{
public:
    explicit ScopedMask(const AEGP_SuiteHandler& suites) : suites_(suites) {}
    ~ScopedMask() { reset(); }
    ScopedMask(const ScopedMask&) = delete;
    ScopedMask& operator=(const ScopedMask&) = delete;

    AEGP_MaskRefH get() const { return mask_; }
    // For the host to write a new reference into; the one held is given back first.
    AEGP_MaskRefH* out();
    void reset();

private:
    const AEGP_SuiteHandler& suites_;
    AEGP_MaskRefH mask_ = nullptr;
};

// The name of a stream (a mask, a group, a path) as UTF-8, read into a buffer
// of AEGP_MAX_STREAM_NAME_SIZE bytes and never past it. A name the host cut
// inside a character loses that character's bytes.
A_Err readStreamName(const AEGP_SuiteHandler& suites, AEGP_StreamRefH stream, std::string& name);

// The longest prefix of the first `size` bytes (up to a zero) that ends on a
// whole UTF-8 character.
std::string wholeUtf8Characters(const char* text, size_t size);

// Deletes the layers a failed separation made, newest first. Returns how many
// could not be deleted.
int deleteLayers(const AEGP_SuiteHandler& suites, const std::vector<AEGP_LayerH>& layers);

// The explanation shown under the failure message: which layer (1-based
// number and name) and which host call failed, that the layer was left as it
// was (or, with groupsMoved, how many of its groups went to new layers before
// the failure), and how many new layers the clean-up could not remove.
QString separationFailureDetail(int layerIndex, const QString& layerName, const std::string& failedCall,
                                A_Err err, int layersLeft, int groupsMoved = 0);

// The name shown for the active composition's layer `layerIndex`: its own
// name, or its source's when it has none; empty when it cannot be read.
QString layerDisplayName(const AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, int layerIndex);

// Where separation messages go: an information box titled "Zolvar" with one
// OK button and no parent, the detail as its informative text (none when
// empty). Tests install their own.
using SeparationMessageHandler = void (*)(const QString& text, const QString& detail);
// Installs a handler (nullptr: the default) and returns the one it replaces.
SeparationMessageHandler setSeparationMessageHandler(SeparationMessageHandler handler);
void showSeparationMessage(const QString& text, const QString& detail = QString());

// Gathers the messages of one run of separation into one: while an object of
// this class lives, showSeparationMessage keeps what it is given, and the
// object shows it as one message when it goes. One message is shown as it
// is; several are shown with their texts (each once) and their details one
// after the other, the first kMaxDetails of them and how many more there
// were. Nested batches hand their message to the one around them.
class SeparationMessageBatch
{
public:
    static constexpr int kMaxDetails = 20;

    SeparationMessageBatch();
    ~SeparationMessageBatch();
    SeparationMessageBatch(const SeparationMessageBatch&) = delete;
    SeparationMessageBatch& operator=(const SeparationMessageBatch&) = delete;

    // How many messages it holds.
    int size() const { return int(messages_.size()); }
    // Shows what it holds (if anything) and starts again.
    void flush();

private:
    friend void showSeparationMessage(const QString& text, const QString& detail);
    std::vector<std::pair<QString, QString>> messages_;
    SeparationMessageBatch* outer_ = nullptr;
};
