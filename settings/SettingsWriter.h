// Writing a settings file: the scene's block, then every scene snapshot's,
// as one XML document in memory. Numbers are written in the C locale.
#pragma once

#include "model/MyBody.h"
#include "model/QuickPreset.h"

#include <QByteArray>

#include <vector>

namespace tinyxml2 {
class XMLPrinter;
}

// Prints one scene block (preview, solver, gravity, bodies, joints) for
// `block` inside the element open in `out`. The joints' body identifiers
// come from `sceneBodies` (the scene's current list, also for a snapshot's
// joints). The elements are printed as they are made, without a document
// in memory: the bytes are those a document of the same elements prints.
void saveSceneSettings(tinyxml2::XMLPrinter& out, const QuickPreset& block, const std::vector<MyBody>& sceneBodies);

// The whole document: `scene` (its bodies are the scene's) and the
// snapshots, as UTF-8 bytes. A body's key whose value is that of a fresh
// record, and that the reader gives it when the key is absent, is left out:
// the file reads back the same and a scene with many snapshots stays small. Every character of a name reads back as it
// was: carriage returns are written as character references.
// With `oneMore`, it follows the snapshots as one more.
QByteArray writeSettingsDocument(const QuickPreset& scene, const std::vector<QuickPreset>& snapshots,
                                 const QuickPreset* oneMore = nullptr);
