// The Zolvar, File and Help menus: the automatic load/save choice, the
// settings-file dialogs, the user's guide and the program's dialogs.
#include "mainwindow/ZolvarDlg.h"

#include "dialogs/AboutDlg.h"
#include "dialogs/KeyboardShortcutsDlg.h"
#include "dialogs/ModalDlgFlags.h"
#include "dialogs/OwnedDialog.h"
#include "dialogs/PreferencesDlg.h"
#include "host/AEGP_SuiteHandler.h"
#include "host/HostFailure.h"
#include "host/StartupQueries.h"
#include "mainwindow/UserGuide.h"
#include "mainwindow/WindowPreferences.h"
#include "simulation/SimulationView.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QStandardPaths>
#include <QTreeView>

namespace {

constexpr char kSavedFileKey[] = "Most Recent Saved Settings File";
constexpr char kLoadedFileKey[] = "Most Recent Loaded Settings File";

QString storedPath(SPBasicSuite* suite, const char* key)
{
    AEGP_SuiteHandler suites(suite);
    const AEGP_PersistentDataSuite3* data = suites.PersistentDataSuite3();
    AEGP_PersistentBlobH blob = nullptr;
    A_Boolean exists = false;
    QByteArray value;
    if (data->AEGP_GetApplicationBlob(&blob) || data->AEGP_DoesKeyExist(blob, kPrefsSection, key, &exists) ||
        !exists || ReadStoredString(data, blob, key, value))
        return QString();
    return QString::fromUtf8(value);
}

// The non-native file dialog both commands use: caption, folder, the XML
// filter, the list's last column stretched, and the side bar.
void prepareDialog(QFileDialog& dialog)
{
    dialog.setNameFilter(QStringLiteral("XML files (*.xml)"));
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    if (auto* tree = dialog.findChild<QTreeView*>(QStringLiteral("treeView")))
        tree->header()->setStretchLastSection(true);
    auto place = [](QStandardPaths::StandardLocation location) {
        return QUrl::fromLocalFile(QStandardPaths::writableLocation(location));
    };
    dialog.setSidebarUrls({QUrl::fromLocalFile(QString()), place(QStandardPaths::HomeLocation),
                           place(QStandardPaths::DesktopLocation), place(QStandardPaths::DocumentsLocation),
                           place(QStandardPaths::ApplicationsLocation)});
}

} // namespace

void ZolvarDlg::OnAutoLoadSave(bool checked)
{
    // Stored by the close sequence, from the action's checked state.
    autoLoadSave = checked;
}

QString ZolvarDlg::GetMRSavedSettingsFileNameFromPrefs()
{
    return storedPath(suite, kSavedFileKey);
}

QString ZolvarDlg::GetMRLoadedSettingsFileNameFromPrefs()
{
    return storedPath(suite, kLoadedFileKey);
}

void ZolvarDlg::OnSaveSettings()
{
    auto dialog = makeOwnedDialog<QFileDialog>(this, QStringLiteral("Save Settings"),
                                               GetMRSavedSettingsFileNameFromPrefs());
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    prepareDialog(*dialog);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return;
    QString file = dialog->selectedFiles().first();
    if (!file.endsWith(QLatin1String(".xml"), Qt::CaseSensitive))
        file += QStringLiteral(".xml");
    view->saveSettings(file, kSavedFileKey);
}

void ZolvarDlg::OnLoadSettings()
{
    auto dialog = makeOwnedDialog<QFileDialog>(this, QStringLiteral("Load Settings"),
                                               GetMRLoadedSettingsFileNameFromPrefs());
    prepareDialog(*dialog);
    auto* identification = new QComboBox();
    identification->setObjectName(QStringLiteral("bodyIdentificationLst"));
    identification->addItems({QStringLiteral("Layer ID"), QStringLiteral("Layer Index"), QStringLiteral("Layer Name")});
    identification->setCurrentIndex(usableBodyIdentification(bodyIdentification));
    auto* note = new QLabel(QStringLiteral("Layer ID is After Effects internal parameter to identify a layer. It is "
                                           "tied to a specific composition. Use this option if the selected settings "
                                           "file has been saved with the current composition."));
    note->setStyleSheet(QStringLiteral("font-size:10px;"));
    note->setWordWrap(true);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog->layout())) {
        grid->addWidget(new QLabel(QStringLiteral("Body identification:")), 4, 0);
        grid->addWidget(identification, 4, 1);
        grid->addWidget(note, 5, 1);
    }
    if (dialog->exec() == QDialog::Accepted && !dialog->selectedFiles().isEmpty()) {
        const QString file = dialog->selectedFiles().first();
        bodyIdentification = identification->currentIndex();
        view->loadSettings(file.toUtf8().constData(), true, bodyIdentification);
    }

    PreferenceWriteResult stored;
    GuardHostCall([this, &stored] { storeBodyIdentification(suite, bodyIdentification, &stored); });
    if (stored.err)
        ReportHostProblem(preferenceWriteFailureText(
            stored, QStringLiteral("The next Load Settings offers the body identification stored before.")));
}

void ZolvarDlg::showDocumentation()
{
    openUserGuide(this, findUserGuide(pluginModuleFile(), QCoreApplication::applicationDirPath()));
}

// Each dialog applies its own changes; the window only runs it.
void ZolvarDlg::showPreferences()
{
    auto dialog = makeOwnedDialog<PreferencesDlg>(this, getModalDlgFlags(), suite, view);
    dialog->exec();
}

void ZolvarDlg::showKeyboardShortcuts()
{
    auto dialog = makeOwnedDialog<KeyboardShortcutsDlg>(this, getModalDlgFlags(), theme);
    dialog->exec();
}

void ZolvarDlg::showAbout()
{
    auto dialog = makeOwnedDialog<AboutDlg>(this, Qt::SplashScreen, theme);
    dialog->exec();
}
