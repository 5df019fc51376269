#include "dialogs/PreferencesStore.h"

#include "host/StartupQueries.h"
#include "simulation/SimulationCore.h"

#include <QtGlobal>

#include <cmath>

QColor integerColorOf(const b2Color& color)
{
    auto component = [](float c) { return static_cast<int>(c * 255.0f); };
    return QColor(component(color.r), component(color.g), component(color.b), 255);
}

Preferences Preferences::defaults()
{
    Preferences p;
    p.levelsOfUndo = LEVELS_OF_UNDO_DFLT;
    p.uiTheme = UI_THEME_DFLT;
    p.selectionHighlight = SELECTION_HIGHLIGHT_COLOR_DFLT;
    p.selectionStrokeWidth = SELECTION_STROKE_WIDTH_DFLT;
    p.staticHighlight = STATIC_HIGHLIGHT_COLOR_DFLT;
    p.distanceJointColor = integerColorOf(DISTANCE_JOINT_COLOR_DFLT);
    p.revoluteJointColor = integerColorOf(REVOLUTE_JOINT_COLOR_DFLT);
    p.prismaticJointColor = integerColorOf(PRISMATIC_JOINT_COLOR_DFLT);
    p.springJointColor = integerColorOf(SPRING_JOINT_COLOR_DFLT);
    p.selectedJointColor = SELECTED_JOINT_COLOR_DFLT;
    p.jointStrokeWidth = JOINT_STROKE_WIDTH_DFLT;
    p.kinematicBehavior = KINEMATIC_BEHAVIOR_DFLT;
    p.dormantBehavior = DORMANT_BEHAVIOR_DFLT;
    p.ignoreBodyColorWhenPasting = IGNORE_BODY_COLOR_WHEN_PASTING_DFLT;
    p.bodyIdentification = BODY_IDENTIFICATION_DFLT;
    return p;
}

int usableBodyIdentification(A_long stored)
{
    return stored >= 0 && stored <= 2 ? int(stored) : BODY_IDENTIFICATION_DFLT;
}

const std::array<PreferenceField, kPreferenceCount>& preferenceFields()
{
    using P = Preferences;
    using Id = PreferenceId;
    using K = PreferenceKind;
    static const std::array<PreferenceField, kPreferenceCount> fields = {{
        {Id::LevelsOfUndo, K::Long, "Levels of Undo", &P::levelsOfUndo, nullptr, nullptr},
        {Id::UiTheme, K::Long, "UI Theme", &P::uiTheme, nullptr, nullptr},
        {Id::SelectionHighlight, K::Color, "Body Selection Highlight", nullptr, nullptr, &P::selectionHighlight},
        {Id::SelectionStrokeWidth, K::Float, "Selection Stroke Width", nullptr, &P::selectionStrokeWidth, nullptr},
        {Id::StaticHighlight, K::Color, "Static Body Highlight", nullptr, nullptr, &P::staticHighlight},
        {Id::DistanceJointColor, K::Color, "Distance Joint Color", nullptr, nullptr, &P::distanceJointColor},
        {Id::RevoluteJointColor, K::Color, "Pivot Joint Color", nullptr, nullptr, &P::revoluteJointColor},
        {Id::PrismaticJointColor, K::Color, "Piston Joint Color", nullptr, nullptr, &P::prismaticJointColor},
        {Id::SpringJointColor, K::Color, "Spring Joint Color", nullptr, nullptr, &P::springJointColor},
        {Id::SelectedJointColor, K::Color, "Selected Joint", nullptr, nullptr, &P::selectedJointColor},
        {Id::JointStrokeWidth, K::Float, "Joint Stroke Width", nullptr, &P::jointStrokeWidth, nullptr},
        {Id::KinematicBehavior, K::Long, "Kinematic Behavior", &P::kinematicBehavior, nullptr, nullptr},
        {Id::DormantBehavior, K::Long, "Dormant Behavior", &P::dormantBehavior, nullptr, nullptr},
        {Id::IgnoreBodyColorWhenPasting, K::Long, "Ignore Body Color When Pasting", &P::ignoreBodyColorWhenPasting,
         nullptr, nullptr},
        {Id::BodyIdentificationForAutoLoad, K::Long, kAutoLoadBodyIdKey, &P::bodyIdentification, nullptr, nullptr},
    }};
    return fields;
}

const PreferenceField& preferenceField(PreferenceId id)
{
    return preferenceFields()[static_cast<size_t>(id)];
}

std::vector<std::string> preferenceKeys(PreferenceId id)
{
    const PreferenceField& field = preferenceField(id);
    if (field.kind != PreferenceKind::Color)
        return {field.name};
    const std::string prefix = field.name;
    return {prefix + " Red", prefix + " Green", prefix + " Blue"};
}

std::vector<std::string> allPreferenceKeys()
{
    std::vector<std::string> keys;
    for (const PreferenceField& field : preferenceFields())
        for (std::string& key : preferenceKeys(field.id))
            keys.push_back(std::move(key));
    return keys;
}

bool preferenceDiffers(PreferenceId id, const Preferences& a, const Preferences& b)
{
    const PreferenceField& field = preferenceField(id);
    switch (field.kind) {
    case PreferenceKind::Long:
        return a.*field.integer != b.*field.integer;
    case PreferenceKind::Float:
        return !(a.*field.floating == b.*field.floating);
    case PreferenceKind::Color:
        return a.*field.color != b.*field.color;
    }
    return false;
}

void copyPreference(PreferenceId id, Preferences& to, const Preferences& from)
{
    const PreferenceField& field = preferenceField(id);
    switch (field.kind) {
    case PreferenceKind::Long:
        to.*field.integer = from.*field.integer;
        break;
    case PreferenceKind::Float:
        to.*field.floating = from.*field.floating;
        break;
    case PreferenceKind::Color:
        to.*field.color = from.*field.color;
        break;
    }
}

PreferenceAccess::PreferenceAccess(SPBasicSuite* basic)
    : suites(basic)
    , data(suites.PersistentDataSuite3())
{
    err = data->AEGP_GetApplicationBlob(&blob);
}

void PreferenceAccess::readLong(const char* key, A_long& value)
{
    if (!err)
        err = data->AEGP_GetLong(blob, kPrefsSection, key, value, &value);
}

void PreferenceAccess::writeLong(const char* key, A_long value)
{
    if (!err)
        err = data->AEGP_SetLong(blob, kPrefsSection, key, value);
}

void PreferenceAccess::readString(const char* key, QByteArray& value)
{
    if (!err)
        err = ReadStoredString(data, blob, key, value);
}

void PreferenceAccess::writeString(const char* key, const QByteArray& value)
{
    if (!err)
        err = data->AEGP_SetString(blob, kPrefsSection, key, value.constData());
}

void PreferenceAccess::note(const QString& name, PreferenceWriteResult* result) const
{
    if (!result)
        return;
    (err ? result->notStored : result->stored).append(name);
    if (!result->err)
        result->err = err;
}

void PreferenceAccess::read(PreferenceId id, Preferences& prefs)
{
    const PreferenceField& field = preferenceField(id);
    const std::vector<std::string> keys = preferenceKeys(id);
    switch (field.kind) {
    case PreferenceKind::Long: {
        A_long value = prefs.*field.integer;
        readLong(keys[0].c_str(), value);
        prefs.*field.integer = static_cast<int>(value);
        break;
    }
    case PreferenceKind::Float: {
        if (err)
            break;
        A_FpLong value = prefs.*field.floating;
        err = data->AEGP_GetFpLong(blob, kPrefsSection, keys[0].c_str(), value, &value);
        const float width = static_cast<float>(value);
        // glLineWidth takes nothing else.
        const bool usable = std::isfinite(width) && width > 0.0f;
        const Preferences dflt = Preferences::defaults();
        prefs.*field.floating = usable ? width : dflt.*field.floating;
        break;
    }
    case PreferenceKind::Color: {
        QColor& color = prefs.*field.color;
        A_long rgb[3] = {color.red(), color.green(), color.blue()};
        for (int c = 0; c < 3; ++c)
            readLong(keys[static_cast<size_t>(c)].c_str(), rgb[c]);
        color = QColor(qBound<A_long>(0, rgb[0], 255), qBound<A_long>(0, rgb[1], 255),
                       qBound<A_long>(0, rgb[2], 255), 255);
        break;
    }
    }
}

void PreferenceAccess::write(PreferenceId id, const Preferences& prefs)
{
    const PreferenceField& field = preferenceField(id);
    const std::vector<std::string> keys = preferenceKeys(id);
    switch (field.kind) {
    case PreferenceKind::Long:
        writeLong(keys[0].c_str(), prefs.*field.integer);
        break;
    case PreferenceKind::Float:
        if (!err)
            err = data->AEGP_SetFpLong(blob, kPrefsSection, keys[0].c_str(),
                                       static_cast<A_FpLong>(prefs.*field.floating));
        break;
    case PreferenceKind::Color: {
        const QColor& color = prefs.*field.color;
        writeLong(keys[0].c_str(), color.red());
        writeLong(keys[1].c_str(), color.green());
        writeLong(keys[2].c_str(), color.blue());
        break;
    }
    }
}

A_Err readPreferences(SPBasicSuite* basic, Preferences& prefs)
{
    PreferenceAccess access(basic);
    for (const PreferenceField& field : preferenceFields())
        access.read(field.id, prefs);
    return access.error();
}

A_Err writeChangedPreferences(SPBasicSuite* basic, Preferences& opened, const Preferences& edited,
                              PreferenceWriteResult* result)
{
    PreferenceAccess access(basic);
    for (const PreferenceField& field : preferenceFields()) {
        if (preferenceDiffers(field.id, opened, edited)) {
            access.write(field.id, edited);
            access.note(QString::fromLatin1(field.name), result);
        }
        copyPreference(field.id, opened, edited);
    }
    if (result && !result->err)
        result->err = access.error();
    return access.error();
}

A_Err readPreferenceString(SPBasicSuite* basic, const char* key, QByteArray& value)
{
    PreferenceAccess access(basic);
    access.readString(key, value);
    return access.error();
}

A_Err storePreferenceString(SPBasicSuite* basic, const char* key, const QByteArray& value)
{
    PreferenceAccess access(basic);
    access.writeString(key, value);
    return access.error();
}

QString preferenceWriteFailureText(const PreferenceWriteResult& result, const QString& context)
{
    if (!result.err)
        return QString();
    auto list = [](const QStringList& names) {
        return names.isEmpty() ? QStringLiteral("none") : QLatin1Char('"') + names.join(QStringLiteral("\", \""))
                + QLatin1Char('"');
    };
    QStringList lines;
    lines << QStringLiteral("The host could not store Zolvar's preferences (error %1).").arg(result.err) << QString()
          << QStringLiteral("Stored: %1.").arg(list(result.stored))
          << QStringLiteral("Not stored: %1.").arg(list(result.notStored));
    if (!context.isEmpty())
        lines << QString() << context;
    return lines.join(QLatin1Char('\n'));
}
