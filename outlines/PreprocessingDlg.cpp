#include "outlines/PreprocessingDlg.h"

#include "host/AEGP_SuiteHandler.h"
#include "host/HostMemory.h"
#include "host/LayerQueries.h"
#include "outlines/LayerSeparation.h"
#include "outlines/SeparationSupport.h"
#include "resources/Resources.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QStandardItemModel>

PreprocessingDlg::PreprocessingDlg(QWidget* parent, Qt::WindowFlags flags, SPBasicSuite* basicSuite, int pluginId)
    : QDialog(parent, flags)
    , basicSuite_(basicSuite)
    , pluginId_(pluginId)
{
    initZolvarResources();
    ui.setupUi(this);
    connect(ui.separateBtn, &QToolButton::clicked, this, &PreprocessingDlg::OnSeparateBtn);
    connect(ui.skipBtn, &QToolButton::clicked, this, &PreprocessingDlg::OnSkipBtn);
}

PreprocessingDlg::~PreprocessingDlg() = default;

void PreprocessingDlg::setLayerIndicesToSep(std::vector<int> indices) { layerIndicesToSep_ = std::move(indices); }

void PreprocessingDlg::populateLayerList()
{
    auto* model = new QStandardItemModel(0, 2, this);
    auto* number = new QStandardItem(QStringLiteral(" # "));
    number->setToolTip(QStringLiteral("Layer Index"));
    number->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    auto* name = new QStandardItem(QStringLiteral("Layer Name"));
    name->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    model->setHorizontalHeaderItem(0, number);
    model->setHorizontalHeaderItem(1, name);

    AEGP_SuiteHandler suites(basicSuite_);
    AEGP_ItemH item = nullptr;
    AEGP_CompH comp = nullptr;
    A_Err err = GetActiveItemComp(suites, item, comp);
    for (size_t r = 0; !err && r < layerIndicesToSep_.size(); ++r) {
        AEGP_LayerH layer = nullptr;
        AEGP_MemHandle own = nullptr, source = nullptr;
        err = suites.LayerSuite7()->AEGP_GetCompLayerByIndex(comp, layerIndicesToSep_[r], &layer);
        if (!err)
            err = suites.LayerSuite7()->AEGP_GetLayerName(pluginId_, layer, &own, &source);
        QString ownName, sourceName;
        // Both handles are freed whatever fails.
        const A_Err ownErr = TakeUtf16String(suites, own, ownName);
        const A_Err sourceErr = TakeUtf16String(suites, source, sourceName);
        if (!err)
            err = ownErr ? ownErr : sourceErr;
        if (err)
            break;
        auto* numberItem = new QStandardItem(QString::number(layerIndicesToSep_[r] + 1));
        numberItem->setFlags(Qt::ItemIsEnabled);
        auto* nameItem = new QStandardItem(ownName.isEmpty() ? sourceName : ownName);
        nameItem->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        model->appendRow({numberItem, nameItem});
    }

    QAbstractItemModel* old = ui.layersTable->model();
    ui.layersTable->setModel(model);
    if (old && old->parent() == this)
        delete old;
    ui.layersTable->setColumnWidth(0, 30);
    const int rowHeight = fontMetrics().height() + 4;
    for (int r = 0; r < model->rowCount(); ++r)
        ui.layersTable->setRowHeight(r, rowHeight);
}

QModelIndexList PreprocessingDlg::getSelectedRows() const
{
    QModelIndexList rows;
    const QItemSelectionModel* selection = ui.layersTable->selectionModel();
    if (!selection)
        return rows;
    for (const QItemSelectionRange& range : selection->selection())
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.append(ui.layersTable->model()->index(row, 0));
    return rows;
}

void PreprocessingDlg::showShapeProgress(const char* format, int done, int total)
{
    if (done == 0)
        ui.shapeProgressBar->setRange(0, total);
    ui.shapeProgressBar->setValue(done);
    ui.shapeProgressSt->setText(QString::asprintf(format, done, total));
    // Every fifth item the progress repaints; user input waits.
    if (done % 5 == 0)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void PreprocessingDlg::separateMasks(int layerIndex)
{
    separateLayerMasks(basicSuite_, pluginId_, layerIndex, [this](int done, int total) {
        showShapeProgress("Mask: %d / %d", done, total);
    });
}

void PreprocessingDlg::separateShapes(int layerIndex)
{
    separateLayerShapes(basicSuite_, pluginId_, layerIndex, [this](int done, int total) {
        showShapeProgress("Shape: %d / %d", done, total);
    });
}

void PreprocessingDlg::OnSeparateBtn()
{
    if (separating_)
        return;
    std::vector<int> rows;
    for (const QModelIndex& index : getSelectedRows())
        rows.push_back(index.row());
    const std::vector<int> indices = layerIndicesToSeparate(rows, layerIndicesToSep_);
    if (indices.empty()) {
        showSeparationMessage(QStringLiteral("Please select at least one layer in the list, or skip this step."));
        return;
    }

    separating_ = true;
    ui.separateBtn->setEnabled(false);
    ui.skipBtn->setEnabled(false);
    numSelectedRows_ = int(indices.size());
    ui.layerProgressBar->setRange(0, numSelectedRows_);
    ui.layerProgressBar->setValue(0);
    ui.layerProgressSt->setText(QString::asprintf("Layer: 1 / %d", numSelectedRows_));

    AEGP_SuiteHandler suites(basicSuite_);
    const A_Err err = suites.UtilitySuite5()->AEGP_StartUndoGroup("Zolvar - Shapes Separation");
    if (err) {
        showSeparationMessage(QStringLiteral("Error occurred when separating shapes."),
                              QStringLiteral("The host could not start the undo group \"Zolvar - Shapes "
                                             "Separation\" (error %1), so nothing was separated.")
                                  .arg(err));
    } else {
        for (int k = 1; k <= numSelectedRows_; ++k) {
            ui.layerProgressBar->setValue(k);
            ui.layerProgressSt->setText(QString::asprintf("Layer: %d / %d", k, numSelectedRows_));
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            dispatchSeparation(
                basicSuite_, pluginId_, indices[size_t(k - 1)], [this](int i) { separateMasks(i); },
                [this](int i) { separateShapes(i); });
        }
        suites.UtilitySuite5()->AEGP_EndUndoGroup();
    }
    separating_ = false;
    accept();
}

void PreprocessingDlg::OnSkipBtn() { reject(); }

void PreprocessingDlg::closeEvent(QCloseEvent* event)
{
    if (separating_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void PreprocessingDlg::reject()
{
    if (!separating_)
        QDialog::reject();
}
