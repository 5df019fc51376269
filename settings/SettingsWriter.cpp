#include "settings/SettingsWriter.h"

#include "settings/SettingsKeys.h"
#include "settings/SettingsNumbers.h"

#include <tinyxml2.h>

#include <string_view>
#include <unordered_map>
#include <utility>

using tinyxml2::XMLPrinter;

namespace {

// The text of each body key that a fresh record (MyBody::init) has and the
// reader keeps when the key is absent.
using KeyTexts = std::unordered_map<std::string_view, QByteArray>;

// Prints each key of a description (settings/SettingsKeys.h) as the
// element's next attribute, or collects the texts. The printer writes each
// element as it comes, with the layout and the escaping a document of the
// same elements would print. With `fresh`, a key whose text is a fresh
// record's is left out: the reader gives it that value all the same.
class KeyPrinter
{
public:
    explicit KeyPrinter(XMLPrinter* out, const KeyTexts* fresh = nullptr, KeyTexts* collect = nullptr)
        : out(out)
        , fresh(fresh)
        , collect(collect)
    {
    }
    template <typename F>
    bool integer(const char* name, const F& value, SettingsKeys::IntFit)
    {
        return put(name, QByteArray::number(static_cast<int>(value)));
    }
    template <typename F>
    bool real(const char* name, const F& value, SettingsKeys::Range)
    {
        return put(name, SettingsNumbers::formatReal(double(value)));
    }
    bool flag(const char* name, bool value, SettingsKeys::FlagRule)
    {
        return put(name, value ? QByteArray("1") : QByteArray("0"));
    }
    bool text(const char* name, const QString& value)
    {
        if (out)
            out->PushAttribute(name, value.toUtf8().constData());
        return true;
    }
    bool pair(const char* x, const char* y, const b2Vec2& value, SettingsKeys::Range)
    {
        // Read only together: both go, or neither.
        const QByteArray a = SettingsNumbers::formatReal(double(value.x));
        const QByteArray b = SettingsNumbers::formatReal(double(value.y));
        if (isFresh(x, a) && isFresh(y, b))
            return true;
        print(x, a);
        print(y, b);
        return true;
    }
    bool olderPair(const char*, const char*, const b2Vec2&, SettingsKeys::Range) { return false; }
    bool color(const char* r, const char* g, const char* b, const AEGP_ColorVal& value)
    {
        // Through 32-bit floats, as the record's readers keep it.
        print(r, SettingsNumbers::formatReal(double(float(value.red))));
        print(g, SettingsNumbers::formatReal(double(float(value.green))));
        print(b, SettingsNumbers::formatReal(double(float(value.blue))));
        return true;
    }
    bool zoom(const char* name, int32_t value) { return real(name, value, {}); }
    bool background(const char* r, const char* g, const char* b, const QColor& value)
    {
        real(r, value.red() / 255.0, {});
        real(g, value.green() / 255.0, {});
        return real(b, value.blue() / 255.0, {});
    }

private:
    bool isFresh(const char* name, const QByteArray& text) const
    {
        if (!fresh)
            return false;
        const auto it = fresh->find(name);
        return it != fresh->end() && it->second == text;
    }
    bool put(const char* name, const QByteArray& text)
    {
        if (!isFresh(name, text))
            print(name, text);
        return true;
    }
    void print(const char* name, const QByteArray& text)
    {
        if (collect)
            collect->emplace(name, text);
        if (out)
            out->PushAttribute(name, text.constData());
    }

    XMLPrinter* out;
    const KeyTexts* fresh;
    KeyTexts* collect;
};

const KeyTexts& freshBodyTexts()
{
    static const KeyTexts texts = [] {
        KeyTexts all;
        MyBody fresh;
        fresh.init();
        KeyPrinter keys(nullptr, nullptr, &all);
        SettingsKeys::BodyFound unused;
        SettingsKeys::bodyKeys(keys, std::as_const(fresh), unused);
        // Without a default: the reader keeps the scene body's own.
        for (const char* name : {"layerID", "colorR", "colorG", "colorB", "positionX", "positionY", "angle"})
            all.erase(name);
        return all;
    }();
    return texts;
}

void writeBody(XMLPrinter& out, const MyBody& b)
{
    KeyPrinter keys(&out, &freshBodyTexts());
    SettingsKeys::BodyFound unused;
    SettingsKeys::bodyKeys(keys, b, unused);
}

void writeJoint(XMLPrinter& out, const MyJoint& j, const std::vector<MyBody>& sceneBodies)
{
    // The identifiers are those of the scene's bodies at the joint's rows.
    const int count = static_cast<int>(sceneBodies.size());
    const MyBody* a = j.bodyA >= 0 && j.bodyA < count ? &sceneBodies[size_t(j.bodyA)] : nullptr;
    const MyBody* b = j.bodyB >= 0 && j.bodyB < count ? &sceneBodies[size_t(j.bodyB)] : nullptr;
    MyJoint named = j;
    named.bodyALayerID = a ? a->layerID : -1;
    named.bodyBLayerID = b ? b->layerID : -1;
    named.bodyALayerIndex = a ? a->index : -1;
    named.bodyBLayerIndex = b ? b->index : -1;
    named.bodyALayerName = a ? a->name : QString();
    named.bodyBLayerName = b ? b->name : QString();
    KeyPrinter keys(&out);
    SettingsKeys::jointIdentityKeys(keys, std::as_const(named), j.bodyA, j.bodyB);
    SettingsKeys::jointTypeKeys(keys, std::as_const(named));
}

} // namespace

void saveSceneSettings(XMLPrinter& out, const QuickPreset& block, const std::vector<MyBody>& sceneBodies)
{
    KeyPrinter keys(&out);
    out.OpenElement("preview");
    SettingsKeys::previewKeys(keys, block);
    out.CloseElement();

    out.OpenElement("solver");
    SettingsKeys::solverKeys(keys, block);
    out.CloseElement();

    out.OpenElement("gravity");
    SettingsKeys::gravityKeys(keys, block);
    out.CloseElement();

    out.OpenElement("bodies");
    for (const MyBody& body : block.bodies) {
        out.OpenElement("body");
        writeBody(out, body);
        out.CloseElement();
    }
    out.CloseElement();

    out.OpenElement("joints");
    for (const MyJoint& joint : block.joints) {
        out.OpenElement("joint");
        writeJoint(out, joint, sceneBodies);
        out.CloseElement();
    }
    out.CloseElement();
}

QByteArray writeSettingsDocument(const QuickPreset& scene, const std::vector<QuickPreset>& snapshots,
                                 const QuickPreset* oneMore)
{
    XMLPrinter out;
    out.PushDeclaration("xml version=\"1.0\"");
    out.OpenElement("ZolvarSettings");
    KeyPrinter keys(&out);
    const int major = 1;
    const int minor = 2;
    SettingsKeys::rootKeys(keys, major, minor);

    saveSceneSettings(out, scene, scene.bodies);
    out.OpenElement("presets");
    auto preset = [&](const QuickPreset& snapshot) {
        out.OpenElement("preset");
        saveSceneSettings(out, snapshot, scene.bodies);
        out.CloseElement();
    };
    for (const QuickPreset& snapshot : snapshots)
        preset(snapshot);
    if (oneMore)
        preset(*oneMore);
    out.CloseElement();
    out.CloseElement();
    QByteArray bytes(out.CStr(), out.CStrSize() > 0 ? out.CStrSize() - 1 : 0);
    // A parser reads a carriage return in an attribute as a line feed, so a
    // name holding one would come back changed; as a character reference it
    // comes back as it was. Only names can hold one: the printer's own line
    // breaks are line feeds.
    bytes.replace('\r', "&#13;");
    return bytes;
}
