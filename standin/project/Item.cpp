#include "project/Item.h"

#include "project/Composition.h"
#include "project/Project.h"
#include "project/Uid.h"

namespace standin {

Item::Item(ItemType type) : type_(type), uid_(newUid()) {}

Item::~Item() = default;

void Item::touch()
{
    if (project_)
        project_->markModified();
}

void Item::setName(const QString& name)
{
    name_ = name;
    touch();
}

void Item::setFolder(Folder* folder)
{
    folder_ = folder;
    touch();
}

Composition* Item::asComposition()
{
    return type_ == ItemType::Composition ? static_cast<Composition*>(this) : nullptr;
}

const Composition* Item::asComposition() const
{
    return type_ == ItemType::Composition ? static_cast<const Composition*>(this) : nullptr;
}

Footage* Item::asFootage()
{
    return type_ == ItemType::Footage ? static_cast<Footage*>(this) : nullptr;
}

const Footage* Item::asFootage() const
{
    return type_ == ItemType::Footage ? static_cast<const Footage*>(this) : nullptr;
}

AEGP_FootageSignature footageSignature(FootageKind kind)
{
    switch (kind) {
    case FootageKind::Solid: return AEGP_FootageSignature_SOLID; // 'Soli'
    case FootageKind::File: return 0x46494C45;                  // 'FILE'
    case FootageKind::Missing: return 0x4D495353;               // 'MISS'
    }
    return 0;
}

void AVItem::setSize(int width, int height)
{
    width_ = width;
    height_ = height;
    touch();
}

void AVItem::setPixelAspect(const A_Ratio& par)
{
    par_ = par;
    touch();
}

void AVItem::setDuration(const A_Time& duration)
{
    duration_ = duration;
    touch();
}

void Footage::setColor(const AEGP_ColorVal& color)
{
    color_ = color;
    touch();
}

void Footage::setFilePath(const QString& path)
{
    filePath_ = path;
    touch();
}

} // namespace standin
