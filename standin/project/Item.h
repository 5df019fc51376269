// Project items: folders, footage (solids included) and compositions.
//
// Items are owned by the project through std::shared_ptr and are never
// removed, so an Item* stays valid as long as the project does. Each has a
// project-unique id() (from the project file, or given on creation) and a
// process-unique uid().
#pragma once

#include "host_api.h"

#include <QString>

#include <memory>

namespace standin {

class Composition;
class Footage;
class Folder;
class Project;

enum class ItemType : A_long {
    Folder = AEGP_ItemType_FOLDER,      // 1
    Composition = AEGP_ItemType_COMP,   // 2
    Footage = AEGP_ItemType_FOOTAGE     // 4
};

class Item : public std::enable_shared_from_this<Item>
{
public:
    virtual ~Item();
    Item(const Item&) = delete;
    Item& operator=(const Item&) = delete;

    ItemType type() const { return type_; }
    quint64 uid() const { return uid_; }
    quint32 id() const { return id_; }
    void setId(quint32 id) { id_ = id; }

    const QString& name() const { return name_; }
    void setName(const QString& name);

    // The folder holding the item; nullptr at the project root.
    Folder* folder() const { return folder_; }
    void setFolder(Folder* folder);

    Project* project() const { return project_; }
    void setProject(Project* project) { project_ = project; }

    // Pixel size, pixel aspect ratio and duration; a folder has none (0, 1/1, 0).
    virtual int width() const { return 0; }
    virtual int height() const { return 0; }
    virtual A_Ratio pixelAspect() const { return A_Ratio{1, 1}; }
    virtual A_Time duration() const { return A_Time{0, 1}; }

    Composition* asComposition();
    const Composition* asComposition() const;
    Footage* asFootage();
    const Footage* asFootage() const;

protected:
    explicit Item(ItemType type);
    void touch();

private:
    ItemType type_;
    quint64 uid_;
    quint32 id_ = 0;
    QString name_;
    Folder* folder_ = nullptr;
    Project* project_ = nullptr;
};

class Folder : public Item
{
public:
    Folder() : Item(ItemType::Folder) {}
};

// An item with pictures: footage or a composition. Holds what both report.
class AVItem : public Item
{
public:
    int width() const override { return width_; }
    int height() const override { return height_; }
    A_Ratio pixelAspect() const override { return par_; }
    A_Time duration() const override { return duration_; }
    void setSize(int width, int height);
    void setPixelAspect(const A_Ratio& par);
    void setDuration(const A_Time& duration);

protected:
    AVItem(ItemType type, int width, int height, const A_Time& duration)
        : Item(type), width_(width), height_(height), duration_(duration)
    {
    }

private:
    int width_;
    int height_;
    A_Ratio par_{1, 1};
    A_Time duration_;
};

enum class FootageKind { Solid, File, Missing };

// Signatures: 'Soli' for solids, 'FILE' for file footage, 'MISS' for missing.
AEGP_FootageSignature footageSignature(FootageKind kind);

// Solids, file footage and missing footage. Audio-only footage is 0 x 0.
class Footage : public AVItem
{
public:
    explicit Footage(FootageKind kind) : AVItem(ItemType::Footage, 0, 0, A_Time{0, 1}), kind_(kind) {}

    FootageKind kind() const { return kind_; }
    AEGP_FootageSignature signature() const { return footageSignature(kind_); }

    // Solids: the colour as stored (channels may lie outside 0..1).
    const AEGP_ColorVal& color() const { return color_; }
    void setColor(const AEGP_ColorVal& color);

    // File footage: the file it stands for (informational).
    const QString& filePath() const { return filePath_; }
    void setFilePath(const QString& path);

private:
    FootageKind kind_;
    AEGP_ColorVal color_{1.0, 1.0, 1.0, 1.0};
    QString filePath_;
};

} // namespace standin
