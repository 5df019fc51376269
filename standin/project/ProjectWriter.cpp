// Writing the whole model as a project file.
#include "project/Project.h"

#include "project/JsonWriter.h"
#include "project/LayerJson.h"
#include "project/ValueJson.h"
#include "files/SettingsFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace standin {

namespace {

// Hands everything written to it on to the file writer, piece by piece.
class PieceDevice : public QIODevice
{
public:
    explicit PieceDevice(const FilePiece& put) : put_(put) { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override { return put_(data, size) ? size : -1; }

private:
    const FilePiece& put_;
};

QJsonValue pixelAspect(const A_Ratio& r)
{
    return QJsonArray{double(r.num), double(r.den)};
}

void writeFolderRef(const Item& item, QJsonObject* o)
{
    if (item.folder())
        o->insert(QStringLiteral("folder"), double(item.folder()->id()));
}

QJsonObject writeFootage(const Footage& f)
{
    static const char* const kinds[] = {"solid", "file", "missing"};
    QJsonObject o{{QStringLiteral("id"), double(f.id())},
                  {QStringLiteral("name"), f.name()},
                  {QStringLiteral("kind"), QLatin1String(kinds[int(f.kind())])},
                  {QStringLiteral("width"), f.width()},
                  {QStringLiteral("height"), f.height()},
                  {QStringLiteral("pixelAspect"), pixelAspect(f.pixelAspect())},
                  {QStringLiteral("duration"), writeTime(f.duration())}};
    if (f.kind() == FootageKind::Solid)
        o.insert(QStringLiteral("color"), writeColor(f.color()));
    if (!f.filePath().isEmpty())
        o.insert(QStringLiteral("file"), f.filePath());
    writeFolderRef(f, &o);
    return o;
}

// The composition's members but its layers, which are streamed.
QJsonObject compositionMembers(const Composition& c)
{
    QJsonObject o{{QStringLiteral("id"), double(c.id())},
                  {QStringLiteral("name"), c.name()},
                  {QStringLiteral("width"), c.width()},
                  {QStringLiteral("height"), c.height()},
                  {QStringLiteral("pixelAspect"), pixelAspect(c.pixelAspect())},
                  {QStringLiteral("frameDuration"), writeTime(c.frameDuration())},
                  {QStringLiteral("frameRate"), c.frameRate()},
                  {QStringLiteral("duration"), writeTime(c.duration())},
                  {QStringLiteral("workArea"), QJsonObject{{QStringLiteral("start"), writeTime(c.workAreaStart())},
                                                           {QStringLiteral("duration"), writeTime(c.workAreaDuration())}}}};
    o.insert(QStringLiteral("background"), writeColor(c.backgroundColor()));
    const std::vector<Layer*> selection = c.selection();
    if (!selection.empty()) {
        QJsonArray ids;
        for (const Layer* l : selection)
            ids.append(double(l->id()));
        o.insert(QStringLiteral("selection"), ids);
    }
    writeFolderRef(c, &o);
    return o;
}

// One layer at a time: only one layer's tree exists at once.
void streamComposition(const Composition& c, JsonStream& out, int indent)
{
    const auto& layers = c.layers();
    out.objectWith(compositionMembers(c), QStringLiteral("layers"), [&](int depth) {
        out.array(qsizetype(layers.size()), [&](qsizetype i, int d) { streamLayer(*layers[size_t(i)], out, d); },
                  depth);
    }, indent);
}

void streamProject(const Project& project, JsonStream& out)
{
    QJsonObject top{{QStringLiteral("format"), QLatin1String(kProjectFormatName)},
                    {QStringLiteral("version"), 1}};
    if (project.hasExplicitName())
        top.insert(QStringLiteral("name"), project.name());
    if (project.hasExplicitPath())
        top.insert(QStringLiteral("path"), project.path());
    if (const Item* active = project.activeItem())
        top.insert(QStringLiteral("activeItem"), double(active->id()));

    QJsonArray folders, footage;
    std::vector<const Composition*> compositions;
    for (const auto& entry : project.items()) {
        const Item* item = entry.get();
        if (const Composition* c = item->asComposition()) {
            compositions.push_back(c);
        } else if (const Footage* f = item->asFootage()) {
            footage.append(writeFootage(*f));
        } else {
            QJsonObject o{{QStringLiteral("id"), double(item->id())}, {QStringLiteral("name"), item->name()}};
            writeFolderRef(*item, &o);
            folders.append(o);
        }
    }
    if (!folders.isEmpty())
        top.insert(QStringLiteral("folders"), folders);
    if (!footage.isEmpty())
        top.insert(QStringLiteral("footage"), footage);
    out.objectWith(top, QStringLiteral("compositions"), [&](int depth) {
        out.array(qsizetype(compositions.size()),
                  [&](qsizetype i, int d) { streamComposition(*compositions[size_t(i)], out, d); }, depth);
    }, 0);
    out.raw("\n");
}

} // namespace

bool Project::writeJson(QIODevice* device) const
{
    JsonStream out(device);
    streamProject(*this, out);
    return out.flush();
}

QByteArray Project::toJson() const
{
    QByteArray bytes;
    {
        JsonStream out(&bytes);
        streamProject(*this, out);
    }
    return bytes;
}

bool saveAtomically(const Project& project, const QString& path, bool keepBackup, QString* error, bool* changed)
{
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    // Only a regular file has a backup: a pipe read for it would be drained.
    // An older backup is set aside until the file is written, so that a
    // write that fails leaves the folder as it was.
    const QString backup = path + QStringLiteral(".bak");
    QString olderBackup;
    bool backedUp = false;
    if (keepBackup && QFileInfo(path).isFile()) {
        QString why;
        if (!setFileAside(backup, olderBackup, why))
            return fail(QStringLiteral("cannot replace the backup %1: %2").arg(backup, why));
        // The name of the backup may be where the file's links lead: set
        // aside, it took the file with it.
        if (!olderBackup.isEmpty() && !QFileInfo::exists(path)) {
            QFile::rename(olderBackup, backup);
            return fail(QStringLiteral("cannot keep a backup of %1 as %2: %1 is a link to %2, and a file cannot be "
                                       "its own backup").arg(path, backup));
        }
        if (!copyFileAtomically(path, backup, why)) {
            if (!olderBackup.isEmpty())
                QFile::rename(olderBackup, backup);
            return fail(QStringLiteral("cannot keep a backup of %1 as %2: %3").arg(path, backup, why));
        }
        backedUp = true;
    }
    // The plug-in's settings files are written by the same rule: only a
    // regular file is replaced; a device or a pipe is written into, never
    // waited for without end.
    QString reason;
    bool touched = false;
    const bool written = writeFileAtomically(
        path,
        [&project](const FilePiece& put) {
            // Handed on as it is printed: into a new file, a device or a
            // pipe the whole text never exists at once. A file written
            // where it is gets every byte made first, to claim their room.
            PieceDevice device(put);
            return project.writeJson(&device);
        },
        reason, &touched);
    if (changed)
        *changed = touched;
    // A file changed all the same keeps its new backup, the one copy of it
    // as it was; otherwise what the failed write made goes.
    if (!written && backedUp && !touched) {
        QFile::remove(backup);
        if (!olderBackup.isEmpty())
            QFile::rename(olderBackup, backup);
    } else if (!olderBackup.isEmpty()) {
        QFile::remove(olderBackup);
    }
    if (!written)
        return fail(QStringLiteral("cannot write %1: %2").arg(path, reason));
    return true;
}

} // namespace standin
