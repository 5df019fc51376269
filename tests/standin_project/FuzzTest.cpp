// Hundreds of mutated projects, generated here with a fixed seed: each either
// loads (and then saves byte-stably and survives the host's edits) or is
// refused with a reason. Nothing may crash.
#include "ProjectTestUtil.h"

#include "project/Transform.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <random>

using namespace standin;

namespace {

struct Step {
    QString key;
    int index = -1;
};
using Path = std::vector<Step>;

class Mutator
{
public:
    explicit Mutator(quint32 seed) : rng_(seed) {}

    int below(int n) { return n <= 0 ? 0 : std::uniform_int_distribution<int>(0, n - 1)(rng_); }

    QByteArray mutateText(QByteArray text)
    {
        static const char* const tokens[] = {"{", "}", "[", "]", ",", ":", "\"", "-", "0", "1e308", "-1e308",
                                             "null", "true", "\\u0000", "2147483648", "\"x\"", "[]", "{}", "\xff"};
        const int pos = below(int(text.size()) + 1);
        switch (below(5)) {
        case 0: text.remove(pos, 1 + below(20)); break;
        case 1: text.insert(pos, tokens[below(int(std::size(tokens)))]); break;
        case 2: text.truncate(pos); break;
        case 3: text.insert(pos, text.mid(below(int(text.size())), 1 + below(40))); break;
        default: {
            // replace the next digit run by an extreme number
            int start = pos;
            while (start < text.size() && !(text[start] >= '0' && text[start] <= '9'))
                ++start;
            int end = start;
            while (end < text.size() && ((text[end] >= '0' && text[end] <= '9') || text[end] == '.'))
                ++end;
            static const char* const numbers[] = {"0", "-1", "17", "99999999999", "1e-320", "0.5", "-0", "30001"};
            text.replace(start, end - start, numbers[below(int(std::size(numbers)))]);
        }
        }
        return text;
    }

    QByteArray mutateStructure(const QByteArray& text)
    {
        QJsonValue root = QJsonDocument::fromJson(text).object();
        std::vector<Path> paths;
        collect(root, Path(), &paths);
        const int rounds = 1 + below(3);
        for (int r = 0; r < rounds && !paths.empty(); ++r) {
            const Path& p = paths[size_t(below(int(paths.size())))];
            root = edit(root, p, 0);
        }
        return QJsonDocument(root.toObject()).toJson(QJsonDocument::Compact);
    }

private:
    QJsonValue randomValue()
    {
        switch (below(16)) {
        case 0: return QJsonValue::Null;
        case 1: return true;
        case 2: return -1;
        case 3: return 0;
        case 4: return 0.5;
        case 5: return 17;
        case 6: return 1e308;
        case 7: return 2147483648.0;
        case 8: return QString();
        case 9: return QStringLiteral("solid");
        case 10: return QJsonArray();
        case 11: return QJsonObject();
        case 12: return QJsonArray{1, 2, 3};
        case 13: return QJsonArray{0, 0};
        case 14: return 1 + below(14); // plausible IDs and labels
        default: return QJsonObject{{QStringLiteral("keys"), QJsonArray{QJsonObject{{QStringLiteral("time"), 0}}}}};
        }
    }

    void collect(const QJsonValue& v, const Path& path, std::vector<Path>* out)
    {
        out->push_back(path);
        if (v.isObject()) {
            const QJsonObject o = v.toObject();
            for (auto it = o.begin(); it != o.end(); ++it) {
                Path p = path;
                p.push_back(Step{it.key(), -1});
                collect(it.value(), p, out);
            }
        } else if (v.isArray()) {
            const QJsonArray a = v.toArray();
            for (int i = 0; i < a.size(); ++i) {
                Path p = path;
                p.push_back(Step{QString(), i});
                collect(a[i], p, out);
            }
        }
    }

    // Replaces, removes or duplicates the value at path.
    QJsonValue edit(const QJsonValue& v, const Path& path, size_t depth)
    {
        if (depth == path.size())
            return randomValue();
        const Step& s = path[depth];
        const bool last = depth + 1 == path.size();
        if (s.index < 0 && v.isObject()) {
            QJsonObject o = v.toObject();
            if (last && below(4) == 0)
                o.remove(s.key);
            else
                o.insert(s.key, edit(o.value(s.key), path, depth + 1));
            return o;
        }
        if (s.index >= 0 && v.isArray()) {
            QJsonArray a = v.toArray();
            if (s.index >= a.size())
                return a;
            if (last && below(4) == 0)
                a.removeAt(s.index);
            else if (last && below(3) == 0)
                a.insert(s.index, a[s.index]); // duplicates (IDs too)
            else
                a[s.index] = edit(a[s.index], path, depth + 1);
            return a;
        }
        return v;
    }

    std::mt19937 rng_;
};

QByteArray readExample(const char* name)
{
    QFile f(test::examplePath(QLatin1String(name)));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// What a host run might do to a loaded project.
void exercise(Project& p)
{
    const std::vector<Composition*> comps = p.compositions();
    for (Composition* c : comps) {
        for (const auto& l : c->layers()) {
            const A_Matrix4 m = layerToWorld(*l, A_Time{1, 1});
            (void)m;
            (void)c->isVideoReallyOn(l.get());
            for (int i = 0; i <= l->maskCount(); ++i)
                if (const PropertyNode* atom = l->maskAtom(i))
                    (void)atom->child(0)->valueAt(kZeroTime, false);
        }
        Composition* copy = p.duplicateComposition(c);
        if (copy->layerCount() > 0) {
            copy->duplicateLayer(copy->layer(0));
            copy->reorderLayer(copy->layer(0), -1);
            copy->deleteLayer(copy->layer(copy->layerCount() / 2));
        }
        copy->createShapeLayer();
        p.createNullLayer(copy, QStringLiteral("Gravity Controller"), kZeroTime);
    }
}

void check(const QByteArray& input, int* loaded, int* refused)
{
    LoadError error;
    auto p = Project::fromJson(input, QStringLiteral("fuzz.json"), &error);
    if (!p) {
        ++*refused;
        ASSERT_FALSE(error.reason.isEmpty()) << input.constData();
        ASSERT_EQ(error.file, QStringLiteral("fuzz.json"));
        return;
    }
    ++*loaded;
    const QByteArray saved = p->toJson();
    LoadError again;
    auto back = Project::fromJson(saved, QStringLiteral("fuzz.json"), &again);
    ASSERT_TRUE(back) << qPrintable(again.toString()) << "\ninput: " << input.constData();
    ASSERT_EQ(back->toJson(), saved);
    exercise(*p);
    const QByteArray edited = p->toJson();
    auto editedBack = Project::fromJson(edited, QStringLiteral("fuzz.json"), &again);
    ASSERT_TRUE(editedBack) << qPrintable(again.toString());
    ASSERT_EQ(editedBack->toJson(), edited);
}

} // namespace

TEST(Fuzz, MutatedProjectsLoadOrAreRefused)
{
    const QByteArray bases[] = {readExample("quick.json"), readExample("falling-shapes.json")};
    for (const QByteArray& b : bases)
        ASSERT_FALSE(b.isEmpty());
    Mutator mutator(20240607);
    int loaded = 0, refused = 0;
    for (int i = 0; i < 800; ++i) {
        const QByteArray& base = bases[i % 2];
        const QByteArray input = i < 400 ? mutator.mutateText(base) : mutator.mutateStructure(base);
        SCOPED_TRACE(i);
        check(input, &loaded, &refused);
        if (HasFatalFailure())
            return;
    }
    // Both outcomes must occur, or the mutations test nothing.
    EXPECT_GT(loaded, 50);
    EXPECT_GT(refused, 50);
}
