// The in-memory project: name, path, items (folders, footage, compositions),
// the active item, and loading from / saving to the JSON project file
// (docs/project-format.md).
//
// Ownership and identity: the project owns its items (never removed), a
// composition owns its layers, a layer owns its property tree. Handles into
// layers and property nodes keep weak pointers and check isDeleted()/isLive().
//
// Modified flag: every mutation through the model's setters marks the project
// modified, so a host can skip rewriting a project that nothing changed.
#pragma once

#include "project/Composition.h"
#include "project/Item.h"
#include "project/Layer.h"
#include "project/PropertyNode.h"
#include "project/Time.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

class QIODevice;

namespace standin {

// The top-level "format" member of a project file.
constexpr char kProjectFormatName[] = "zolvar-standin-project";

// Why a project file could not be loaded. line is 1-based, 0 when unknown.
struct LoadError {
    QString file;
    int line = 0;
    int column = 0; // 1-based, 0 when unknown (only JSON syntax errors have one)
    QString reason;
    // "file:line: reason" ("file:line:column: reason" with a column,
    // "file: reason" without a line).
    QString toString() const;
};

class Project
{
public:
    Project();
    ~Project();
    Project(const Project&) = delete;
    Project& operator=(const Project&) = delete;

    // Reads and validates a project file. On failure returns nullptr and fills
    // *error (when given). Never throws, never crashes on bad input.
    static std::unique_ptr<Project> load(const QString& path, LoadError* error);
    // The same from bytes; fileNameForMessages names the file in messages and
    // is the default for path() (made absolute) and name() (its file name).
    static std::unique_ptr<Project> fromJson(const QByteArray& json, const QString& fileNameForMessages,
                                             LoadError* error);
    // The whole model, canonical and deterministic: for any project p,
    // toJson(fromJson(toJson(p))) == toJson(p).
    QByteArray toJson() const;
    // The same text printed to `device` as it is made (a save never holds
    // the whole text); false when a write failed.
    bool writeJson(QIODevice* device) const;
    // Replaces the whole model with the one in `json` (a dump of toJson), as
    // the host's undo does: afterwards toJson() gives those bytes back. Every
    // item, layer and property of before is gone (handles to them are
    // stale); a name or path the dump does not hold stays as it is. False,
    // with *error (when given) and the model untouched, when the dump cannot
    // be read.
    bool restoreFromJson(const QByteArray& json, QString* error = nullptr);

    bool isModified() const { return modified_; }
    void markModified() { modified_ = true; }
    void clearModified() { modified_ = false; }

    // ---- name and path ----------------------------------------------------------
    // The name (8-bit text, e.g. "shot.final.aep") and the full path.
    const QString& name() const { return name_; }
    const QString& path() const { return path_; }
    void setName(const QString& name);
    void setPath(const QString& path);
    // Whether the file gave them (saved only then).
    bool hasExplicitName() const { return explicitName_; }
    bool hasExplicitPath() const { return explicitPath_; }
    void setExplicitName(bool v) { explicitName_ = v; }
    void setExplicitPath(bool v) { explicitPath_ = v; }

    // ---- items -----------------------------------------------------------------
    const std::vector<std::shared_ptr<Item>>& items() const { return items_; }
    Item* itemById(quint32 id) const;
    // The first item of that type with that name.
    Item* itemByName(const QString& name, ItemType type) const;
    std::vector<Composition*> compositions() const;
    Composition* compositionByName(const QString& name) const;
    // Largest item ID + 1.
    quint32 nextItemId() const;
    // Adds an item at the project root; an item ID of 0 is replaced by
    // nextItemId(). Returns the item.
    Item* addItem(std::shared_ptr<Item> item);
    // Whether an item belongs to this project (handle validation).
    bool containsItem(const Item* item) const;

    // The active item: a composition, footage, folder, or nullptr. Choosing
    // it is the host's view state: it alone does not mark the project
    // modified (a saved file still records it).
    Item* activeItem() const { return active_; }
    Composition* activeComposition() const;
    void setActiveItem(Item* item);
    // Makes the composition of that name active; false when there is none.
    bool setActiveComp(const QString& name);

    // ---- host edits that create items ----------------------------------------
    // A solid footage item (signature 'Soli', PAR 1, duration 0).
    Footage* addSolid(const QString& name, int width, int height, const AEGP_ColorVal& color);
    // The source of a new null layer: a 100 x 100 white solid named
    // "Null n", n the first number no footage item's name uses.
    Footage* addNullSolid();
    // A new null layer at index 0 of comp: flags video | null, label 0,
    // in-point 0, duration = `duration`, or the composition's duration when
    // that is <= 0 (or invalid); own name `name`; source a new 100 x 100 white
    // solid "Null n"; anchor (50,50,0), position (W/2, H/2, 0), scale 100 %.
    Layer* createNullLayer(Composition* comp, const QString& name, const A_Time& duration);
    // A deep copy of comp as a new item at the root, named "<name> 2" (or the
    // next free number): same settings, same layers in the same order with
    // the same IDs, parents remapped, selection empty. The active item does
    // not change.
    Composition* duplicateComposition(Composition* comp);

private:
    std::vector<std::shared_ptr<Item>> items_;
    Item* active_ = nullptr;
    QString name_;
    QString path_;
    bool explicitName_ = false;
    bool explicitPath_ = false;
    bool modified_ = false;
};

// Writes the project to `path` through a temporary file in the same folder
// and a rename, so that the file is either the old or the new one. Links
// are followed; a device or a pipe at their end is written into, never
// replaced, and a pipe nobody reads is refused at once. With keepBackup, an
// existing regular file is first copied to PATH.bak; a failed write that
// left the file as it was puts back the older backup, or none. A file that
// no new file may replace is written where it is, whole or not at all
// (files/SettingsFiles.h). False with *error (when
// given) on failure, and *changed (when given) when the file was changed
// all the same: the disk failed while it was written over where it is.
bool saveAtomically(const Project& project, const QString& path, bool keepBackup, QString* error,
                    bool* changed = nullptr);

} // namespace standin
