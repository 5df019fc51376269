// Fuzz entry point: the stand-in's project loader. Whatever the bytes, the
// loader either refuses them with a located reason or loads a project that
// saves, loads again and saves to the very same bytes.
#include "project/Project.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char* what, const QByteArray& detail)
{
    std::fprintf(stderr, "project loader: %s\n%s\n", what, detail.constData());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    standin::LoadError error;
    auto project = standin::Project::fromJson(input, QStringLiteral("fuzz.json"), &error);
    if (!project) {
        if (error.reason.isEmpty() || error.file != QStringLiteral("fuzz.json"))
            fail("refused without a reason", input);
        return 0;
    }
    const QByteArray saved = project->toJson();
    standin::LoadError again;
    auto back = standin::Project::fromJson(saved, QStringLiteral("saved.json"), &again);
    if (!back)
        fail("a saved project does not load again", again.toString().toUtf8() + "\n" + saved);
    if (back->toJson() != saved)
        fail("a saved project does not save to the same bytes", saved);
    return 0;
}
